#include "remote/AttendantAddress.h"

#include "platform/Platform.h"
#include "support/LocalFiles.h"
#include "support/ScriptText.h"

#include <exception>

namespace {

bool IsDigit(char16_t c) { return c >= u'0' && c <= u'9'; }
bool IsHexDigit(char16_t c) { return IsDigit(c) || (c >= u'a' && c <= u'f') || (c >= u'A' && c <= u'F'); }
bool IsLetter(char16_t c) { return (c >= u'a' && c <= u'z') || (c >= u'A' && c <= u'Z'); }

bool AllDigits(std::u16string_view text) {
    for (char16_t c : text)
        if (!IsDigit(c)) return false;
    return !text.empty();
}

// A decimal number in [min, max] with at most `digits` digits and no leading zero.
bool IsNumberIn(std::u16string_view text, std::size_t digits, unsigned min, unsigned max) {
    if (!AllDigits(text) || text.size() > digits || (text.size() > 1 && text[0] == u'0')) return false;
    unsigned value = 0;
    for (char16_t c : text) value = value * 10 + static_cast<unsigned>(c - u'0');
    return value >= min && value <= max;
}

// Counts the 16-bit groups of one side of an IPv6 address; an IPv4 address
// may stand for the last two when `ipv4Tail` allows it.
bool CountGroups(std::u16string_view side, bool ipv4Tail, int& groups) {
    groups = 0;
    if (side.empty()) return true;
    while (true) {
        const auto colon = side.find(u':');
        const std::u16string_view group = side.substr(0, colon);
        if (colon == std::u16string_view::npos && ipv4Tail && group.find(u'.') != std::u16string_view::npos) {
            if (!IsIPv4Address(group)) return false;
            groups += 2;
            return true;
        }
        if (group.empty() || group.size() > 4) return false;
        for (char16_t c : group)
            if (!IsHexDigit(c)) return false;
        ++groups;
        if (colon == std::u16string_view::npos) return true;
        side.remove_prefix(colon + 1);
    }
}

bool IsPort(std::u16string_view text) { return IsNumberIn(text, 5, 1, 65535); }

}  // namespace

bool IsIPv4Address(std::u16string_view text) {
    for (int part = 0; part < 4; ++part) {
        const auto dot = text.find(u'.');
        if ((part < 3) == (dot == std::u16string_view::npos)) return false;
        if (!IsNumberIn(text.substr(0, dot), 3, 0, 255)) return false;
        if (dot != std::u16string_view::npos) text.remove_prefix(dot + 1);
    }
    return true;
}

bool IsIPv6Address(std::u16string_view text) {
    int left = 0, right = 0;
    const auto gap = text.find(u"::");
    if (gap == std::u16string_view::npos) return CountGroups(text, true, left) && left == 8;
    return CountGroups(text.substr(0, gap), false, left) && CountGroups(text.substr(gap + 2), true, right) &&
           left + right <= 7;
}

bool IsDnsName(std::u16string_view text) {
    if (text.empty() || text.size() > 253) return false;
    std::u16string_view label;
    while (true) {
        const auto dot = text.find(u'.');
        label = text.substr(0, dot);
        if (label.empty() || label.size() > 63 || label.front() == u'-' || label.back() == u'-') return false;
        for (char16_t c : label)
            if (!IsLetter(c) && !IsDigit(c) && c != u'-') return false;
        if (dot == std::u16string_view::npos) break;
        text.remove_prefix(dot + 1);
    }
    // A numeric last label makes the name read as an IPv4 address.
    return !AllDigits(label);
}

bool IsAttendantAddress(std::u16string_view address) {
    if (!address.empty() && address.front() == u'[') {
        const auto close = address.find(u']');
        if (close == std::u16string_view::npos || !IsIPv6Address(address.substr(1, close - 1))) return false;
        const std::u16string_view rest = address.substr(close + 1);
        return rest.empty() || (rest.front() == u':' && IsPort(rest.substr(1)));
    }
    if (IsIPv6Address(address)) return true;
    const auto colon = address.find(u':');
    const std::u16string_view host = address.substr(0, colon);
    if (!IsIPv4Address(host) && !IsDnsName(host)) return false;
    return colon == std::u16string_view::npos || IsPort(address.substr(colon + 1));
}

bool AcceptAttendantAddress(std::u16string_view address, platform::IDialogs* dialogs) {
    if (IsAttendantAddress(address)) return true;
    // The log is a diagnostic; the refusal stands even when it cannot be written.
    try {
        TnTarvenixUtils::LogarAcoesTarvenix(u"Acesso remoto recusado, endereço do atendente inválido: " +
                                            QuotedForLog(address));
    } catch (const std::exception&) {
    }
    (dialogs ? *dialogs : *platform::Current().dialogs)
        .MessageDlg(u"Não foi possível iniciar o acesso remoto: o endereço do atendente não é válido.",
                    platform::DialogKind::Warning, {platform::DialogButton::OK}, {}, std::nullopt);
    return false;
}
