#include "support/SafeFileName.h"

#include "support/TextUtils.h"

#include <array>

namespace {

constexpr std::size_t kLongestName = 200;

bool Forbidden(char16_t c) {
    return c < 0x20 || c == 0x7F || std::u16string_view(u"<>:\"/\\|?*").find(c) != std::u16string_view::npos;
}

bool ReservedForADevice(std::u16string_view name) {
    static constexpr std::array<std::u16string_view, 4> kPlain{u"con", u"prn", u"aux", u"nul"};
    const std::u16string stem = AsciiLower(name.substr(0, name.find(u'.')));
    for (const auto reserved : kPlain)
        if (stem == reserved) return true;
    // COM1 to COM9 and LPT1 to LPT9.
    return stem.size() == 4 && (stem.starts_with(u"com") || stem.starts_with(u"lpt")) && stem[3] >= u'1' &&
           stem[3] <= u'9';
}

}  // namespace

std::u16string SafeFileName(std::u16string_view proposed, std::u16string_view fallback) {
    const auto cut = proposed.find_last_of(u"/\\");
    std::u16string name(cut == std::u16string_view::npos ? proposed : proposed.substr(cut + 1));
    for (char16_t& c : name)
        if (Forbidden(c)) c = u'_';
    const auto first = name.find_first_not_of(u". ");
    name = first == std::u16string::npos ? std::u16string() : name.substr(first);
    while (!name.empty() && (name.back() == u'.' || name.back() == u' ')) name.pop_back();
    if (name.size() > kLongestName) {
        const auto dot = name.rfind(u'.');
        const std::u16string extension =
            dot != std::u16string::npos && name.size() - dot <= 16 ? name.substr(dot) : std::u16string();
        std::size_t keep = kLongestName - extension.size();
        // Never half of a character outside the basic plane.
        if (name[keep - 1] >= 0xD800 && name[keep - 1] <= 0xDBFF) --keep;
        name = name.substr(0, keep) + extension;
    }
    if (name.empty()) return std::u16string(fallback);
    if (ReservedForADevice(name)) name = u"_" + name;
    return name;
}
