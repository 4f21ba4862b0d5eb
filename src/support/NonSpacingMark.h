#pragma once
// Non-spacing combining marks: Unicode general category Mn, as utf8proc's
// character data has it.

#include <cstddef>
#include <string_view>

bool IsNonSpacingMark(char32_t code);

// The length in UTF-16 units (1, or 2 for a surrogate pair) of the
// non-spacing mark that starts at `at`; 0 when none does.
std::size_t NonSpacingMarkAt(std::u16string_view text, std::size_t at);
