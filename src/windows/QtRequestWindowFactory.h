#pragma once
// Opens the request windows as the application's main window and runs the
// message loop until that window closes.

#include "browser/ChromiumHostWidget.h"
#include "startup/RequestWindows.h"

#include <QPointer>

#include <functional>
#include <memory>

class QApplication;
class QObject;

class QtRequestWindowFactory : public IRequestWindowFactory {
public:
    // `afterMainWindowClosed` runs when the loop has ended because the main
    // window closed, before anything is torn down; the program ends there.
    explicit QtRequestWindowFactory(ChromiumHostFactory hostFactory,
                                    std::function<void()> afterMainWindowClosed = {});
    ~QtRequestWindowFactory() override;

    void InitializeApplication() override;
    void EnableTooltips() override;
    std::unique_ptr<IChatRequestWindow> CreateChatWindow() override;
    std::unique_ptr<IServiceRequestWindow> CreateServiceWindow() override;
    void RunMessageLoop() override;

    QWidget* MainWindow() const { return main_; }
    bool TooltipsEnabled() const { return tooltipsEnabled_; }

private:
    template <class Window>
    Window* Adopt(Window* window);
    void MainWindowClosed();

    ChromiumHostFactory hostFactory_;
    std::function<void()> afterMainWindowClosed_;
    std::unique_ptr<QApplication> ownApplication_;
    std::unique_ptr<QObject> tooltipFilter_;
    QPointer<QWidget> main_;
    bool mainClosed_ = false;
    bool tooltipsEnabled_ = false;
};
