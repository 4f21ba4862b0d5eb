#pragma once

#include "platform/CodePage.h"

#include <array>
#include <unordered_map>

namespace platform {

// Windows-1252 through iconv. The five bytes the code page leaves undefined
// map to the C1 controls of the same value, as Windows maps them, so every
// byte survives a round trip.
class PosixCodePage : public ICodePage {
public:
    PosixCodePage();
    std::string ToAnsi(std::u16string_view text) override;
    std::u16string FromAnsi(std::string_view bytes) override;

private:
    std::array<char16_t, 256> decode_{};
    std::unordered_map<char32_t, char> encode_;
};

}  // namespace platform
