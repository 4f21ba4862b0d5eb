#include "remote/VncConnectors.h"

#include "platform/Platform.h"
#include "remote/AttendantAddress.h"
#include "remote/ToolLocations.h"
#include "support/Failure.h"
#include "support/LocalFiles.h"
#include "support/TextUtils.h"

namespace {

// Every value a line's placeholder may take must be an address: they go
// into a line that the command interpreter runs. An empty value is harmless.
bool AcceptParameterValues(const std::u16string& parameters, platform::IDialogs& dialogs) {
    for (const auto& item : TnTarvenixUtils::StrToStrArray(parameters, u';')) {
        const auto parts = TnTarvenixUtils::StrToStrArray(item, u'=');
        if (parts.size() == 2 && !parts[1].empty() && !AcceptAttendantAddress(parts[1], &dialogs)) return false;
    }
    return true;
}

}  // namespace

void TnTarvenixVNC::Conectar(const std::u16string& _AParameters) {
    if (!AcceptParameterValues(_AParameters, Dialogs())) return;
    FParameters = _AParameters;
    ExecutarComandos(PegarComandosConectar());
}

void TnTarvenixVNC::Desconectar(const std::u16string& _AParameters) {
    if (!AcceptParameterValues(_AParameters, Dialogs())) return;
    FParameters = _AParameters;
    ExecutarComandos(PegarComandosDesconectar());
}

void TnTarvenixVNC::ExecutarComandos(const TStringArray& list) {
    FPathPastaVNC = PegarPastaAplicativo();
    if (FPathPastaVNC.empty()) return;
    TStringArray expanded;
    expanded.reserve(list.size());
    for (const auto& line : list) expanded.push_back(AplicarParametros(line));
    for (const auto& line : expanded) TnTarvenixUtils::GetDosOutput(line, FPathPastaVNC);
}

std::u16string TnTarvenixVNC::AplicarParametros(const std::u16string& line) const {
    std::u16string result = line;
    for (const auto& item : TnTarvenixUtils::StrToStrArray(FParameters, u';')) {
        const auto parts = TnTarvenixUtils::StrToStrArray(item, u'=');
        if (parts.size() != 2) continue;
        result = ReplaceFirst(result, u"{" + parts[0] + u"}", parts[1]);
    }
    return result;
}

TStringArray TnTarvenixVNCTightVNC::PegarPathsPossiveis() { return remote_tools::TightVncFolders(); }
std::u16string TnTarvenixVNCTightVNC::PegarNomeArqCache() { return u"pathtightvnc.txt"; }
std::u16string TnTarvenixVNCTightVNC::PegarNome() { return u"Tight VNC"; }
std::u16string TnTarvenixVNCTightVNC::PegarExeObrigatorio() { return remote_tools::TightVncExecutable(); }
TStringArray TnTarvenixVNCTightVNC::PegarComandosConectar() { return remote_tools::TightVncConnectLines(); }
TStringArray TnTarvenixVNCTightVNC::PegarComandosDesconectar() { return remote_tools::TightVncDisconnectLines(); }

std::u16string RealVncAddress(const std::u16string& parameters) {
    std::u16string address = TnTarvenixUtils::GetValorParametro(u"ip", parameters);
    if (const auto colon = address.find(u':'); colon != std::u16string::npos) address.insert(colon, 1, u':');
    return address;
}

TStringArray TnTarvenixVNCRealVNC::PegarPathsPossiveis() { return remote_tools::RealVncFolders(); }
std::u16string TnTarvenixVNCRealVNC::PegarNomeArqCache() { return u"pathvnc.txt"; }
std::u16string TnTarvenixVNCRealVNC::PegarNome() { return u"Real VNC"; }
std::u16string TnTarvenixVNCRealVNC::PegarExeObrigatorio() { return remote_tools::RealVncExecutable(); }

TStringArray TnTarvenixVNCRealVNC::PegarComandosConectar() {
    return {remote_tools::RealVncListedConnectLine(RealVncAddress(FParameters))};
}

TStringArray TnTarvenixVNCRealVNC::PegarComandosDesconectar() { return {remote_tools::RealVncDisconnectLine()}; }

void TnTarvenixVNCRealVNC::Conectar(const std::u16string& _AParameters) {
    const std::u16string address = TnTarvenixUtils::GetValorParametro(u"ip", _AParameters);
    if (!address.empty() && !AcceptAttendantAddress(address, &Dialogs())) return;
    const std::u16string folder = PegarPastaAplicativo();
    if (folder.empty()) return;
    const std::u16string commandLine = remote_tools::RealVncIConnectLine(RealVncAddress(_AParameters));
    std::u16string log = u"\r\n" + commandLine;
    log += u"\r\n" + TnTarvenixUtils::GetDosOutput(commandLine, folder);
    ReportToAttendant(u"Cliente tentando conectar via VNC...");
    try {
        TnTarvenixUtils::GravarArquivo(log, TnTarvenixUtils::WritableFolder() + u"logvnc.txt", false);
    } catch (const std::exception& failure) {
        Dialogs().ShowMessage(MessageOf(failure));
    }
}
