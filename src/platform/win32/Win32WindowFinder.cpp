#include "platform/win32/Win32WindowFinder.h"

#include "platform/win32/Win32Text.h"

namespace platform {

namespace {
HWND AsWindow(WindowHandle window) { return reinterpret_cast<HWND>(window); }
}  // namespace

std::optional<WindowHandle> Win32WindowFinder::FindTopLevelWindow(const std::u16string& title) {
    HWND found = ::FindWindowW(nullptr, Wide(title));
    if (!found) return std::nullopt;
    return reinterpret_cast<WindowHandle>(found);
}

void Win32WindowFinder::RestoreWindow(WindowHandle window) { ::ShowWindow(AsWindow(window), SW_RESTORE); }

void Win32WindowFinder::SetForegroundWindow(WindowHandle window) { ::SetForegroundWindow(AsWindow(window)); }

void Win32WindowFinder::FlashWindow(WindowHandle window) { ::FlashWindow(AsWindow(window), TRUE); }

}  // namespace platform
