#pragma once

#include "platform/ProcessRunner.h"

namespace platform {

// "/bin/sh -c" with the work folder as current directory and first on PATH,
// so a bare tool name in the line is found there.
class PosixProcessRunner : public IProcessRunner {
public:
    std::u16string GetDosOutput(const std::u16string& commandLine, const std::u16string& workFolder,
                                std::chrono::milliseconds limit) override;
};

}  // namespace platform
