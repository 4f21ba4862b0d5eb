#include "windows/nFrmChatTarvenixClient_U.h"

#include "platform/Platform.h"
#include "startup/nRequestHandlers_U.h"
#include "startup/nTarvenixClasses_U.h"
#include "support/Failure.h"
#include "support/LocalFiles.h"
#include "support/TextUtils.h"
#include "support/nPanel_U.h"
#include "support/nScrollBox_U.h"
#include "windows/ChatWindowCommands.h"
#include "windows/WindowIcons.h"

#include <QCloseEvent>
#include <QCoreApplication>
#include <QLabel>
#include <QMouseEvent>
#include <QStackedWidget>
#include <QTimer>
#include <QVBoxLayout>
#include <QWindow>

namespace {

constexpr char16_t kExitQuestion[] = u"O atendimento será encerrado. Deseja sair sem efetuar a avaliação? ";
constexpr char16_t kLoadErrorQuestion[] =
    u"Não foi possível conectar ao Dravelt Tarvenix. Deseja abrir o chamado pelo seu navegador ? ";
constexpr char16_t kConfirmButtonScript[] =
    u"document.getElementsByClassName(\"chat-widget-zq-btn-yes btn-zq-confirm btn-yes\").item(0).click();";
constexpr char16_t kOpenInBrowserHint[] = u"Abrir o atendimento no navegador padrão";

}  // namespace

TnFrmChatTarvenixClient::TnFrmChatTarvenixClient(ChromiumHostFactory hostFactory, QWidget* parent)
    : RequestWindow(parent), FComandos(std::make_unique<ChatWindowCommands>(*this)), hostFactory_(std::move(hostFactory)) {
    setWindowTitle(QStringLiteral("TarveNix - Atendimento"));
    resize(384, 450);
    SetMinimumOuterSize(380, 450);
    setWindowIcon(ChatWindowIcon());
    SetMaximizeButton(true);

    pgc1 = new QStackedWidget(this);
    ts1 = new QWidget;
    nScrollBox1 = new TnScrollBox(ts1);
    nScrollBox1->setFrameShape(QFrame::NoFrame);
    nScrollBox1->setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    nScrollBox1->setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    nScrollBox1->setWidgetResizable(true);
    auto* boxContent = new QWidget;
    nScrollBox1->setWidget(boxContent);
    auto* pageLayout = new QVBoxLayout(ts1);
    pageLayout->setContentsMargins(0, 0, 0, 0);
    pageLayout->addWidget(nScrollBox1);

    nPanelBar = new TnPanel(boxContent);
    nPanelBar->SetColor(Qt::white);
    nPanelBar->SetBevelOuter(TPanelBevel::bvNone);
    nPanelBar->setFixedHeight(15);
    nPanelBar->hide();
    auto* boxLayout = new QVBoxLayout(boxContent);
    boxLayout->setContentsMargins(0, 0, 0, 0);
    boxLayout->addWidget(nPanelBar);
    boxLayout->addStretch();

    img1 = new QLabel(nPanelBar);
    img1->setFixedSize(13, 13);
    img1->setPixmap(OpenInBrowserPicture());
    img1->setCursor(Qt::PointingHandCursor);
    img1->setToolTip(QString::fromUtf16(kOpenInBrowserHint));
    img1->setStatusTip(QString::fromUtf16(kOpenInBrowserHint));
    img1->installEventFilter(this);
    auto* barLayout = new QHBoxLayout(nPanelBar);
    barLayout->setContentsMargins(0, 1, 1, 1);
    barLayout->addStretch();
    barLayout->addWidget(img1);

    ts2 = new QWidget;
    img2 = new QLabel(ts2);
    img2->setPixmap(LoadingPicture());
    img2->setScaledContents(true);
    img2->setEnabled(false);
    auto* loadingLayout = new QVBoxLayout(ts2);
    loadingLayout->setContentsMargins(0, 0, 0, 0);
    loadingLayout->addWidget(img2);

    pgc1->addWidget(ts1);
    pgc1->addWidget(ts2);
    pgc1->setCurrentIndex(1);
    pgc1->setGeometry(rect());

    Timer1 = new QTimer(this);
    Timer1->setInterval(500);
    connect(Timer1, &QTimer::timeout, this, [this] { Timer1Timer(); });
    Timer1->start();
}

TnFrmChatTarvenixClient::~TnFrmChatTarvenixClient() {
    // Nothing reaches the window from now on; a command still running is let
    // go and ends before the window does.
    FComandos.reset();
    if (FChromiumWindow) FChromiumWindow->CloseBrowser(true);
}

