#pragma once

#include "platform/Locale.h"

#include <string_view>

namespace platform {

// The user's LC_TIME: its D_FMT becomes a short date pattern, always with a
// four-digit year, since the service reads the year from the token.
class PosixLocale : public ILocale {
public:
    std::u16string ShortDateFormat() override;
    char16_t DateSeparator() override;
    char16_t TimeSeparator() override;
};

// Translates a strftime date format ("%d/%m/%Y", "%m/%d/%y", "%F").
std::u16string DatePatternFromStrftime(std::string_view format);

}  // namespace platform
