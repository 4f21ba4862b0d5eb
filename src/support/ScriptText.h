#pragma once

#include <cstddef>
#include <string>
#include <string_view>

// Escapes text for the inside of a double-quoted page-script string literal,
// so that outside text (service replies, tool output) always arrives as the
// same text and can never end the literal or run as script. Plain letters,
// digits and most punctuation pass unchanged.
std::u16string EscapeForScriptString(std::u16string_view text);

// Outside text as the action log quotes it: between double quotes, escaped as
// above so that it stays on one line whatever it holds, and cut after
// `limit` characters.
std::u16string QuotedForLog(std::u16string_view text, std::size_t limit = 200);
