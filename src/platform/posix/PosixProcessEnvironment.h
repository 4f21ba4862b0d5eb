#pragma once

#include "platform/ProcessEnvironment.h"

namespace platform {

class PosixProcessEnvironment : public IProcessEnvironment {
public:
    // Argument 0 from /proc/self/exe; the rest is the argument vector as given.
    std::vector<std::u16string> Arguments() override;
    // PRETTY_NAME of the system's release file.
    std::u16string OperatingSystemName() override;
    // $XDG_DATA_HOME/tarvenix/, or ~/.local/share/tarvenix/ without it.
    std::u16string UserDataFolder() override;
    std::u16string WritableFolder() override;
};

}  // namespace platform
