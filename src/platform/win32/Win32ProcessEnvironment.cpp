#include "platform/win32/Win32ProcessEnvironment.h"

#include "platform/Platform.h"
#include "platform/WritableFolder.h"
#include "platform/win32/Win32Text.h"
#include "startup/WindowsCommandLine.h"

#include <knownfolders.h>
#include <shlobj.h>

#include <vector>

namespace platform {

namespace {

std::u16string ModulePath() {
    std::vector<wchar_t> buffer(MAX_PATH);
    while (true) {
        const DWORD n = ::GetModuleFileNameW(nullptr, buffer.data(), static_cast<DWORD>(buffer.size()));
        if (n == 0) return {};
        if (n < buffer.size()) return FromWide(buffer.data(), n);
        if (buffer.size() >= 32768) return FromWide(buffer.data(), n);
        buffer.resize(buffer.size() * 2);  // truncated: long paths exceed MAX_PATH
    }
}

bool Kernel32FileVersion(unsigned& major, unsigned& minor) {
    DWORD ignored = 0;
    const DWORD size = ::GetFileVersionInfoSizeW(L"kernel32.dll", &ignored);
    if (size == 0) return false;
    std::vector<unsigned char> data(size);
    if (!::GetFileVersionInfoW(L"kernel32.dll", 0, size, data.data())) return false;
    VS_FIXEDFILEINFO* info = nullptr;
    UINT length = 0;
    if (!::VerQueryValueW(data.data(), L"\\", reinterpret_cast<void**>(&info), &length) || !info ||
        length < sizeof(VS_FIXEDFILEINFO))
        return false;
    major = HIWORD(info->dwFileVersionMS);
    minor = LOWORD(info->dwFileVersionMS);
    return true;
}

}  // namespace

void SetStartupArguments(int, char**) {}  // Windows reads its own command line

void UseUtf8CharacterType() {}  // the wide-character API carries UTF-16 whatever the code page

std::vector<std::u16string> Win32ProcessEnvironment::Arguments() {
    std::vector<std::u16string> args{ModulePath()};
    const wchar_t* line = ::GetCommandLineW();
    std::vector<std::u16string> split = SplitWindowsCommandLine(FromWide(line));
    if (!split.empty()) args.insert(args.end(), split.begin() + 1, split.end());
    return args;
}

WindowsVersionFacts RunningWindowsFacts() {
    WindowsVersionFacts facts;
    OSVERSIONINFOEXW version{};
    version.dwOSVersionInfoSize = sizeof version;
    if (::GetVersionExW(reinterpret_cast<OSVERSIONINFOW*>(&version))) {
        facts.major = version.dwMajorVersion;
        facts.minor = version.dwMinorVersion;
        facts.workstation = version.wProductType == VER_NT_WORKSTATION;
    }
    if (facts.major > 6 || (facts.major == 6 && facts.minor > 1)) {
        unsigned major = 0, minor = 0;
        if (Kernel32FileVersion(major, minor)) {
            facts.major = major;
            facts.minor = minor;
        }
    }
    facts.serverR2 = ::GetSystemMetrics(SM_SERVERR2) != 0;
    SYSTEM_INFO system{};
    ::GetNativeSystemInfo(&system);
    facts.x64 = system.wProcessorArchitecture == PROCESSOR_ARCHITECTURE_AMD64;
    return facts;
}

std::u16string Win32ProcessEnvironment::OperatingSystemName() { return WindowsProductName(RunningWindowsFacts()); }

std::u16string Win32ProcessEnvironment::UserDataFolder() {
    wchar_t* path = nullptr;
    std::u16string folder;
    if (SUCCEEDED(::SHGetKnownFolderPath(FOLDERID_LocalAppData, 0, nullptr, &path)) && path)
        folder = FromWide(path) + u"\\Tarvenix\\";
    ::CoTaskMemFree(path);
    return folder;
}

std::u16string Win32ProcessEnvironment::WritableFolder() {
    static const std::u16string chosen =
        ChooseWritableFolder(*NativeServices().files, FolderOf(ModulePath()), UserDataFolder());
    return chosen;
}

}  // namespace platform
