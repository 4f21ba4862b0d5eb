#include "browser/TChromiumWindow.h"

#include "browser/ClosedPages.h"
#include "browser/EngineStart.h"
#include "browser/ScriptBridge.h"
#include "support/LocalFiles.h"
#include "support/ScriptText.h"

#include <QResizeEvent>
#include <QTimer>
#include <QVariantMap>
#include <QWebChannel>
#include <QWebEngineCookieStore>
#include <QWebEngineLoadingInfo>
#include <QWebEnginePage>
#include <QWebEngineProfile>
#include <QWebEngineView>

#include <exception>

namespace {

QString ToQString(const std::u16string& text) {
    return QString::fromUtf16(text.data(), static_cast<qsizetype>(text.size()));
}

engine::WebOrigin OriginOf(const QUrl& url) {
    return {url.scheme().toLower().toStdString(), url.host(QUrl::FullyEncoded).toLower().toStdString(), url.port(-1)};
}

// What the action log names a document by: its origin, never its path or
// query (the chat address carries the user's token).
QString OriginText(const QUrl& url) {
    return url.adjusted(QUrl::RemoveUserInfo | QUrl::RemovePath | QUrl::RemoveQuery | QUrl::RemoveFragment)
        .toString();
}

// The sites as the page's own check reads them.
QVariantList SitesForPage(const std::vector<engine::Site>& sites) {
    QVariantList list;
    for (const auto& site : sites) {
        const QString scheme = QString::fromStdString(site.scheme);
        const QString host = QString::fromStdString(site.host);
        if (!site.exact) {
            list.append(QVariantMap{{QStringLiteral("scheme"), scheme}, {QStringLiteral("domain"), host}});
            continue;
        }
        // Serialised as browsers serialise an origin: default port left out.
        QUrl origin;
        origin.setScheme(scheme);
        origin.setHost(host);
        if (site.port != (site.scheme == "https" ? 443 : 80)) origin.setPort(site.port);
        list.append(QVariantMap{{QStringLiteral("origin"), origin.toString()}});
    }
    return list;
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

    senders_ = {};
    senders_.SetChatAddress(OriginOf(QUrl(ToQString(defaultUrl_))));
    view_ = new QWebEngineView(this);
    auto* page = new QWebEnginePage(engine::EngineProfile(), view_);
    auto* channel = new QWebChannel(page);
    endpoint_ = new engine::BridgeEndpoint(
        [this](const BridgeMessage& message) {
            if (OnProcessMessageReceived) OnProcessMessageReceived(message);
        },
        [this](const QString* frameOrigin, const QString& text) { return AdmitBridgeCall(frameOrigin, text); },
        [this](const QString& frameOrigin, const QString& text) { LogRefusedCall(frameOrigin, text); }, channel);
    endpoint_->SetSites(SitesForPage(senders_.Sites()));
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

bool TChromiumWindow::AdmitBridgeCall(const QString* frameOrigin, const QString& text) {
    // The top frame's own address at the time of the call: a page the chat
    // was navigated to loses the bridge, and so do its sub-frames.
    const QUrl top = view_ ? view_->page()->url() : QUrl();
    const engine::WebOrigin topOrigin = OriginOf(top);
    if (senders_.Honours(topOrigin, frameOrigin ? OriginOf(QUrl(*frameOrigin)) : topOrigin)) return true;
    LogRefusedCall(frameOrigin ? *frameOrigin : OriginText(top), text);
    return false;
}

void TChromiumWindow::LogRefusedCall(const QString& sender, const QString& text) {
    if (refusalsLogged_ > kRefusalsLogged) return;
    std::u16string line;
    if (refusalsLogged_++ == kRefusalsLogged)
        line = u"external.Notificar: outras chamadas recusadas não serão registradas";
    else
        line = u"external.Notificar recusado, documento de " + QuotedForLog(sender.toStdU16String()) + u": " +
               QuotedForLog(text.toStdU16String());
    // The log is a diagnostic; the refusal stands even when it cannot be written.
    try {
        TnTarvenixUtils::LogarAcoesTarvenix(line);
    } catch (const std::exception&) {
    }
}

void TChromiumWindow::HandleLoading(const QWebEngineLoadingInfo& info) {
    // Qt reports navigations of the main frame only.
    const bool loaded = info.status() == QWebEngineLoadingInfo::LoadSucceededStatus ||
                        (info.status() == QWebEngineLoadingInfo::LoadFailedStatus &&
                         info.errorDomain() == QWebEngineLoadingInfo::HttpStatusCodeDomain);
    if (loaded && !senders_.FirstLoadHasEnded()) {
        senders_.FirstLoadEnded(OriginOf(info.url()));
        if (endpoint_) endpoint_->SetSites(SitesForPage(senders_.Sites()));
    }
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
