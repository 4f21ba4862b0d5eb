#pragma once

#include "platform/Dialogs.h"

#include <optional>
#include <string>

namespace platform {

class IWindowFinder {
public:
    virtual ~IWindowFinder() = default;
    // A top-level window of any class and any program whose title is exactly
    // `title`.
    virtual std::optional<WindowHandle> FindTopLevelWindow(const std::u16string& title) = 0;
    // Shows the window in its normal state, un-minimising it.
    virtual void RestoreWindow(WindowHandle window) = 0;
    virtual void SetForegroundWindow(WindowHandle window) = 0;
    // Flashes the window's caption and taskbar button once.
    virtual void FlashWindow(WindowHandle window) = 0;
};

}  // namespace platform
