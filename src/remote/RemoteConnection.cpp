#include "remote/RemoteConnection.h"

#include "platform/Platform.h"
#include "remote/AnyDeskConnector.h"
#include "remote/ToolLocations.h"
#include "remote/VncConnectors.h"
#include "support/LocalFiles.h"

namespace {

// Everything up to and including the last folder delimiter.
std::u16string PathPart(std::u16string_view path) {
    const auto last = path.find_last_of(platform::kPathDelimiters);
    return last == std::u16string_view::npos ? std::u16string() : std::u16string(path.substr(0, last + 1));
}

bool HoldsExecutable(const std::u16string& folder, const std::u16string& executable) {
    auto& files = *platform::Current().files;
    return files.DirectoryExists(folder) && files.FileExists(folder + platform::kPathSeparator + executable);
}

}  // namespace

std::u16string TnTarvenixRemoteConnection::PegarPastaAplicativo() {
    const std::u16string nome = PegarNome();
    const std::u16string exe = PegarExeObrigatorio();
    // Kept in the folder the program writes in; one an administrator put
    // beside the program is read while the user has none of their own.
    const std::u16string cache = TnTarvenixUtils::WritableFolder() + PegarNomeArqCache();
    const std::u16string installed = TnTarvenixUtils::ProgramFolder() + PegarNomeArqCache();
    return TnTarvenixUtils::PegarPathPasta(PegarPathsPossiveis(), cache, nome, exe, installed, &Dialogs());
}

platform::IDialogs& TnTarvenixRemoteConnection::Dialogs() const {
    return dialogs_ ? *dialogs_ : *platform::Current().dialogs;
}

void TnTarvenixRemoteConnection::ReportToAttendant(const std::u16string& text) {
    if (FDoNotificacao && *FDoNotificacao) (*FDoNotificacao)(text);
}

namespace TnTarvenixUtils {

std::unique_ptr<TnTarvenixRemoteConnection> CriarObjVNC(const std::u16string& _ATipo) {
    if (_ATipo == u"tight") return std::make_unique<TnTarvenixVNCTightVNC>();
    if (_ATipo == u"real") return std::make_unique<TnTarvenixVNCRealVNC>();
    if (_ATipo == u"anydesk") return std::make_unique<TnTarvenixAnyDesk>();
    return nullptr;
}

void ConectarVNC(const std::u16string& _ATipo, const std::u16string& _AParameters, platform::IDialogs* dialogs) {
    auto connection = CriarObjVNC(_ATipo);
    if (!connection) return;
    connection->SetDialogs(dialogs);
    connection->Conectar(_AParameters);
}

void DesconectarVNC(const std::u16string& _ATipo, const std::u16string& _AParameters, platform::IDialogs* dialogs) {
    auto connection = CriarObjVNC(_ATipo);
    if (!connection) return;
    connection->SetDialogs(dialogs);
    connection->Desconectar(_AParameters);
}

void ConectarRemoto(const std::u16string& _ATipo, const std::u16string& _AStringConexao,
                    TNotificacao _ADoNotificacao) {
    auto connection = CriarObjVNC(_ATipo);
    if (!connection) return;
    connection->SetDoNotificacao(std::move(_ADoNotificacao));
    connection->Conectar(_AStringConexao);
}

std::u16string PegarPathPasta(const TStringArray& _APathsPossiveis, const std::u16string& _APathArqCache,
                              const std::u16string& _ANome, const std::u16string& _AExeObrigatorio,
                              const std::u16string& _APathArqCacheInstalado, platform::IDialogs* dialogs) {
    auto& services = platform::Current();
    platform::IDialogs& shown = dialogs ? *dialogs : *services.dialogs;
    TStringArray candidates = _APathsPossiveis;
    const std::u16string& cacheRead = services.files->FileExists(_APathArqCache) || _APathArqCacheInstalado.empty()
                                          ? _APathArqCache
                                          : _APathArqCacheInstalado;
    if (services.files->FileExists(cacheRead)) candidates.push_back(PathPart(PegarConteudoArquivo(cacheRead)));

    for (const auto& candidate : candidates)
        if (HoldsExecutable(candidate, _AExeObrigatorio)) return candidate;

    shown.MessageDlg(u"Será necessário informar a localização do aplicativo \"" + _ANome + u"\" em seu computador.",
                     platform::DialogKind::Warning, {platform::DialogButton::OK}, {}, std::nullopt);
    const auto prompt = remote_tools::ExecutablePromptValues();
    const std::u16string chosen = shown.PromptOpenFile(u"Selecione o executável do software \"" + _ANome + u"\"",
                                                       prompt.filter, prompt.defaultExtension, prompt.listing);
    if (chosen.empty()) return {};
    const std::u16string folder = PathPart(chosen);
    if (!services.files->FileExists(folder + platform::kPathSeparator + _AExeObrigatorio)) return {};
    GravarArquivo(folder, _APathArqCache, false);
    return folder;
}

std::u16string GetDosOutput(const std::u16string& CommandLine, const std::u16string& Work) {
    return platform::Current().processes->GetDosOutput(CommandLine, Work, kCommandLineLimit);
}

}  // namespace TnTarvenixUtils
