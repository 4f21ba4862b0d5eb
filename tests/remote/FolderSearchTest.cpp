#include "RemoteFixture.h"
#include "remote/RemoteConnection.h"

namespace {

using namespace remote_test;
using TnTarvenixUtils::PegarPathPasta;

class FolderSearch : public Remote {
protected:
    const std::u16string cache = Folder(u"app") + u"pathtool.txt";
    const TStringArray candidates{Folder(u"a"), Folder(u"b"), Folder(u"c")};
    std::u16string Search() { return PegarPathPasta(candidates, cache, u"Tool", u"tool.exe"); }
};

TEST_F(FolderSearch, FirstCandidateHoldingTheExecutableWinsAndIsNeverCached) {
    os.files.directories.insert(Folder(u"a"));  // exists, but lacks the executable
    Install(Folder(u"b"), u"tool.exe");
    Install(Folder(u"c"), u"tool.exe");
    EXPECT_EQ(Search(), Folder(u"b"));
    EXPECT_FALSE(os.files.FileExists(cache));
    EXPECT_TRUE(os.dialogs.shown.empty());
    EXPECT_TRUE(os.dialogs.prompts.empty());
}

TEST_F(FolderSearch, ExecutableWithoutItsDirectoryDoesNotCount) {
    os.files.files[Folder(u"a") + kSep + u"tool.exe"] = "";
    EXPECT_EQ(Search(), u"");
}

TEST_F(FolderSearch, CachedFolderIsTriedLastAndLeftAsItWas) {
    Install(Folder(u"cached"), u"tool.exe");
    os.files.files[cache] = ToUtf8(Folder(u"cached")) + "\r\n";
    EXPECT_EQ(Search(), Folder(u"cached"));

    Install(Folder(u"c"), u"tool.exe");
    EXPECT_EQ(Search(), Folder(u"c"));
    EXPECT_EQ(FileBytes(cache), ToUtf8(Folder(u"cached")) + "\r\n");
    EXPECT_TRUE(os.dialogs.prompts.empty());
}

TEST_F(FolderSearch, CacheLineWithoutTrailingSeparatorGivesItsParent) {
    Install(Folder(u"tools"), u"tool.exe");
    os.files.files[cache] = ToUtf8(kSep + u"tools" + kSep + u"vnc");
    EXPECT_EQ(Search(), Folder(u"tools"));
}

TEST_F(FolderSearch, StaleCacheLeadsToThePromptAndOnlyAGoodChoiceIsCached) {
    os.files.directories.insert(Folder(u"gone"));
    os.files.files[cache] = ToUtf8(Folder(u"gone")) + "\r\n";
    Install(Folder(u"new"), u"tool.exe");
    os.files.directories.insert(Folder(u"empty"));
    os.dialogs.files = {Folder(u"empty") + u"other.exe", Folder(u"new") + u"tool.exe"};

    EXPECT_EQ(Search(), u"");  // the folder lacks the executable
    EXPECT_EQ(FileBytes(cache), ToUtf8(Folder(u"gone")) + "\r\n");

    EXPECT_EQ(Search(), Folder(u"new"));
    EXPECT_EQ(FileBytes(cache), ToUtf8(Folder(u"new")) + "\r\n");

    ASSERT_EQ(os.dialogs.shown.size(), 2u);
    const auto& warning = os.dialogs.shown[0];
    EXPECT_EQ(warning.text, u"Será necessário informar a localização do aplicativo \"Tool\" em seu computador.");
    EXPECT_EQ(warning.kind, platform::DialogKind::Warning);
    EXPECT_EQ(warning.buttons, std::vector{platform::DialogButton::OK});
    ASSERT_EQ(os.dialogs.prompts.size(), 2u);
    EXPECT_EQ(os.dialogs.prompts[0], u"Selecione o executável do software \"Tool\"");
    if (platform::kPathSeparator == u'\\') {
        EXPECT_EQ(os.dialogs.lastFilter, u".exe");
        EXPECT_EQ(os.dialogs.lastDefaultExtension, u"exe");
    } else {
        EXPECT_EQ(os.dialogs.lastListing, platform::FileListing::Executables);
        EXPECT_EQ(os.dialogs.lastDefaultExtension, u"");
    }
}

TEST_F(FolderSearch, CancelledPromptGivesNothingAndWritesNothing) {
    EXPECT_EQ(Search(), u"");
    EXPECT_EQ(os.dialogs.prompts.size(), 1u);
    EXPECT_FALSE(os.files.FileExists(cache));
}

TEST_F(FolderSearch, UnwritableCacheFailsTheRequest) {
    Install(Folder(u"new"), u"tool.exe");
    os.dialogs.files = {Folder(u"new") + u"tool.exe"};
    os.files.unwritable.insert(cache);
    EXPECT_THROW(Search(), Failure);
}

TEST_F(FolderSearch, FactoryTakesOnlyTheExactKeys) {
    EXPECT_NE(TnTarvenixUtils::CriarObjVNC(u"tight"), nullptr);
    EXPECT_NE(TnTarvenixUtils::CriarObjVNC(u"real"), nullptr);
    EXPECT_NE(TnTarvenixUtils::CriarObjVNC(u"anydesk"), nullptr);
    for (auto key : {u"Real", u"REAL", u" real", u"AnyDesk", u"", u"vnc"})
        EXPECT_EQ(TnTarvenixUtils::CriarObjVNC(key), nullptr) << ToUtf8(key);
}

TEST_F(FolderSearch, ToolLookupUsesTheToolsCacheFileInTheProgramFolder) {
    const std::u16string exe = remote_tools::TightVncExecutable();
    Install(Folder(u"mine"), exe);
    os.files.files[ProgramFolder() + u"pathtightvnc.txt"] = ToUtf8(Folder(u"mine")) + "\r\n";
    EXPECT_EQ(TnTarvenixUtils::CriarObjVNC(u"tight")->PegarPastaAplicativo(), Folder(u"mine"));
}

TEST_F(FolderSearch, AChoiceIsKeptInTheUsersFolderAndTheAdministratorsFileIsReadUntilThen) {
    const std::u16string exe = remote_tools::TightVncExecutable();
    const std::u16string user = Folder(u"user");
    os.process.writableFolder = user;
    Install(Folder(u"admin"), exe);
    os.files.files[ProgramFolder() + u"pathtightvnc.txt"] = ToUtf8(Folder(u"admin")) + "\r\n";
    EXPECT_EQ(TnTarvenixUtils::CriarObjVNC(u"tight")->PegarPastaAplicativo(), Folder(u"admin"));

    // The user's own choice wins from then on, and stays in the user's folder.
    os.files.directories.erase(Folder(u"admin"));
    Install(Folder(u"mine"), exe);
    os.dialogs.files = {Folder(u"mine") + exe};
    EXPECT_EQ(TnTarvenixUtils::CriarObjVNC(u"tight")->PegarPastaAplicativo(), Folder(u"mine"));
    EXPECT_EQ(FileBytes(user + u"pathtightvnc.txt"), ToUtf8(Folder(u"mine")) + "\r\n");
    EXPECT_EQ(FileBytes(ProgramFolder() + u"pathtightvnc.txt"), ToUtf8(Folder(u"admin")) + "\r\n");
    EXPECT_EQ(TnTarvenixUtils::CriarObjVNC(u"tight")->PegarPastaAplicativo(), Folder(u"mine"));
    EXPECT_EQ(os.dialogs.prompts.size(), 1u);
}

}  // namespace
