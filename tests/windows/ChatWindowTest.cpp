#include "windows/nFrmChatTarvenixClient_U.h"

#include "WindowFixture.h"
#include "startup/nTarvenixClasses_U.h"
#include "support/Failure.h"
#include "support/nPanel_U.h"

#include <QLabel>
#include <QMouseEvent>
#include <QStackedWidget>
#include <QTimer>

#include <gtest/gtest.h>

#include <thread>

using platform::DialogButton;
using platform::DialogKind;

namespace {

const std::u16string kLoadErrorText =
    u"Não foi possível conectar ao Dravelt Tarvenix. Deseja abrir o chamado pelo seu navegador ? ";
const std::u16string kExitText = u"O atendimento será encerrado. Deseja sair sem efetuar a avaliação? ";
const std::u16string kConfirmScript =
    u"document.getElementsByClassName(\"chat-widget-zq-btn-yes btn-zq-confirm btn-yes\").item(0).click();";

class RecordingChatWindow : public TnFrmChatTarvenixClient {
public:
    using TnFrmChatTarvenixClient::TnFrmChatTarvenixClient;
    std::vector<std::u16string> commands;
    std::function<void(const std::u16string&)> onCommand;
    void Notificar(const std::u16string& Tipo) override {
        commands.push_back(Tipo);
        if (onCommand) onCommand(Tipo);
    }
};

class ChatWindowTest : public WindowFixture<RecordingChatWindow> {
protected:
    void SetUp() override {
        WindowFixture::SetUp();
        window->Iniciar();
    }

