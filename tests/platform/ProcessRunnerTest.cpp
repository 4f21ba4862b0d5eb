#include "fakes/TempFolder.h"
#include "platform/posix/PosixProcessRunner.h"
#include "support/TextUtils.h"
#include "support/WaitUntil.h"

#include <gtest/gtest.h>

#include <signal.h>

#include <chrono>
#include <fstream>
#include <thread>

namespace {

using namespace std::chrono_literals;
using Clock = std::chrono::steady_clock;

class Runner : public ::testing::Test {
protected:
    fakes::TempFolder temp{"runner"};
    platform::PosixProcessRunner runner;

    std::u16string Run(const std::string& line, std::chrono::milliseconds limit = 20s, std::string folder = "") {
        return runner.GetDosOutput(FromUtf8(line), FromUtf8(folder.empty() ? temp.Folder() : folder), limit);
    }
    static bool Alive(int pid) {
        if (::kill(pid, 0) != 0) return false;
        // A zombie waiting for its reaper counts as ended.
        std::ifstream stat("/proc/" + std::to_string(pid) + "/stat");
        std::string pidText, name, state;
        stat >> pidText >> name >> state;
        return state != "Z";
    }
};

TEST_F(Runner, CapturesOutputAndErrorsInOrder) {
    EXPECT_EQ(Run("echo um; echo dois >&2; echo tres"), u"um\ndois\ntres\n");
    EXPECT_EQ(Run("true"), u"");
}

TEST_F(Runner, RunsInTheToolFolderWhichComesFirstOnThePath) {
    temp.Script("tools/ls", "echo \"stand-in $PWD $*\"");
    EXPECT_EQ(Run("ls -l", 20s, temp.Folder("tools")), FromUtf8("stand-in " + temp.Path("tools") + " -l\n"));
}

TEST_F(Runner, DecodesEachChunkFromTheCodePageUpToItsZeroByte) {
    EXPECT_EQ(Run("printf 'a\\351b\\200'"), u"a\u00E9b\u20AC");
    // One write of 311 bytes arrives as a 255-byte chunk and a 56-byte one;
    // the first chunk ends at its zero byte.
    EXPECT_EQ(Run("printf '%s\\000%s' xxxxxxxxxx $(printf 'y%.0s' $(seq 300))"),
              std::u16string(10, u'x') + std::u16string(56, u'y'));
}

TEST_F(Runner, ToolGetsNoInput) {
    const auto start = Clock::now();
    EXPECT_EQ(Run("cat; echo fim"), u"fim\n");
    EXPECT_LT(Clock::now() - start, 5s);
}

TEST_F(Runner, LineThatNeverEndsIsEndedWithAllItStartedAtTheBound) {
    const std::string pidFile = temp.Path("pid");
    const auto start = Clock::now();
    const auto output = Run("sleep 60 & echo $! > " + pidFile + "; echo antes; wait", 400ms);
    const auto took = Clock::now() - start;
    EXPECT_EQ(output, u"antes\n");
    EXPECT_GE(took, 400ms);
    EXPECT_LT(took, 5s);
    const int pid = std::stoi(fakes::TempFolder::Read(pidFile));
    testing_support::WaitUntil([&] { return !Alive(pid); }, 1000);
    EXPECT_FALSE(Alive(pid));
}

TEST_F(Runner, LineThatClosesItsOutputStillMeetsTheBound) {
    const auto start = Clock::now();
    EXPECT_EQ(Run("echo so; exec >&- 2>&-; sleep 60", 400ms), u"so\n");
    EXPECT_LT(Clock::now() - start, 5s);
}

TEST_F(Runner, BackgroundProcessHoldingTheOutputDoesNotHoldTheCaller) {
    const std::string pidFile = temp.Path("pid");
    const auto start = Clock::now();
    EXPECT_EQ(Run("sleep 60 & echo $! > " + pidFile + "; echo pronto"), u"pronto\n");
    EXPECT_LT(Clock::now() - start, 5s);
    const int pid = std::stoi(fakes::TempFolder::Read(pidFile));
    EXPECT_TRUE(Alive(pid));  // the tool's own background work goes on
    ::kill(pid, SIGKILL);
}

TEST_F(Runner, MissingFolderGivesEmptyText) {
    EXPECT_EQ(Run("echo nunca", 20s, temp.Folder("absent")), u"");
}

}  // namespace
