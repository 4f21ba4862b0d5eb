#include "ChildProcess.h"

#include <windows.h>

#include <vector>

namespace win32test {

ChildResult RunChild(const std::wstring& application, const std::wstring& commandLine, unsigned long timeoutMs) {
    ChildResult result;
    SECURITY_ATTRIBUTES security{sizeof security, nullptr, TRUE};
    HANDLE readEnd = nullptr, writeEnd = nullptr;
    if (!::CreatePipe(&readEnd, &writeEnd, &security, 0)) return {~0ul, {}};
    ::SetHandleInformation(readEnd, HANDLE_FLAG_INHERIT, 0);
    STARTUPINFOW startup{};
    startup.cb = sizeof startup;
    startup.dwFlags = STARTF_USESTDHANDLES;
    startup.hStdOutput = writeEnd;
    startup.hStdError = writeEnd;
    PROCESS_INFORMATION process{};
    std::wstring line = commandLine;
    const BOOL started = ::CreateProcessW(application.empty() ? nullptr : application.c_str(), line.data(), nullptr,
                                          nullptr, TRUE, 0, nullptr, nullptr, &startup, &process);
    ::CloseHandle(writeEnd);
    if (!started) {
        ::CloseHandle(readEnd);
        return {~0ul, {}};
    }
    char buffer[4096];
    DWORD got = 0;
    while (::ReadFile(readEnd, buffer, sizeof buffer, &got, nullptr) && got > 0) result.output.append(buffer, got);
    if (::WaitForSingleObject(process.hProcess, timeoutMs) != WAIT_OBJECT_0) ::TerminateProcess(process.hProcess, 99);
    ::GetExitCodeProcess(process.hProcess, &result.exitCode);
    ::CloseHandle(process.hProcess);
    ::CloseHandle(process.hThread);
    ::CloseHandle(readEnd);
    return result;
}

ChildResult RunTool(const std::wstring& commandLine) { return RunChild(L"", commandLine); }

std::wstring TestFolder() {
    std::vector<wchar_t> path(32768);
    const DWORD n = ::GetModuleFileNameW(nullptr, path.data(), static_cast<DWORD>(path.size()));
    std::wstring full(path.data(), n);
    return full.substr(0, full.find_last_of(L'\\') + 1);
}

std::wstring ProbePath() { return TestFolder() + L"tarvenix_win32_probe.exe"; }

}  // namespace win32test
