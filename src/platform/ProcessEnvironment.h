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
