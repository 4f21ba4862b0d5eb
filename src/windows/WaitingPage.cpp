#include "windows/WaitingPage.h"

#include "support/TextUtils.h"

namespace {

std::u16string EscapeHtmlAttribute(std::u16string_view text) {
    std::u16string out;
    out.reserve(text.size());
    for (char16_t c : text) {
        switch (c) {
            case u'&': out += u"&amp;"; break;
            case u'"': out += u"&quot;"; break;
            case u'\'': out += u"&#39;"; break;
            case u'<': out += u"&lt;"; break;
            case u'>': out += u"&gt;"; break;
            default: out += c;
        }
    }
    return out;
}

bool IsUnreserved(unsigned char c) {
    return (c >= 'A' && c <= 'Z') || (c >= 'a' && c <= 'z') || (c >= '0' && c <= '9') || c == '-' || c == '.' ||
           c == '_' || c == '~';
}

}  // namespace

std::u16string PercentEncode(std::u16string_view text) {
    static constexpr char16_t kHex[] = u"0123456789ABCDEF";
    std::u16string out;
    for (unsigned char byte : ToUtf8(text)) {
        if (IsUnreserved(byte)) {
            out += static_cast<char16_t>(byte);
        } else {
            out += u'%';
            out += kHex[byte >> 4];
            out += kHex[byte & 0xF];
        }
    }
    return out;
}

std::u16string WaitingPageHtml(std::u16string_view address) {
    return u"<head><meta http-equiv=\"refresh\" content=\"0; url=" + EscapeHtmlAttribute(address) +
           u"/\"/></head><body><strong>Aguarde...</strong></body><!---->";
}

// The address goes into HTML inside a data address: unescaped, a "#" would
// cut the page short, a "%" would be decoded and a quote would end the
// attribute.
std::u16string WaitingPageUrl(std::u16string_view address) {
    return u"data:text/html;charset=utf-8," + PercentEncode(WaitingPageHtml(address));
}
