#pragma once
// The choice between the chat, a service page and the default browser, and
// the single-window check, placement and default-browser hand-over.

#include "startup/RequestWindows.h"

#include <memory>
#include <string>
#include <string_view>

class TnRequestHandler {
public:
    virtual ~TnRequestHandler() = default;
    virtual void Exec() = 0;
    virtual std::u16string GetUrlParaAbrirBrowser() = 0;

    // Runs the whole request; returns when the window has closed or nothing
    // was opened. Failures of the handler choice are not caught here.
    static void Iniciar(IRequestWindowFactory& windows);
    static std::unique_ptr<TnRequestHandler> CriarHandler(IRequestWindowFactory& windows);

protected:
    explicit TnRequestHandler(IRequestWindowFactory& windows) : windows_(windows) {}
    IRequestWindowFactory& windows_;
};

class TnChatRequestHandler : public TnRequestHandler {
public:
    explicit TnChatRequestHandler(IRequestWindowFactory& windows) : TnRequestHandler(windows) {}
    void Exec() override;
    std::u16string GetUrlParaAbrirBrowser() override;
    static const char16_t* GetNomeWindow();
    bool ValidarParametros();
};

class TnRequestHandlerBrowser : public TnRequestHandler {
public:
    TnRequestHandlerBrowser(IRequestWindowFactory& windows, std::u16string _AUrl, const char16_t* _ANomeWindow,
                            int _AWidth, int _AHeight, bool _AIncluirFlagEhDraveltBrowser);
    void Exec() override;
    std::u16string GetUrlParaAbrirBrowser() override;

private:
    std::u16string FUrl;
    int FWidth;
    int FHeight;
    const char16_t* FNomeWindow;
    bool FIncluirFlagEhDraveltBrowser;
};

namespace TnTarvenixUtils {

bool AchouProcessoJaExistente(const char16_t* _ANomeWindow);
void MoveFormToTopOfRightmostMonitor(IMovableForm& Form);
void AbrirUrlNoBrowser(const std::u16string& _AUrl);

}  // namespace TnTarvenixUtils
