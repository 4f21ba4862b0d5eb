#include "RemoteFixture.h"
#include "remote/AnyDeskConnector.h"

namespace {

using namespace remote_test;

class AnyDesk : public Remote {
protected:
    const std::u16string exe = remote_tools::AnyDeskExecutable();
    const std::u16string folder = remote_tools::AnyDeskFolders()[1];
    const std::u16string idFile = ProgramFolder() + u"temp" + kSep + u"a.txt";
    const std::u16string logPath = ProgramFolder() + u"loganydesk.txt";
    const std::u16string query = AnyDeskIdQuery(exe, idFile);
    std::vector<std::u16string> notified;
    TnTarvenixAnyDesk anydesk;

    void SetUp() override {
        Install(folder, exe);
        anydesk.SetDoNotificacao(std::make_shared<std::function<void(const std::u16string&)>>(
            [this](const std::u16string& text) { notified.push_back(text); }));
    }
    void Answer(std::string idBytes, std::u16string output = u"") {
        os.processes.respond = [=, this](const std::u16string&, const std::u16string&) {
            os.files.files[idFile] = idBytes;
            return output;
        };
    }
    // The window shows up once `polls` pauses have passed.
    void WindowAfter(int polls) {
        os.clock.onSleep = [this, polls](int) {
            if (static_cast<int>(os.clock.sleeps.size()) == polls) os.windows.windows[u"AnyDesk"] = 42;
        };
    }
};

TEST_F(AnyDesk, RunningAnyDeskIsQueriedAtOnce) {
    os.windows.windows[u"AnyDesk"] = 42;
    Answer("111 222 333\r\n");
    anydesk.Conectar(u"ignored");
    EXPECT_TRUE(os.shell.started.empty());
    EXPECT_EQ(os.clock.sleeps, std::vector{500});
    EXPECT_EQ(RunLines(), std::vector{query});
    EXPECT_EQ(os.processes.runs[0].workFolder, folder);
    EXPECT_EQ(FileBytes(logPath), ToUtf8(query) + "\r\n\r\nEndere\xE7o anydesk cliente: 111 222 333\r\n");
    EXPECT_EQ(notified, std::vector<std::u16string>{u"Cliente solicitou conexão remota via AnyDesk. Endereço: 111 222 333"});
}

TEST_F(AnyDesk, StartedAnyDeskIsWaitedForOnlyUntilItsWindowShows) {
    WindowAfter(3);
    Answer(" 987654321 \r\n", u"aviso");
    anydesk.Conectar(u"");
    EXPECT_EQ(os.shell.started, std::vector{folder + exe});
    EXPECT_EQ(os.clock.sleeps, (std::vector{100, 100, 100, 500}));
    EXPECT_EQ(FileBytes(logPath), "abrindo: " + ToUtf8(folder + exe) + "\r\n" + ToUtf8(query) +
                                      "\r\naviso\r\nEndere\xE7o anydesk cliente: 987654321\r\n");
    EXPECT_EQ(notified.size(), 1u);
}

TEST_F(AnyDesk, WindowThatNeverShowsFailsAfterTenPolls) {
    try {
        anydesk.Conectar(u"");
        FAIL() << "no failure";
    } catch (const Failure& failure) {
        EXPECT_EQ(failure.Message(), u"Não foi possível iniciar o Any Desk.");
    }
    EXPECT_EQ(os.clock.sleeps, std::vector<int>(10, 100));
    EXPECT_EQ(os.shell.started.size(), 1u);
    EXPECT_TRUE(os.processes.runs.empty());
    EXPECT_FALSE(os.files.FileExists(logPath));
    EXPECT_TRUE(notified.empty());
}

TEST_F(AnyDesk, MissingOrBlankIdIsLoggedAndNotReported) {
    os.windows.windows[u"AnyDesk"] = 42;
    anydesk.Conectar(u"");
    EXPECT_EQ(FileBytes(logPath), ToUtf8(query) + "\r\nERRO - NAO PODE OBTER ENDERECO\r\n");
    Answer(" \r\n\t\r\n");
    anydesk.Conectar(u"");
    EXPECT_EQ(FileBytes(logPath), ToUtf8(query) + "\r\nERRO - NAO PODE OBTER ENDERECO\r\n");
    EXPECT_TRUE(notified.empty());
    EXPECT_TRUE(os.dialogs.messages.empty());
}

TEST_F(AnyDesk, LeftoverIdFileIsReadAgainAndLogFailureIsIgnored) {
    os.windows.windows[u"AnyDesk"] = 42;
    os.files.files[idFile] = "555\r\n";
    os.files.unwritable.insert(logPath);
    EXPECT_NO_THROW(anydesk.Conectar(u""));
    EXPECT_EQ(notified, std::vector<std::u16string>{u"Cliente solicitou conexão remota via AnyDesk. Endereço: 555"});
}

TEST_F(AnyDesk, ProgramFolderIsTheLastFixedCandidate) {
    os.files.directories.erase(folder);
    Install(ProgramFolder(), exe);
    EXPECT_EQ(anydesk.PegarPastaAplicativo(), ProgramFolder());
    Install(remote_tools::AnyDeskFolders().back(), exe);
    EXPECT_EQ(anydesk.PegarPastaAplicativo(), remote_tools::AnyDeskFolders().back());
}

}  // namespace
