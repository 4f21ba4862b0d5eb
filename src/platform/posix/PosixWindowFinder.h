#pragma once

#include "platform/WindowFinder.h"

namespace platform {

// Top-level windows of the X11 display named by DISPLAY; without a display
// no window is ever found.
class PosixWindowFinder : public IWindowFinder {
public:
    std::optional<WindowHandle> FindTopLevelWindow(const std::u16string& title) override;
    void RestoreWindow(WindowHandle window) override;
    void SetForegroundWindow(WindowHandle window) override;
    void FlashWindow(WindowHandle window) override;
};

}  // namespace platform
