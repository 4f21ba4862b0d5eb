#include "windows/UploadReply.h"

#include "support/TextUtils.h"

namespace {

constexpr std::u16string_view kNameStart = u"\"name\":\"";
constexpr std::u16string_view kNameEnd = u"\",\"size\"";
constexpr std::u16string_view kUrlStart = u"\"url\":\"";
constexpr std::u16string_view kUrlEnd = u"\",\"thumbnailUrl\"";

int HexValue(char16_t c) {
    if (c >= u'0' && c <= u'9') return c - u'0';
    if (c >= u'a' && c <= u'f') return c - u'a' + 10;
    if (c >= u'A' && c <= u'F') return c - u'A' + 10;
    return -1;
}

std::u16string Between(std::u16string_view reply, std::u16string_view start, std::u16string_view end) {
    std::u16string piece = PegarTextoEntre(reply, start, end);
    piece = ReplaceFirst(piece, start, u"");
    return ReplaceFirst(piece, end, u"");
}

}  // namespace

std::u16string PegarTextoEntre(std::u16string_view text, std::u16string_view start, std::u16string_view end) {
    const auto at = [&](std::u16string_view what) -> long long {
        const auto found = text.find(what);
        return found == std::u16string_view::npos ? 0 : static_cast<long long>(found) + 1;
    };
    const long long p1 = at(start);
    const long long p2 = at(end);
    long long count = p2 - p1 + static_cast<long long>(end.size());
    const long long begin = p1 < 1 ? 1 : p1;
    const long long length = static_cast<long long>(text.size());
    if (count <= 0 || begin > length) return {};
    if (begin - 1 + count > length) count = length - (begin - 1);
    return std::u16string(text.substr(static_cast<size_t>(begin - 1), static_cast<size_t>(count)));
}

std::u16string DecodeJsonStringEscapes(std::u16string_view text) {
    std::u16string out;
    out.reserve(text.size());
    for (size_t i = 0; i < text.size(); ++i) {
        const char16_t c = text[i];
        if (c != u'\\' || i + 1 >= text.size()) {
            out += c;
            continue;
        }
        const char16_t next = text[i + 1];
        char16_t decoded = 0;
        switch (next) {
            case u'"': decoded = u'"'; break;
            case u'\\': decoded = u'\\'; break;
            case u'/': decoded = u'/'; break;
            case u'b': decoded = u'\b'; break;
            case u'f': decoded = u'\f'; break;
            case u'n': decoded = u'\n'; break;
            case u'r': decoded = u'\r'; break;
            case u't': decoded = u'\t'; break;
            case u'u':
                if (i + 5 < text.size()) {
                    int value = 0;
                    bool ok = true;
                    for (size_t k = i + 2; k < i + 6; ++k) {
                        const int digit = HexValue(text[k]);
                        if (digit < 0) ok = false;
                        value = value * 16 + (digit < 0 ? 0 : digit);
                    }
                    if (ok) {
                        out += static_cast<char16_t>(value);
                        i += 5;
                        continue;
                    }
                }
                out += c;
                continue;
            default:
                out += c;
                continue;
        }
        out += decoded;
        ++i;
    }
    return out;
}

UploadedFile ReadUploadReply(std::u16string_view reply, platform::ICodePage& codePage) {
    return {FromUtf8(codePage.ToAnsi(Between(reply, kNameStart, kNameEnd))), Between(reply, kUrlStart, kUrlEnd)};
}
