#pragma once

#include <string>
#include <string_view>

namespace platform {

// The 8-bit "ANSI" code page: the system's own on Windows, Windows-1252 on
// Linux. Conversions never fail: a character the code page lacks becomes the
// converter's replacement (a close letter or "?").
class ICodePage {
public:
    virtual ~ICodePage() = default;
    virtual std::string ToAnsi(std::u16string_view text) = 0;
    virtual std::u16string FromAnsi(std::string_view bytes) = 0;
};

}  // namespace platform
