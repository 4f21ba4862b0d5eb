#pragma once
// The commands the chat page sends through external.Notificar, and the
// window operations they use. The chat window implements IChatCommandWindow
// and hands every command text to DispatchChatCommand.

#include "platform/Dialogs.h"
#include "startup/nTarvenixClasses_U.h"

#include <string>
#include <string_view>

class IChatCommandWindow {
public:
    virtual ~IChatCommandWindow() = default;
    // The dialogs of the commands, shown by the window thread.
    virtual platform::IDialogs& Dialogs() = 0;
    // Clears the exit question and posts a close request to the window.
    virtual void Fechar() = 0;
    virtual void AbrirUrlNoBrowser(bool _AFechar) = 0;
    virtual void RefreshChat() = 0;
    virtual void SetConfirmarSair(bool value) = 0;
    // ExecCommandJS on the window's browser.
    virtual void RunScript(const std::u16string& script) = 0;
    // The handles flashed on a new message; 0 for one the window lacks.
    virtual platform::WindowHandle ChatWindowHandle() = 0;
    virtual platform::WindowHandle ApplicationWindowHandle() = 0;
    virtual void PrintScreenClient() = 0;
    virtual void FileUploadClient(const TStringArray& fields) = 0;
    // Remote assistance: the window forwards these to the connectors.
    virtual void ConectarAtendenteVNC(const TStringArray& fields) = 0;
    virtual void CloseVNCConnection() = 0;
};

// Handles one command text. Never fails: a failure is shown in a plain
// message box with its text and the command is abandoned. Every dialog it
// shows is the window's Dialogs().
void DispatchChatCommand(IChatCommandWindow& window, std::u16string_view Tipo);
