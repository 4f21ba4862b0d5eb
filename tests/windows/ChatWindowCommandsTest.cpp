#include "windows/ChatWindowCommands.h"
#include "windows/nFrmChatTarvenixClient_U.h"

#include "WindowFixture.h"
#include "support/WaitUntil.h"

#include <QCoreApplication>
#include <QGuiApplication>
#include <QScreen>
#include <QThread>

#include <gtest/gtest.h>

#include <atomic>
#include <chrono>
#include <thread>

namespace {

// Dialogs that note whether they were shown on the window thread.
class WhereShown : public fakes::Dialogs {
public:
    std::vector<bool> onWindowThread;
    int MessageDlg(const std::u16string& text, platform::DialogKind kind, platform::DialogButtons buttons,
                   const std::vector<std::u16string>& captions, const platform::DialogTitle& title) override {
        onWindowThread.push_back(QThread::currentThread() == QCoreApplication::instance()->thread());
        return fakes::Dialogs::MessageDlg(text, kind, buttons, captions, title);
    }
};

class ChatWindowCommandsTest : public WindowFixture<TnFrmChatTarvenixClient> {
protected:
    void SetUp() override {
        WindowFixture::SetUp();
        window->Iniciar();
    }
    // The commands run on their own thread; the window thread keeps going.
    bool RunUntil(const std::function<bool()>& done) {
        return testing_support::WaitUntil(
            done, 10000, [] { QCoreApplication::processEvents(QEventLoop::AllEvents, 5); }, 1);
    }
    WhereShown dialogs;
    platform::ScopedServices shownHere{platform::Services{.dialogs = &dialogs}};
};

TEST_F(ChatWindowCommandsTest, ABurstOfCommandsKeepsItsOrderWithTheDialogsOnTheWindowThread) {
    host->CreateBrowser();
    constexpr int kQuestions = 40;
    window->Notificar(u"OnOpenCall");
    for (int i = 0; i < kQuestions; ++i) {
        dialogs.answers.push_back(platform::ResultYes);
        const std::u16string n = QString::number(i).toStdU16String();
        window->Notificar(u"QueryClose|pergunta " + n + u"|resposta(" + n + u")");
    }
    dialogs.files = {u"/dados/foto.jpeg"};
    window->Notificar(u"FileUploadClient|pdf");
    ASSERT_TRUE(RunUntil([&] { return host->scripts.size() == kQuestions + 3; })) << host->scripts.size();

    EXPECT_TRUE(window->ConfirmarSair());
    EXPECT_EQ(host->scripts.front().rfind(u"buildRemoteButton(", 0), 0u);
    for (int i = 0; i < kQuestions; ++i) {
        EXPECT_EQ(dialogs.shown[i].text, u"pergunta " + QString::number(i).toStdU16String());
        EXPECT_EQ(host->scripts[i + 1], u"resposta(" + QString::number(i).toStdU16String() + u")");
    }
    EXPECT_EQ(host->scripts[kQuestions + 1], u"enabledButton(\".fileinput-button\")");
    EXPECT_EQ(host->scripts[kQuestions + 2], u"processfailSendFile()");
    EXPECT_EQ(dialogs.prompts, std::vector<std::u16string>{u"Selecione um arquivo para enviar ao atendente"});
    EXPECT_EQ(dialogs.onWindowThread, std::vector<bool>(kQuestions, true));
}

TEST_F(ChatWindowCommandsTest, AfterTheCloseCommandsNoLongerReachTheWindow) {
    host->CreateBrowser();
    window->close();
    window->Notificar(u"OnOpenCall");
    std::this_thread::sleep_for(std::chrono::milliseconds(50));
    QCoreApplication::processEvents();
    EXPECT_FALSE(window->ConfirmarSair());
    // Only the close sequence's own click reached the page.
    EXPECT_EQ(host->scripts.size(), 1u);
}

TEST_F(ChatWindowCommandsTest, CaptureTakesThePrimaryScreenAtItsFullSize) {
    const QScreen* screen = QGuiApplication::primaryScreen();
    const QSize size = screen->geometry().size() * screen->devicePixelRatio();
    const RgbPicture picture = window->FComandos->CaptureScreen();
    EXPECT_EQ(picture.width, size.width());
    EXPECT_EQ(picture.height, size.height());
    EXPECT_EQ(picture.pixels.size(), static_cast<size_t>(size.width()) * size.height() * 3);
}

TEST_F(ChatWindowCommandsTest, UploadCompletionsRunOnTheWindowThreadWhileTheWorkerWaits) {
    std::atomic<bool> ranOnWindowThread{false}, workerBack{false};
    std::thread worker([&] {
        window->FComandos->GetWindowThread()->Call(
            [&] { ranOnWindowThread = QThread::currentThread() == window->thread(); });
        workerBack = true;
    });
    ASSERT_TRUE(RunUntil([&] { return workerBack.load(); }));
    worker.join();
    EXPECT_TRUE(ranOnWindowThread);
}

}  // namespace
