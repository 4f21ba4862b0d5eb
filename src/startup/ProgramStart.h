#pragma once
// The start-up of the program without its GUI: the operating-system gate,
// the default-browser fallback, the order of the steps and the report of a
// failure that escapes the handler choice.

#include <exception>
#include <string>

bool EhSistemaOperacionalSuportado();
bool ValidarSistemaOperacional();
void AbrirAtendimentoNoBrowser();

// What the GUI provides to the start-up sequence.
class IProgramSteps {
public:
    virtual ~IProgramSteps() = default;
    // Configures and starts the engine with its files in `engineFolder` and
    // its cache, cookies and user data under `dataFolder`; false when it
    // cannot run (it has told the user why).
    virtual bool StartEngine(const std::u16string& engineFolder, const std::u16string& dataFolder) = 0;
    // TnRequestHandler::Iniciar with the program's windows.
    virtual void RunRequest() = 0;
};

// The program folder + "engine_chrome" + separator.
std::u16string EngineFolderFor(const std::u16string& programFolder);

// The whole start-up; answers the process exit code.
int RunProgram(IProgramSteps& steps, const std::u16string& moduleName);

// The text of the "Application Error" box: the failure's kind and the
// module, then the failure's message.
std::u16string ApplicationErrorText(const std::exception& failure, const std::u16string& moduleName);