void TnFrmChatTarvenixClient::Iniciar() {
    FChromiumWindow = hostFactory_(this);
    FChromiumWindow->setGeometry(rect());
    FChromiumWindow->raise();
    FChromiumWindow->OnProcessMessageReceived = [this](const BridgeMessage& message) {
        return Chromium1ProcessMessageReceived(message);
    };
    FChromiumWindow->OnLoadEnd = [this](bool mainFrame, int status) { OnLoadEnd(mainFrame, status); };
    FChromiumWindow->OnLoadError = [this](bool mainFrame, int code, const std::u16string& text,
                                          const std::u16string& url) { OnLoadError(mainFrame, code, text, url); };
    FChromiumWindow->SetDefaultUrl(MontarUrl(true));
    FClose.FConfirmarSair = false;
    FChromiumWindow->hide();
    hide();
}

void TnFrmChatTarvenixClient::Abrir() {
    show();
    SetarModoLoading();
    ConfigurarVisual();
    if (FChromiumWindow) FChromiumWindow->DeleteCookies();
    setWindowState(Qt::WindowNoState);
}

// Anchors matter only to a control inside another; the window keeps them for
// its users and nothing else.
void TnFrmChatTarvenixClient::ConfigurarVisual() {}

void TnFrmChatTarvenixClient::SetarModoLoading() {
    pgc1->setCurrentIndex(1);
    pgc1->setGeometry(rect());
    FClose.FFecharNoNavigateError = true;
    SetMaximizeButton(false);
}

void TnFrmChatTarvenixClient::SetarModoChat() {
    pgc1->setCurrentIndex(0);
    FClose.FFecharNoNavigateError = false;
    SetMaximizeButton(true);
}

void TnFrmChatTarvenixClient::SetMaximizeButton(bool shown) {
    Qt::WindowFlags flags = Qt::Window | Qt::WindowTitleHint | Qt::WindowSystemMenuHint |
                            Qt::WindowMinimizeButtonHint | Qt::WindowCloseButtonHint;
    if (shown) flags |= Qt::WindowMaximizeButtonHint;
    if (flags == windowFlags()) return;
    if (QWindow* native = windowHandle()) {
        // setWindowFlags would hide a shown window; tell both sides instead.
        overrideWindowFlags(flags);
        native->setFlags(flags);
    } else {
        setWindowFlags(flags);
    }
}

std::u16string TnFrmChatTarvenixClient::MontarUrl(bool _AEhDravelt) {
    return TnTarvenixUtils::MontarUrlChat(_AEhDravelt);
}

std::u16string TnFrmChatTarvenixClient::GetUrlRoot() {
    const std::u16string url = Trim(TnParserParameters::GetValue(u"Url", u""));
    const std::u16string lower = AsciiLower(url);
    if (StartsWith(lower, u"http://") || StartsWith(lower, u"https://")) return url;
    return u"https://" + url;
}

void TnFrmChatTarvenixClient::AbrirUrlNoBrowser(bool _AFechar) {
    TnTarvenixUtils::AbrirUrlNoBrowser(MontarUrl(false));
    if (_AFechar) {
        FClose.CloseWithoutAsking();
        close();
    }
}

void TnFrmChatTarvenixClient::RefreshChat() {
    FClose.FFecharNoNavigateError = true;
    if (FChromiumWindow) FChromiumWindow->repaint();
}

void TnFrmChatTarvenixClient::Fechar() {
    // The close request, handled later on the window thread, where the close
    // state lives; dropped if the window is gone by then.
    QMetaObject::invokeMethod(
        this,
        [this] {
            FClose.CloseWithoutAsking();
            close();
        },
        Qt::QueuedConnection);
}

void TnFrmChatTarvenixClient::nLabel1Click(QObject*) { AbrirUrlNoBrowser(true); }

void TnFrmChatTarvenixClient::Notificar(const std::u16string& Tipo) { FComandos->Post(Tipo); }

// The engine may raise its load events on any thread; they only post.
void TnFrmChatTarvenixClient::OnLoadEnd(bool, int) {
    QCoreApplication::postEvent(this, new QEvent(WM_LOADEND));
}

void TnFrmChatTarvenixClient::OnLoadError(bool, int, const std::u16string&, const std::u16string&) {
    QCoreApplication::postEvent(this, new QEvent(WM_LOADERROR));
}

