#include "fakes/FakePlatform.h"
#include "platform/WritableFolder.h"
#include "support/LocalFiles.h"

#include <gtest/gtest.h>

namespace {

using namespace TnTarvenixUtils;

const std::u16string sep(1, platform::kPathSeparator);
const std::u16string kProgramFolder = sep + u"app" + sep;

class LocalFiles : public ::testing::Test {
protected:
    fakes::FakePlatform os;
    std::string& File(const std::u16string& path) { return os.files.files[path]; }
};

TEST_F(LocalFiles, ProgramFolderEndsWithTheSeparator) {
    EXPECT_EQ(ProgramFolder(), kProgramFolder);
    os.process.arguments = {u"PTarveNixApp"};
    EXPECT_EQ(ProgramFolder(), u"");
    os.process.arguments.clear();
    EXPECT_EQ(ProgramFolder(), u"");
}

TEST_F(LocalFiles, WritesGoToTheUsersFolderWithTheSameLayoutWhenTheProgramFolderIsClosed) {
    const std::u16string user = sep + u"home" + sep + u"ana" + sep + u".local" + sep + u"share" + sep + u"tarvenix" + sep;
    os.files.directories = {sep + u"home", sep + u"home" + sep + u"ana"};
    EXPECT_EQ(platform::ChooseWritableFolder(os.files, kProgramFolder, user), kProgramFolder);
    EXPECT_TRUE(os.files.created.empty());

    os.files.unwritable.insert(kProgramFolder);
    EXPECT_EQ(platform::ChooseWritableFolder(os.files, kProgramFolder, user), user);
    EXPECT_EQ(os.files.created, (std::vector<std::u16string>{sep + u"home" + sep + u"ana" + sep + u".local",
                                                             sep + u"home" + sep + u"ana" + sep + u".local" + sep + u"share",
                                                             user.substr(0, user.size() - 1)}));
    EXPECT_EQ(platform::ChooseWritableFolder(os.files, kProgramFolder, u""), kProgramFolder) << "no folder of the user's";

    os.process.writableFolder = user;
    EXPECT_EQ(PegarCriarDiretorio(u"temp" + sep + u"Tarvenix_screenshots" + sep),
              user + sep + u"temp" + sep + u"Tarvenix_screenshots" + sep);
    EXPECT_EQ(PegarCriarPastaTemp(), user + u"temp" + sep);
    // The switch file is read beside the program.
    File(kProgramFolder + u"logar_Tarvenix") = "";
    os.files.directories.insert(u"temp");
    LogarAcoesTarvenix(u"x");
    EXPECT_TRUE(os.files.FileExists(u"temp" + sep + u"TarvenixLog.txt"));
}

TEST_F(LocalFiles, NewTextIsSplitIntoLinesEachEndedWithCrLfInAnsi) {
    GravarArquivo(u"um\r\ndois\rtrês\nquatro", u"f.txt", false);
    EXPECT_EQ(File(u"f.txt"), "um\r\ndois\r\ntr\xEAs\r\nquatro\r\n");
    GravarArquivo(u"final\n", u"f.txt", false);
    EXPECT_EQ(File(u"f.txt"), "final\r\n");
    GravarArquivo(u"", u"f.txt", false);
    EXPECT_EQ(File(u"f.txt"), "");
    GravarArquivo(u"\n\n", u"f.txt", false);
    EXPECT_EQ(File(u"f.txt"), "\r\n\r\n");
}

TEST_F(LocalFiles, AppendOnAMissingFileIsAPlainWrite) {
    GravarArquivo(u"a\nb", u"new.txt", true);
    EXPECT_EQ(File(u"new.txt"), "a\r\nb\r\n");
}

TEST_F(LocalFiles, AppendRewritesEarlierLinesAndAddsTheEntryUnsplit) {
    File(u"log.txt") = "one\ntwo\r";
    GravarArquivo(u"x\ny", u"log.txt", true);
    EXPECT_EQ(File(u"log.txt"), "one\r\ntwo\r\nx\ny\r\n");
}

TEST_F(LocalFiles, AppendKeepsTheByteOrderMarkAndItsEncoding) {
    File(u"u8.txt") = "\xEF\xBB\xBF" "ç\r\n";
    GravarArquivo(u"ã", u"u8.txt", true);
    EXPECT_EQ(File(u"u8.txt"), "\xEF\xBB\xBF" "ç\r\nã\r\n");

    File(u"le.txt") = std::string("\xFF\xFE" "a\0", 4);
    GravarArquivo(u"\u20AC", u"le.txt", true);
    EXPECT_EQ(File(u"le.txt"), std::string("\xFF\xFE" "a\0\r\0\n\0\xAC\x20\r\0\n\0", 14));

    File(u"be.txt") = std::string("\xFE\xFF\0a", 4);
    GravarArquivo(u"b", u"be.txt", true);
    EXPECT_EQ(File(u"be.txt"), std::string("\xFE\xFF\0a\0\r\0\n\0b\0\r\0\n", 14));
}

TEST_F(LocalFiles, ReadingGivesEveryLineWithCrLf) {
    File(u"one.txt") = "only";
    EXPECT_EQ(PegarConteudoArquivo(u"one.txt"), u"only\r\n");
    File(u"mixed.txt") = "a\rb\nc\r\n\xE9";
    EXPECT_EQ(PegarConteudoArquivo(u"mixed.txt"), u"a\r\nb\r\nc\r\né\r\n");
    File(u"empty.txt") = "";
    EXPECT_EQ(PegarConteudoArquivo(u"empty.txt"), u"");
    File(u"bom.txt") = "\xEF\xBB\xBF";
    EXPECT_EQ(PegarConteudoArquivo(u"bom.txt"), u"");
}

TEST_F(LocalFiles, UnreadableOrUnwritableFilesFailWithTheSystemsText) {
    EXPECT_THROW(PegarConteudoArquivo(u"missing.txt"), Failure);
    os.files.unwritable.insert(u"ro.txt");
    try {
        GravarArquivo(u"x", u"ro.txt", false);
        FAIL();
    } catch (const Failure& f) {
        EXPECT_NE(f.Message().find(u"ro.txt"), std::u16string::npos);
    }
}

TEST_F(LocalFiles, ActionLogOnlyWithTheSwitchFile) {
    LogarAcoesTarvenix(u"nada");
    EXPECT_TRUE(os.files.files.empty());

    os.files.directories.insert(kProgramFolder + u"logar_Tarvenix");  // a folder does not count
    LogarAcoesTarvenix(u"nada");
    EXPECT_TRUE(os.files.files.empty());

    File(kProgramFolder + u"logar_Tarvenix") = "";
    os.clock.now = {2023, 1, 2, 3, 4, 5, 0};
    os.locale.dateSeparator = u'-';
    os.locale.timeSeparator = u'.';
    LogarAcoesTarvenix(u"primeira");
    os.clock.now.second = 6;
    LogarAcoesTarvenix(u"segunda");
    EXPECT_EQ(File(u"temp" + sep + u"TarvenixLog.txt"),
              "02-01-2023 03.04.05 - primeira\r\n02-01-2023 03.04.06 - segunda\r\n");
    EXPECT_TRUE(os.files.created.empty());
}

TEST_F(LocalFiles, FoldersBelowTheProgramFolderSkipBlankComponents) {
    const std::u16string path = PegarCriarDiretorio(u"temp" + sep + u" " + sep + sep + u"Tarvenix_screenshots" + sep);
    EXPECT_EQ(path, kProgramFolder + sep + u"temp" + sep + u"Tarvenix_screenshots" + sep);
    EXPECT_EQ(os.files.created, (std::vector<std::u16string>{kProgramFolder + sep + u"temp",
                                                             kProgramFolder + sep + u"temp" + sep +
                                                                 u"Tarvenix_screenshots"}));
    os.files.created.clear();
    EXPECT_EQ(PegarCriarDiretorio(u"temp"), kProgramFolder + sep + u"temp" + sep);
    EXPECT_TRUE(os.files.created.empty());
    EXPECT_EQ(PegarCriarDiretorio(u""), kProgramFolder + sep);
}

TEST_F(LocalFiles, TempFolderIsCreatedOnce) {
    EXPECT_EQ(PegarDirTemp(), u"temp");
    EXPECT_EQ(PegarCriarPastaTemp(), kProgramFolder + u"temp" + sep);
    EXPECT_EQ(PegarCriarPastaTemp(), kProgramFolder + u"temp" + sep);
    EXPECT_EQ(os.files.created.size(), 1u);
}

TEST_F(LocalFiles, MessageDialogPassesEverythingThrough) {
    os.dialogs.answers = {platform::ResultYes};
    using platform::DialogButton;
    EXPECT_EQ(MyMessageDlg(u"texto", platform::DialogKind::Error, {DialogButton::No, DialogButton::Yes},
                           {u"Sim", u"Não", u"extra"}, u"Dravelt Tarvenix"),
              platform::ResultYes);
    ASSERT_EQ(os.dialogs.shown.size(), 1u);
    EXPECT_EQ(os.dialogs.shown[0].buttons, (std::vector{DialogButton::Yes, DialogButton::No}));
    EXPECT_EQ(os.dialogs.shown[0].title, u"Dravelt Tarvenix");
}

}  // namespace
