#include "platform/win32/Win32CodePage.h"

#include <windows.h>

#include <algorithm>
#include <climits>

namespace platform {

// Texts beyond INT_MAX units cannot be passed to the converters in one call;
// nothing the program handles comes near that, so they convert in pieces.
namespace {
constexpr size_t kPiece = INT_MAX / 4;
}

std::string Win32CodePage::ToAnsi(std::u16string_view text) {
    std::string out;
    while (!text.empty()) {
        size_t n = std::min(text.size(), kPiece);
        // Keep a surrogate pair together.
        if (n < text.size() && text[n - 1] >= 0xD800 && text[n - 1] <= 0xDBFF) --n;
        const auto* wide = reinterpret_cast<const wchar_t*>(text.data());
        const int size = ::WideCharToMultiByte(CP_ACP, 0, wide, static_cast<int>(n), nullptr, 0, nullptr, nullptr);
        if (size > 0) {
            const size_t at = out.size();
            out.resize(at + static_cast<size_t>(size));
            ::WideCharToMultiByte(CP_ACP, 0, wide, static_cast<int>(n), out.data() + at, size, nullptr, nullptr);
        }
        text.remove_prefix(n);
    }
    return out;
}

std::u16string Win32CodePage::FromAnsi(std::string_view bytes) {
    std::u16string out;
    while (!bytes.empty()) {
        size_t n = std::min(bytes.size(), kPiece);
        if (n < bytes.size() && ::IsDBCSLeadByte(static_cast<BYTE>(bytes[n - 1]))) --n;
        const int size = ::MultiByteToWideChar(CP_ACP, 0, bytes.data(), static_cast<int>(n), nullptr, 0);
        if (size > 0) {
            const size_t at = out.size();
            out.resize(at + static_cast<size_t>(size));
            ::MultiByteToWideChar(CP_ACP, 0, bytes.data(), static_cast<int>(n),
                                  reinterpret_cast<wchar_t*>(out.data() + at), size);
        }
        bytes.remove_prefix(n);
    }
    return out;
}

}  // namespace platform
