#include "ChildProcess.h"
#include "startup/WindowsCommandLine.h"
#include "support/TextUtils.h"

#include <windows.h>

#include <gtest/gtest.h>

#include <sstream>
#include <vector>

namespace {

using win32test::ProbePath;
using win32test::RunChild;

std::vector<std::string> Lines(const std::string& text) {
    std::vector<std::string> lines;
    std::istringstream in(text);
    for (std::string line; std::getline(in, line);) lines.push_back(line);
    return lines;
}

// The child is started with a command line of our own making, so what it
// reports is the split of exactly that line as the system hands it over.
TEST(Win32CommandLine, ChildSplitsItsOwnCommandLineByTheRuntimeRules) {
    const std::wstring line =
        L"\"name the system ignores\" args -Name \"\" -Email x \"Ana Souza\"\tab\"c d\"e C:\\dir\\ \"tail\\\" "
        L"Jo\u00e3o \"\" \"\"-Url \"unterminated run";
    const auto child = RunChild(ProbePath(), line);
    ASSERT_EQ(child.exitCode, 0u);
    const auto lines = Lines(child.output);

    const std::vector<std::string> expected = {"args",   "-Name",   "-Email", "x",     "Ana Souza", "abc de",
                                               "C:\\dir\\", "tail\\", "João", "-Url", "unterminated run"};
    ASSERT_EQ(lines.size(), expected.size() + 1) << child.output;
    // Argument 0 is the module's own path, not the command line's first word.
    const std::wstring probe = ProbePath();
    EXPECT_EQ(lines[0], ToUtf8(std::u16string(probe.begin(), probe.end())));
    EXPECT_EQ(std::vector<std::string>(lines.begin() + 1, lines.end()), expected);

    auto split = SplitWindowsCommandLine(std::u16string(line.begin(), line.end()));
    ASSERT_FALSE(split.empty());
    split.erase(split.begin());
    std::vector<std::string> pure;
    for (const auto& arg : split) pure.push_back(ToUtf8(arg));
    EXPECT_EQ(pure, expected);
}

TEST(Win32CommandLine, TrailingBlanksAndEmptyQuotesAddNoArguments) {
    const auto child = RunChild(ProbePath(), L"probe  args \"\"  \t\"\"   ");
    ASSERT_EQ(child.exitCode, 0u);
    const auto lines = Lines(child.output);
    ASSERT_EQ(lines.size(), 2u) << child.output;
    EXPECT_EQ(lines[1], "args");
}

}  // namespace
