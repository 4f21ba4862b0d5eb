#include "remote/RemoteAttendant.h"

#include "remote/AttendantAddress.h"
#include "remote/VncConnectors.h"
#include "support/ScriptText.h"

TNotificacao CriarNotificacaoAtendente(RunPageScript runScript) {
    return std::make_shared<std::function<void(const std::u16string&)>>(
        [runScript = std::move(runScript)](const std::u16string& text) {
            runScript(u"notifyEvent(\"Solicitação de conexão remota enviada ao atendente\", false);");
            // Tool output must reach the attendant as text, never as script.
            runScript(u"sendInteractionToAttendant(\"" + EscapeForScriptString(text) + u"\")");
        });
}

void ConectarAtendenteVNC(const TStringArray& fields, RunPageScript runScript, platform::IDialogs* dialogs) {
    if (fields.size() < 2) return;
    const std::u16string parameters = u"ip=" + fields[1];
    if (fields.size() == 2) {
        if (AcceptAttendantAddress(fields[1], dialogs)) TnTarvenixUtils::ConectarVNC(u"real", parameters, dialogs);
        return;
    }
    auto connection = TnTarvenixUtils::CriarObjVNC(fields[2]);
    if (!connection) return;
    // The VNC tools put the address into their command lines; AnyDesk has no
    // use for it.
    if (dynamic_cast<TnTarvenixVNC*>(connection.get()) && !AcceptAttendantAddress(fields[1], dialogs)) return;
    connection->SetDoNotificacao(CriarNotificacaoAtendente(std::move(runScript)));
    connection->SetDialogs(dialogs);
    connection->Conectar(parameters);
}

void CloseVNCConnection(platform::IDialogs* dialogs) { TnTarvenixUtils::DesconectarVNC(u"real", u"", dialogs); }
