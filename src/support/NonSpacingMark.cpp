#include "support/NonSpacingMark.h"

std::size_t NonSpacingMarkAt(std::u16string_view text, std::size_t at) {
    if (at >= text.size()) return 0;
    const char16_t unit = text[at];
    if (unit >= 0xD800 && unit <= 0xDBFF && at + 1 < text.size() && text[at + 1] >= 0xDC00 && text[at + 1] <= 0xDFFF) {
        const char32_t code = 0x10000 + ((char32_t(unit) - 0xD800) << 10) + (char32_t(text[at + 1]) - 0xDC00);
        return IsNonSpacingMark(code) ? 2 : 0;
    }
    return IsNonSpacingMark(unit) ? 1 : 0;
}
