#pragma once

#include "platform/Locale.h"

namespace platform {

// The user's regional settings (GetLocaleInfoW, LOCALE_USER_DEFAULT).
class Win32Locale : public ILocale {
public:
    std::u16string ShortDateFormat() override;  // LOCALE_SSHORTDATE, as written
    char16_t DateSeparator() override;          // LOCALE_SDATE
    char16_t TimeSeparator() override;          // LOCALE_STIME
};

}  // namespace platform
