#include "support/TextUtils.h"

#include <utf8.h>

#include <iterator>

std::string ToUtf8(std::u16string_view text) {
    std::string out;
    out.reserve(text.size());
    // Lone surrogates cannot be written as UTF-8; they become U+FFFD.
    for (size_t i = 0; i < text.size(); ++i) {
        char32_t c = text[i];
        if (c >= 0xD800 && c <= 0xDBFF && i + 1 < text.size() && text[i + 1] >= 0xDC00 &&
            text[i + 1] <= 0xDFFF) {
            c = 0x10000 + ((c - 0xD800) << 10) + (text[i + 1] - 0xDC00);
            ++i;
        } else if (c >= 0xD800 && c <= 0xDFFF) {
            c = 0xFFFD;
        }
        utf8::unchecked::append(static_cast<uint32_t>(c), std::back_inserter(out));
    }
    return out;
}

std::u16string FromUtf8(std::string_view bytes) {
    std::string valid;
    utf8::replace_invalid(bytes.begin(), bytes.end(), std::back_inserter(valid), 0xFFFD);
    std::u16string out;
    out.reserve(valid.size());
    utf8::unchecked::utf8to16(valid.begin(), valid.end(), std::back_inserter(out));
    return out;
}

static bool IsBlankOrControl(char16_t c) { return c <= 0x20; }

std::u16string Trim(std::u16string_view text) {
    size_t begin = 0, end = text.size();
    while (begin < end && IsBlankOrControl(text[begin])) ++begin;
    while (end > begin && IsBlankOrControl(text[end - 1])) --end;
    return std::u16string(text.substr(begin, end - begin));
}

std::u16string AsciiLower(std::u16string_view text) {
    std::u16string out(text);
    for (auto& c : out)
        if (c >= u'A' && c <= u'Z') c = static_cast<char16_t>(c + 32);
    return out;
}

std::u16string AsciiUpper(std::u16string_view text) {
    std::u16string out(text);
    for (auto& c : out)
        if (c >= u'a' && c <= u'z') c = static_cast<char16_t>(c - 32);
    return out;
}

bool StartsWith(std::u16string_view text, std::u16string_view prefix) {
    return text.substr(0, prefix.size()) == prefix;
}

std::u16string ReplaceFirst(std::u16string_view text, std::u16string_view what,
                            std::u16string_view with) {
    std::u16string out(text);
    if (what.empty()) return out;
    auto pos = out.find(what);
    if (pos != std::u16string::npos) out.replace(pos, what.size(), with);
    return out;
}

std::u16string FormatText(std::u16string_view format, std::initializer_list<std::u16string_view> args) {
    std::u16string out;
    auto next = args.begin();
    for (size_t i = 0; i < format.size(); ++i) {
        if (format[i] == u'%' && i + 1 < format.size() && format[i + 1] == u's') {
            if (next != args.end()) out += *next++;
            ++i;
        } else {
            out += format[i];
        }
    }
    return out;
}

std::u16string IntToText(long long value) {
    std::string digits = std::to_string(value);
    return std::u16string(digits.begin(), digits.end());
}
