#pragma once

#include "platform/Locale.h"

namespace platform {

// The user's regional settings (LOCALE_USER_DEFAULT).
class Win32Locale : public ILocale {
public:
    ShortDate WriteShortDate(const LocalDateTime& date) override;  // GetDateFormatEx, DATE_SHORTDATE
    char16_t DateSeparator() override;                               // LOCALE_SDATE
    char16_t TimeSeparator() override;                               // LOCALE_STIME
};

}  // namespace platform
