// The connectors against stand-in tools: small scripts with the tools'
// executable names in temporary folders, run for real through the command
// interpreter, with the real files.

#include "AttackPayloads.h"
#include "fakes/FakePlatform.h"
#include "fakes/HidingFileSystem.h"
#include "fakes/TempFolder.h"
#include "remote/AnyDeskConnector.h"
#include "remote/RemoteAttendant.h"
#include "remote/ToolLocations.h"
#include "remote/VncConnectors.h"
#include "support/TextUtils.h"

#include <gtest/gtest.h>

namespace {

template <class Connector>
struct InFolders : Connector {
    TStringArray folders;
    TStringArray PegarPathsPossiveis() override { return folders; }
};

class StandIn : public ::testing::Test {
protected:
    fakes::TempFolder temp{"standin"};
    const std::string program = temp.Folder("pasta d'água com espaço");
    const std::string record = temp.Path("record.txt");
    fakes::ProcessEnvironment process;
    fakes::Dialogs dialogs;
    fakes::WindowFinder windows;
    fakes::Clock clock;
    fakes::Shell shell;
    platform::ScopedServices installed{[this] {
        platform::Services s;
        s.process = &process;
        s.dialogs = &dialogs;
        s.windows = &windows;
        s.clock = &clock;
        s.shell = &shell;
        return s;
    }()};
    std::vector<std::u16string> notified;
    TNotificacao callback = std::make_shared<std::function<void(const std::u16string&)>>(
        [this](const std::u16string& text) { notified.push_back(text); });

    void SetUp() override {
        std::filesystem::create_directories(program);
        process.arguments = {FromUtf8(program + "PTarveNixApp")};
    }
    // A tool that notes its folder and arguments, then prints `output`.
    void Tool(const std::string& folder, const std::u16string& exe, const std::string& output = "") {
        temp.Script(folder + "/" + ToUtf8(exe),
                    "echo \"$(basename \"$PWD\") $*\" >> '" + record + "'\nprintf '" + output + "'");
    }
    std::string Recorded() const { return fakes::TempFolder::Read(record); }
};

TEST_F(StandIn, TightRunsItsLinesInTheFirstFolderHoldingIt) {
    const std::u16string exe = remote_tools::TightVncExecutable();
    std::filesystem::create_directories(temp.Path("a"));
    Tool("b", exe);
    Tool("c", exe);
    InFolders<TnTarvenixVNCTightVNC> tight;
    tight.folders = {FromUtf8(temp.Folder("a")), FromUtf8(temp.Folder("b")), FromUtf8(temp.Folder("c"))};
    tight.Conectar(u"ip=10.0.0.5;ip=10.0.0.6");
    EXPECT_EQ(Recorded(), "b -bg -quiet -nopw -shared -rfbport 0 -coe 10.0.0.5\n");
}

TEST_F(StandIn, RealLogHoldsTheLineAndTheToolsOutputInTheCodePage) {
    const std::u16string exe = remote_tools::RealVncExecutable();
    Tool("vnc", exe, "conectado \\351");
    InFolders<TnTarvenixVNCRealVNC> real;
    real.folders = {FromUtf8(temp.Folder("vnc"))};
    real.SetDoNotificacao(callback);
    real.Conectar(u"ip=127.0.0.1:5599");
    const std::u16string line = remote_tools::RealVncIConnectLine(u"127.0.0.1::5599");
    EXPECT_EQ(Recorded(), "vnc -bg -quiet -nopw -shared -rfbport 0 -coe 127.0.0.1:5599\n");
    EXPECT_EQ(fakes::TempFolder::Read(program + "logvnc.txt"), "\r\n" + ToUtf8(line) + "\r\nconectado \xE9\r\n");
    EXPECT_EQ(notified.size(), 1u);
}

TEST_F(StandIn, AnyDeskInAProgramFolderWithBlanksAndQuotesLeavesItsIdWhereItIsRead) {
    const std::u16string exe = remote_tools::AnyDeskExecutable();
    temp.Script("pasta d'água com espaço/" + ToUtf8(exe),
                "echo \"$*\" >> '" + record + "'\necho 'aviso' >&2\nprintf '123 456 789\\n'");
    windows.windows[u"AnyDesk"] = 1;
    TnTarvenixAnyDesk anydesk;
    anydesk.SetDoNotificacao(callback);
    anydesk.Conectar(u"");

    EXPECT_EQ(Recorded(), "--get-id\n");
    EXPECT_EQ(fakes::TempFolder::Read(program + "temp/a.txt"), "123 456 789\n");
    EXPECT_EQ(notified, std::vector<std::u16string>{u"Cliente solicitou conexão remota via AnyDesk. Endereço: 123 456 789"});
    const std::u16string query = AnyDeskIdQuery(exe, FromUtf8(program + "temp/a.txt"));
    EXPECT_EQ(fakes::TempFolder::Read(program + "loganydesk.txt"),
              platform::Current().codePage->ToAnsi(query) + "\r\naviso\r\n\r\nEndere\xE7o anydesk cliente: 123 456 789\r\n");
}

// The attendant's address from the page's command text to the tool, through
// /bin/sh: an attack never reaches a command line, and a real address
// arrives as exactly one argument.
TEST_F(StandIn, AnAddressReachesTheToolAsOneArgumentOrNotAtAll) {
    fakes::HidingFileSystem files;
    for (const auto& folder : remote_tools::TightVncFolders()) files.hidden.insert(folder);
    for (const auto& folder : remote_tools::RealVncFolders()) files.hidden.insert(folder);
    platform::ScopedServices hiding([&] {
        platform::Services s;
        s.files = &files;
        return s;
    }());
    const std::string tools = temp.Folder("ferramentas");
    temp.Script("ferramentas/x11vnc", "for a in \"$@\"; do printf '[%s]' \"$a\"; done >> '" + record +
                                          "'\necho >> '" + record + "'");
    temp.Write("pasta d'água com espaço/pathtightvnc.txt", tools + "\r\n");
    temp.Write("pasta d'água com espaço/pathvnc.txt", tools + "\r\n");
    std::vector<std::u16string> scripts;
    auto send = [&](const std::u16string& address, const std::u16string& rest) {
        const auto fields = TnTarvenixUtils::StrToStrArray(u"ConnectRemoteAttendantListening|" + address + rest, u'|');
        ConectarAtendenteVNC(fields, [&](const std::u16string& s) { scripts.push_back(s); });
    };

    const auto payloads = remote_test::AttackPayloads(u"x11vnc INJECTED");
    for (const auto& payload : payloads)
        for (const std::u16string rest : {u"", u"|tight", u"|real"}) send(payload, rest);
    EXPECT_EQ(Recorded(), "");
    EXPECT_TRUE(scripts.empty());
    EXPECT_TRUE(dialogs.prompts.empty());
    EXPECT_GE(dialogs.shown.size(), payloads.size());

    std::string expected;
    for (const std::u16string address : {u"10.0.0.5:5500", u"fe80::1", u"[fe80::1]:5500", u"atendente.example"}) {
        for (const std::u16string rest : {u"", u"|tight", u"|real"}) {
            send(address, rest);
            expected += "[-bg][-quiet][-nopw][-shared][-rfbport][0][-coe][" + ToUtf8(address) + "]\n";
        }
    }
    EXPECT_EQ(Recorded(), expected);
}

}  // namespace
