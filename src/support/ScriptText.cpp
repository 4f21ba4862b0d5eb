#include "support/ScriptText.h"

namespace {

void AppendUnicodeEscape(std::u16string& out, char16_t c) {
    static constexpr char16_t kHex[] = u"0123456789ABCDEF";
    out += u"\\u";
    for (int shift = 12; shift >= 0; shift -= 4) out += kHex[(c >> shift) & 0xF];
}

}  // namespace

std::u16string EscapeForScriptString(std::u16string_view text) {
    std::u16string out;
    out.reserve(text.size() + 8);
    for (char16_t c : text) {
        switch (c) {
            case u'\\': out += u"\\\\"; break;
            case u'"': out += u"\\\""; break;
            case u'\'': out += u"\\'"; break;
            case u'\n': out += u"\\n"; break;
            case u'\r': out += u"\\r"; break;
            case u'\t': out += u"\\t"; break;
            default:
                // Controls, the two script line terminators, and "<" (so that no
                // "</script>" or "<!--" ever appears in the script text).
                if (c < 0x20 || c == 0x7F || c == 0x2028 || c == 0x2029 || c == u'<' || c == u'>' ||
                    (c >= 0xD800 && c <= 0xDFFF))
                    AppendUnicodeEscape(out, c);
                else
                    out += c;
        }
    }
    return out;
}

std::u16string QuotedForLog(std::u16string_view text, std::size_t limit) {
    const bool cut = text.size() > limit;
    return u"\"" + EscapeForScriptString(text.substr(0, limit)) + (cut ? u"\"..." : u"\"");
}
