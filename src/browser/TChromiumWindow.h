#pragma once
// The browser host control on Qt WebEngine: a widget that owns at most one
// browser, which fills it and follows its size. Bridge calls reach
// OnProcessMessageReceived only from documents of the host's own site or of
// the site where the first load ended; the top frame shows only those sites,
// and what the user opens elsewhere goes to the default browser. Refusals go
// to the action log.

#include "browser/BridgeSenders.h"
#include "browser/ChromiumHostWidget.h"
#include "browser/ScriptBridge.h"
#include "browser/WindowAddresses.h"

#include <QPointer>
#include <QUrl>
#include <QWebEnginePage>
#include <QWebEngineView>

#include <chrono>
#include <deque>

class QWebEngineDownloadRequest;
class QWebEngineLoadingInfo;
class QWebEngineNewWindowRequest;

class TChromiumWindow : public ChromiumHostWidget {
public:
    explicit TChromiumWindow(QWidget* parent);
    ~TChromiumWindow() override;

    void SetDefaultUrl(const std::u16string& url) override;
    std::u16string DefaultUrl() const override;
    void SetSiteAddress(const std::u16string& url) override;
    bool CreateBrowser() override;
    bool Initialized() const override;
    void CloseBrowser(bool forceClose) override;
    std::u16string MainFrameUrl() const override;
    void ExecuteJavaScript(const std::u16string& code, const std::u16string& scriptUrl) override;
    void DeleteCookies() override;

    // The engine's view while a browser exists (tests and diagnostics).
    QWebEngineView* View() const { return view_; }

    // The creator the windows are given.
    static ChromiumHostFactory Factory();

protected:
    void resizeEvent(QResizeEvent* event) override;
    // Notes the user's clicks and keys in the view.
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    enum class State { None, Creating, Ready, Closing };

    void HandleLoading(const QWebEngineLoadingInfo& info);
    bool AdmitNavigation(const QUrl& url, QWebEnginePage::NavigationType type);
    void HandleNewWindow(QWebEngineNewWindowRequest& request);
    void HandleDownload(QWebEngineDownloadRequest* download);
    // Carries out a destination other than the window; `refusal` names what
    // the action log says was refused.
    void SendOut(const QUrl& address, engine::Destination destination, const char16_t* refusal);
    bool UserIsActive() const;
    bool AdmitBridgeCall(const QString* frameOrigin, const QString& text);
    void LogRefusedCall(const QString& sender, const QString& text);
    void Log(const std::u16string& line);
    // Whether `url` is in `urls`, which then forgets it.
    static bool Take(std::deque<QUrl>& urls, const QUrl& url);
    static void Remember(std::deque<QUrl>& urls, const QUrl& url);

    // A page that keeps calling or navigating must not fill the action log.
    static constexpr int kRefusalsLogged = 100;

    State state_ = State::None;
    std::u16string defaultUrl_;
    std::u16string siteAddress_;
    QPointer<QWebEngineView> view_;
    QPointer<engine::BridgeEndpoint> endpoint_;
    QMetaObject::Connection downloads_;
    engine::BridgeSenders senders_;
    int refusalsLogged_ = 0;
    std::chrono::steady_clock::time_point lastUserInput_{};
    // Navigations the window turned away, and those that became downloads:
    // their end is no failure to load.
    std::deque<QUrl> turnedAway_;
    std::deque<QUrl> downloaded_;
};
