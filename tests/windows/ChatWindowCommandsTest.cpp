#include "windows/ChatWindowCommands.h"
#include "windows/nFrmChatTarvenixClient_U.h"

#include "FakeChromiumHost.h"
#include "fakes/FakePlatform.h"

#include <QCoreApplication>
#include <QGuiApplication>
#include <QScreen>
#include <QThread>

#include <gtest/gtest.h>

#include <atomic>
#include <thread>

namespace {

class ChatWindowCommandsTest : public ::testing::Test {
protected:
    void SetUp() override {
        platform.SetArguments({u"-Url", u"tarvenix.example", u"-token", u"abc"});
        window = std::make_unique<TnFrmChatTarvenixClient>([this](QWidget* parent) {
            host = new FakeChromiumHost(parent);
            return host;
        });
        window->Iniciar();
    }
    fakes::FakePlatform platform;
    FakeChromiumHost* host = nullptr;
    std::unique_ptr<TnFrmChatTarvenixClient> window;
};

TEST_F(ChatWindowCommandsTest, PageCommandsReachTheWindowAndItsPage) {
    host->CreateBrowser();
    window->Notificar(u"OnOpenCall");
    EXPECT_TRUE(window->ConfirmarSair());
    platform.dialogs.files = {u"/dados/foto.jpeg"};
    window->Notificar(u"FileUploadClient|pdf");
    ASSERT_EQ(host->scripts.size(), 3u);
    EXPECT_EQ(host->scripts[0].rfind(u"buildRemoteButton(", 0), 0u);
    EXPECT_EQ(host->scripts[1], u"enabledButton(\".fileinput-button\")");
    EXPECT_EQ(host->scripts[2], u"processfailSendFile()");
    EXPECT_EQ(platform.dialogs.prompts, std::vector<std::u16string>{u"Selecione um arquivo para enviar ao atendente"});
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
        window->FComandos->RunOnWindowThread([&] { ranOnWindowThread = QThread::currentThread() == window->thread(); });
        workerBack = true;
    });
    while (!workerBack) QCoreApplication::processEvents(QEventLoop::AllEvents, 10);
    worker.join();
    EXPECT_TRUE(ranOnWindowThread);
}

}  // namespace
