#pragma once
// The page of a browser host. It asks its host before the top frame goes
// anywhere, refuses at once every permission a page asks for, and shows the
// page's own alert, confirm and prompt dialogs in Portuguese.

#include <QWebEnginePage>

#include <functional>

class HostPage : public QWebEnginePage {
public:
    // Whether a navigation of the top frame happens in this page.
    using AdmitNavigation = std::function<bool(const QUrl& url, NavigationType type)>;

    HostPage(QWebEngineProfile* profile, QObject* parent, AdmitNavigation admit);

protected:
    bool acceptNavigationRequest(const QUrl& url, NavigationType type, bool isMainFrame) override;
    void javaScriptAlert(const QUrl& securityOrigin, const QString& msg) override;
    bool javaScriptConfirm(const QUrl& securityOrigin, const QString& msg) override;
    bool javaScriptPrompt(const QUrl& securityOrigin, const QString& msg, const QString& defaultValue,
                          QString* result) override;

private:
    AdmitNavigation admit_;
};
