#pragma once
// Starting programs from the Wine tests, independently of the runner under
// test.

#include <string>

namespace win32test {

struct ChildResult {
    unsigned long exitCode = 0;
    std::string output;  // standard output and standard error
};

// Runs `commandLine` (with `application` as the program when not empty) and
// waits for it, at most `timeoutMs`.
ChildResult RunChild(const std::wstring& application, const std::wstring& commandLine,
                     unsigned long timeoutMs = 60000);
// Runs a program of the prefix by name ("reg.exe add ...").
ChildResult RunTool(const std::wstring& commandLine);

// The folder of the test executable, with a trailing backslash; the probe
// program sits there.
std::wstring TestFolder();
std::wstring ProbePath();

}  // namespace win32test
