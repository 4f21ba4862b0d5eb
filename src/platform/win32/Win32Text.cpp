#include "platform/win32/Win32Text.h"

#include "support/TextUtils.h"

namespace platform {

std::u16string SystemErrorText(DWORD error) {
    wchar_t* buffer = nullptr;
    const DWORD n = ::FormatMessageW(FORMAT_MESSAGE_ALLOCATE_BUFFER | FORMAT_MESSAGE_FROM_SYSTEM |
                                         FORMAT_MESSAGE_IGNORE_INSERTS,
                                     nullptr, error, 0, reinterpret_cast<wchar_t*>(&buffer), 0, nullptr);
    std::u16string text = n ? Trim(FromWide(buffer, n)) : u"System error " + IntToText(error) + u".";
    if (buffer) ::LocalFree(buffer);
    return text;
}

}  // namespace platform
