#include "remote/AnyDeskConnector.h"

#include "platform/Platform.h"
#include "remote/ToolLocations.h"
#include "support/Failure.h"
#include "support/LocalFiles.h"
#include "support/TextUtils.h"

namespace {

constexpr std::u16string_view kWindowTitle = u"AnyDesk";
constexpr int kWindowPolls = 10;
constexpr int kPollMilliseconds = 100;
constexpr int kIdFileSettleMilliseconds = 500;

bool AnyDeskRunning() {
    return platform::Current().windows->FindTopLevelWindow(std::u16string(kWindowTitle)).has_value();
}

}  // namespace

TStringArray TnTarvenixAnyDesk::PegarPathsPossiveis() {
    TStringArray folders = remote_tools::AnyDeskFolders();
    folders.push_back(TnTarvenixUtils::ProgramFolder());
    return folders;
}

std::u16string TnTarvenixAnyDesk::PegarNomeArqCache() { return u"pathanydesk.txt"; }
std::u16string TnTarvenixAnyDesk::PegarNome() { return u"AnyDesk"; }
std::u16string TnTarvenixAnyDesk::PegarExeObrigatorio() { return remote_tools::AnyDeskExecutable(); }

// The id file's path is quoted so that a program folder with blanks still
// receives the answer.
std::u16string AnyDeskIdQuery(const std::u16string& executable, const std::u16string& idFile) {
    return executable + u" " + u" --get-id " + u" > " + remote_tools::QuoteForCommandInterpreter(idFile);
}

void TnTarvenixAnyDesk::Conectar(const std::u16string&) {
    auto& services = platform::Current();
    const std::u16string folder = PegarPastaAplicativo();
    if (folder.empty()) return;
    std::u16string log;
    const std::u16string idFile = TnTarvenixUtils::PegarCriarPastaTemp() + u"a.txt";
    const std::u16string executable = folder + PegarExeObrigatorio();

    if (!AnyDeskRunning()) {
        services.shell->StartMinimized(executable);
        log += u"abrindo: " + executable + u"\r\n";
        for (int polls = 0; polls < kWindowPolls && !AnyDeskRunning(); ++polls)
            services.clock->Sleep(kPollMilliseconds);
    }
    if (!AnyDeskRunning()) throw Failure(u"Não foi possível iniciar o Any Desk.");

    const std::u16string query = AnyDeskIdQuery(PegarExeObrigatorio(), idFile);
    log += query + u"\r\n";
    const std::u16string output = TnTarvenixUtils::GetDosOutput(query, folder);
    services.clock->Sleep(kIdFileSettleMilliseconds);

    std::u16string id;
    if (services.files->FileExists(idFile)) id = Trim(TnTarvenixUtils::PegarConteudoArquivo(idFile));
    if (!Trim(id).empty()) {
        log += output + u"\r\n";
        log += u"Endereço anydesk cliente: " + id;
        ReportToAttendant(u"Cliente solicitou conexão remota via AnyDesk. Endereço: " + id);
    } else {
        log += u"ERRO - NAO PODE OBTER ENDERECO\r\n";
    }
    try {
        TnTarvenixUtils::GravarArquivo(log, TnTarvenixUtils::WritableFolder() + u"loganydesk.txt", false);
    } catch (const std::exception&) {
        // The log is a convenience; the attendant has the id already.
    }
}

void TnTarvenixAnyDesk::Desconectar(const std::u16string&) {}
