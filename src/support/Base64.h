#pragma once

#include <string>
#include <string_view>

// RFC 4648 base64: standard alphabet, "=" padding, no line breaks. Written
// here because the core also builds for Windows, where none of our libraries
// offering it is available.
std::string Base64Encode(std::string_view bytes);
