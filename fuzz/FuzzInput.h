#pragma once
// Turns fuzzer bytes into UTF-16 text, two bytes a unit, so that every code
// unit (separators, quotes, controls, combining marks, lone surrogates) can
// be reached.

#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <string>

inline std::u16string TextFromBytes(const std::uint8_t* data, std::size_t size) {
    std::u16string text;
    text.reserve(size / 2);
    for (std::size_t i = 0; i + 1 < size; i += 2)
        text += static_cast<char16_t>(data[i] | (data[i + 1] << 8));
    return text;
}

// The combining marks the split consumes after a separator.
inline bool IsCombiningMark(char16_t c) {
    return (c >= 0x0300 && c <= 0x036F) || (c >= 0x0483 && c <= 0x0489) || (c >= 0x1AB0 && c <= 0x1AFF) ||
           (c >= 0x1DC0 && c <= 0x1DFF) || (c >= 0x20D0 && c <= 0x20FF) || (c >= 0xFE20 && c <= 0xFE2F);
}

// Aborts with a message when a property does not hold, so libFuzzer keeps
// the input.
inline void Check(bool holds) {
    if (!holds) std::abort();
}
