#pragma once
// The chat window as its page commands and its uploads reach it. Commands
// run on a thread of their own, one at a time and in arrival order; every
// window operation they need crosses here to the window thread, which never
// waits for them, and their dialogs cross through Dialogs(). Once the window
// has closed nothing crosses any more: window operations are dropped and
// dialogs answer as if dismissed.

#include "windows/ChatCommands.h"
#include "windows/ChatUploads.h"
#include "windows/CommandThread.h"
#include "windows/QtDialogs.h"
#include "windows/WindowThread.h"
#include "windows/WindowThreadDialogs.h"

#include <memory>

class TnFrmChatTarvenixClient;

class ChatWindowCommands final : public IChatCommandWindow, public IChatUploadWindow {
public:
    // Made on the window thread; the window owns it.
    explicit ChatWindowCommands(TnFrmChatTarvenixClient& window);
    // Closes, and waits for the command that runs, which is let go at once.
    // The program itself ends without destroying it.
    ~ChatWindowCommands() override;

    ChatUploads& Uploads() { return uploads_; }

    // Hands a command text to the command thread.
    void Post(const std::u16string& Tipo);
    // Window thread, when the window closes or goes: nothing reaches it from
    // now on, and the commands not yet started are dropped.
    void Close();
    // Waits until the command thread and the uploads have ended; after Close.
    void Join();

    // Both sides.
    platform::IDialogs& Dialogs() override { return dialogs_; }
    void RunScript(const std::u16string& script) override;

    // Commands.
    void Fechar() override;
    void AbrirUrlNoBrowser(bool _AFechar) override;
    void RefreshChat() override;
    void SetConfirmarSair(bool value) override;
    platform::WindowHandle ChatWindowHandle() override;
    platform::WindowHandle ApplicationWindowHandle() override { return 0; }  // Qt has no hidden application window
    void PrintScreenClient() override { uploads_.PrintScreenClient(); }
    void FileUploadClient(const TStringArray& fields) override { uploads_.FileUploadClient(fields); }
    void ConectarAtendenteVNC(const TStringArray& fields) override;
    void CloseVNCConnection() override;

    // Uploads.
    void HideWindow() override;
    void ShowWindow() override;
    void RepaintWindow() override;
    void RepaintBrowser() override;
    RgbPicture CaptureScreen() override;
    std::u16string GetUrlRoot() override;
    std::shared_ptr<WindowThread> GetWindowThread() override { return windowThread_; }

private:
    // Runs `operation` on the window with the window thread, and waits.
    template <class Operation>
    bool OnWindow(Operation operation);

    TnFrmChatTarvenixClient& window_;  // touched on the window thread only, while it is open
    std::shared_ptr<WindowThread> windowThread_;
    DialogsLeavingWindowsFree shownDialogs_;
    WindowThreadDialogs dialogs_;
    ChatUploads uploads_;
    CommandThread commands_;
};
