#include "windows/QtRequestWindowFactory.h"

#include "FakeChromiumHost.h"
#include "fakes/FakePlatform.h"
#include "startup/nRequestHandlers_U.h"
#include "windows/nFrmChatTarvenixClient_U.h"

#include <QGuiApplication>
#include <QHelpEvent>
#include <QScreen>
#include <QTimer>

#include <gtest/gtest.h>

namespace {

ChromiumHostFactory FakeHosts() {
    return [](QWidget* parent) { return new FakeChromiumHost(parent); };
}

TEST(QtRequestWindowFactory, MessageLoopRunsUntilTheMainWindowCloses) {
    fakes::FakePlatform platform;
    QtRequestWindowFactory factory(FakeHosts());
    factory.InitializeApplication();
    auto window = factory.CreateChatWindow();
    window->Iniciar();
    window->Abrir();
    bool closedInLoop = false;
    QTimer::singleShot(20, [&] {
        closedInLoop = true;
        window->Close();
    });
    factory.RunMessageLoop();
    EXPECT_TRUE(closedInLoop);

    // Closed before the loop: the loop does not run at all.
    auto service = factory.CreateServiceWindow();
    EXPECT_EQ(factory.MainWindow(), dynamic_cast<QWidget*>(service.get()));
    service->Close();
    bool ran = false;
    QTimer::singleShot(0, [&] { ran = true; });
    factory.RunMessageLoop();
    EXPECT_FALSE(ran);
    ProcessPosted();
}

TEST(QtRequestWindowFactory, LoopShowsAHiddenMainWindow) {
    fakes::FakePlatform platform;
    QtRequestWindowFactory factory(FakeHosts());
    factory.InitializeApplication();
    auto service = factory.CreateServiceWindow();
    auto* widget = dynamic_cast<QWidget*>(service.get());
    bool shownInLoop = false;
    QTimer::singleShot(0, [&] {
        shownInLoop = widget->isVisible();
        service->Close();
    });
    factory.RunMessageLoop();
    EXPECT_TRUE(shownInLoop);
}

TEST(QtRequestWindowFactory, HintsStaySilentUntilTurnedOn) {
    fakes::FakePlatform platform;
    QtRequestWindowFactory factory(FakeHosts());
    factory.InitializeApplication();
    struct Hinted : QWidget {
        int hints = 0;
        bool event(QEvent* e) override {
            if (e->type() == QEvent::ToolTip) ++hints;
            return QWidget::event(e);
        }
    } widget;
    QHelpEvent hint(QEvent::ToolTip, QPoint(1, 1), QPoint(1, 1));
    QApplication::sendEvent(&widget, &hint);
    EXPECT_EQ(widget.hints, 0);
    factory.EnableTooltips();
    QApplication::sendEvent(&widget, &hint);
    EXPECT_EQ(widget.hints, 1);
}

TEST(QtRequestWindowFactory, ChatWindowIsPlacedByOuterSizeOnTheFirstMonitor) {
    fakes::FakePlatform platform;
    QtRequestWindowFactory factory(FakeHosts());
    factory.InitializeApplication();
    auto window = factory.CreateChatWindow();
    window->Iniciar();
    window->SetOuterSize(415, 450);
    window->Abrir();
    TnTarvenixUtils::MoveFormToTopOfRightmostMonitor(*window);

    const QRect first = QGuiApplication::screens().front()->geometry();
    const auto monitors = window->Monitors();
    ASSERT_EQ(monitors.size(), static_cast<std::size_t>(QGuiApplication::screens().size()));
    EXPECT_EQ(monitors[0].width, first.width());
    EXPECT_EQ(window->Width(), 415);
    EXPECT_EQ(window->Height(), 450);
    auto* widget = dynamic_cast<QWidget*>(window.get());
    EXPECT_EQ(widget->pos(), QPoint(first.width() - 415, first.height() - 450 - 50));
    window->Close();
}

}  // namespace
