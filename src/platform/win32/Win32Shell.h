#pragma once

#include "platform/Shell.h"

namespace platform {

// ShellExecuteW with the verb "open"; results are not looked at.
class Win32Shell : public IShell {
public:
    void OpenUrl(const std::u16string& address) override;           // shown normally
    void StartMinimized(const std::u16string& executable) override;  // SW_MINIMIZE
    void OpenFolder(const std::u16string& folder) override;          // shown normally
};

}  // namespace platform
