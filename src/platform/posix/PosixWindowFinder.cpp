#include "platform/posix/PosixWindowFinder.h"

namespace platform {

// The X11 search arrives with the windows; until then nothing is found.
std::optional<WindowHandle> PosixWindowFinder::FindTopLevelWindow(const std::u16string&) { return std::nullopt; }
void PosixWindowFinder::RestoreWindow(WindowHandle) {}
void PosixWindowFinder::SetForegroundWindow(WindowHandle) {}
void PosixWindowFinder::FlashWindow(WindowHandle) {}

}  // namespace platform