    void Open() {
        window->Abrir();
        ProcessPosted();
    }
    void LoadEnd() {
        host->OnLoadEnd(true, 200);
        ProcessPosted();
    }
    void LoadError() {
        host->OnLoadError(true, -105, u"NAME_NOT_RESOLVED", u"https://tarvenix.example/");
        ProcessPosted();
    }
    std::u16string ScreenshotFolder() const { return u"/app//temp/Tarvenix_screenshots/"; }
};

TEST_F(ChatWindowTest, IniciarLeavesTheHostOverThePagesAndEverythingHidden) {
    ASSERT_EQ(window->FChromiumWindow, host);
    EXPECT_EQ(host->geometry(), window->rect());
    window->resize(500, 600);
    window->show();
    ProcessPosted();
    EXPECT_EQ(host->geometry(), window->rect()) << "the host keeps filling the client area";
    EXPECT_EQ(window->pgc1->geometry(), window->rect());
    EXPECT_EQ(host->defaultUrl, TnTarvenixUtils::MontarUrlChat(true));
    EXPECT_TRUE(host->isHidden());
    EXPECT_EQ(window->pgc1->currentIndex(), 1);
    EXPECT_EQ(window->img2->pixmap().size(), QSize(376, 439));
    EXPECT_EQ(window->windowIcon().availableSizes().size(), 4);
}

TEST_F(ChatWindowTest, TimerRetriesUntilTheBrowserIsUnderWay) {
    host->createAnswers = {false, false, true};
    window->Timer1Timer();
    EXPECT_TRUE(window->Timer1->isActive());
    window->Timer1Timer();
    EXPECT_TRUE(window->Timer1->isActive());
    window->Timer1Timer();
    EXPECT_FALSE(window->Timer1->isActive());
    EXPECT_EQ(host->createCalls, 3);

    // A browser that exists already also ends the attempts.
    host->createAnswers = {false};
    window->Timer1->start();
    window->Timer1Timer();
    EXPECT_FALSE(window->Timer1->isActive());
}

TEST_F(ChatWindowTest, OpensLoadingAndTurnsToChatOnLoadEndFromAnyThread) {
    Open();
    EXPECT_TRUE(window->isVisible());
    EXPECT_EQ(window->pgc1->currentIndex(), 1);
    EXPECT_TRUE(window->FecharNoNavigateError());
    EXPECT_FALSE(window->windowFlags().testFlag(Qt::WindowMaximizeButtonHint));
    EXPECT_EQ(host->deleteCookiesCalls, 1);
    EXPECT_EQ(window->windowState(), Qt::WindowNoState);

    std::thread engine([this] { host->OnLoadEnd(false, 404); });
    engine.join();
    EXPECT_TRUE(host->isHidden()) << "nothing happens until the window thread runs";
    ProcessPosted();
    EXPECT_TRUE(host->isVisible());
    EXPECT_EQ(platform.clock.sleeps, std::vector<int>{200});
    EXPECT_EQ(window->pgc1->currentIndex(), 0);
    EXPECT_FALSE(window->FecharNoNavigateError());
    EXPECT_TRUE(window->windowFlags().testFlag(Qt::WindowMaximizeButtonHint));
    EXPECT_TRUE(window->isVisible()) << "changing the border buttons must not hide the window";
}

TEST_F(ChatWindowTest, LoadErrorWhileLoadingYesOpensTheBrowserAndClosesWithoutQuestion) {
    Open();
    window->SetConfirmarSair(true);
    platform.dialogs.answers = {platform::ResultYes};
    std::thread engine([this] { host->OnLoadError(true, -105, u"", u""); });
    engine.join();
    ProcessPosted();

    ASSERT_EQ(platform.dialogs.shown.size(), 1u);
    const auto& dialog = platform.dialogs.shown[0];
    EXPECT_EQ(dialog.text, kLoadErrorText);
    EXPECT_EQ(dialog.kind, DialogKind::Error);
    EXPECT_EQ(dialog.buttons, (std::vector<DialogButton>{DialogButton::Yes, DialogButton::No}));
    EXPECT_EQ(dialog.captions, (std::vector<std::u16string>{u"Sim", u"Não"}));
    EXPECT_EQ(dialog.title, u"Dravelt Tarvenix");
    EXPECT_EQ(platform.shell.opened, std::vector<std::u16string>{TnTarvenixUtils::MontarUrlChat(false)});
    EXPECT_FALSE(window->isVisible());
    EXPECT_FALSE(window->ConfirmarSair());
    EXPECT_EQ(closedNotices, 1);
}

TEST_F(ChatWindowTest, LoadErrorNoWithExitRefusedKeepsTheWindowAndAsksAgainLater) {
    Open();
    window->SetConfirmarSair(true);
    platform.dialogs.answers = {platform::ResultNo, platform::ResultNo};
    LoadError();
    ASSERT_EQ(platform.dialogs.shown.size(), 2u);
    EXPECT_EQ(platform.dialogs.shown[1].text, kExitText);
    EXPECT_TRUE(window->isVisible());
    EXPECT_TRUE(platform.files.deleted.empty());

    platform.dialogs.answers = {platform::ResultNo, platform::ResultNo};
    LoadError();
    ASSERT_EQ(platform.dialogs.shown.size(), 4u);
    EXPECT_EQ(platform.dialogs.shown[2].text, kLoadErrorText);
    EXPECT_EQ(platform.dialogs.shown[3].text, kExitText);
    EXPECT_TRUE(window->isVisible());
}

TEST_F(ChatWindowTest, LoadErrorsInChatModeAreIgnoredUntilRefresh) {
    Open();
    LoadEnd();
    LoadError();
    EXPECT_TRUE(platform.dialogs.shown.empty());
    EXPECT_TRUE(window->isVisible());

    window->RefreshChat();
    EXPECT_TRUE(window->FecharNoNavigateError());
    platform.dialogs.answers = {platform::ResultNo};
    LoadError();
    EXPECT_EQ(platform.dialogs.shown.size(), 1u);
    EXPECT_FALSE(window->isVisible());
}

TEST_F(ChatWindowTest, ErrorsOfOneFailingPageAskOnlyOnce) {
    Open();
    // The second error arrives while the first one's question is open.
    struct Nested : fakes::Dialogs {
        std::function<void()> whileShown;
        int MessageDlg(const std::u16string& t, DialogKind k, platform::DialogButtons b,
                       const std::vector<std::u16string>& c, const platform::DialogTitle& title) override {
            if (whileShown) std::exchange(whileShown, nullptr)();
            return fakes::Dialogs::MessageDlg(t, k, b, c, title);
        }
    } nested;
    nested.answers = {platform::ResultYes};
    nested.whileShown = [this] { LoadError(); };
    platform::ScopedServices swap(platform::Services{.dialogs = &nested});
    LoadError();
    EXPECT_EQ(nested.shown.size(), 1u);
    EXPECT_EQ(platform.shell.opened.size(), 1u);
    EXPECT_FALSE(window->isVisible());
}

TEST_F(ChatWindowTest, CloseBeforeAConversationAsksNothingAndCleansUp) {
    Open();
    window->close();
    EXPECT_TRUE(platform.dialogs.shown.empty());
    EXPECT_EQ(platform.files.deleted, std::vector<std::u16string>{ScreenshotFolder()});
    EXPECT_EQ(host->closeCalls, std::vector<bool>{true});
    EXPECT_EQ(host->scripts, std::vector<std::u16string>{kConfirmScript});
    EXPECT_EQ(host->log, (std::vector<std::string>{"close", "script"}));
    EXPECT_FALSE(window->isVisible());
    EXPECT_EQ(closedNotices, 1);
}

TEST_F(ChatWindowTest, ArmedCloseAsksAndNoKeepsEverything) {
    Open();
    window->SetConfirmarSair(true);
    platform.dialogs.answers = {platform::ResultNo};
    window->close();
    ASSERT_EQ(platform.dialogs.shown.size(), 1u);
    EXPECT_EQ(platform.dialogs.shown[0].text, kExitText);
    EXPECT_EQ(platform.dialogs.shown[0].kind, DialogKind::Warning);
    EXPECT_EQ(platform.dialogs.shown[0].buttons, (std::vector<DialogButton>{DialogButton::Yes, DialogButton::No}));
    EXPECT_TRUE(window->isVisible());
    EXPECT_TRUE(platform.files.deleted.empty());
    EXPECT_TRUE(host->closeCalls.empty());
    EXPECT_TRUE(host->scripts.empty());
    EXPECT_EQ(closedNotices, 0);

    platform.dialogs.answers = {platform::ResultYes};
    window->close();
    EXPECT_EQ(platform.files.deleted, std::vector<std::u16string>{ScreenshotFolder()});
    EXPECT_EQ(host->closeCalls, std::vector<bool>{true});
    EXPECT_EQ(host->scripts, std::vector<std::u16string>{kConfirmScript});
    EXPECT_FALSE(window->isVisible());
    EXPECT_EQ(closedNotices, 1);
}

TEST_F(ChatWindowTest, FecharFromAnotherThreadClosesWithoutQuestionExactlyOnce) {
    Open();
    window->SetConfirmarSair(true);
    std::thread bridge([this] {
        window->Fechar();
        window->Fechar();
    });
    bridge.join();
    EXPECT_TRUE(window->isVisible()) << "the close runs on the window thread";
    ProcessPosted();
    EXPECT_FALSE(window->isVisible());
    EXPECT_TRUE(platform.dialogs.shown.empty());
    EXPECT_EQ(platform.files.deleted.size(), 1u);
    EXPECT_EQ(host->scripts.size(), 1u);
    EXPECT_EQ(closedNotices, 1);
}

TEST_F(ChatWindowTest, ImageClickOpensTheChatInTheBrowserAndCloses) {
    Open();
    window->SetConfirmarSair(true);
    const QPointF inside(5, 5);
    QMouseEvent press(QEvent::MouseButtonPress, inside, window->img1->mapToGlobal(inside), Qt::LeftButton,
                      Qt::LeftButton, Qt::NoModifier);
    QMouseEvent release(QEvent::MouseButtonRelease, inside, window->img1->mapToGlobal(inside), Qt::LeftButton,
                        Qt::NoButton, Qt::NoModifier);
    QApplication::sendEvent(window->img1, &press);
    QApplication::sendEvent(window->img1, &release);
    EXPECT_EQ(platform.shell.opened, std::vector<std::u16string>{TnTarvenixUtils::MontarUrlChat(false)});
    EXPECT_TRUE(platform.dialogs.shown.empty());
    EXPECT_FALSE(window->isVisible());
}

TEST_F(ChatWindowTest, DestructionClosesTheBrowserOnceMore) {
    std::vector<std::string> outside;  // the host dies with the window
    host->journal = &outside;
    Open();
    window->close();
    window.reset();
    EXPECT_EQ(outside, (std::vector<std::string>{"close", "script", "close"}));
}

TEST_F(ChatWindowTest, ReceptionTrimsTheNameAndReadsOnlyElementZero) {
    EXPECT_TRUE(host->OnProcessMessageReceived(BridgeMessage{u" Notificar\t", true, {u"Refresh", u"other"}}));
    EXPECT_TRUE(host->OnProcessMessageReceived(BridgeMessage{u"Notificar", true, {}}));
    EXPECT_FALSE(host->OnProcessMessageReceived(BridgeMessage{u"notificar", true, {u"lost"}}));
    EXPECT_FALSE(host->OnProcessMessageReceived(BridgeMessage{u"Notificar", false, {}}));
    EXPECT_FALSE(host->OnProcessMessageReceived(BridgeMessage{u"Notificar x", true, {u"lost"}}));
    EXPECT_EQ(window->commands, (std::vector<std::u16string>{u"Refresh", u""}));
    EXPECT_TRUE(platform.dialogs.shown.empty());
}

TEST_F(ChatWindowTest, ReceptionShowsAFailureThatEscapesAndAnswersFalse) {
    window->onCommand = [](const std::u16string&) { throw Failure(u"Falhou a recepção"); };
    EXPECT_FALSE(host->OnProcessMessageReceived(BridgeMessage{u"Notificar", true, {u"x"}}));
    ASSERT_EQ(platform.dialogs.shown.size(), 1u);
    EXPECT_EQ(platform.dialogs.shown[0].text, u"Falhou a recepção");
    EXPECT_EQ(platform.dialogs.shown[0].kind, DialogKind::Error);
    EXPECT_EQ(platform.dialogs.shown[0].buttons, std::vector<DialogButton>{DialogButton::OK});
}

TEST_F(ChatWindowTest, UrlRootPutsHttpsOnlyBeforeAnAddressWithoutScheme) {
    EXPECT_EQ(TnFrmChatTarvenixClient::GetUrlRoot(), u"https://tarvenix.example");
    platform.SetArguments({u"-Url", u"  HTTP://Tarvenix.Example/x \t"});
    EXPECT_EQ(TnFrmChatTarvenixClient::GetUrlRoot(), u"HTTP://Tarvenix.Example/x");
    platform.SetArguments({});
    EXPECT_EQ(TnFrmChatTarvenixClient::GetUrlRoot(), u"https://");
}

}  // namespace
