#include "windows/nFrmWebBrowserPadrao_U.h"

#include "platform/Platform.h"
#include "startup/nRequestHandlers_U.h"
#include "support/LocalFiles.h"
#include "support/TextUtils.h"
#include "windows/WaitingPage.h"
#include "windows/WindowIcons.h"
#include "windows/nFrmChatTarvenixClient_U.h"

#include <QCloseEvent>
#include <QCoreApplication>
#include <QTimer>

namespace {

constexpr char16_t kLoadErrorQuestion[] =
    u"Não foi possível conectar ao Tarvenix. Deseja abrir o endereço pelo seu navegador ? ";

}  // namespace

TnFrmWebBrowserPadrao::TnFrmWebBrowserPadrao(ChromiumHostFactory hostFactory, QWidget* parent)
    : RequestWindow(parent), hostFactory_(std::move(hostFactory)) {
    setWindowTitle(QStringLiteral("nFrmWebBrowserPadrao"));
    resize(636, 422);
    setWindowIcon(ServiceWindowIcon());

    Timer1 = new QTimer(this);
    Timer1->setInterval(500);
    connect(Timer1, &QTimer::timeout, this, [this] { Timer1Timer(); });
    Timer1->start();
    FormCreate(this);
}

void TnFrmWebBrowserPadrao::FormCreate(QObject*) {
    FChromiumWindow = hostFactory_(this);
    FChromiumWindow->setGeometry(rect());
}

void TnFrmWebBrowserPadrao::Abrir(const std::u16string& _AUrl) {
    FUrl = _AUrl;
    Timer1->start();
    FChromiumWindow->SetDefaultUrl(WaitingPageUrl(_AUrl));
    // The service's site is the window's own, not the waiting page's.
    FChromiumWindow->SetSiteAddress(_AUrl);
    FChromiumWindow->OnLoadError = [this](bool mainFrame, int code, const std::u16string& text,
                                          const std::u16string& url) { OnLoadError(mainFrame, code, text, url); };
}

void TnFrmWebBrowserPadrao::Timer1Timer() {
    Timer1->stop();
    if (FChromiumWindow->CreateBrowser()) return;
    if (FChromiumWindow->Initialized()) return;
    Timer1->start();
}

// The engine may raise it on any thread; it only posts.
void TnFrmWebBrowserPadrao::OnLoadError(bool, int, const std::u16string&, const std::u16string&) {
    QCoreApplication::postEvent(this, new QEvent(WM_LOADERROR));
}

bool TnFrmWebBrowserPadrao::event(QEvent* event) {
    if (event->type() == WM_LOADERROR) {
        DoLoadError();
        return true;
    }
    return QWidget::event(event);
}

void TnFrmWebBrowserPadrao::DoLoadError() {
    if (loadErrorHandled_) return;
    loadErrorHandled_ = true;
    const int answer = TnTarvenixUtils::MyMessageDlg(
        kLoadErrorQuestion, platform::DialogKind::Error, {platform::DialogButton::Yes, platform::DialogButton::No},
        {u"Sim", u"Não"}, u"Tarvenix");
    if (answer == platform::ResultYes)
        TnTarvenixUtils::AbrirUrlNoBrowser(ReplaceFirst(FUrl, u"&isDravelt=true", u""));
    close();
}

void TnFrmWebBrowserPadrao::closeEvent(QCloseEvent* event) {
    event->accept();
    NotifyClosed();
}

void TnFrmWebBrowserPadrao::resizeEvent(QResizeEvent* event) {
    if (FChromiumWindow) FChromiumWindow->setGeometry(rect());
    QWidget::resizeEvent(event);
}
