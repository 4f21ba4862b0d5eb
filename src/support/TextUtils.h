#pragma once
// Small text helpers shared by the core. Text is UTF-16; trimming removes
// U+0000..U+0020 at both ends and nothing else; case folding touches only the
// ASCII letters.

#include <initializer_list>
#include <string>
#include <string_view>

std::string ToUtf8(std::u16string_view text);
// Invalid sequences become U+FFFD.
std::u16string FromUtf8(std::string_view bytes);

std::u16string Trim(std::u16string_view text);
std::u16string AsciiLower(std::u16string_view text);
std::u16string AsciiUpper(std::u16string_view text);
bool StartsWith(std::u16string_view text, std::u16string_view prefix);

// Replaces the first occurrence of `what` (exact); unchanged when absent.
std::u16string ReplaceFirst(std::u16string_view text, std::u16string_view what,
                            std::u16string_view with);
// Fills each "%s" of `format` with the next argument, in order.
std::u16string FormatText(std::u16string_view format, std::initializer_list<std::u16string_view> args);
// Decimal text of a number.
std::u16string IntToText(long long value);
