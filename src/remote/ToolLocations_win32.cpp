#include "remote/ToolLocations.h"

namespace remote_tools {

TStringArray TightVncFolders() {
    return {u"c:\\Program Files\\TightVNC\\", u"c:\\Program Files (x86)\\TightVNC\\", u"d:\\TightVNC\\",
            u"d:\\Arquivos de Programas\\TightVNC\\"};
}

TStringArray RealVncFolders() {
    return {u"c:\\Program Files\\RealVNC\\VNC Server\\", u"c:\\Program Files (x86)\\RealVNC\\VNC Server\\",
            u"c:\\Arquivos de Programas\\RealVNC\\VNC Server\\",
            u"c:\\Arquivos de Programas (x86)\\RealVNC\\VNC Server\\", u"d:\\RealVNC\\VNC Server\\",
            u"d:\\Program Files\\RealVNC\\VNC Server\\"};
}

TStringArray AnyDeskFolders() {
    return {u"c:\\Program Files (x86)\\AnyDesk\\", u"c:\\Program Files\\AnyDesk\\", u"d:\\AnyDesk\\",
            u"c:\\Arquivos de Programas\\AnyDesk\\", u"c:\\Arquivos de Programas (x86)\\AnyDesk\\"};
}

ExecutablePrompt ExecutablePromptValues() { return {u".exe", u"exe", platform::FileListing::Matching}; }

std::u16string TightVncExecutable() { return u"tvnserver.exe"; }
std::u16string RealVncExecutable() { return u"vncserver.exe"; }
std::u16string AnyDeskExecutable() { return u"AnyDesk.exe"; }

TStringArray TightVncConnectLines() {
    return {u"tvnserver.exe -reinstall -silent", u"tvnserver.exe -start -silent",
            u"tvnserver.exe -controlservice -connect {ip}"};
}

TStringArray TightVncDisconnectLines() { return {u"tvnserver.exe -controlservice -disconnectall -silent"}; }

std::u16string RealVncListedConnectLine(std::u16string_view address) {
    return RealVncExecutable() + u" -connect " + std::u16string(address);
}

std::u16string RealVncIConnectLine(std::u16string_view address) {
    return RealVncExecutable() + u" -iconnect " + std::u16string(address);
}

std::u16string RealVncDisconnectLine() { return RealVncExecutable() + u" -disconnect"; }

// Windows paths cannot hold a double quote, so quoting keeps blanks, "&",
// "|", "^" and the like as they are. cmd.exe would still expand a %NAME% of
// a defined variable inside the quotes; the paths quoted here lie below the
// program's own folder, which its installer chose, never below outside text.
std::u16string QuoteForCommandInterpreter(std::u16string_view path) {
    return u"\"" + std::u16string(path) + u"\"";
}

}  // namespace remote_tools
