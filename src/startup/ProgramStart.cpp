#include "startup/ProgramStart.h"

#include "platform/Platform.h"
#include "startup/nRequestHandlers_U.h"
#include "startup/nTarvenixClasses_U.h"
#include "support/Failure.h"
#include "support/LocalFiles.h"
#include "support/TextUtils.h"

#include <cxxabi.h>

#include <cstdlib>
#include <memory>
#include <typeinfo>

namespace {

std::u16string KindOf(const std::exception& failure) {
    const char* mangled = typeid(failure).name();
    int status = 0;
    std::unique_ptr<char, void (*)(void*)> demangled(abi::__cxa_demangle(mangled, nullptr, nullptr, &status),
                                                      std::free);
    return FromUtf8(status == 0 && demangled ? demangled.get() : mangled);
}

}  // namespace

bool EhSistemaOperacionalSuportado() {
    const std::u16string name = AsciiLower(platform::Current().process->OperatingSystemName());
    if (name.find(u"xp") != std::u16string::npos) return false;
    if (name.find(u"vista") != std::u16string::npos) return false;
    return true;
}

bool ValidarSistemaOperacional() {
    if (EhSistemaOperacionalSuportado()) return true;
    const int answer = platform::Current().dialogs->MessageDlg(
        u"Este aplicativo não pode ser executado pois necessita do Windows 7 ou superior.\r\n"
        u"Deseja abrir o atendimento diretamente em seu navegador padrão?",
        platform::DialogKind::Warning, {platform::DialogButton::Yes, platform::DialogButton::No}, {}, std::nullopt);
    if (answer == platform::ResultYes) AbrirAtendimentoNoBrowser();
    return false;
}

void AbrirAtendimentoNoBrowser() {
    if (!TnParserParameters::GetValue(u"servico_tipo", u"").empty())
        TnTarvenixUtils::AbrirUrlNoBrowser(TnTarvenixUtils::AjustarUrlHttp(TnParserParameters::GetValue(u"Url", u"")));
    else
        TnTarvenixUtils::AbrirUrlNoBrowser(TnTarvenixUtils::MontarUrlChat(true));
}

std::u16string EngineFolderFor(const std::u16string& programFolder) {
    return programFolder + u"engine_chrome" + platform::kPathSeparator;
}

std::u16string ApplicationErrorText(const std::exception& failure, const std::u16string& moduleName) {
    // No code address is known for a C++ failure, so the report gives the
    // kind and the module only.
    return u"Exception " + KindOf(failure) + u" in module " + moduleName + u".\r\n" + MessageOf(failure);
}

int RunProgram(IProgramSteps& steps, const std::u16string& moduleName) {
    if (!ValidarSistemaOperacional()) return 0;
    if (!steps.StartEngine(EngineFolderFor(TnTarvenixUtils::ProgramFolder()),
                           EngineFolderFor(TnTarvenixUtils::WritableFolder())))
        return 0;
    try {
        steps.RunRequest();
    } catch (const std::exception& failure) {
        platform::Current().dialogs->MessageDlg(ApplicationErrorText(failure, moduleName), platform::DialogKind::Error,
                                                {platform::DialogButton::OK}, {}, u"Application Error");
        return 1;
    } catch (...) {
        platform::Current().dialogs->MessageDlg(u"Exception of unknown kind in module " + moduleName + u".",
                                                platform::DialogKind::Error, {platform::DialogButton::OK}, {},
                                                u"Application Error");
        return 1;
    }
    return 0;
}
