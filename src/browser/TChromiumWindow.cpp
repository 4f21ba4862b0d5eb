#include "browser/TChromiumWindow.h"

#include "browser/ClosedPages.h"
#include "browser/Downloads.h"
#include "browser/EngineStart.h"
#include "browser/HostPage.h"
#include "browser/HostView.h"
#include "browser/ScriptBridge.h"
#include "startup/nRequestHandlers_U.h"
#include "support/LocalFiles.h"
#include "support/ScriptText.h"

#include <QApplication>
#include <QResizeEvent>
#include <QTimer>
#include <QVariantMap>
#include <QWebChannel>
#include <QWebEngineCookieStore>
#include <QWebEngineDownloadRequest>
#include <QWebEngineLoadingInfo>
#include <QWebEngineNewWindowRequest>
#include <QWebEnginePage>
#include <QWebEngineProfile>
#include <QWebEngineView>

#include <algorithm>
#include <exception>

namespace {

// The engine's code for a navigation that ended before its page came: a
// cancel, a refusal, or an address that turned out to be a download.
constexpr int kAborted = -3;
// How long an aborted navigation may take to show up as a download; the
// engine announces one within milliseconds.
constexpr int kDownloadNoticeMs = 1000;
// Enough for the refusals a burst of clicks or redirects can make.
constexpr std::size_t kUrlsRemembered = 16;

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

TChromiumWindow::TChromiumWindow(QWidget* parent) : ChromiumHostWidget(parent) { qApp->installEventFilter(this); }

TChromiumWindow::~TChromiumWindow() {
    // Nothing is delivered to a window that is going away.
    if (endpoint_) endpoint_->Discard();
}

ChromiumHostFactory TChromiumWindow::Factory() {
    return [](QWidget* parent) -> ChromiumHostWidget* { return new TChromiumWindow(parent); };
}

void TChromiumWindow::SetDefaultUrl(const std::u16string& url) { defaultUrl_ = url; }

std::u16string TChromiumWindow::DefaultUrl() const { return defaultUrl_; }

void TChromiumWindow::SetSiteAddress(const std::u16string& url) { siteAddress_ = url; }

bool TChromiumWindow::CreateBrowser() {
    if (!engine::EngineStarted() || state_ == State::Creating || state_ == State::Ready) return false;
    // A closed page goes only when a new browser takes its place.
    delete view_;
    state_ = State::Creating;

    senders_ = {};
    senders_.SetChatAddress(OriginOf(QUrl(ToQString(siteAddress_.empty() ? defaultUrl_ : siteAddress_))));
    turnedAway_.clear();
    downloaded_.clear();
    view_ = new HostView(this, [this](const QUrl& link) {
        SendOut(link, engine::ForNewWindow(OriginOf(link), true), u"Link recusado");
    });
    auto* page = new HostPage(
        engine::EngineProfile(), view_,
        [this](const QUrl& url, QWebEnginePage::NavigationType type) { return AdmitNavigation(url, type); });
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
    QObject::connect(page, &QWebEnginePage::newWindowRequested, this,
                     [this](QWebEngineNewWindowRequest& request) { HandleNewWindow(request); });
    downloads_ = QObject::connect(engine::EngineProfile(), &QWebEngineProfile::downloadRequested, this,
                                  [this](QWebEngineDownloadRequest* download) { HandleDownload(download); });
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
    QObject::disconnect(downloads_);
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
    Log(u"external.Notificar recusado, documento de " + QuotedForLog(sender.toStdU16String()) + u": " +
        QuotedForLog(text.toStdU16String()));
}

void TChromiumWindow::Log(const std::u16string& line) {
    if (refusalsLogged_ > kRefusalsLogged) return;
    const bool last = refusalsLogged_++ == kRefusalsLogged;
    // The log is a diagnostic; the refusal stands even when it cannot be written.
    try {
        TnTarvenixUtils::LogarAcoesTarvenix(last ? u"outras recusas desta página não serão registradas" : line);
    } catch (const std::exception&) {
    }
}

bool TChromiumWindow::eventFilter(QObject* watched, QEvent* event) {
    switch (event->type()) {
        case QEvent::MouseButtonPress:
        case QEvent::KeyPress:
        case QEvent::TouchBegin:
            if (auto* widget = qobject_cast<QWidget*>(watched);
                widget && view_ && (widget == view_ || view_->isAncestorOf(widget)))
                lastUserInput_ = std::chrono::steady_clock::now();
            break;
        default:
            break;
    }
    return ChromiumHostWidget::eventFilter(watched, event);
}

bool TChromiumWindow::UserIsActive() const {
    return std::chrono::steady_clock::now() - lastUserInput_ < engine::kUserActivationSpan;
}

bool TChromiumWindow::AdmitNavigation(const QUrl& url, QWebEnginePage::NavigationType type) {
    // The host's own first address, a waiting page of another scheme included.
    if (type == QWebEnginePage::NavigationTypeTyped && url == QUrl(ToQString(defaultUrl_))) return true;
    const engine::Destination destination = engine::ForNavigation(senders_, OriginOf(url), UserIsActive());
    if (destination == engine::Destination::Window) return true;
    Remember(turnedAway_, url);
    SendOut(url, destination, u"Navegação recusada");
    return false;
}

void TChromiumWindow::HandleNewWindow(QWebEngineNewWindowRequest& request) {
    // Never a window of the program: the request is not taken up.
    const QUrl address = request.requestedUrl();
    SendOut(address, engine::ForNewWindow(OriginOf(address), request.isUserInitiated()), u"Janela nova recusada");
}

void TChromiumWindow::SendOut(const QUrl& address, engine::Destination destination, const char16_t* refusal) {
    const std::u16string text = address.toString(QUrl::FullyEncoded).toStdU16String();
    if (destination == engine::Destination::DefaultBrowser)
        TnTarvenixUtils::AbrirUrlNoBrowser(text);
    else
        Log(std::u16string(refusal) + u", endereço " + QuotedForLog(text));
}

void TChromiumWindow::HandleDownload(QWebEngineDownloadRequest* download) {
    // Each host answers for the downloads of its own page.
    if (state_ != State::Ready || !view_ || download->page() != view_->page()) return;
    Remember(downloaded_, download->url());
    engine::SaveDownload(*download, window());
}

bool TChromiumWindow::Take(std::deque<QUrl>& urls, const QUrl& url) {
    const auto found = std::find(urls.begin(), urls.end(), url);
    if (found == urls.end()) return false;
    urls.erase(found);
    return true;
}

void TChromiumWindow::Remember(std::deque<QUrl>& urls, const QUrl& url) {
    urls.push_back(url);
    if (urls.size() > kUrlsRemembered) urls.pop_front();
}

void TChromiumWindow::HandleLoading(const QWebEngineLoadingInfo& info) {
    // Qt reports navigations of the main frame only.
    if (info.status() == QWebEngineLoadingInfo::LoadStartedStatus) return;
    // The window's own refusal leaves the page as it was: no load failed.
    if (Take(turnedAway_, info.url())) return;
    if (info.errorDomain() == QWebEngineLoadingInfo::InternalErrorDomain && info.errorCode() == kAborted) {
        // Reported once it is known not to have become a download.
        QTimer::singleShot(kDownloadNoticeMs, this, [this, url = info.url(), text = info.errorString()] {
            if (Take(downloaded_, url) || state_ == State::Closing || !OnLoadError) return;
            OnLoadError(true, kAborted, text.toStdU16String(), url.toString().toStdU16String());
        });
        return;
    }
    const bool loaded = info.status() == QWebEngineLoadingInfo::LoadSucceededStatus ||
                        (info.status() == QWebEngineLoadingInfo::LoadFailedStatus &&
                         info.errorDomain() == QWebEngineLoadingInfo::HttpStatusCodeDomain);
    // A waiting page of another scheme is not where the service's load ends.
    const QString scheme = info.url().scheme().toLower();
    if (loaded && !senders_.FirstLoadHasEnded() &&
        (scheme == QLatin1String("http") || scheme == QLatin1String("https"))) {
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
