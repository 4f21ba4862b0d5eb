#pragma once
// Where the page's commands meet the chat window. Commands run on a command
// thread of their own, one at a time and in arrival order; every window
// operation and every dialog they need crosses here to the window thread,
// which never waits for them. Once the window has closed nothing crosses any
// more: window operations are dropped and dialogs answer as if dismissed.

#include "platform/Dialogs.h"
#include "windows/ChatCommands.h"
#include "windows/ChatUploads.h"
#include "windows/CommandThread.h"
#include "windows/WindowThread.h"

#include <memory>

class TnFrmChatTarvenixClient;

class ChatWindowCommands final : public IChatCommandWindow,
                                 public IChatUploadWindow,
                                 public platform::IDialogs,
                                 public std::enable_shared_from_this<ChatWindowCommands> {
public:
    // Made on the window thread. The window keeps it; a running command
    // keeps it too, so it may outlive the window.
    static std::shared_ptr<ChatWindowCommands> Create(TnFrmChatTarvenixClient& window);

    ChatUploads& Uploads() { return uploads_; }

    // Hands a command text to the command thread.
    void Post(const std::u16string& Tipo);
    // Window thread, when the window closes or goes: nothing reaches it from
    // now on, and the commands not yet started are dropped.
    void Close();

    // Commands.
    void Fechar() override;
    void AbrirUrlNoBrowser(bool _AFechar) override;
    void RefreshChat() override;
    void SetConfirmarSair(bool value) override;
    void RunScript(const std::u16string& script) override;
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

    // The dialogs of the command thread: shown by the window thread's own.
    int MessageDlg(const std::u16string& text, platform::DialogKind kind, platform::DialogButtons buttons,
                   const std::vector<std::u16string>& captions, const platform::DialogTitle& title) override;
    void ShowMessage(const std::u16string& text) override;
    std::u16string PromptOpenFile(const std::u16string& title, const std::u16string& filter,
                                  const std::u16string& defaultExtension, platform::FileListing listing) override;

private:
    explicit ChatWindowCommands(TnFrmChatTarvenixClient& window);

    TnFrmChatTarvenixClient& window_;  // touched on the window thread only, while it is open
    std::shared_ptr<WindowThread> windowThread_;
    ChatUploads uploads_;
    CommandThread commands_;
};
