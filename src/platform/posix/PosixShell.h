#pragma once

#include "platform/Shell.h"

#include <string>
#include <vector>

namespace platform {

// Addresses go to xdg-open, so the user's default browser (or a stand-in
// on PATH) gets them; neither call waits for the program it starts.
class PosixShell : public IShell {
public:
    void OpenUrl(const std::u16string& address) override;
    void StartMinimized(const std::u16string& executable) override;
    void OpenFolder(const std::u16string& folder) override;
};

// Starts a program with arguments, without a shell and without waiting; the
// child is reaped in the background. False when it cannot be started.
bool SpawnDetached(const std::vector<std::string>& argv);

}  // namespace platform
