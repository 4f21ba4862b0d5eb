#include "ChildProcess.h"
#include "platform/win32/Win32ProcessRunner.h"
#include "support/TextUtils.h"

#include <windows.h>

#include <gtest/gtest.h>

#include <chrono>

namespace {

using namespace std::chrono_literals;
using Clock = std::chrono::steady_clock;
using win32test::TestFolder;

std::u16string U(const std::wstring& text) { return std::u16string(text.begin(), text.end()); }

// The folder of the probe, where a bare program name is found as in the
// connectors' commands.
std::u16string ProbeFolder() { return U(TestFolder()); }

// A probe started with "sleep NAME" holds NAME-running open until NAME-stop
// is set or it is ended.
class SleepingProbe {
public:
    explicit SleepingProbe(const std::wstring& name)
        : name_(name + std::to_wstring(::GetCurrentProcessId())),
          stop_(::CreateEventW(nullptr, TRUE, FALSE, (name_ + L"-stop").c_str())) {}
    ~SleepingProbe() {
        ::SetEvent(stop_);
        ::CloseHandle(stop_);
    }
    std::u16string Command() const { return u"tarvenix_win32_probe.exe sleep " + U(name_); }
    bool Running() const {
        HANDLE running = ::OpenEventW(SYNCHRONIZE, FALSE, (name_ + L"-running").c_str());
        if (!running) return false;
        ::CloseHandle(running);
        return true;
    }

private:
    std::wstring name_;
    HANDLE stop_;
};

TEST(Win32GetDosOutput, CapturesOutputAndErrorsOfTheInterpreter) {
    platform::Win32ProcessRunner runner;
    EXPECT_EQ(runner.GetDosOutput(u"echo hello", ProbeFolder(), 30s), u"hello\r\n");
    const std::u16string both = runner.GetDosOutput(u"echo out & echo err 1>&2", ProbeFolder(), 30s);
    EXPECT_NE(both.find(u"out"), std::u16string::npos);
    EXPECT_NE(both.find(u"err"), std::u16string::npos);
    EXPECT_EQ(runner.GetDosOutput(u"rem nothing to say", ProbeFolder(), 30s), u"");
}

TEST(Win32GetDosOutput, AZeroByteCutsTheTextOfItsChunk) {
    platform::Win32ProcessRunner runner;
    EXPECT_EQ(runner.GetDosOutput(u"tarvenix_win32_probe.exe bytes", ProbeFolder(), 30s), u"abcghi");
}

TEST(Win32GetDosOutput, RunsInTheGivenFolder) {
    wchar_t temp[MAX_PATH];
    ::GetTempPathW(MAX_PATH, temp);
    const std::wstring folder = std::wstring(temp) + L"tarvenix pasta " + std::to_wstring(::GetCurrentProcessId());
    ::CreateDirectoryW(folder.c_str(), nullptr);
    const std::u16string output = platform::Win32ProcessRunner().GetDosOutput(u"cd", U(folder), 30s);
    ::RemoveDirectoryW(folder.c_str());
    EXPECT_EQ(AsciiLower(Trim(output)), AsciiLower(U(folder)));
}

TEST(Win32GetDosOutput, NothingWhenTheCommandCannotStart) {
    const std::u16string output =
        platform::Win32ProcessRunner().GetDosOutput(u"echo never", u"C:\\no\\such\\folder\\at\\all", 30s);
    EXPECT_EQ(output, u"");
}

TEST(Win32GetDosOutput, ACommandThatNeverEndsIsEndedAtTheLimitWithItsOutputSoFar) {
    SleepingProbe probe(L"TarvenixLimit");
    const auto start = Clock::now();
    const std::u16string output = platform::Win32ProcessRunner().GetDosOutput(probe.Command(), ProbeFolder(), 1500ms);
    const auto took = Clock::now() - start;
    EXPECT_EQ(output, u"started\r\n");
    EXPECT_GE(took, 1400ms);
    EXPECT_LT(took, 10s);
    // The interpreter's child went with it.
    EXPECT_FALSE(probe.Running());
}

TEST(Win32GetDosOutput, AProgramLeftHoldingThePipeDoesNotHoldTheCaller) {
    SleepingProbe probe(L"TarvenixDetached");
    const auto start = Clock::now();
    const std::u16string output =
        platform::Win32ProcessRunner().GetDosOutput(u"start /b " + probe.Command(), ProbeFolder(), 60s);
    const auto took = Clock::now() - start;
    EXPECT_LT(took, 20s);
    static_cast<void>(output);
}

}  // namespace
