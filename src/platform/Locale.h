#pragma once

#include <string>

namespace platform {

class ILocale {
public:
    virtual ~ILocale() = default;
    // The user's short date format as a pattern of d, dd, M, MM, yy, yyyy and
    // literal separator characters, as the system writes it ("dd/MM/yyyy",
    // "M/d/yyyy", "dd.MM.yyyy").
    virtual std::u16string ShortDateFormat() = 0;
    virtual char16_t DateSeparator() = 0;
    virtual char16_t TimeSeparator() = 0;
};

}  // namespace platform
