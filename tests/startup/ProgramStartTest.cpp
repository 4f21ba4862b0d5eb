#include "fakes/FakePlatform.h"
#include "startup/ProgramStart.h"
#include "support/Failure.h"
#include "support/TextUtils.h"

#include <gtest/gtest.h>

#include <functional>

namespace {

class RecordingSteps : public IProgramSteps {
public:
    bool engineStarts = true;
    std::vector<std::u16string> engineFolders;
    std::vector<std::u16string> dataFolders;
    int requests = 0;
    std::function<void()> request;

    bool StartEngine(const std::u16string& engineFolder, const std::u16string& dataFolder) override {
        engineFolders.push_back(engineFolder);
        dataFolders.push_back(dataFolder);
        return engineStarts;
    }
    void RunRequest() override {
        ++requests;
        if (request) request();
    }
};

class ProgramStart : public ::testing::Test {
protected:
    fakes::FakePlatform os;
    RecordingSteps steps;
    const std::u16string sep = std::u16string(1, platform::kPathSeparator);
};

TEST_F(ProgramStart, OnlyXpAndVistaNamesAreRefused) {
    for (const char16_t* name : {u"Windows XP", u"Windows Vista", u"MICROSOFT WINDOWS XP PROFESSIONAL", u"windows vista"}) {
        os.process.osName = name;
        EXPECT_FALSE(EhSistemaOperacionalSuportado()) << ToUtf8(name);
    }
    for (const char16_t* name : {u"Windows 2000", u"Windows Server 2003", u"Windows Server 2008", u"Windows 7",
                                 u"Windows 10", u"Windows", u"Debian GNU/Linux 12 (bookworm)"}) {
        os.process.osName = name;
        EXPECT_TRUE(EhSistemaOperacionalSuportado()) << ToUtf8(name);
    }
}

TEST_F(ProgramStart, ARefusedSystemAsksAndStartsNoEngine) {
    os.process.osName = u"Windows Vista";
    os.dialogs.answers = {platform::ResultNo};
    EXPECT_EQ(RunProgram(steps, u"PTarveNixApp"), 0);
    ASSERT_EQ(os.dialogs.shown.size(), 1u);
    EXPECT_EQ(os.dialogs.shown[0].text,
              u"Este aplicativo não pode ser executado pois necessita do Windows 7 ou superior.\r\n"
              u"Deseja abrir o atendimento diretamente em seu navegador padrão?");
    EXPECT_EQ(os.dialogs.shown[0].kind, platform::DialogKind::Warning);
    EXPECT_EQ(os.dialogs.shown[0].buttons,
              (std::vector{platform::DialogButton::Yes, platform::DialogButton::No}));
    EXPECT_TRUE(os.shell.opened.empty());
    EXPECT_TRUE(steps.engineFolders.empty());
    EXPECT_EQ(steps.requests, 0);
    EXPECT_TRUE(os.files.created.empty()) << "no engine folder is touched";
}

TEST_F(ProgramStart, YesOnARefusedSystemOpensTheRootForServicesAndTheChatOtherwise) {
    os.process.osName = u"Windows XP";
    os.dialogs.answers = {platform::ResultYes};
    os.SetArguments({u"-Url", u"helpdesk.example", u"-servico_tipo", u"qualquer", u"-token", u"t"});
    EXPECT_FALSE(ValidarSistemaOperacional());
    os.dialogs.answers = {platform::ResultYes};
    os.SetArguments({});
    EXPECT_FALSE(ValidarSistemaOperacional());
    ASSERT_EQ(os.shell.opened.size(), 2u);
    EXPECT_EQ(os.shell.opened[0], u"http://helpdesk.example");
    EXPECT_EQ(os.shell.opened[1].substr(0, 26), u"http:///ChatWidget/Login/?");
}

TEST_F(ProgramStart, TheEngineLivesBesideTheProgramAndItsFailureEndsQuietly) {
    steps.engineStarts = false;
    EXPECT_EQ(RunProgram(steps, u"PTarveNixApp"), 0);
    ASSERT_EQ(steps.engineFolders.size(), 1u);
    EXPECT_EQ(steps.engineFolders[0], sep + u"app" + sep + u"engine_chrome" + sep);
    EXPECT_EQ(steps.dataFolders[0], steps.engineFolders[0]);
    EXPECT_EQ(steps.requests, 0);
    EXPECT_TRUE(os.dialogs.shown.empty());
    EXPECT_EQ(EngineFolderFor(u"C:\\Apps\\Help desk\\"), u"C:\\Apps\\Help desk\\engine_chrome" + sep);
}

TEST_F(ProgramStart, AProgramFolderTheUserCannotWriteKeepsTheEnginesFilesAndMovesItsData) {
    os.process.writableFolder = os.process.userDataFolder;
    RunProgram(steps, u"PTarveNixApp");
    ASSERT_EQ(steps.engineFolders.size(), 1u);
    EXPECT_EQ(steps.engineFolders[0], sep + u"app" + sep + u"engine_chrome" + sep);
    EXPECT_EQ(steps.dataFolders[0], os.process.userDataFolder + u"engine_chrome" + sep);
}

TEST_F(ProgramStart, AFailureOfTheHandlerChoiceIsReportedWithExitCodeOne) {
    steps.request = [] { throw Failure(u"Operação inválida"); };
    EXPECT_EQ(RunProgram(steps, u"PTarveNixApp"), 1);
    ASSERT_EQ(os.dialogs.shown.size(), 1u);
    const auto& box = os.dialogs.shown[0];
    EXPECT_EQ(box.title, u"Application Error");
    EXPECT_EQ(box.kind, platform::DialogKind::Error);
    EXPECT_EQ(box.text, u"Exception Failure in module PTarveNixApp.\r\nOperação inválida");

    os.dialogs.shown.clear();
    steps.request = [] {};
    EXPECT_EQ(RunProgram(steps, u"PTarveNixApp"), 0);
    EXPECT_TRUE(os.dialogs.shown.empty());
}

}  // namespace
