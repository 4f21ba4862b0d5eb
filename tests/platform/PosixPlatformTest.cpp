#include "platform/Platform.h"
#include "platform/posix/PosixCodePage.h"
#include "platform/posix/PosixFileSystem.h"
#include "platform/posix/PosixLocale.h"
#include "platform/posix/PosixProcessEnvironment.h"
#include "platform/posix/PosixShell.h"
#include "startup/nTarvenixClasses_U.h"
#include "support/Failure.h"
#include "support/TextUtils.h"
#include "support/WaitUntil.h"

#include <gtest/gtest.h>

#include <fcntl.h>
#include <unistd.h>

#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <map>
#include <sstream>
#include <string>
#include <thread>
#include <vector>

namespace {

namespace fs = std::filesystem;

TEST(PosixCodePage, Windows1252BothWaysWithEveryByteSurviving) {
    platform::PosixCodePage cp;
    EXPECT_EQ(cp.ToAnsi(u"João ç €"), "Jo\xE3o \xE7 \x80");
    EXPECT_EQ(cp.FromAnsi("\x80\x9F\xFF"), u"€Ÿÿ");
    std::string all;
    for (int b = 0; b < 256; ++b) all += static_cast<char>(b);
    EXPECT_EQ(cp.ToAnsi(cp.FromAnsi(all)), all);
    EXPECT_EQ(cp.FromAnsi("\x81\x8D\x8F\x90\x9D"), u"\u0081\u008D\u008F\u0090\u009D");
}

TEST(PosixCodePage, MissingCharactersBecomeACloseLetterOrAQuestionMark) {
    platform::PosixCodePage cp;
    EXPECT_EQ(cp.ToAnsi(u"\u4E2D"), "?");
    EXPECT_EQ(cp.ToAnsi(u"\U0001F600"), "?");
    EXPECT_EQ(cp.ToAnsi(u"\u0101").size(), 1u);  // a with macron: one byte, transliterated
}

std::vector<std::string> InstalledLocales() {
    std::vector<std::string> names;
    FILE* list = ::popen("locale -a", "r");
    if (!list) return names;
    char line[256];
    while (std::fgets(line, sizeof line, list)) {
        std::string name(line);
        while (!name.empty() && (name.back() == '\n' || name.back() == '\r')) name.pop_back();
        if (!name.empty()) names.push_back(name);
    }
    ::pclose(list);
    return names;
}

// The token's date is read back by the service as three numbers.
TEST(PosixLocale, EveryInstalledLocaleGivesTheRightDayMonthAndYear) {
    const auto names = InstalledLocales();
    ASSERT_GT(names.size(), 400u) << "Debian's locales-all is expected";
    const platform::LocalDateTime dates[] = {{2023, 6, 5}, {1999, 12, 31}, {2024, 2, 29}, {2030, 10, 1}};
    for (const auto& name : names) {
        platform::PosixLocale locale(name);
        platform::ScopedServices use({.locale = &locale});
        for (const auto& date : dates) {
            const std::string text = ToUtf8(TnTarvenixUtils::FormatarData(date));
            int numbers[3] = {};
            char end = 0;
            ASSERT_EQ(std::sscanf(text.c_str(), "%d/%d/%d%c", &numbers[0], &numbers[1], &numbers[2], &end), 3)
                << name << ": " << text;
            const auto order = locale.WriteShortDate(date).order;
            for (int i = 0; i < 3; ++i) {
                const int expected = order[i] == platform::DatePart::Day     ? date.day
                                     : order[i] == platform::DatePart::Month ? date.month
                                                                             : date.year;
                EXPECT_EQ(numbers[i], expected) << name << ": " << text;
            }
        }
    }
    const std::map<std::string, std::u16string> exact{
        {"pt_BR.utf8", u"05/06/2023"}, {"pt_BR", u"05/06/2023"},   {"en_US.utf8", u"06/05/2023"},
        {"nb_NO.utf8", u"05/06/2023"}, {"ja_JP.utf8", u"2023/06/05"}, {"th_TH.utf8", u"05/06/2023"},
        {"fa_IR", u"2023/06/0005"},    {"C", u"06/05/2023"}};
    for (const auto& [name, text] : exact) {
        platform::PosixLocale locale(name);
        platform::ScopedServices use({.locale = &locale});
        EXPECT_EQ(TnTarvenixUtils::FormatarData({2023, 6, 5}), text) << name;
    }
}

// xdg-open takes anything starting with "-" for an option of its own.
TEST(PosixShell, AnAddressThatLooksLikeAnOptionNeverReachesXdgOpen) {
    const fs::path bin = fs::temp_directory_path() / ("tarvenix-shell-" + std::to_string(::getpid()));
    fs::create_directories(bin);
    const fs::path record = bin / "opened.txt";
    std::ofstream(bin / "xdg-open") << "#!/bin/sh\nprintf '%s\\n' \"$*\" >> '" << record.string() << "'\n";
    fs::permissions(bin / "xdg-open", fs::perms::owner_all);
    const std::string path = std::getenv("PATH");
    ::setenv("PATH", (bin.string() + ":" + path).c_str(), 1);
    platform::PosixShell shell;
    shell.OpenUrl(u"--manual");
    shell.OpenUrl(u"http://helpdesk.example/");
    ::setenv("PATH", path.c_str(), 1);
    const auto read = [&] {
        std::ifstream in(record);
        std::stringstream text;
        text << in.rdbuf();
        return text.str();
    };
    testing_support::WaitUntil([&] { return !read().empty(); }, 2000);
    std::this_thread::sleep_for(std::chrono::milliseconds(200));
    EXPECT_EQ(read(), "http://helpdesk.example/\n");
    fs::remove_all(bin);
}

class PosixFiles : public ::testing::Test {
protected:
    void SetUp() override {
        root = fs::temp_directory_path() / ("tarvenix-files-" + std::to_string(::getpid()));
        fs::create_directories(root);
    }
    void TearDown() override { fs::remove_all(root); }
    std::u16string Path(const std::string& name) { return FromUtf8((root / name).string()); }
    fs::path root;
    platform::PosixFileSystem files;
};

TEST_F(PosixFiles, FilesAndDirectoriesAreToldApart) {
    files.WriteFile(Path("a.txt"), "abc");
    EXPECT_TRUE(files.FileExists(Path("a.txt")));
    EXPECT_FALSE(files.DirectoryExists(Path("a.txt")));
    EXPECT_TRUE(files.CreateDirectory(Path("ção")));
    EXPECT_FALSE(files.CreateDirectory(Path("ção")));
    EXPECT_TRUE(files.DirectoryExists(Path("ção")));
    EXPECT_FALSE(files.FileExists(Path("ção")));
    EXPECT_EQ(files.ReadFile(Path("a.txt")), "abc");
    EXPECT_FALSE(files.CreateDirectory(Path("missing/deeper")));
}

TEST_F(PosixFiles, FailuresSayInPortugueseWhatFailedAndWhy) {
    try {
        files.ReadFile(Path("missing.txt"));
        FAIL();
    } catch (const Failure& f) {
        EXPECT_EQ(ToUtf8(f.Message()),
                  "Não foi possível abrir o arquivo \"" + (root / "missing.txt").string() + "\". Arquivo ou diretório inexistente");
    }
    try {
        files.WriteFile(FromUtf8(root.string()), "x");
        FAIL();
    } catch (const Failure& f) {
        EXPECT_EQ(ToUtf8(f.Message()), "Não foi possível criar o arquivo \"" + root.string() + "\". É um diretório");
    }
}

TEST_F(PosixFiles, SizeOfSparseFilesAboveFourGigabytes) {
    const std::string name = (root / "sparse.bin").string();
    const int fd = ::open(name.c_str(), O_CREAT | O_WRONLY, 0600);
    ASSERT_GE(fd, 0);
    ASSERT_EQ(::ftruncate(fd, 4294967296LL + 5), 0);
    ::close(fd);
    EXPECT_EQ(files.GetFileSize(Path("sparse.bin")), 4294967296LL + 5);
    EXPECT_EQ(files.GetFileSize(Path("none.bin")), -1);
}

TEST_F(PosixFiles, DeleteFolderRemovesTheTreeAndIgnoresMissingOnes) {
    fs::create_directories(root / "tree" / "sub");
    files.WriteFile(Path("tree/sub/x.jpg"), "x");
    files.DeleteFolder(Path("tree"), 0);
    EXPECT_FALSE(fs::exists(root / "tree"));
    EXPECT_NO_THROW(files.DeleteFolder(Path("tree"), 0));
}

TEST(PosixProcessEnvironment, ArgumentZeroIsTheExecutablesFullPath) {
    char a0[] = "whatever", a1[] = "-Url", a2[] = "h";
    char* argv[] = {a0, a1, a2};
    platform::SetStartupArguments(3, argv);
    platform::PosixProcessEnvironment env;
    const auto args = env.Arguments();
    ASSERT_EQ(args.size(), 3u);
    EXPECT_EQ(args[0], FromUtf8(fs::read_symlink("/proc/self/exe").string()));
    EXPECT_EQ(args[1], u"-Url");
    EXPECT_FALSE(env.OperatingSystemName().empty());
}

}  // namespace
