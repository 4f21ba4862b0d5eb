#include "ChildProcess.h"

#include <windows.h>

#include <gtest/gtest.h>

namespace {

using win32test::ProbePath;
using win32test::RunChild;
using win32test::RunTool;

// Wine reports the Windows version of its prefix's settings; each case sets
// it, and a child started afterwards names the system it believes it runs on.
class Win32OperatingSystem : public ::testing::Test {
protected:
    static void SetUpTestSuite() { wineVersion_ = IsWine(); }
    void TearDown() override {
        if (!wineVersion_) return;
        ClearAppVersion();
        RunTool(L"winecfg.exe -v win7");
    }
    static bool IsWine() { return ::GetProcAddress(::GetModuleHandleW(L"ntdll.dll"), "wine_get_version") != nullptr; }
    static void ClearAppVersion() { RunTool(L"reg.exe delete HKCU\\Software\\Wine /v Version /f"); }

    std::string NameUnder(const std::wstring& version) {
        ClearAppVersion();
        RunTool(L"winecfg.exe -v " + version);
        return RunChild(ProbePath(), L"probe osname").output;
    }
    // Wine's settings tool cannot choose 32-bit XP in a 64-bit prefix; the
    // user key it reads first can.
    std::string NameUnderUserVersion(const std::wstring& version) {
        RunTool(L"reg.exe add HKCU\\Software\\Wine /v Version /d " + version + L" /f");
        return RunChild(ProbePath(), L"probe osname").output;
    }

    static inline bool wineVersion_ = false;
};

TEST_F(Win32OperatingSystem, ProductNamesFollowTheReportedVersion) {
    if (!wineVersion_) GTEST_SKIP() << "the Windows version can only be chosen under Wine";
    EXPECT_EQ(NameUnderUserVersion(L"winxp"), "Windows XP");
    EXPECT_EQ(NameUnder(L"winxp64"), "Windows XP");  // 5.2 on a 64-bit workstation
    EXPECT_EQ(NameUnder(L"vista"), "Windows Vista");
    EXPECT_EQ(NameUnder(L"win7"), "Windows 7");
    EXPECT_EQ(NameUnder(L"win10"), "Windows 10");  // above 6.1: kernel32.dll's file version
    EXPECT_EQ(NameUnder(L"win2003"), "Windows Server 2003");
    EXPECT_EQ(NameUnder(L"win2008"), "Windows Server 2008");
    EXPECT_EQ(NameUnder(L"win2008r2"), "Windows Server 2008 R2");
}

}  // namespace
