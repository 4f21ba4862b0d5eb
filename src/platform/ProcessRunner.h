#pragma once

#include <chrono>
#include <string>

namespace platform {

class IProcessRunner {
public:
    virtual ~IProcessRunner() = default;
    // Runs `commandLine` through the command interpreter with `workFolder` as
    // current directory and returns what it wrote to standard output and
    // standard error, decoded from the 8-bit code page chunk by chunk up to a
    // zero byte. A child still running after `limit` is ended. Empty when the
    // process cannot be started.
    virtual std::u16string GetDosOutput(const std::u16string& commandLine,
                                        const std::u16string& workFolder,
                                        std::chrono::milliseconds limit) = 0;
};

}  // namespace platform