bool TnFrmChatTarvenixClient::Chromium1ProcessMessageReceived(const BridgeMessage& message) {
    bool Result = false;
    try {
        if (!message.hasArguments) return Result;
        if (Trim(message.name) != u"Notificar") return Result;
        const std::u16string text = message.arguments.empty() ? std::u16string() : message.arguments.front();
        Notificar(text);
        Result = true;
    } catch (const std::exception& failure) {
        TnTarvenixUtils::StandardMessageDlg(MessageOf(failure), platform::DialogKind::Error,
                                            {platform::DialogButton::OK});
    }
    return Result;
}

bool TnFrmChatTarvenixClient::event(QEvent* event) {
    if (event->type() == WM_LOADEND) {
        DoLoadEnd();
        return true;
    }
    if (event->type() == WM_LOADERROR) {
        DoLoadError();
        return true;
    }
    return QWidget::event(event);
}

bool TnFrmChatTarvenixClient::eventFilter(QObject* watched, QEvent* event) {
    if (watched == img1 && event->type() == QEvent::MouseButtonRelease &&
        static_cast<QMouseEvent*>(event)->button() == Qt::LeftButton && img1->rect().contains(
            static_cast<QMouseEvent*>(event)->position().toPoint())) {
        nLabel1Click(img1);
        return true;
    }
    return QWidget::eventFilter(watched, event);
}

void TnFrmChatTarvenixClient::DoLoadEnd() {
    if (FChromiumWindow) FChromiumWindow->show();
    wbWebBrowser1NavigateComplete2();
}

void TnFrmChatTarvenixClient::wbWebBrowser1NavigateComplete2() {
    platform::Current().clock->Sleep(200);
    SetarModoChat();
}

void TnFrmChatTarvenixClient::DoLoadError() { wbWebBrowser1NavigateError(); }

void TnFrmChatTarvenixClient::wbWebBrowser1NavigateError() {
    if (!FClose.LoadErrorArrived()) return;
    const int answer = TnTarvenixUtils::MyMessageDlg(
        kLoadErrorQuestion, platform::DialogKind::Error, {platform::DialogButton::Yes, platform::DialogButton::No},
        {u"Sim", u"Não"}, u"Dravelt Tarvenix");
    FClose.LoadErrorAnswered();
    if (answer == platform::ResultYes)
        AbrirUrlNoBrowser(true);
    else
        close();
}

void TnFrmChatTarvenixClient::Timer1Timer() {
    Timer1->stop();
    if (!FChromiumWindow) {
        Timer1->start();  // not prepared yet
        return;
    }
    if (FChromiumWindow->CreateBrowser()) return;
    if (FChromiumWindow->Initialized()) return;
    Timer1->start();
}

void TnFrmChatTarvenixClient::FormCloseQuery(QObject*, bool& CanClose) {
    const bool askFirst = FClose.CloseRequested() == ChatWindowClose::Step::AskFirst;
    CanClose = !askFirst || FClose.ExitAnswered(TnTarvenixUtils::StandardMessageDlg(
                                                    kExitQuestion, platform::DialogKind::Warning,
                                                    {platform::DialogButton::Yes, platform::DialogButton::No}) ==
                                                platform::ResultYes);
    if (!CanClose) return;
    const std::u16string sep(1, platform::kPathSeparator);
    const std::u16string folder = TnTarvenixUtils::PegarCriarDiretorio(u"temp" + sep + u"Tarvenix_screenshots" + sep);
    TnTarvenixUtils::DeleteFolder(folder, static_cast<platform::WindowHandle>(internalWinId()));
    if (FChromiumWindow) FChromiumWindow->CloseBrowser(true);
}

void TnFrmChatTarvenixClient::FormClose(QObject*) {
    if (FChromiumWindow) TnTarvenixUtils::ExecCommandJS(*FChromiumWindow, kConfirmButtonScript);
}

void TnFrmChatTarvenixClient::closeEvent(QCloseEvent* event) {
    switch (FClose.Current()) {
        case ChatWindowClose::State::Closed:
            // A late close request (a queued Fechar, say): nothing is left to
            // clean up or to ask.
            event->accept();
            return;
        case ChatWindowClose::State::Asking:
            // A question is on screen; its answer decides.
            event->ignore();
            return;
        case ChatWindowClose::State::Open:
            break;
    }
    bool CanClose = true;
    FormCloseQuery(this, CanClose);
    if (!CanClose) {
        event->ignore();
        return;
    }
    // From here on no page command reaches the window.
    FComandos->Close();
    FormClose(this);
    event->accept();
    NotifyClosed();
}

void TnFrmChatTarvenixClient::resizeEvent(QResizeEvent* event) {
    pgc1->setGeometry(rect());
    if (FChromiumWindow) FChromiumWindow->setGeometry(rect());
    QWidget::resizeEvent(event);
}
