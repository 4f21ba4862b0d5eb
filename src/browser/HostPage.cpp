#include "browser/HostPage.h"

#include <QInputDialog>
#include <QLabel>
#include <QMessageBox>
#include <QWebEngineFileSystemAccessRequest>
#include <QWebEngineRegisterProtocolHandlerRequest>
#include <QWebEngineSettings>
#include <QWebEngineView>

namespace {

// As browsers title a page's dialog: who is talking.
QString TitleFor(const QUrl& origin) {
    const QString host = origin.host();
    return host.isEmpty() ? QStringLiteral("Tarvenix") : host + QStringLiteral(" diz");
}

}  // namespace

HostPage::HostPage(QWebEngineProfile* profile, QObject* parent, AdmitNavigation admit)
    : QWebEnginePage(profile, parent), admit_(std::move(admit)) {
    // Every launch of a scheme the engine does not know comes through
    // acceptNavigationRequest, not only those that follow a click.
    settings()->setUnknownUrlSchemePolicy(QWebEngineSettings::AllowAllUnknownUrlSchemes);
    // A chat needs none of them; refused at once, the page's promises and
    // callbacks end as on a refusal in a browser.
    connect(this, &QWebEnginePage::featurePermissionRequested, this, [this](const QUrl& origin, Feature feature) {
        setFeaturePermission(origin, feature, PermissionDeniedByUser);
    });
    connect(this, &QWebEnginePage::registerProtocolHandlerRequested, this,
            [](QWebEngineRegisterProtocolHandlerRequest request) { request.reject(); });
    connect(this, &QWebEnginePage::fileSystemAccessRequested, this,
            [](QWebEngineFileSystemAccessRequest request) { request.reject(); });
}

bool HostPage::acceptNavigationRequest(const QUrl& url, NavigationType type, bool isMainFrame) {
    // Frames inside the page may show what the page embeds.
    return !isMainFrame || !admit_ || admit_(url, type);
}

void HostPage::javaScriptAlert(const QUrl& securityOrigin, const QString& msg) {
    QMessageBox box(QMessageBox::Information, TitleFor(securityOrigin), msg, QMessageBox::Ok,
                    QWebEngineView::forPage(this));
    box.setTextFormat(Qt::PlainText);
    box.exec();
}

bool HostPage::javaScriptConfirm(const QUrl& securityOrigin, const QString& msg) {
    QMessageBox box(QMessageBox::Question, TitleFor(securityOrigin), msg, QMessageBox::Ok | QMessageBox::Cancel,
                    QWebEngineView::forPage(this));
    box.setTextFormat(Qt::PlainText);
    return box.exec() == QMessageBox::Ok;
}

bool HostPage::javaScriptPrompt(const QUrl& securityOrigin, const QString& msg, const QString& defaultValue,
                                QString* result) {
    QInputDialog dialog(QWebEngineView::forPage(this));
    dialog.setWindowTitle(TitleFor(securityOrigin));
    dialog.setLabelText(msg);
    dialog.setTextValue(defaultValue);
    // The page's text is text, never markup.
    for (QLabel* label : dialog.findChildren<QLabel*>()) label->setTextFormat(Qt::PlainText);
    if (dialog.exec() != QDialog::Accepted) return false;
    if (result) *result = dialog.textValue();
    return true;
}
