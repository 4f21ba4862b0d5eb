#pragma once
// What the service's reply to an upload says: the uploaded file's name and
// address, read from the reply's text by its markers.

#include "platform/CodePage.h"

#include <string>
#include <string_view>

// The piece of `text` from the first `start` through the first `end`, both
// searched from the beginning: a beginning below 1 counts as 1, a count
// past the end is cut there, and a count of 0 or less gives nothing.
std::u16string PegarTextoEntre(std::u16string_view text, std::u16string_view start, std::u16string_view end);

// What a page script would make of `text` inside a double-quoted literal, for
// the escapes JSON writes (\" \\ \/ \b \f \n \r \t \uXXXX); anything else,
// malformed escapes included, stays as it is.
std::u16string DecodeJsonStringEscapes(std::u16string_view text);

struct UploadedFile {
    std::u16string name;     // decoded from the reply's UTF-8 bytes
    std::u16string address;  // as the reply has it
};

// The name between "\"name\":\"" and "\",\"size\"", the address between
// "\"url\":\"" and "\",\"thumbnailUrl\"", markers taken out. The reply's
// characters stand for its bytes through `codePage`; the name's bytes are
// UTF-8.
UploadedFile ReadUploadReply(std::u16string_view reply, platform::ICodePage& codePage);
