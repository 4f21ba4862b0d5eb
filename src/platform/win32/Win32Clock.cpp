#include "platform/win32/Win32Clock.h"

#include <windows.h>

namespace platform {

LocalDateTime Win32Clock::Now() {
    SYSTEMTIME t{};
    ::GetLocalTime(&t);
    return {t.wYear, t.wMonth, t.wDay, t.wHour, t.wMinute, t.wSecond, t.wMilliseconds};
}

void Win32Clock::Sleep(int milliseconds) {
    if (milliseconds > 0) ::Sleep(static_cast<DWORD>(milliseconds));
}

}  // namespace platform
