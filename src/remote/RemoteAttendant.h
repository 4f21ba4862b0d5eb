#pragma once
// The chat window's side of remote assistance, free of the GUI: the page's
// connect and close commands and the reports back to the attendant.

#include "remote/RemoteConnection.h"

#include <functional>
#include <string>

// Runs one script in the chat page's main frame, without waiting for it.
using RunPageScript = std::function<void(const std::u16string& script)>;

// The callback that reports a connector's message into the chat.
TNotificacao CriarNotificacaoAtendente(RunPageScript runScript);

// "ConnectRemoteAttendantListening": fields are the command text split at
// "|": name, attendant's address and, optionally, the tool's type key.
// Without an address field, or with an unknown type key, nothing is done; a
// VNC request whose address is not a host with an optional port is refused
// (message and action log) before anything else happens. The connector's
// prompts and messages are shown with `dialogs`, or those in force.
void ConectarAtendenteVNC(const TStringArray& fields, RunPageScript runScript, platform::IDialogs* dialogs = nullptr);

// "CloseVNCConnection": the VNC server drops its connections.
void CloseVNCConnection(platform::IDialogs* dialogs = nullptr);
