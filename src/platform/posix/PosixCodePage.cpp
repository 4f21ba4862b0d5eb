#include "platform/posix/PosixCodePage.h"

#include <iconv.h>

#include <cstring>

namespace platform {

namespace {

constexpr const char* kCodePage = "WINDOWS-1252";

// Converts one code point with transliteration; "?" when iconv has nothing.
std::string Transliterate(char32_t codePoint) {
    iconv_t cd = iconv_open((std::string(kCodePage) + "//TRANSLIT").c_str(), "UTF-32LE");
    if (cd == reinterpret_cast<iconv_t>(-1)) return "?";
    char in[4];
    for (int i = 0; i < 4; ++i) in[i] = static_cast<char>((codePoint >> (8 * i)) & 0xFF);
    char out[16];
    char* inPtr = in;
    char* outPtr = out;
    size_t inLeft = sizeof in, outLeft = sizeof out;
    const size_t rc = iconv(cd, &inPtr, &inLeft, &outPtr, &outLeft);
    iconv_close(cd);
    std::string result(out, outPtr);
    if (rc == static_cast<size_t>(-1) || result.empty()) return "?";
    return result;
}

}  // namespace

PosixCodePage::PosixCodePage() {
    iconv_t cd = iconv_open("UTF-16LE", kCodePage);
    for (int byte = 0; byte < 256; ++byte) {
        decode_[byte] = static_cast<char16_t>(byte);
        if (cd != reinterpret_cast<iconv_t>(-1) && byte >= 0x80) {
            char in = static_cast<char>(byte);
            char out[4];
            char* inPtr = &in;
            char* outPtr = out;
            size_t inLeft = 1, outLeft = sizeof out;
            if (iconv(cd, &inPtr, &inLeft, &outPtr, &outLeft) != static_cast<size_t>(-1) && outPtr - out == 2)
                decode_[byte] = static_cast<char16_t>(static_cast<unsigned char>(out[0]) |
                                                      (static_cast<unsigned char>(out[1]) << 8));
            iconv(cd, nullptr, nullptr, nullptr, nullptr);
        }
        encode_.emplace(decode_[byte], static_cast<char>(byte));
    }
    if (cd != reinterpret_cast<iconv_t>(-1)) iconv_close(cd);
}

std::string PosixCodePage::ToAnsi(std::u16string_view text) {
    std::string out;
    out.reserve(text.size());
    for (size_t i = 0; i < text.size(); ++i) {
        char32_t c = text[i];
        if (c >= 0xD800 && c <= 0xDBFF && i + 1 < text.size() && text[i + 1] >= 0xDC00 && text[i + 1] <= 0xDFFF)
            c = 0x10000 + ((c - 0xD800) << 10) + (text[++i] - 0xDC00);
        if (auto it = encode_.find(c); it != encode_.end()) out += it->second;
        else out += Transliterate(c);
    }
    return out;
}

std::u16string PosixCodePage::FromAnsi(std::string_view bytes) {
    std::u16string out;
    out.reserve(bytes.size());
    for (char b : bytes) out += decode_[static_cast<unsigned char>(b)];
    return out;
}

}  // namespace platform
