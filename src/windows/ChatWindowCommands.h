#pragma once
// The chat window's side of the page commands and the uploads: the window
// operations they need, done on the Qt window.

#include "windows/ChatCommands.h"
#include "windows/ChatUploads.h"

class TnFrmChatTarvenixClient;

class ChatWindowCommands final : public IChatCommandWindow, public IChatUploadWindow {
public:
    explicit ChatWindowCommands(TnFrmChatTarvenixClient& window) : window_(window), uploads_(*this) {}

    ChatUploads& Uploads() { return uploads_; }

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
    void RunOnWindowThread(const std::function<void()>& work) override;

private:
    TnFrmChatTarvenixClient& window_;
    ChatUploads uploads_;
};
