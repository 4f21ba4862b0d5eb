#pragma once

#include "platform/ProcessRunner.h"

namespace platform {

// "cmd.exe /C " + line with its output read through an anonymous pipe. The
// child runs in a job of its own so that, at the limit, the command's whole
// tree is ended; the read loop never blocks, so a program that inherited the
// pipe and keeps it open cannot hold the caller past the command's end or
// the limit.
class Win32ProcessRunner : public IProcessRunner {
public:
    std::u16string GetDosOutput(const std::u16string& commandLine, const std::u16string& workFolder,
                                std::chrono::milliseconds limit) override;
};

}  // namespace platform
