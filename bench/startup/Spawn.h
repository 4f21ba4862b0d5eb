#pragma once
// Starts a program of the benchmark: its error output is dropped, its
// standard output goes to `outFd` (dropped too when there is none).

#include <fcntl.h>
#include <unistd.h>

#include <string>
#include <vector>

namespace bench {

inline pid_t Spawn(std::vector<std::string> argv, int outFd = -1) {
    const pid_t pid = ::fork();
    if (pid == 0) {
        const int null = ::open("/dev/null", O_WRONLY);
        ::dup2(outFd >= 0 ? outFd : null, 1);
        ::dup2(null, 2);
        std::vector<char*> raw;
        for (auto& a : argv) raw.push_back(a.data());
        raw.push_back(nullptr);
        ::execv(raw[0], raw.data());
        ::_exit(127);
    }
    return pid;
}

}  // namespace bench
