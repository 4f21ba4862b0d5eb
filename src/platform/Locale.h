#pragma once

#include "platform/Clock.h"

#include <array>
#include <cstddef>
#include <string>

namespace platform {

enum class DatePart { Day, Month, Year };

// A date as the system writes it in the user's short date format, and the
// order in which that format puts day, month and year (parts the format
// lacks follow the ones it has, in day, month, year order).
struct ShortDate {
    std::u16string text;
    std::array<DatePart, 3> order{DatePart::Day, DatePart::Month, DatePart::Year};
};

class ILocale {
public:
    virtual ~ILocale() = default;
    virtual ShortDate WriteShortDate(const LocalDateTime& date) = 0;
    virtual char16_t DateSeparator() = 0;
    virtual char16_t TimeSeparator() = 0;
};

// Day, month and year ordered by where each first stands in a format
// (std::u16string::npos when it is missing); missing parts go last.
std::array<DatePart, 3> DateOrder(std::size_t day, std::size_t month, std::size_t year);

}  // namespace platform
