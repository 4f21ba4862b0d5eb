// The program entry: the operating-system gate, the engine start and the one
// request of this process.

#include "browser/ClosedPages.h"
#include "browser/Downloads.h"
#include "browser/EngineStart.h"
#include "browser/TChromiumWindow.h"
#include "platform/Platform.h"
#include "platform/ProcessEnd.h"
#include "startup/ProgramStart.h"
#include "startup/nRequestHandlers_U.h"
#include "support/LocalFiles.h"
#include "windows/PortugueseTexts.h"
#include "windows/QtDialogs.h"
#include "windows/QtRequestWindowFactory.h"

#include <QApplication>
#include <QString>

#include <chrono>

namespace {

// The page's last requests get this long to leave once the window has closed.
constexpr std::chrono::milliseconds kClosedPageGrace{2000};

class QtProgramSteps : public IProgramSteps {
public:
    bool StartEngine(const std::u16string& engineFolder, const std::u16string& dataFolder) override {
        return engine::StartEngine(QString::fromStdU16String(engineFolder), QString::fromStdU16String(dataFolder));
    }
    void RunRequest() override {
        // Once the window has closed the request is over: the process ends
        // there, without tearing the engine down.
        QtRequestWindowFactory windows(TChromiumWindow::Factory(), [] {
            engine::AbandonDownloads();
            engine::LetClosedPagesFinish(kClosedPageGrace);
            platform::EndProcess(0);
        });
        TnRequestHandler::Iniciar(windows);
    }
};

}  // namespace

int main(int argc, char** argv) {
    platform::SetStartupArguments(argc, argv);
    platform::UseUtf8CharacterType();
    // Where the program writes is settled before anything is written.
    TnTarvenixUtils::WritableFolder();
    portuguese::UseBrazilianLocale();

    // The engine reads its settings from the environment when the
    // application object is created; they are only set once the system is
    // known to run it.
    if (EhSistemaOperacionalSuportado()) engine::PrepareEngineEnvironment(engine::EngineFolder());

    // The command line belongs to the launching program: Qt gets none of it,
    // so a parameter such as -name or -style is never taken as Qt's.
    int qtArgc = 1;
    char* qtArgv[] = {argv[0], nullptr};
    QApplication application(qtArgc, qtArgv);
    application.setApplicationName(QStringLiteral("PTarveNixApp"));
    portuguese::InstallTranslations(portuguese::TranslationsFolder());

    static QtDialogs dialogs;
    platform::Services gui;
    gui.dialogs = &dialogs;
    platform::Install(gui);

    QtProgramSteps steps;
    platform::EndProcess(RunProgram(steps, u"PTarveNixApp"));
}
