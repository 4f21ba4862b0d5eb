#pragma once
// A file name that came from outside (a server's download, say), made safe
// to create in a folder of the user's on either system.

#include <string>
#include <string_view>

// Keeps only the last path component; characters that Windows refuses in a
// name and control characters become "_"; leading dots and blanks, and
// trailing dots and blanks, go; a name the system reserves for a device
// (CON, NUL, COM1, ... with any extension) gets a "_" in front; an overlong
// name is cut before its extension. An empty result becomes `fallback`.
std::u16string SafeFileName(std::u16string_view proposed, std::u16string_view fallback = u"arquivo");
