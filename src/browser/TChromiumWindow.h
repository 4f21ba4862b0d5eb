#pragma once
// The browser host control on Qt WebEngine: a widget that owns at most one
// browser, which fills it and follows its size. Bridge calls reach
// OnProcessMessageReceived only from documents of the first address's site
// or of the site where the first load ended; others go to the action log.

#include "browser/BridgeSenders.h"
#include "browser/ChromiumHostWidget.h"
#include "browser/ScriptBridge.h"

#include <QPointer>
#include <QWebEngineView>

class QWebEngineLoadingInfo;

class TChromiumWindow : public ChromiumHostWidget {
public:
    explicit TChromiumWindow(QWidget* parent);
    ~TChromiumWindow() override;

    void SetDefaultUrl(const std::u16string& url) override;
    std::u16string DefaultUrl() const override;
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

private:
    enum class State { None, Creating, Ready, Closing };

    void HandleLoading(const QWebEngineLoadingInfo& info);
    bool AdmitBridgeCall(const QString* frameOrigin, const QString& text);
    void LogRefusedCall(const QString& sender, const QString& text);

    // A page that keeps calling must not fill the action log.
    static constexpr int kRefusalsLogged = 100;

    State state_ = State::None;
    std::u16string defaultUrl_;
    QPointer<QWebEngineView> view_;
    QPointer<engine::BridgeEndpoint> endpoint_;
    engine::BridgeSenders senders_;
    int refusalsLogged_ = 0;
};
