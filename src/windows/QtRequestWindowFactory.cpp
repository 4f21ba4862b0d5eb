#include "windows/QtRequestWindowFactory.h"

#include "windows/nFrmChatTarvenixClient_U.h"
#include "windows/nFrmWebBrowserPadrao_U.h"

#include <QApplication>
#include <QEvent>

namespace {

// Hints stay silent until the handler turns them on.
class TooltipGate : public QObject {
public:
    explicit TooltipGate(const bool& enabled) : enabled_(enabled) {}
    bool eventFilter(QObject* watched, QEvent* event) override {
        if (event->type() == QEvent::ToolTip && !enabled_) return true;
        return QObject::eventFilter(watched, event);
    }

private:
    const bool& enabled_;
};

int g_argc = 1;
char g_programName[] = "PTarveNixApp";
char* g_argv[] = {g_programName, nullptr};

}  // namespace

QtRequestWindowFactory::QtRequestWindowFactory(ChromiumHostFactory hostFactory,
                                               std::function<void()> afterMainWindowClosed)
    : hostFactory_(std::move(hostFactory)), afterMainWindowClosed_(std::move(afterMainWindowClosed)) {}

QtRequestWindowFactory::~QtRequestWindowFactory() {
    if (tooltipFilter_ && QCoreApplication::instance())
        QCoreApplication::instance()->removeEventFilter(tooltipFilter_.get());
}

void QtRequestWindowFactory::InitializeApplication() {
    // The program entry normally has made the application already (the engine
    // needs it first); this keeps the factory usable on its own.
    if (!QApplication::instance()) ownApplication_ = std::make_unique<QApplication>(g_argc, g_argv);
    // The loop ends with the main window, not with the last window: a dialog
    // closing must not end it, and the main window may close before it runs.
    QApplication::setQuitOnLastWindowClosed(false);
    if (!tooltipFilter_) {
        tooltipFilter_ = std::make_unique<TooltipGate>(tooltipsEnabled_);
        QCoreApplication::instance()->installEventFilter(tooltipFilter_.get());
    }
}

void QtRequestWindowFactory::EnableTooltips() { tooltipsEnabled_ = true; }

template <class Window>
Window* QtRequestWindowFactory::Adopt(Window* window) {
    main_ = window;
    mainClosed_ = false;
    window->OnClosed = [this] { MainWindowClosed(); };
    return window;
}

void QtRequestWindowFactory::MainWindowClosed() {
    mainClosed_ = true;
    // Every loop ends, a dialog's still on screen included.
    QCoreApplication::exit(0);
}

std::unique_ptr<IChatRequestWindow> QtRequestWindowFactory::CreateChatWindow() {
    return std::unique_ptr<IChatRequestWindow>(Adopt(new TnFrmChatTarvenixClient(hostFactory_)));
}

std::unique_ptr<IServiceRequestWindow> QtRequestWindowFactory::CreateServiceWindow() {
    return std::unique_ptr<IServiceRequestWindow>(Adopt(new TnFrmWebBrowserPadrao(hostFactory_)));
}

void QtRequestWindowFactory::RunMessageLoop() {
    if (!main_ || mainClosed_) return;
    // The loop shows the main window, as the service window expects.
    if (!main_->isVisible()) main_->show();
    QApplication::exec();
    if (mainClosed_ && afterMainWindowClosed_) afterMainWindowClosed_();
}
