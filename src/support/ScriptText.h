#pragma once

#include <string>
#include <string_view>

// Escapes text for the inside of a double-quoted page-script string literal,
// so that outside text (service replies, tool output) always arrives as the
// same text and can never end the literal or run as script. Plain letters,
// digits and most punctuation pass unchanged.
std::u16string EscapeForScriptString(std::u16string_view text);
