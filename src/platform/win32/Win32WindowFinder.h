#pragma once

#include "platform/WindowFinder.h"

namespace platform {

class Win32WindowFinder : public IWindowFinder {
public:
    std::optional<WindowHandle> FindTopLevelWindow(const std::u16string& title) override;  // FindWindowW
    void RestoreWindow(WindowHandle window) override;                                     // SW_RESTORE
    void SetForegroundWindow(WindowHandle window) override;
    void FlashWindow(WindowHandle window) override;  // invert set
};

}  // namespace platform
