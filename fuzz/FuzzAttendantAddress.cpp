#include "FuzzInput.h"
#include "remote/AttendantAddress.h"
#include "remote/ToolLocations.h"
#include "remote/VncConnectors.h"
#include "support/TextUtils.h"

#include <optional>
#include <string>
#include <vector>

namespace {

// The words a POSIX shell makes of `line`, or nothing when the line holds
// anything the shell would expand, redirect or run (unquoted), so that the
// words would depend on more than the text.
std::optional<std::vector<std::string>> ShellWords(const std::string& line) {
    std::vector<std::string> words;
    std::string word;
    bool inWord = false;
    for (std::size_t i = 0; i < line.size(); ++i) {
        const char c = line[i];
        if (c == ' ' || c == '\t' || c == '\n') {
            if (inWord) words.push_back(word);
            word.clear();
            inWord = false;
            continue;
        }
        inWord = true;
        if (c == '\'') {
            const auto close = line.find('\'', i + 1);
            if (close == std::string::npos) return std::nullopt;
            word += line.substr(i + 1, close - i - 1);
            i = close;
        } else if (c == '\\') {
            if (++i == line.size()) return std::nullopt;
            word += line[i];
        } else if (std::string_view("\"|&;<>()$`*?[]#~={}!%^").find(c) != std::string_view::npos ||
                   static_cast<unsigned char>(c) < 0x20 || c == 0x7F) {
            return std::nullopt;
        } else {
            word += c;
        }
    }
    if (inWord) words.push_back(word);
    return words;
}

struct Tight : TnTarvenixVNCTightVNC {
    std::u16string Line(const std::u16string& line, const std::u16string& parameters) {
        FParameters = parameters;
        return AplicarParametros(line);
    }
};

}  // namespace

// Properties: an accepted address is made of letters, digits and ".:[]-"
// only (nothing cmd.exe acts on either), never starts with "-", and, put into
// each tool's connect line, splits back under the POSIX shell's rules into
// exactly the tool's arguments followed by the address itself.
extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    // One byte a character reaches the valid forms quickly; an odd first
    // byte switches to two bytes a character for the rest of the range.
    std::u16string address;
    if (size > 0 && (data[0] & 1)) address = TextFromBytes(data + 1, size - 1);
    else
        for (std::size_t i = 1; i < size; ++i) address += static_cast<char16_t>(data[i]);
    if (!IsAttendantAddress(address)) return 0;

    Check(!address.empty() && address.size() <= 253 + 6 && address.front() != u'-');
    for (char16_t c : address)
        Check((c >= u'a' && c <= u'z') || (c >= u'A' && c <= u'Z') || (c >= u'0' && c <= u'9') ||
              std::u16string_view(u".:[]-").find(c) != std::u16string_view::npos);

    const std::vector<std::string> expected{"x11vnc", "-bg",     "-quiet", "-nopw",
                                            "-shared", "-rfbport", "0",      "-coe", ToUtf8(address)};
    const std::u16string parameters = u"ip=" + address;
    Tight tight;
    for (const auto& line : remote_tools::TightVncConnectLines())
        Check(ShellWords(ToUtf8(tight.Line(line, parameters))) == expected);
    const std::u16string real = RealVncAddress(parameters);
    Check(ShellWords(ToUtf8(remote_tools::RealVncIConnectLine(real))) == expected);
    Check(ShellWords(ToUtf8(remote_tools::RealVncListedConnectLine(real))) == expected);
    return 0;
}
