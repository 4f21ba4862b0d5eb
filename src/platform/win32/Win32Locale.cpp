#include "platform/win32/Win32Locale.h"

#include "platform/win32/Win32Text.h"

namespace platform {

namespace {

std::u16string UserLocaleText(LCTYPE item, std::u16string_view fallback) {
    wchar_t buffer[128];
    const int n = ::GetLocaleInfoW(LOCALE_USER_DEFAULT, item, buffer, static_cast<int>(std::size(buffer)));
    if (n <= 1) return std::u16string(fallback);
    return FromWide(buffer, static_cast<size_t>(n - 1));
}

}  // namespace

std::u16string Win32Locale::ShortDateFormat() { return UserLocaleText(LOCALE_SSHORTDATE, u"dd/MM/yyyy"); }

char16_t Win32Locale::DateSeparator() { return UserLocaleText(LOCALE_SDATE, u"/").front(); }

char16_t Win32Locale::TimeSeparator() { return UserLocaleText(LOCALE_STIME, u":").front(); }

}  // namespace platform
