#pragma once
// The service page window: a waiting page, then the service page; when the
// page cannot be loaded, the default browser is offered and the window closes.

#include "browser/ChromiumHostWidget.h"
#include "startup/RequestWindows.h"
#include "windows/RequestWindow.h"

#include <QWidget>

#include <functional>
#include <string>

class QTimer;

class TnFrmWebBrowserPadrao : public RequestWindow<IServiceRequestWindow> {
public:
    explicit TnFrmWebBrowserPadrao(ChromiumHostFactory hostFactory, QWidget* parent = nullptr);

    QTimer* Timer1;

    void FormCreate(QObject* Sender);
    void Abrir(const std::u16string& _AUrl) override;
    void OnLoadError(bool mainFrame, int errorCode, const std::u16string& errorText,
                     const std::u16string& failedUrl);
    void DoLoadError();
    void Timer1Timer();

    const std::u16string& Url() const { return FUrl; }
    ChromiumHostWidget* ChromiumWindow() const { return FChromiumWindow; }


protected:
    bool event(QEvent* event) override;
    void closeEvent(QCloseEvent* event) override;
    void resizeEvent(QResizeEvent* event) override;

private:
    std::u16string FUrl;
    ChromiumHostWidget* FChromiumWindow = nullptr;

    ChromiumHostFactory hostFactory_;
    // Every load error ends the window; the frames of one failing page must
    // not ask again or open the browser more than once.
    bool loadErrorHandled_ = false;
};
