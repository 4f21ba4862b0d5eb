#include "platform/win32/Win32FileSystem.h"

#include "platform/FileFailure.h"
#include "platform/win32/Win32Text.h"
#include "support/TextUtils.h"

#include <shellapi.h>

#include <algorithm>

// The interface's name, not the system's character-width macro.
#undef CreateDirectory

namespace platform {

namespace {

Failure SystemFileFailure(FileStep step, const std::u16string& path, DWORD error) {
    return platform::FileFailure(step, path, SystemErrorText(error));
}

}  // namespace

bool Win32FileSystem::FileExists(const std::u16string& path) {
    const DWORD attributes = ::GetFileAttributesW(Wide(path));
    return attributes != INVALID_FILE_ATTRIBUTES && !(attributes & FILE_ATTRIBUTE_DIRECTORY);
}

bool Win32FileSystem::DirectoryExists(const std::u16string& path) {
    const DWORD attributes = ::GetFileAttributesW(Wide(path));
    return attributes != INVALID_FILE_ATTRIBUTES && (attributes & FILE_ATTRIBUTE_DIRECTORY);
}

bool Win32FileSystem::CreateDirectory(const std::u16string& path) {
    return ::CreateDirectoryW(Wide(path), nullptr) != FALSE;
}

bool Win32FileSystem::CanCreateFileIn(const std::u16string& folder) {
    std::u16string probe = folder;
    if (!probe.empty() && probe.back() != u'\\' && probe.back() != u'/') probe += u'\\';
    probe += u".tarvenix-" + IntToText(::GetCurrentProcessId()) + u"-" + IntToText(::GetTickCount64()) + u".tmp";
    // Gone again as soon as it is closed.
    UniqueHandle file(::CreateFileW(Wide(probe), GENERIC_WRITE, 0, nullptr, CREATE_NEW,
                                    FILE_ATTRIBUTE_TEMPORARY | FILE_ATTRIBUTE_HIDDEN | FILE_FLAG_DELETE_ON_CLOSE,
                                    nullptr));
    return static_cast<bool>(file);
}

std::string Win32FileSystem::ReadFile(const std::u16string& path) {
    UniqueHandle file(::CreateFileW(Wide(path), GENERIC_READ, FILE_SHARE_READ | FILE_SHARE_WRITE, nullptr,
                                    OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr));
    if (!file) throw SystemFileFailure(FileStep::Open, path, ::GetLastError());
    std::string bytes;
    LARGE_INTEGER size{};
    if (::GetFileSizeEx(file.Get(), &size) && size.QuadPart > 0)
        bytes.reserve(static_cast<size_t>(size.QuadPart));
    char buffer[65536];
    while (true) {
        DWORD got = 0;
        if (!::ReadFile(file.Get(), buffer, sizeof buffer, &got, nullptr))
            throw SystemFileFailure(FileStep::Read, path, ::GetLastError());
        if (got == 0) break;
        bytes.append(buffer, got);
    }
    return bytes;
}

void Win32FileSystem::WriteFile(const std::u16string& path, std::string_view bytes) {
    UniqueHandle file(::CreateFileW(Wide(path), GENERIC_WRITE, FILE_SHARE_READ, nullptr, CREATE_ALWAYS,
                                    FILE_ATTRIBUTE_NORMAL, nullptr));
    if (!file) throw SystemFileFailure(FileStep::Create, path, ::GetLastError());
    while (!bytes.empty()) {
        const DWORD chunk = static_cast<DWORD>(std::min<size_t>(bytes.size(), 1u << 30));
        DWORD written = 0;
        if (!::WriteFile(file.Get(), bytes.data(), chunk, &written, nullptr) || written == 0)
            throw SystemFileFailure(FileStep::Write, path, ::GetLastError());
        bytes.remove_prefix(written);
    }
}

std::int64_t Win32FileSystem::GetFileSize(const std::u16string& path) {
    WIN32_FILE_ATTRIBUTE_DATA data{};
    if (!::GetFileAttributesExW(Wide(path), GetFileExInfoStandard, &data)) return -1;
    return static_cast<std::int64_t>(data.nFileSizeHigh) * 4294967296LL + data.nFileSizeLow;
}

void Win32FileSystem::DeleteFolder(const std::u16string& folder, WindowHandle owner) {
    // The source is a list of names ended by an empty one: the folder, a
    // separator, and a zero of its own before the string's terminator.
    std::u16string source = folder + u"\\";
    source.push_back(u'\0');
    SHFILEOPSTRUCTW operation{};
    operation.hwnd = reinterpret_cast<HWND>(owner);
    operation.wFunc = FO_DELETE;
    operation.pFrom = Wide(source);
    operation.pTo = nullptr;
    operation.fFlags = 0x614;  // FOF_SILENT | FOF_NOCONFIRMATION | FOF_NOCONFIRMMKDIR | FOF_NOERRORUI
    ::SHFileOperationW(&operation);
}

}  // namespace platform
