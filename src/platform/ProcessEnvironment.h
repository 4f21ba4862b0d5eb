#pragma once

#include <string>
#include <vector>

namespace platform {

class IProcessEnvironment {
public:
    virtual ~IProcessEnvironment() = default;
    // Argument 0 is the executable's own full path as the system reports it;
    // the rest is the command line, the program name skipped.
    virtual std::vector<std::u16string> Arguments() = 0;
    // The running operating system's product name ("Windows 10", "Debian
    // GNU/Linux 12 (bookworm)").
    virtual std::u16string OperatingSystemName() = 0;
    // The user's own folder for the program, ending with the separator:
    // %LOCALAPPDATA%\Tarvenix\ on Windows, $XDG_DATA_HOME/tarvenix/ (by
    // default ~/.local/share/tarvenix/) elsewhere.
    virtual std::u16string UserDataFolder() = 0;
    // Where the program writes: its own folder when the user can create a
    // file there, otherwise UserDataFolder(). Chosen once per process.
    virtual std::u16string WritableFolder() = 0;
};

// The argument vector the program was started with; the POSIX
// implementation reads it (Windows takes its own command line instead).
void SetStartupArguments(int argc, char** argv);

// Makes the character type UTF-8 (C.UTF-8) when the environment's is not,
// before any library reads it, so that text reaches the window system and
// file names intact on a system set to no locale or an 8-bit one. Every
// other category keeps the environment's choice.
void UseUtf8CharacterType();

}  // namespace platform
