// The Qt dialogs on a real display, driven with xdotool as a user drives
// them, in Brazilian Portuguese as the program installs it.

#include "fakes/TempFolder.h"
#include "platform/Platform.h"
#include "remote/RemoteConnection.h"
#include "support/Desktop.h"
#include "support/Prerequisites.h"
#include "windows/PortugueseTexts.h"
#include "windows/QtDialogs.h"

#include <QAbstractItemView>
#include <QApplication>
#include <QFileDialog>
#include <QLabel>
#include <QPushButton>
#include <QTimer>

#include <gtest/gtest.h>
#include <unistd.h>

#include <atomic>
#include <chrono>
#include <thread>

namespace {

using testing_support::PressReturn;
using testing_support::RunAndRead;
using testing_support::WaitForWindow;

// What the open-file dialog showed: its labels and buttons, and the files
// it listed in its folder.
struct Seen {
    QStringList texts;
    QStringList files;
    std::atomic<bool> done{false};
};

// Reads the open-file dialog from inside the program once it is up and has
// listed its folder.
void WatchFileDialog(Seen& seen) {
    auto* poll = new QTimer(qApp);
    QObject::connect(poll, &QTimer::timeout, [poll, &seen] {
        auto* dialog = qobject_cast<QFileDialog*>(QApplication::activeModalWidget());
        if (!dialog) return;
        auto* list = dialog->findChild<QAbstractItemView*>(QStringLiteral("listView"));
        if (!list || !list->model() || list->model()->rowCount(list->rootIndex()) == 0) return;
        for (auto* label : dialog->findChildren<QLabel*>()) seen.texts << label->text();
        for (auto* button : dialog->findChildren<QPushButton*>()) seen.texts << button->text();
        for (int row = 0; row < list->model()->rowCount(list->rootIndex()); ++row)
            seen.files << list->model()->index(row, 0, list->rootIndex()).data().toString();
        seen.done = true;
        poll->stop();
        poll->deleteLater();
    });
    poll->start(50);
}

// Picking a tool that no folder holds: the user answers the warning, sees
// only the programs of the folder, types the bare name and confirms.
TEST(DialogsOnDisplay, AToolIsPickedAmongTheProgramsAndTakenAsTyped) {
    fakes::TempFolder temp("pick");
    temp.Script("anydesk", "exit 0");
    temp.Write("notas.txt", "não é um programa");
    const std::string cache = temp.Path("pathanydesk.txt");
    ASSERT_EQ(::chdir(temp.Path().c_str()), 0);  // the dialog opens on the current folder

    QtDialogs dialogs;
    platform::ScopedServices use({.dialogs = &dialogs});
    Seen seen;
    WatchFileDialog(seen);
    std::thread user([&seen] {
        PressReturn(WaitForWindow(::getpid(), "^Aviso$"));
        const std::string picker = WaitForWindow(::getpid(), "^Selecione o execut");
        testing_support::WaitUntil([&seen] { return seen.done.load(); }, 5000, {}, 50);
        RunAndRead("xdotool windowactivate --sync " + picker + " 2>/dev/null; sleep 0.3; xdotool type --delay 5 anydesk;"
                   " sleep 0.3; xdotool key Return 2>/dev/null");
        // A Return may first go to the name completer's list.
        for (int i = 0; i < 3 && !WaitForWindow(::getpid(), "^Selecione o execut", 1000).empty(); ++i)
            RunAndRead("xdotool key Return 2>/dev/null");
    });
    const std::u16string folder =
        TnTarvenixUtils::PegarPathPasta({}, FromUtf8(cache), u"AnyDesk", u"anydesk");
    user.join();

    EXPECT_EQ(folder, FromUtf8(temp.Folder()));
    EXPECT_EQ(fakes::TempFolder::Read(cache), temp.Folder() + "\r\n");
    EXPECT_EQ(seen.files, QStringList{"anydesk"});
    for (const char* text : {"Procurar em:", "&Nome do arquivo:", "Arquivos do tipo:", "&Abrir", "Cancelar"})
        EXPECT_TRUE(seen.texts.contains(QString::fromUtf8(text))) << text << " in " << seen.texts.join('|').toStdString();
}

}  // namespace

int main(int argc, char** argv) {
    ::testing::InitGoogleTest(&argc, argv);
    const std::string missing = testing_support::MissingPrerequisite({"xdotool"});
    if (!missing.empty()) {
        std::printf("Skipped: %s.\n", missing.c_str());
        return testing_support::kSkipped;
    }
    qputenv("QT_QPA_PLATFORM", "xcb");
    portuguese::UseBrazilianLocale();
    QApplication app(argc, argv);
    QApplication::setQuitOnLastWindowClosed(false);
    if (!portuguese::InstallTranslations(portuguese::TranslationsFolder())) {
        std::printf("Qt's translations are missing beside the test.\n");
        return 1;
    }
    return RUN_ALL_TESTS();
}
