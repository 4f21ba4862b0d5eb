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

// Aborts with a message when a property does not hold, so libFuzzer keeps
// the input.
inline void Check(bool holds) {
    if (!holds) std::abort();
}
