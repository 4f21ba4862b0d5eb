#pragma once
// A program started by a test: its first lines of output can be read, its
// end awaited with a time limit, and it is killed when the test lets go of it.

#include <fcntl.h>
#include <poll.h>
#include <signal.h>
#include <sys/wait.h>
#include <unistd.h>

#include "support/WaitUntil.h"

#include <chrono>
#include <optional>
#include <string>
#include <vector>

extern char** environ;

namespace testing_support {

class ChildProcess {
public:
    // `environment` entries ("NAME=value") are added to, or replace, ours.
    explicit ChildProcess(const std::vector<std::string>& argv, const std::vector<std::string>& environment = {}) {
        int out[2];
        if (::pipe(out) != 0) return;
        std::vector<std::string> env;
        for (char** e = environ; *e; ++e) {
            const std::string entry(*e);
            bool replaced = false;
            for (const auto& mine : environment)
                if (entry.substr(0, entry.find('=') + 1) == mine.substr(0, mine.find('=') + 1)) replaced = true;
            if (!replaced) env.push_back(entry);
        }
        env.insert(env.end(), environment.begin(), environment.end());
        pid_ = ::fork();
        if (pid_ == 0) {
            ::dup2(out[1], 1);
            ::close(out[0]);
            ::close(out[1]);
            ::setpgid(0, 0);
            std::vector<char*> args, envp;
            for (const auto& a : argv) args.push_back(const_cast<char*>(a.c_str()));
            args.push_back(nullptr);
            for (const auto& e : env) envp.push_back(const_cast<char*>(e.c_str()));
            envp.push_back(nullptr);
            ::execve(args[0], args.data(), envp.data());
            ::_exit(127);
        }
        ::close(out[1]);
        out_ = out[0];
    }
    ~ChildProcess() {
        if (pid_ > 0 && !exitCode_) {
            ::kill(-pid_, SIGKILL);
            ::kill(pid_, SIGKILL);
            ::waitpid(pid_, nullptr, 0);
        }
        if (out_ >= 0) ::close(out_);
    }
    ChildProcess(const ChildProcess&) = delete;
    ChildProcess& operator=(const ChildProcess&) = delete;

    pid_t Pid() const { return pid_; }

    // The next line of standard output, without its line break; empty when
    // none came in time.
    std::string ReadLine(int timeoutMs) {
        const auto deadline = std::chrono::steady_clock::now() + std::chrono::milliseconds(timeoutMs);
        while (true) {
            const auto newline = buffer_.find('\n');
            if (newline != std::string::npos) {
                std::string line = buffer_.substr(0, newline);
                buffer_.erase(0, newline + 1);
                return line;
            }
            const auto left = std::chrono::duration_cast<std::chrono::milliseconds>(deadline - std::chrono::steady_clock::now());
            if (left.count() <= 0) return {};
            pollfd p{out_, POLLIN, 0};
            if (::poll(&p, 1, static_cast<int>(left.count())) <= 0) continue;
            char chunk[512];
            const ssize_t n = ::read(out_, chunk, sizeof chunk);
            if (n <= 0) return {};
            buffer_.append(chunk, static_cast<size_t>(n));
        }
    }

    // The exit code (128 + signal for a killed program); nullopt when it is
    // still running after `timeoutMs`.
    std::optional<int> WaitExit(int timeoutMs) {
        WaitUntil([&] {
            int status = 0;
            if (!exitCode_ && ::waitpid(pid_, &status, WNOHANG) == pid_)
                exitCode_ = WIFEXITED(status) ? WEXITSTATUS(status) : 128 + WTERMSIG(status);
            return exitCode_.has_value();
        }, timeoutMs);
        return exitCode_;
    }

private:
    pid_t pid_ = -1;
    int out_ = -1;
    std::string buffer_;
    std::optional<int> exitCode_;
};

}  // namespace testing_support
