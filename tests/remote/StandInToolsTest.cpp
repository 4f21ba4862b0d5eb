// The connectors against stand-in tools: small scripts with the tools'
// executable names in temporary folders, run for real through the command
// interpreter, with the real files.

#include "fakes/FakePlatform.h"
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
    // What a stand-in records for `line`: its arguments after the tool's name.
    static std::string Arguments(const std::u16string& line, const std::u16string& exe) {
        return ToUtf8(line.substr(exe.size() + 1));
    }
};

TEST_F(StandIn, TightRunsItsLinesInTheFirstFolderHoldingIt) {
    const std::u16string exe = remote_tools::TightVncExecutable();
    std::filesystem::create_directories(temp.Path("a"));
    Tool("b", exe);
    Tool("c", exe);
    InFolders<TnTarvenixVNCTightVNC> tight;
    tight.folders = {FromUtf8(temp.Folder("a")), FromUtf8(temp.Folder("b")), FromUtf8(temp.Folder("c"))};
    tight.Conectar(u"ip=10.0.0.5;ip=10.0.0.6");
    std::string expected;
    for (const auto& line : remote_tools::TightVncConnectLines())
        expected += "b " + Arguments(ReplaceFirst(line, u"{ip}", u"10.0.0.5"), exe) + "\n";
    EXPECT_EQ(Recorded(), expected);
}

TEST_F(StandIn, RealLogHoldsTheLineAndTheToolsOutputInTheCodePage) {
    const std::u16string exe = remote_tools::RealVncExecutable();
    Tool("vnc", exe, "conectado \\351");
    InFolders<TnTarvenixVNCRealVNC> real;
    real.folders = {FromUtf8(temp.Folder("vnc"))};
    real.SetDoNotificacao(callback);
    real.Conectar(u"ip=127.0.0.1:5599");
    const std::u16string line = remote_tools::RealVncIConnectLine(u"127.0.0.1::5599");
    EXPECT_EQ(Recorded(), "vnc " + Arguments(line, exe) + "\n");
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

}  // namespace
