#include "RemoteFixture.h"
#include "remote/RemoteAttendant.h"
#include "remote/VncConnectors.h"

namespace {

using namespace remote_test;

class Vnc : public Remote {
protected:
    std::u16string tightFolder = remote_tools::TightVncFolders().back();
    std::u16string realFolder = remote_tools::RealVncFolders().back();
    std::u16string logPath = ProgramFolder() + u"logvnc.txt";
    std::vector<std::u16string> notified;
    TNotificacao callback = std::make_shared<std::function<void(const std::u16string&)>>(
        [this](const std::u16string& text) { notified.push_back(text); });

    void SetUp() override {
        Install(tightFolder, remote_tools::TightVncExecutable());
        Install(realFolder, remote_tools::RealVncExecutable());
    }
    TStringArray TightConnectWith(std::u16string_view address) {
        TStringArray lines;
        for (const auto& line : remote_tools::TightVncConnectLines())
            lines.push_back(ReplaceFirst(line, u"{ip}", address));
        return lines;
    }
};

TEST_F(Vnc, TightRunsItsLinesInOrderInItsFolderWithTheFirstAddress) {
    TnTarvenixUtils::ConectarVNC(u"tight", u"ip=10.0.0.5;ip=10.0.0.6");
    EXPECT_EQ(RunLines(), TightConnectWith(u"10.0.0.5"));
    for (const auto& run : os.processes.runs) {
        EXPECT_EQ(run.workFolder, tightFolder);
        EXPECT_EQ(run.limit, std::chrono::seconds(60));
    }
    EXPECT_FALSE(os.files.FileExists(logPath));
}

TEST_F(Vnc, PlaceholdersMatchKeysExactlyAndUntrimmed) {
    TnTarvenixUtils::ConectarVNC(u"tight", u"IP=10.0.0.5");
    EXPECT_EQ(RunLines(), remote_tools::TightVncConnectLines());

    struct Probe : TnTarvenixVNCTightVNC {
        std::u16string Apply(std::u16string params, std::u16string line) {
            FParameters = std::move(params);
            return AplicarParametros(line);
        }
    } probe;
    EXPECT_EQ(probe.Apply(u" ip=1;a=b=c;x;port=5500", u"{ip} {port} {a} {x}"), u"{ip} 5500 {a} {x}");
    EXPECT_EQ(probe.Apply(u"ip= 1 ", u"[{ip}]"), u"[ 1 ]");
    EXPECT_EQ(probe.Apply(u"ip=1;host=2", u"{host}{ip}{ip}"), u"21{ip}");
}

TEST_F(Vnc, RealVncAddressDoublesOnlyTheFirstColonAndIgnoresKeyCase) {
    EXPECT_EQ(RealVncAddress(u"ip=10.0.0.5:5500"), u"10.0.0.5::5500");
    EXPECT_EQ(RealVncAddress(u"ip=fe80::1"), u"fe80:::1");
    EXPECT_EQ(RealVncAddress(u" IP =10.0.0.5"), u"10.0.0.5");
    EXPECT_EQ(RealVncAddress(u"port=1"), u"");
}

TEST_F(Vnc, RealConnectLogsTheLastRequestByteForByteAndNotifiesAfterTheCommand) {
    os.processes.respond = [this](const std::u16string&, const std::u16string&) {
        EXPECT_TRUE(notified.empty());
        return std::u16string(u"conectado\r\nsaída");
    };
    auto real = TnTarvenixUtils::CriarObjVNC(u"real");
    real->SetDoNotificacao(callback);
    real->Conectar(u"IP=10.0.0.5:5500");
    const std::u16string line = remote_tools::RealVncIConnectLine(u"10.0.0.5::5500");
    EXPECT_EQ(RunLines(), std::vector{line});
    EXPECT_EQ(os.processes.runs[0].workFolder, realFolder);
    EXPECT_EQ(notified, std::vector<std::u16string>{u"Cliente tentando conectar via VNC..."});
    EXPECT_EQ(FileBytes(logPath), "\r\n" + ToUtf8(line) + "\r\nconectado\r\nsa\xED" "da\r\n");

    // Without a callback and without output: the log is still rewritten whole.
    os.processes.respond = nullptr;
    TnTarvenixUtils::ConectarVNC(u"real", u"port=1");
    const std::u16string bare = remote_tools::RealVncIConnectLine(u"");
    EXPECT_EQ(bare.back(), u' ');
    EXPECT_EQ(FileBytes(logPath), "\r\n" + ToUtf8(bare) + "\r\n");
    EXPECT_EQ(notified.size(), 1u);
}

TEST_F(Vnc, RealLogWriteFailureIsShownAfterTheAttendantWasTold) {
    os.files.unwritable.insert(logPath);
    auto real = TnTarvenixUtils::CriarObjVNC(u"real");
    real->SetDoNotificacao(callback);
    EXPECT_NO_THROW(real->Conectar(u"ip=10.0.0.5"));
    EXPECT_EQ(notified.size(), 1u);
    ASSERT_EQ(os.dialogs.messages.size(), 1u);
    EXPECT_NE(os.dialogs.messages[0].find(logPath), std::u16string::npos);
}

TEST_F(Vnc, ToolNotChosenRunsReportsAndLogsNothing) {
    os.files.directories.clear();
    auto real = TnTarvenixUtils::CriarObjVNC(u"real");
    real->SetDoNotificacao(callback);
    real->Conectar(u"ip=10.0.0.5");
    TnTarvenixUtils::ConectarVNC(u"tight", u"ip=10.0.0.5");
    EXPECT_TRUE(os.processes.runs.empty());
    EXPECT_TRUE(notified.empty());
    EXPECT_FALSE(os.files.FileExists(logPath));
    EXPECT_EQ(os.dialogs.prompts.size(), 2u);
}

TEST_F(Vnc, RealDisconnectPromptsEvenForAnEmptyRequest) {
    CloseVNCConnection();
    EXPECT_EQ(RunLines(), std::vector{remote_tools::RealVncDisconnectLine()});
    os.files.directories.erase(realFolder);
    CloseVNCConnection();
    EXPECT_EQ(os.dialogs.prompts, std::vector<std::u16string>{u"Selecione o executável do software \"Real VNC\""});
}

}  // namespace
