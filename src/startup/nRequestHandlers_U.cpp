#include "startup/nRequestHandlers_U.h"

#include "platform/Platform.h"
#include "startup/nTarvenixClasses_U.h"
#include "support/Failure.h"
#include "support/LocalFiles.h"
#include "support/TextUtils.h"

namespace {

constexpr const char16_t* kChatTitle = u"TarveNix - Atendimento";
constexpr std::u16string_view kDraveltMarker = u"&isDravelt=true";

// Every failure inside Exec ends in a plain message box; Exec then returns.
template <typename Body>
void WithFailureGuard(Body&& body) {
    try {
        body();
    } catch (const std::exception& failure) {
        platform::Current().dialogs->ShowMessage(MessageOf(failure));
    }
}

}  // namespace

void TnRequestHandler::Iniciar(IRequestWindowFactory& windows) {
    const auto handler = CriarHandler(windows);
    if (TnParserParameters::GetValue(u"abrir_browser", u"") == u"true")
        TnTarvenixUtils::AbrirUrlNoBrowser(handler->GetUrlParaAbrirBrowser());
    else
        handler->Exec();
}

std::unique_ptr<TnRequestHandler> TnRequestHandler::CriarHandler(IRequestWindowFactory& windows) {
    const std::u16string kind = TnParserParameters::GetValue(u"servico_tipo", u"");
    if (kind == u"novo") {
        return std::make_unique<TnRequestHandlerBrowser>(
            windows, TnTarvenixUtils::ValidarMontarUrlTarvenixServico(u"novo"), u"Solicitação de Serviços", 420,
            510, true);
    }
    if (kind == u"listar") {
        return std::make_unique<TnRequestHandlerBrowser>(
            windows, TnTarvenixUtils::ValidarMontarUrlTarvenixServico(u"listar"), u"Consultar Serviços", 420,
            510, true);
    }
    return std::make_unique<TnChatRequestHandler>(windows);
}

const char16_t* TnChatRequestHandler::GetNomeWindow() { return kChatTitle; }

std::u16string TnChatRequestHandler::GetUrlParaAbrirBrowser() { return TnTarvenixUtils::MontarUrlChat(false); }

bool TnChatRequestHandler::ValidarParametros() {
    if (TnParserParameters::TemValores(u"token")) return true;
    if (TnParserParameters::TemValores(u"Url;IDAplicativo;Name;Email;OrganizationCodeReference")) return true;
    if (AsciiLower(TnParserParameters::GetValue(u"MODO_DEBUG", u"")) == u"true")
        throw Failure(u"Verifique parâmetros obrigatórios: Url;IDAplicativo;Name;Email;OrganizationCodeReference");
    platform::Current().dialogs->ShowMessage(u"Operação inválida");
    return false;
}

void TnChatRequestHandler::Exec() {
    WithFailureGuard([&] {
        if (TnTarvenixUtils::AchouProcessoJaExistente(kChatTitle)) return;
        windows_.InitializeApplication();
        auto window = windows_.CreateChatWindow();
        window->Iniciar();
        if (!ValidarParametros()) {
            window->Close();
            return;
        }
        windows_.EnableTooltips();
        window->SetTitle(GetNomeWindow());
        window->SetOuterSize(415, 450);
        window->Abrir();
        TnTarvenixUtils::MoveFormToTopOfRightmostMonitor(*window);
        windows_.RunMessageLoop();
    });
}

TnRequestHandlerBrowser::TnRequestHandlerBrowser(IRequestWindowFactory& windows, std::u16string _AUrl,
                                                 const char16_t* _ANomeWindow, int _AWidth, int _AHeight,
                                                 bool _AIncluirFlagEhDraveltBrowser)
    : TnRequestHandler(windows),
      FUrl(std::move(_AUrl)),
      FWidth(_AWidth),
      FHeight(_AHeight),
      FNomeWindow(_ANomeWindow),
      FIncluirFlagEhDraveltBrowser(_AIncluirFlagEhDraveltBrowser) {}

std::u16string TnRequestHandlerBrowser::GetUrlParaAbrirBrowser() { return FUrl; }

void TnRequestHandlerBrowser::Exec() {
    WithFailureGuard([&] {
        if (TnTarvenixUtils::AchouProcessoJaExistente(FNomeWindow)) return;
        windows_.InitializeApplication();
        auto window = windows_.CreateServiceWindow();
        if (TnTarvenixUtils::EhNavegadorInternetExplorerVersaoInferior()) {
            if (TnTarvenixUtils::PromptIEVersaoInferior() == platform::ResultYes)
                TnTarvenixUtils::AbrirUrlNoBrowser(FUrl);
            window->Close();
            windows_.RunMessageLoop();
            return;
        }
        windows_.EnableTooltips();
        window->SetTitle(FNomeWindow);
        window->SetOuterSize(FWidth, FHeight);
        window->Abrir(FIncluirFlagEhDraveltBrowser ? FUrl + std::u16string(kDraveltMarker) : FUrl);
        TnTarvenixUtils::MoveFormToTopOfRightmostMonitor(*window);
        windows_.RunMessageLoop();
    });
}

namespace TnTarvenixUtils {

bool AchouProcessoJaExistente(const char16_t* _ANomeWindow) {
    if (_ANomeWindow == nullptr || *_ANomeWindow == u'\0') return false;
    auto& windows = *platform::Current().windows;
    const auto found = windows.FindTopLevelWindow(_ANomeWindow);
    if (!found) return false;
    windows.RestoreWindow(*found);
    windows.SetForegroundWindow(*found);
    return true;
}

void MoveFormToTopOfRightmostMonitor(IMovableForm& Form) {
    const auto monitors = Form.Monitors();
    if (monitors.empty()) return;  // no monitor reported: leave the window where it is
    const auto& first = monitors.front();
    Form.SetLeft(first.width - Form.Width());
    Form.SetTop(first.height - Form.Height() - 50);
}

void AbrirUrlNoBrowser(const std::u16string& _AUrl) {
    // The log is a diagnostic; a log that cannot be written must not keep the
    // user from the browser.
    try {
        LogarAcoesTarvenix(u"AbrirUrlNoBrowser " + _AUrl);
    } catch (const std::exception&) {
    }
    platform::Current().shell->OpenUrl(_AUrl);
}

}  // namespace TnTarvenixUtils
