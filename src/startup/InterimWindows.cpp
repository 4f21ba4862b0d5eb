#include "startup/InterimWindows.h"

#include "startup/nTarvenixClasses_U.h"

#include <QApplication>
#include <QFileDialog>
#include <QGuiApplication>
#include <QMessageBox>
#include <QPushButton>
#include <QScreen>
#include <QTimer>
#include <QWidget>

namespace {

QString Q(const std::u16string& text) { return QString::fromStdU16String(text); }

// A top-level window whose browser fills it; the browser is created by a
// 500 ms timer that repeats until the creation is under way.
class BrowserWindow : public QWidget {
public:
    explicit BrowserWindow(const ChromiumHostFactory& hosts) {
        setAttribute(Qt::WA_QuitOnClose);
        host_ = hosts(this);
        timer_.setInterval(500);
        timer_.setSingleShot(true);
        QObject::connect(&timer_, &QTimer::timeout, this, [this] {
            if (host_->CreateBrowser() || host_->Initialized()) return;
            timer_.start();
        });
        host_->OnLoadEnd = [this](bool, int) { QTimer::singleShot(0, this, [this] { host_->show(); }); };
        timer_.start();
    }
    ~BrowserWindow() override { host_->CloseBrowser(true); }

    ChromiumHostWidget& Host() { return *host_; }

protected:
    void resizeEvent(QResizeEvent* event) override {
        QWidget::resizeEvent(event);
        host_->setGeometry(rect());
    }

private:
    ChromiumHostWidget* host_;
    QTimer timer_;
};

template <typename Base>
class InterimWindow : public Base {
public:
    explicit InterimWindow(const ChromiumHostFactory& hosts) : window_(std::make_unique<BrowserWindow>(hosts)) {}
    int Width() const override { return window_->frameGeometry().width(); }
    int Height() const override { return window_->frameGeometry().height(); }
    void SetLeft(int left) override { window_->move(left, window_->y()); }
    void SetTop(int top) override { window_->move(window_->x(), top); }
    std::vector<MonitorBounds> Monitors() const override {
        std::vector<MonitorBounds> out;
        for (QScreen* screen : QGuiApplication::screens()) {
            const QRect r = screen->geometry();
            out.push_back({r.left(), r.top(), r.width(), r.height()});
        }
        return out;
    }
    void SetTitle(const std::u16string& title) override { window_->setWindowTitle(Q(title)); }
    void SetOuterSize(int width, int height) override { window_->resize(width, height); }
    void Close() override { window_->close(); }

protected:
    std::unique_ptr<BrowserWindow> window_;
};

class InterimChatWindow : public InterimWindow<IChatRequestWindow> {
public:
    using InterimWindow::InterimWindow;
    void Iniciar() override {
        window_->Host().SetDefaultUrl(TnTarvenixUtils::MontarUrlChat(true));
        window_->Host().hide();
        window_->hide();
    }
    void Abrir() override { window_->show(); }
};

class InterimServiceWindow : public InterimWindow<IServiceRequestWindow> {
public:
    using InterimWindow::InterimWindow;
    void Abrir(const std::u16string& url) override {
        window_->Host().SetDefaultUrl(url);
        window_->show();
    }
};

class InterimFactory : public IRequestWindowFactory {
public:
    explicit InterimFactory(ChromiumHostFactory hosts) : hosts_(std::move(hosts)) {}
    void InitializeApplication() override {}
    void EnableTooltips() override {}
    std::unique_ptr<IChatRequestWindow> CreateChatWindow() override {
        return std::make_unique<InterimChatWindow>(hosts_);
    }
    std::unique_ptr<IServiceRequestWindow> CreateServiceWindow() override {
        return std::make_unique<InterimServiceWindow>(hosts_);
    }
    void RunMessageLoop() override {
        for (QWidget* window : QApplication::topLevelWidgets())
            if (window->isVisible()) {
                QApplication::exec();
                return;
            }
    }

private:
    ChromiumHostFactory hosts_;
};

}  // namespace

std::unique_ptr<IRequestWindowFactory> CreateInterimWindowFactory(ChromiumHostFactory hosts) {
    return std::make_unique<InterimFactory>(std::move(hosts));
}

int InterimDialogs::MessageDlg(const std::u16string& text, platform::DialogKind kind, platform::DialogButtons buttons,
                               const std::vector<std::u16string>& captions, const std::u16string& title) {
    QMessageBox box;
    box.setText(Q(text));
    box.setWindowTitle(title.empty() ? QApplication::applicationName() : Q(title));
    switch (kind) {
        case platform::DialogKind::Warning: box.setIcon(QMessageBox::Warning); break;
        case platform::DialogKind::Error: box.setIcon(QMessageBox::Critical); break;
        case platform::DialogKind::Information: box.setIcon(QMessageBox::Information); break;
        case platform::DialogKind::Confirmation: box.setIcon(QMessageBox::Question); break;
        case platform::DialogKind::Custom: break;
    }
    std::vector<std::pair<QPushButton*, int>> results;
    size_t index = 0;
    for (platform::DialogButton b : buttons.InOrder()) {
        const QString caption = index < captions.size() ? Q(captions[index]) : QString();
        QPushButton* button = nullptr;
        switch (b) {
            case platform::DialogButton::Yes: button = box.addButton(QMessageBox::Yes); break;
            case platform::DialogButton::No: button = box.addButton(QMessageBox::No); break;
            case platform::DialogButton::Cancel: button = box.addButton(QMessageBox::Cancel); break;
            default: button = box.addButton(QMessageBox::Ok); break;
        }
        if (!caption.isEmpty()) button->setText(caption);
        results.emplace_back(button, platform::ResultOf(b));
        ++index;
    }
    box.exec();
    for (const auto& [button, result] : results)
        if (box.clickedButton() == button) return result;
    return platform::ResultCancel;
}

void InterimDialogs::ShowMessage(const std::u16string& text) {
    MessageDlg(text, platform::DialogKind::Custom, {platform::DialogButton::OK}, {}, u"");
}

std::u16string InterimDialogs::PromptOpenFile(const std::u16string& title, const std::u16string& filter,
                                              const std::u16string&) {
    return QFileDialog::getOpenFileName(nullptr, Q(title), QString(), Q(filter)).toStdU16String();
}
