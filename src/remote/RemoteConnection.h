#pragma once
// The remote-assistance connectors' common part: the abstract connector, the
// factory by type key, the search for a tool's folder and the runner of the
// tools' command lines.

#include "platform/Dialogs.h"
#include "startup/nTarvenixClasses_U.h"

#include <chrono>
#include <functional>
#include <memory>
#include <string>

// Reports a short message to the attendant.
using TNotificacao = std::shared_ptr<std::function<void(const std::u16string&)>>;

class TnTarvenixRemoteConnection {
public:
    virtual ~TnTarvenixRemoteConnection() = default;

    const TNotificacao& DoNotificacao() const { return FDoNotificacao; }
    void SetDoNotificacao(TNotificacao value) { FDoNotificacao = std::move(value); }
    // The dialogs the connector shows (its prompts and messages): those in
    // force unless the creator gives others, such as a command's.
    platform::IDialogs& Dialogs() const;
    void SetDialogs(platform::IDialogs* dialogs) { dialogs_ = dialogs; }

    // The tool's folder, or empty when it is neither found nor chosen.
    virtual std::u16string PegarPastaAplicativo();
    virtual TStringArray PegarPathsPossiveis() = 0;
    virtual std::u16string PegarNomeArqCache() = 0;
    virtual std::u16string PegarNome() = 0;
    virtual std::u16string PegarExeObrigatorio() = 0;
    virtual void Conectar(const std::u16string& _AParameters) = 0;
    virtual void Desconectar(const std::u16string& _AParameters) = 0;

protected:
    // Sends `text` to the attendant when a callback is set.
    void ReportToAttendant(const std::u16string& text);

private:
    TNotificacao FDoNotificacao;
    platform::IDialogs* dialogs_ = nullptr;
};

namespace TnTarvenixUtils {

// How long one tool command line may run before it is ended.
inline constexpr std::chrono::milliseconds kCommandLineLimit{std::chrono::seconds(60)};

// "tight", "real" or "anydesk", compared exactly; null for anything else.
std::unique_ptr<TnTarvenixRemoteConnection> CriarObjVNC(const std::u16string& _ATipo);
// The connector shows its dialogs with `dialogs`, or with those in force.
void ConectarVNC(const std::u16string& _ATipo, const std::u16string& _AParameters,
                 platform::IDialogs* dialogs = nullptr);
void DesconectarVNC(const std::u16string& _ATipo, const std::u16string& _AParameters,
                    platform::IDialogs* dialogs = nullptr);
void ConectarRemoto(const std::u16string& _ATipo, const std::u16string& _AStringConexao,
                    TNotificacao _ADoNotificacao);

// The first candidate folder holding the executable (a cached folder is tried
// last); otherwise the user is asked, with `dialogs` or those in force, to
// pick the executable. The cache is read from `_APathArqCacheInstalado` while
// `_APathArqCache`, where a choice is written, does not exist.
std::u16string PegarPathPasta(const TStringArray& _APathsPossiveis, const std::u16string& _APathArqCache,
                              const std::u16string& _ANome, const std::u16string& _AExeObrigatorio,
                              const std::u16string& _APathArqCacheInstalado = {},
                              platform::IDialogs* dialogs = nullptr);

// Runs a line through the command interpreter in `Work` and returns its
// standard output and error; a line still running after the bound is ended.
std::u16string GetDosOutput(const std::u16string& CommandLine, const std::u16string& Work);

}  // namespace TnTarvenixUtils
