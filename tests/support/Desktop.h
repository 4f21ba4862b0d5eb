#pragma once
// Looking at and typing into the windows of a program under a test display,
// through xdotool.

#include <cstdio>
#include <chrono>
#include <string>
#include <sys/types.h>
#include <thread>

namespace testing_support {

// The standard output of a shell command.
inline std::string RunAndRead(const std::string& command) {
    std::string out;
    if (FILE* pipe = ::popen(command.c_str(), "r")) {
        char chunk[256];
        while (std::fgets(chunk, sizeof chunk, pipe)) out += chunk;
        ::pclose(pipe);
    }
    return out;
}

// The visible windows of `pid` whose title matches the regular expression
// `title`, one id a line.
inline std::string VisibleWindows(pid_t pid, const std::string& title) {
    return RunAndRead("xdotool search --all --onlyvisible --pid " + std::to_string(pid) + " --name '" + title +
                      "' 2>/dev/null");
}

// The first such window, waited for; empty when none showed in time.
inline std::string WaitForWindow(pid_t pid, const std::string& title, int timeoutMs = 20000) {
    const auto deadline = std::chrono::steady_clock::now() + std::chrono::milliseconds(timeoutMs);
    while (std::chrono::steady_clock::now() < deadline) {
        const std::string ids = VisibleWindows(pid, title);
        if (!ids.empty()) return ids.substr(0, ids.find('\n'));
        std::this_thread::sleep_for(std::chrono::milliseconds(100));
    }
    return {};
}

// Types `key` into the window. Not with --window: a window that goes on the
// key's press makes xdotool fail before the release, and the key then stays
// down, repeating into whatever window comes next.
inline void PressKey(const std::string& window, const std::string& key) {
    RunAndRead("xdotool windowfocus --sync " + window + " 2>/dev/null; xdotool key " + key + " 2>/dev/null");
}

inline void PressReturn(const std::string& window) { PressKey(window, "Return"); }

}  // namespace testing_support
