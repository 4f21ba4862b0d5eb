#include "remote/ToolLocations.h"

// Both VNC connectors drive x11vnc: it offers the reverse connection to a
// listening viewer that TightVNC and RealVNC offer on Windows. It goes to the
// background once the connection is made (-bg), so the command line returns
// while the session goes on; it listens on no port of its own (-rfbport 0)
// and ends when the attendant's viewer goes away (the default -once) or when
// the reverse connection cannot be made (-coe). Disconnecting asks the
// running server to stop through the display (-R stop). The address is
// always quoted: a bracketed IPv6 address would otherwise be a file-name
// pattern for the shell.

namespace remote_tools {

namespace {

constexpr std::u16string_view kServeReverse = u"x11vnc -bg -quiet -nopw -shared -rfbport 0 -coe ";
constexpr std::u16string_view kStop = u"x11vnc -R stop";

// x11vnc writes host:port; RealVNC's host::port would make it read port 0.
// Quoted as one word; a missing address stays missing.
std::u16string X11VncAddress(std::u16string_view realVncAddress) {
    std::u16string address(realVncAddress);
    if (const auto at = address.find(u"::"); at != std::u16string::npos) address.erase(at, 1);
    return address.empty() ? address : QuoteForCommandInterpreter(address);
}

}  // namespace

TStringArray TightVncFolders() { return {u"/usr/bin/", u"/usr/local/bin/", u"/snap/bin/"}; }
TStringArray RealVncFolders() { return {u"/usr/bin/", u"/usr/local/bin/", u"/snap/bin/"}; }
TStringArray AnyDeskFolders() {
    return {u"/usr/bin/", u"/usr/local/bin/", u"/opt/anydesk/", u"/usr/libexec/anydesk/", u"/snap/bin/"};
}

// Programs here have no extension: the dialog lists what may be run and
// adds nothing to a typed name.
ExecutablePrompt ExecutablePromptValues() { return {u"Programas|*", u"", platform::FileListing::Executables}; }

std::u16string TightVncExecutable() { return u"x11vnc"; }
std::u16string RealVncExecutable() { return u"x11vnc"; }
std::u16string AnyDeskExecutable() { return u"anydesk"; }

TStringArray TightVncConnectLines() { return {std::u16string(kServeReverse) + u"'{ip}'"}; }
TStringArray TightVncDisconnectLines() { return {std::u16string(kStop)}; }

std::u16string RealVncListedConnectLine(std::u16string_view address) {
    return std::u16string(kServeReverse) + X11VncAddress(address);
}

std::u16string RealVncIConnectLine(std::u16string_view address) {
    return std::u16string(kServeReverse) + X11VncAddress(address);
}

std::u16string RealVncDisconnectLine() { return std::u16string(kStop); }

// Single quotes keep every character as it is; a quote inside is closed,
// escaped and reopened.
std::u16string QuoteForCommandInterpreter(std::u16string_view path) {
    std::u16string quoted = u"'";
    for (char16_t c : path) quoted += c == u'\'' ? std::u16string(u"'\\''") : std::u16string(1, c);
    return quoted + u"'";
}

}  // namespace remote_tools
