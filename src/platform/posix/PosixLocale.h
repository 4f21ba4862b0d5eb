#pragma once

#include "platform/Locale.h"

#include <string>
#include <string_view>

namespace platform {

// The user's LC_TIME (or the locale named): the C library writes the date
// with the locale's D_FMT, made fit for the token first.
class PosixLocale : public ILocale {
public:
    explicit PosixLocale(std::string name = "") : name_(std::move(name)) {}
    ShortDate WriteShortDate(const LocalDateTime& date) override;
    char16_t DateSeparator() override;
    char16_t TimeSeparator() override;

private:
    std::string name_;
};

struct TokenDateFormat {
    std::wstring format;
    std::array<DatePart, 3> order;
};

// A strftime date format with every year four-digit and Gregorian and every
// number in ASCII digits, since the service reads the numbers from the
// token; month and day names and the literal text stay as they are.
TokenDateFormat TokenDateFormatFrom(std::wstring_view format);

}  // namespace platform
