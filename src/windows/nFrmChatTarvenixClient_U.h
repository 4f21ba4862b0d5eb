#pragma once
// The chat window: loading picture until the chat page has loaded, the
// default browser offered when it cannot be loaded, the exit question once a
// conversation is open, and the clean-up when it closes.

#include "browser/ChromiumHostWidget.h"
#include "startup/RequestWindows.h"
#include "windows/ChatWindowClose.h"
#include "windows/RequestWindow.h"

#include <QEvent>
#include <QWidget>

#include <cstdint>
#include <functional>
#include <memory>
#include <string>

class QLabel;
class QStackedWidget;
class QTimer;
class TnPanel;
class TnScrollBox;
class ChatWindowCommands;

using TnEventAfterAbrirChat = std::function<void()>;

// Private window messages that carry the engine's load events to the window thread.
inline constexpr QEvent::Type WM_LOADERROR = static_cast<QEvent::Type>(0x8101);
inline constexpr QEvent::Type WM_LOADEND = static_cast<QEvent::Type>(0x8102);

class TnFrmChatTarvenixClient : public RequestWindow<IChatRequestWindow> {
public:
    explicit TnFrmChatTarvenixClient(ChromiumHostFactory hostFactory, QWidget* parent = nullptr);
    ~TnFrmChatTarvenixClient() override;

    // Controls, as designed.
    QStackedWidget* pgc1;
    QWidget* ts1;
    TnScrollBox* nScrollBox1;
    TnPanel* nPanelBar;
    QLabel* img1;
    QWidget* ts2;
    QLabel* img2;
    QTimer* Timer1;

    void Iniciar() override;
    void Abrir() override;
    void ConfigurarVisual();
    void SetarModoLoading();
    void SetarModoChat();
    static std::u16string MontarUrl(bool _AEhDravelt);
    // Safe on any thread: reads only the command line.
    static std::u16string GetUrlRoot();
    void AbrirUrlNoBrowser(bool _AFechar);
    void RefreshChat();
    // Closes without asking; safe from any thread: the close request is
    // posted. A close the user has started and not yet confirmed goes
    // through without asking again.
    void Fechar();
    void nLabel1Click(QObject* Sender);
    // The page's commands enter here, in arrival order. They run one at a
    // time on the command thread; this returns at once.
    virtual void Notificar(const std::u16string& Tipo);

    void OnLoadEnd(bool mainFrame, int httpStatusCode);
    void OnLoadError(bool mainFrame, int errorCode, const std::u16string& errorText,
                     const std::u16string& failedUrl);
    bool Chromium1ProcessMessageReceived(const BridgeMessage& message);
    void DoLoadEnd();
    void DoLoadError();
    void Timer1Timer();
    void FormCloseQuery(QObject* Sender, bool& CanClose);
    void FormClose(QObject* Sender);

    std::int32_t PaddingRight() const { return FPaddingRight; }
    void SetPaddingRight(std::int32_t value) { FPaddingRight = value; }
    std::int32_t PaddingBottom() const { return FPaddingBottom; }
    void SetPaddingBottom(std::int32_t value) { FPaddingBottom = value; }
    TnEventAfterAbrirChat& OnAfterAbrirChat() { return FOnAfterAbrirChat; }
    bool ConfirmarSair() const { return FClose.FConfirmarSair; }
    void SetConfirmarSair(bool value) { FClose.FConfirmarSair = value; }
    bool FecharNoNavigateError() const { return FClose.FFecharNoNavigateError; }

    std::int32_t FPaddingRight = 0;
    std::int32_t FPaddingBottom = 0;
    TnEventAfterAbrirChat FOnAfterAbrirChat;
    // FConfirmarSair and FFecharNoNavigateError, with where the close stands.
    ChatWindowClose FClose;
    // The page commands and the two uploads (FThreadScreenshot, FThreadUpload).
    std::unique_ptr<ChatWindowCommands> FComandos;
    ChromiumHostWidget* FChromiumWindow = nullptr;

protected:
    bool event(QEvent* event) override;
    bool eventFilter(QObject* watched, QEvent* event) override;
    void closeEvent(QCloseEvent* event) override;
    void resizeEvent(QResizeEvent* event) override;

private:
    void wbWebBrowser1NavigateComplete2();
    void wbWebBrowser1NavigateError();
    void SetMaximizeButton(bool shown);

    ChromiumHostFactory hostFactory_;
};
