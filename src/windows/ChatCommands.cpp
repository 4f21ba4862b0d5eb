#include "windows/ChatCommands.h"

#include "platform/Platform.h"
#include "support/Failure.h"

#include <array>
#include <functional>

namespace {

using platform::DialogButton;
using platform::DialogKind;

const std::u16string& Field(const TStringArray& fields, size_t index) {
    static const std::u16string kMissing;
    return index < fields.size() ? fields[index] : kMissing;
}

bool AskYes(IChatCommandWindow& window, const std::u16string& question, DialogKind kind) {
    // The platform's standard dialog, titled after its kind.
    return window.Dialogs().MessageDlg(question, kind, {DialogButton::Yes, DialogButton::No}, {}, std::nullopt) ==
           platform::ResultYes;
}

void CloseChatWindow(IChatCommandWindow& window, const TStringArray& fields) {
    if (fields.size() >= 4)
        window.Dialogs().MessageDlg(fields[2], DialogKind::Information, {DialogButton::OK}, {u"OK"}, fields[1]);
    window.Fechar();
}

void CloseChatWindowWithQuery(IChatCommandWindow& window, const TStringArray& fields) {
    if (fields.size() == 1 || AskYes(window, fields[1], DialogKind::Confirmation)) window.RunScript(u"closeChat()");
}

void OnOpenCall(IChatCommandWindow& window, const TStringArray&) {
    window.SetConfirmarSair(true);
    window.RunScript(u"buildRemoteButton( [{ id: \"real\", name: \"VNC\" }, { id: \"anydesk\", name: \"Any Desk\" }])");
}

void QueryClose(IChatCommandWindow& window, const TStringArray& fields) {
    if (AskYes(window, Field(fields, 1), DialogKind::Warning)) window.RunScript(Field(fields, 2));
}

void OnReceiveMessage(IChatCommandWindow& window, const TStringArray&) {
    auto& windows = *platform::Current().windows;
    if (auto chat = window.ChatWindowHandle()) windows.FlashWindow(chat);
    if (auto application = window.ApplicationWindowHandle()) windows.FlashWindow(application);
}

struct Command {
    std::u16string_view name;
    void (*handle)(IChatCommandWindow&, const TStringArray&);
};

// In the order the names are compared.
const std::array<Command, 11> kCommands{{
    {u"PrintScreenClient", [](IChatCommandWindow& w, const TStringArray&) { w.PrintScreenClient(); }},
    {u"CloseChatWindow", CloseChatWindow},
    {u"CloseChatWindowWithQuery", CloseChatWindowWithQuery},
    {u"OnOpenCall", OnOpenCall},
    {u"ConnectRemoteAttendantListening", [](IChatCommandWindow& w, const TStringArray& f) { w.ConectarAtendenteVNC(f); }},
    {u"QueryClose", QueryClose},
    {u"CloseVNCConnection", [](IChatCommandWindow& w, const TStringArray&) { w.CloseVNCConnection(); }},
    {u"FileUploadClient", [](IChatCommandWindow& w, const TStringArray& f) { w.FileUploadClient(f); }},
    {u"OnReceiveMessage", OnReceiveMessage},
    {u"Refresh", [](IChatCommandWindow& w, const TStringArray&) { w.RefreshChat(); }},
    {u"RedirectToBrowserAndClose", [](IChatCommandWindow& w, const TStringArray&) { w.AbrirUrlNoBrowser(true); }},
}};

}  // namespace

void DispatchChatCommand(IChatCommandWindow& window, std::u16string_view Tipo) {
    try {
        const TStringArray fields = TnTarvenixUtils::StrToStrArray(Tipo, u'|');
        if (fields.empty()) return;
        for (const Command& command : kCommands)
            if (fields[0] == command.name) command.handle(window, fields);
    } catch (const std::exception& failure) {
        window.Dialogs().ShowMessage(MessageOf(failure));
    }
}
