#pragma once
// Looking at and typing into the windows of a program under a test display,
// through xdotool.

#include "support/WaitUntil.h"

#include <cstdio>
#include <string>
#include <sys/types.h>

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
    std::string ids;
    WaitUntil([&] { return !(ids = VisibleWindows(pid, title)).empty(); }, timeoutMs, {}, 100);
    return ids.substr(0, ids.find('\n'));
}

// The window once it keeps its id, waited for; empty when it did not settle.
// Qt makes a window anew when the browser's drawing surface joins it.
inline std::string SettledWindow(pid_t pid, const std::string& title) {
    std::string last, now;
    int same = 0;
    WaitUntil([&] {
        now = WaitForWindow(pid, title, 100);
        same = !now.empty() && now == last ? same + 1 : 0;
        last = now;
        return same == 5;
    }, 60000, {}, 100);
    return same == 5 ? now : std::string();
}

// A real click of the left button at (x, y) of the window's own area.
inline void ClickAt(const std::string& window, int x, int y) {
    RunAndRead("xdotool mousemove --sync --window " + window + " " + std::to_string(x) + " " + std::to_string(y) +
               " click 1 2>/dev/null");
}

// Types `key` into the window. Not with --window: a window that goes on the
// key's press makes xdotool fail before the release, and the key then stays
// down, repeating into whatever window comes next.
inline void PressKey(const std::string& window, const std::string& key) {
    RunAndRead("xdotool windowfocus --sync " + window + " 2>/dev/null; xdotool key " + key + " 2>/dev/null");
}

inline void PressReturn(const std::string& window) { PressKey(window, "Return"); }

}  // namespace testing_support
