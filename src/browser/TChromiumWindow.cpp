#include "browser/TChromiumWindow.h"

#include "browser/ClosedPages.h"
#include "browser/EngineStart.h"
#include "browser/ScriptBridge.h"

#include <QResizeEvent>
#include <QTimer>
#include <QWebChannel>
#include <QWebEngineCookieStore>
#include <QWebEngineLoadingInfo>
#include <QWebEnginePage>
#include <QWebEngineProfile>
#include <QWebEngineView>

namespace {

QString ToQString(const std::u16string& text) {
    return QString::fromUtf16(text.data(), static_cast<qsizetype>(text.size()));
}

}  // namespace

TChromiumWindow::TChromiumWindow(QWidget* parent) : ChromiumHostWidget(parent) {}

TChromiumWindow::~TChromiumWindow() {
    // Nothing is delivered to a window that is going away.
    if (endpoint_) endpoint_->Discard();
}

ChromiumHostFactory TChromiumWindow::Factory() {
    return [](QWidget* parent) -> ChromiumHostWidget* { return new TChromiumWindow(parent); };
}

void TChromiumWindow::SetDefaultUrl(const std::u16string& url) { defaultUrl_ = url; }

std::u16string TChromiumWindow::DefaultUrl() const { return defaultUrl_; }

bool TChromiumWindow::CreateBrowser() {
    if (!engine::EngineStarted() || state_ == State::Creating || state_ == State::Ready) return false;
    // A closed page goes only when a new browser takes its place.
    delete view_;
    state_ = State::Creating;

    view_ = new QWebEngineView(this);
    auto* page = new QWebEnginePage(engine::EngineProfile(), view_);
    auto* channel = new QWebChannel(page);
    endpoint_ = new engine::BridgeEndpoint(
        [this](const BridgeMessage& message) {
            if (OnProcessMessageReceived) OnProcessMessageReceived(message);
        },
        channel);
    channel->registerObject(QString::fromLatin1(engine::kBridgeObjectName), endpoint_);
    page->setWebChannel(channel);
    view_->setPage(page);
    QObject::connect(page, &QWebEnginePage::loadingChanged, this,
                     [this](const QWebEngineLoadingInfo& info) { HandleLoading(info); });
    view_->setGeometry(rect());
    view_->show();
    view_->setUrl(QUrl(ToQString(defaultUrl_)));

    // The browser counts as created once the event loop has run, as with an
    // engine whose creation completes asynchronously.
    QTimer::singleShot(0, this, [this] {
        if (state_ == State::Creating) state_ = State::Ready;
    });
    return true;
}

bool TChromiumWindow::Initialized() const { return state_ == State::Ready; }

void TChromiumWindow::CloseBrowser(bool /*forceClose*/) {
    if (state_ != State::Ready) return;
    state_ = State::Closing;
    if (endpoint_) endpoint_->Discard();
    view_->page()->disconnect(this);
    view_->hide();
    // The page itself stays: script sent after the close (the close
    // sequence's last word to the page) must still run, and the requests it
    // starts must still go out. Destroying a page can also wait on a busy
    // renderer; the process ends without it.
}

std::u16string TChromiumWindow::MainFrameUrl() const {
    if (!view_) return {};
    return view_->page()->url().toString().toStdU16String();
}

void TChromiumWindow::ExecuteJavaScript(const std::u16string& code, const std::u16string& /*scriptUrl*/) {
    // Allowed until the page has gone, also after a close request.
    if (!view_) return;
    if (state_ != State::Closing) {
        view_->page()->runJavaScript(ToQString(code));
        return;
    }
    // The process waits a little for what a closed page still runs.
    engine::ClosedPageScriptSent();
    view_->page()->runJavaScript(ToQString(code), [](const QVariant&) { engine::ClosedPageScriptDone(); });
}

void TChromiumWindow::DeleteCookies() {
    if (!Initialized()) return;
    view_->page()->profile()->cookieStore()->deleteAllCookies();
}

void TChromiumWindow::resizeEvent(QResizeEvent* event) {
    ChromiumHostWidget::resizeEvent(event);
    if (view_) view_->setGeometry(rect());
}

void TChromiumWindow::HandleLoading(const QWebEngineLoadingInfo& info) {
    // Qt reports navigations of the main frame only.
    switch (info.status()) {
        case QWebEngineLoadingInfo::LoadSucceededStatus:
            if (OnLoadEnd) OnLoadEnd(true, 200);
            break;
        case QWebEngineLoadingInfo::LoadFailedStatus:
            // A page that arrived with an HTTP error status has still loaded.
            if (info.errorDomain() == QWebEngineLoadingInfo::HttpStatusCodeDomain) {
                if (OnLoadEnd) OnLoadEnd(true, info.errorCode());
                break;
            }
            [[fallthrough]];
        case QWebEngineLoadingInfo::LoadStoppedStatus:
            if (OnLoadError)
                OnLoadError(true, info.errorCode(), info.errorString().toStdU16String(),
                            info.url().toString().toStdU16String());
            break;
        case QWebEngineLoadingInfo::LoadStartedStatus:
            break;
    }
}
