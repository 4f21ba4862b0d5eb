#include "platform/win32/Win32CodePage.h"
#include "platform/win32/Win32FileSystem.h"
#include "platform/WritableFolder.h"
#include "platform/win32/Win32Locale.h"
#include "platform/win32/Win32ProcessEnvironment.h"
#include "support/Failure.h"
#include "support/LocalFiles.h"
#include "support/TextUtils.h"

#include <windows.h>
#include <shellapi.h>
#include <winioctl.h>

#include <gtest/gtest.h>

#include "ChildProcess.h"

#undef CreateDirectory

namespace {

std::u16string U(const std::wstring& text) { return std::u16string(text.begin(), text.end()); }

// A fresh folder under the system's temp folder, removed afterwards.
class ScratchFolder {
public:
    explicit ScratchFolder(const std::wstring& name) {
        wchar_t temp[MAX_PATH];
        ::GetTempPathW(MAX_PATH, temp);
        path_ = std::wstring(temp) + name + std::to_wstring(::GetCurrentProcessId());
        ::CreateDirectoryW(path_.c_str(), nullptr);
    }
    ~ScratchFolder() {
        std::wstring from = path_ + L'\0';
        SHFILEOPSTRUCTW op{};
        op.wFunc = FO_DELETE;
        op.pFrom = from.c_str();
        op.fFlags = FOF_SILENT | FOF_NOCONFIRMATION | FOF_NOERRORUI;
        ::SHFileOperationW(&op);
    }
    const std::wstring& Path() const { return path_; }

private:
    std::wstring path_;
};

bool Exists(const std::wstring& path) { return ::GetFileAttributesW(path.c_str()) != INVALID_FILE_ATTRIBUTES; }

void MakeFile(const std::wstring& path, const char* text, DWORD attributes = FILE_ATTRIBUTE_NORMAL) {
    HANDLE file = ::CreateFileW(path.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, attributes, nullptr);
    ASSERT_NE(file, INVALID_HANDLE_VALUE);
    DWORD written = 0;
    ::WriteFile(file, text, static_cast<DWORD>(strlen(text)), &written, nullptr);
    ::CloseHandle(file);
}

TEST(Win32Files, DeleteFolderRemovesAWholeTreeWithoutAsking) {
    ScratchFolder scratch(L"tarvenix delete ");
    const std::wstring root = scratch.Path() + L"\\shots";
    ::CreateDirectoryW(root.c_str(), nullptr);
    ::CreateDirectoryW((root + L"\\inner").c_str(), nullptr);
    ::CreateDirectoryW((root + L"\\inner\\deeper").c_str(), nullptr);
    MakeFile(root + L"\\a.jpg", "jpeg");
    MakeFile(root + L"\\inner\\b.txt", "text");
    // A read-only file would make an asking deletion stop and ask.
    MakeFile(root + L"\\inner\\deeper\\c.txt", "kept?", FILE_ATTRIBUTE_READONLY);

    platform::Win32FileSystem files;
    files.DeleteFolder(U(root), 0);
    EXPECT_FALSE(Exists(root));
    EXPECT_TRUE(Exists(scratch.Path()));
}

TEST(Win32Files, DeleteFolderTakesTheFolderTextTheCallersBuild) {
    // The screenshot folder reaches the deletion as the program's folder, a
    // doubled separator and a trailing one.
    ScratchFolder scratch(L"tarvenix caller ");
    const std::wstring shots = scratch.Path() + L"\\\\temp\\Tarvenix_screenshots\\";
    ::CreateDirectoryW((scratch.Path() + L"\\temp").c_str(), nullptr);
    ::CreateDirectoryW(shots.c_str(), nullptr);
    MakeFile(shots + L"x.jpg", "jpeg");
    platform::Win32FileSystem().DeleteFolder(U(shots), 0);
    EXPECT_FALSE(Exists(scratch.Path() + L"\\temp\\Tarvenix_screenshots"));
    EXPECT_TRUE(Exists(scratch.Path() + L"\\temp"));
}

TEST(Win32Files, DeleteFolderOfAMissingFolderReportsNothing) {
    ScratchFolder scratch(L"tarvenix missing ");
    // An error box would block here until the test's time limit.
    platform::Win32FileSystem().DeleteFolder(U(scratch.Path() + L"\\never there"), 0);
    EXPECT_TRUE(Exists(scratch.Path()));
}

TEST(Win32Files, FileSizeReadsBothHalvesOfLargeSparseFiles) {
    ScratchFolder scratch(L"tarvenix size ");
    const std::wstring big = scratch.Path() + L"\\big.bin";
    HANDLE file = ::CreateFileW(big.c_str(), GENERIC_READ | GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS,
                                FILE_ATTRIBUTE_NORMAL, nullptr);
    ASSERT_NE(file, INVALID_HANDLE_VALUE);
    DWORD ignored = 0;
    // Sparse where the file system can; the end is only moved, nothing is written.
    ::DeviceIoControl(file, FSCTL_SET_SPARSE, nullptr, 0, nullptr, 0, &ignored, nullptr);
    const LONGLONG size = (5LL << 30) + 123;  // above 4 GiB, low half not zero
    LARGE_INTEGER end{};
    end.QuadPart = size;
    ASSERT_TRUE(::SetFilePointerEx(file, end, nullptr, FILE_BEGIN));
    ASSERT_TRUE(::SetEndOfFile(file));
    ::CloseHandle(file);

    platform::Win32FileSystem files;
    EXPECT_EQ(files.GetFileSize(U(big)), size);
    const std::wstring small = scratch.Path() + L"\\small.txt";
    MakeFile(small, "12345");
    EXPECT_EQ(files.GetFileSize(U(small)), 5);
    EXPECT_EQ(files.GetFileSize(U(scratch.Path() + L"\\absent.txt")), -1);
}

TEST(Win32Files, WholeFilesKeepEveryByteAndFailuresNameThePath) {
    ScratchFolder scratch(L"tarvenix io ");
    platform::Win32FileSystem files;
    const std::u16string path = U(scratch.Path()) + u"\\ação.txt";
    const std::string bytes("a\0b\r\n\xff", 6);
    files.WriteFile(path, bytes);
    EXPECT_TRUE(files.FileExists(path));
    EXPECT_FALSE(files.DirectoryExists(path));
    EXPECT_EQ(files.ReadFile(path), bytes);
    files.WriteFile(path, "");
    EXPECT_EQ(files.ReadFile(path), "");

    const std::u16string missing = U(scratch.Path()) + u"\\no\\such.txt";
    try {
        files.ReadFile(missing);
        FAIL() << "reading a missing file succeeded";
    } catch (const Failure& failure) {
        EXPECT_EQ(failure.Message().rfind(u"Não foi possível abrir o arquivo \"" + missing + u"\". ", 0), 0u)
            << ToUtf8(failure.Message());
    }
    try {
        files.WriteFile(missing, "x");
        FAIL() << "writing into a missing folder succeeded";
    } catch (const Failure& failure) {
        // The system's reason in Portuguese too: its own text, or ours.
        const std::string message = ToUtf8(failure.Message());
        EXPECT_EQ(message.rfind("Não foi possível criar o arquivo \"" + ToUtf8(missing) + "\". ", 0), 0u) << message;
        EXPECT_EQ(message.find("The system"), std::string::npos) << message;
    }

    const std::u16string folder = U(scratch.Path()) + u"\\made";
    EXPECT_TRUE(files.CreateDirectory(folder));
    EXPECT_FALSE(files.CreateDirectory(folder));
    EXPECT_TRUE(files.DirectoryExists(folder));
    EXPECT_FALSE(files.FileExists(folder));
}

// The program's own folder while the user can write there; otherwise
// %LOCALAPPDATA%\Tarvenix\, made when missing.
TEST(Win32Files, TheWritableFolderIsTheProgramsOrTheUsersLocalAppData) {
    platform::Win32FileSystem files;
    platform::Win32ProcessEnvironment process;
    wchar_t local[MAX_PATH] = {};
    ASSERT_GT(::GetEnvironmentVariableW(L"LOCALAPPDATA", local, MAX_PATH), 0u);
    const std::u16string user = process.UserDataFolder();
    EXPECT_EQ(user, U(local) + u"\\Tarvenix\\");

    ScratchFolder scratch(L"tarvenix writable ");
    const std::u16string program = U(scratch.Path()) + u"\\";
    EXPECT_TRUE(files.CanCreateFileIn(program));
    EXPECT_EQ(platform::ChooseWritableFolder(files, program, user), program);
    WIN32_FIND_DATAW found{};
    const HANDLE search = ::FindFirstFileW((scratch.Path() + L"\\*.tmp").c_str(), &found);
    EXPECT_EQ(search, INVALID_HANDLE_VALUE) << "the probe stayed behind";
    if (search != INVALID_HANDLE_VALUE) ::FindClose(search);

    const std::u16string closed = U(scratch.Path()) + u"\\missing\\";
    EXPECT_FALSE(files.CanCreateFileIn(closed));
    ::RemoveDirectoryW(reinterpret_cast<const wchar_t*>(user.c_str()));
    EXPECT_EQ(platform::ChooseWritableFolder(files, closed, user), user);
    EXPECT_TRUE(files.DirectoryExists(user));
    EXPECT_EQ(platform::FolderOf(u"C:\\Program Files\\Tarvenix\\PTarveNixApp.exe"), u"C:\\Program Files\\Tarvenix\\");
}

TEST(Win32Files, AnsiCodePageConvertsBothWays) {
    platform::Win32CodePage ansi;
    ASSERT_EQ(::GetACP(), 1252u) << "the expectations below are Windows-1252's";
    EXPECT_EQ(ansi.ToAnsi(u"ação €"), "a\xe7\xe3o \x80");
    EXPECT_EQ(ansi.FromAnsi("a\xe7\xe3o \x80"), u"ação €");
    EXPECT_EQ(ansi.ToAnsi(u"日"), "?");
    EXPECT_EQ(ansi.FromAnsi(std::string("a\0b", 3)), std::u16string(u"a\0b", 3));
    EXPECT_EQ(ansi.ToAnsi(u""), "");
}

// Each picture is set as the user's own in the registry, where the regional
// settings keep it; a fresh process reads it.
TEST(Win32Files, TokenDateFollowsTheUsersShortDatePicture) {
    const wchar_t* key = L"\"HKCU\\Control Panel\\International\"";
    const auto saved = win32test::RunTool(std::wstring(L"reg.exe query ") + key + L" /v sShortDate");
    const struct {
        const wchar_t* picture;
        const char* written;
        const char* token;
    } cases[] = {
        {L"dd/MM/yyyy", "05/06/2023", "05/06/2023"},
        {L"d.M.yyyy", "5.6.2023", "05/06/2023"},
        {L"dd-MMM-yyyy", "05-Jun-2023", "05/06/2023"},
        {L"yyyy/MM/dd", "2023/06/05", "2023/06/0005"},
        {L"d/M/yy", "5/6/2023", "05/06/2023"},
    };
    for (const auto& c : cases) {
        ASSERT_EQ(win32test::RunTool(std::wstring(L"reg.exe add ") + key + L" /v sShortDate /t REG_SZ /d " +
                                     c.picture + L" /f")
                      .exitCode,
                  0u);
        const auto probe = win32test::RunChild(win32test::ProbePath(), L"probe shortdate");
        EXPECT_EQ(probe.output, std::string(c.written) + "\n" + c.token);
    }
    // Put the prefix's own picture back.
    const auto at = saved.output.find("REG_SZ");
    std::string previous = at == std::string::npos ? "" : saved.output.substr(at + 6);
    previous.erase(0, previous.find_first_not_of(" \t"));
    previous.erase(previous.find_last_not_of(" \t\r\n") + 1);
    if (!previous.empty())
        win32test::RunTool(std::wstring(L"reg.exe add ") + key + L" /v sShortDate /t REG_SZ /d " +
                           std::wstring(previous.begin(), previous.end()) + L" /f");
}

}  // namespace
