// The attendant's address from the page's command text to TightVNC and
// RealVNC through cmd.exe, with copies of the probe standing in for the
// tools: an attack never reaches a command line, and a real address arrives
// as exactly one argument.

#include "ChildProcess.h"
#include "fakes/FakePlatform.h"
#include "fakes/HidingFileSystem.h"
#include "remote/AttackPayloads.h"
#include "remote/RemoteAttendant.h"
#include "remote/ToolLocations.h"
#include "support/TextUtils.h"

#include <windows.h>

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <sstream>

namespace {

namespace fs = std::filesystem;

class Win32StandIn : public ::testing::Test {
protected:
    void SetUp() override {
        root_ = fs::temp_directory_path() / (L"tarvenix standin " + std::to_wstring(::GetCurrentProcessId()));
        tools_ = root_ / L"ferramentas";
        program_ = root_ / L"programa";
        fs::remove_all(root_);
        fs::create_directories(tools_);
        fs::create_directories(program_);
        for (const wchar_t* exe : {L"tvnserver.exe", L"vncserver.exe"})
            fs::copy_file(win32test::ProbePath(), tools_ / exe);
        const std::string cache = tools_.string() + "\\\r\n";
        for (const wchar_t* name : {L"pathtightvnc.txt", L"pathvnc.txt"}) std::ofstream(program_ / name) << cache;
        process_.arguments = {program_.u16string() + u"\\PTarveNixApp.exe"};
        for (const auto& folder : remote_tools::TightVncFolders()) files_.hidden.insert(folder);
        for (const auto& folder : remote_tools::RealVncFolders()) files_.hidden.insert(folder);
    }
    void TearDown() override {
        std::error_code ignored;
        fs::remove_all(root_, ignored);
    }
    void Send(const std::u16string& address, const std::u16string& rest) {
        const auto fields = TnTarvenixUtils::StrToStrArray(u"ConnectRemoteAttendantListening|" + address + rest, u'|');
        ConectarAtendenteVNC(fields, [this](const std::u16string& s) { scripts_.push_back(s); });
    }
    std::string Recorded() const {
        std::ifstream in(tools_ / L"record.txt", std::ios::binary);
        std::stringstream bytes;
        bytes << in.rdbuf();
        return bytes.str();
    }

    fs::path root_;
    fs::path tools_;
    fs::path program_;
    fakes::ProcessEnvironment process_;
    fakes::Dialogs dialogs_;
    fakes::HidingFileSystem files_;
    platform::ScopedServices installed_{[this] {
        platform::Services s;
        s.process = &process_;
        s.dialogs = &dialogs_;
        s.files = &files_;
        return s;
    }()};
    std::vector<std::u16string> scripts_;
};

TEST_F(Win32StandIn, AnAddressReachesTheToolAsOneArgumentOrNotAtAll) {
    const auto payloads = remote_test::AttackPayloads(u"tvnserver.exe INJECTED");
    for (const auto& payload : payloads)
        for (const std::u16string rest : {u"", u"|tight", u"|real"}) Send(payload, rest);
    EXPECT_EQ(Recorded(), "");
    EXPECT_TRUE(scripts_.empty());
    EXPECT_TRUE(dialogs_.prompts.empty());
    EXPECT_GE(dialogs_.shown.size(), payloads.size());

    // TightVNC's three lines and RealVNC's one, as the tools' own
    // command-line rules split them.
    struct Case {
        std::u16string address;
        std::string tight, real;
    };
    std::string expected;
    for (const Case& c : {Case{u"10.0.0.5:5500", "10.0.0.5:5500", "10.0.0.5::5500"}, Case{u"fe80::1", "fe80::1", "fe80:::1"},
                          Case{u"[fe80::1]:5500", "[fe80::1]:5500", "[fe80:::1]:5500"},
                          Case{u"atendente.example", "atendente.example", "atendente.example"}}) {
        Send(c.address, u"|tight");
        expected += "[-reinstall][-silent]\n[-start][-silent]\n[-controlservice][-connect][" + c.tight + "]\n";
        Send(c.address, u"|real");
        expected += "[-iconnect][" + c.real + "]\n";
        Send(c.address, u"");
        expected += "[-iconnect][" + c.real + "]\n";
    }
    EXPECT_EQ(Recorded(), expected);
}

}  // namespace
