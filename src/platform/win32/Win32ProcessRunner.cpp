#include "platform/win32/Win32ProcessRunner.h"

#include "platform/win32/Win32CodePage.h"
#include "platform/win32/Win32Text.h"

#include <algorithm>
#include <cstring>

namespace platform {

namespace {

// How often the child is looked at while its pipe is empty.
constexpr DWORD kPollMilliseconds = 10;

using Clock = std::chrono::steady_clock;

DWORD MillisecondsUntil(Clock::time_point deadline) {
    const auto left = std::chrono::duration_cast<std::chrono::milliseconds>(deadline - Clock::now()).count();
    return static_cast<DWORD>(std::clamp<long long>(left, 0, INFINITE - 1));
}

}  // namespace

std::u16string Win32ProcessRunner::GetDosOutput(const std::u16string& commandLine, const std::u16string& workFolder,
                                                std::chrono::milliseconds limit) {
    std::u16string result;

    SECURITY_ATTRIBUTES security{};
    security.nLength = sizeof security;
    security.lpSecurityDescriptor = nullptr;
    security.bInheritHandle = TRUE;
    HANDLE readHandle = nullptr, writeHandle = nullptr;
    if (!::CreatePipe(&readHandle, &writeHandle, &security, 0)) return result;
    UniqueHandle readEnd(readHandle);
    UniqueHandle writeEnd(writeHandle);

    STARTUPINFOW startup{};
    startup.cb = sizeof startup;
    startup.dwFlags = STARTF_USESHOWWINDOW | STARTF_USESTDHANDLES;
    startup.wShowWindow = SW_HIDE;
    startup.hStdInput = ::GetStdHandle(STD_INPUT_HANDLE);
    startup.hStdOutput = writeEnd.Get();
    startup.hStdError = writeEnd.Get();

    std::wstring line = L"cmd.exe /C " + WideCopy(commandLine);  // CreateProcessW may write into it
    PROCESS_INFORMATION process{};
    const BOOL started = ::CreateProcessW(nullptr, line.data(), nullptr, nullptr, TRUE, 0, nullptr,
                                          workFolder.empty() ? nullptr : Wide(workFolder), &startup, &process);
    writeEnd.Reset();  // only the child writes; its end of the pipe then tells us when it is done
    if (!started) return result;
    UniqueHandle processHandle(process.hProcess);
    UniqueHandle threadHandle(process.hThread);

    // Without a job (the caller may sit in one that forbids nesting) only
    // the interpreter itself can be ended.
    UniqueHandle job(::CreateJobObjectW(nullptr, nullptr));
    const bool inJob = job && ::AssignProcessToJobObject(job.Get(), processHandle.Get());

    Win32CodePage codePage;
    const auto deadline = Clock::now() + std::clamp<std::chrono::milliseconds>(limit, std::chrono::milliseconds(0), std::chrono::hours(24 * 365));
    auto endChild = [&] {
        if (inJob) ::TerminateJobObject(job.Get(), 1);
        else ::TerminateProcess(processHandle.Get(), 1);
        ::WaitForSingleObject(processHandle.Get(), 5000);
    };
    bool ended = false;
    char buffer[256];
    while (true) {
        DWORD available = 0;
        if (!::PeekNamedPipe(readEnd.Get(), nullptr, 0, nullptr, &available, nullptr)) break;  // all writers gone
        if (available > 0) {
            DWORD got = 0;
            if (!::ReadFile(readEnd.Get(), buffer, 255, &got, nullptr) || got == 0) break;
            buffer[got] = '\0';
            result += codePage.FromAnsi(std::string_view(buffer, std::strlen(buffer)));
            continue;
        }
        // The command has ended and what it wrote has been read; a program
        // it left running may hold the pipe open, but is not waited for.
        if (ended) break;
        const DWORD left = MillisecondsUntil(deadline);
        if (left == 0) {
            endChild();
            ended = true;
            continue;  // what was written before the end is still returned
        }
        if (::WaitForSingleObject(processHandle.Get(), std::min(left, kPollMilliseconds)) == WAIT_OBJECT_0)
            ended = true;
    }
    // The pipe may close before the command ends (it can close its output).
    if (!ended && ::WaitForSingleObject(processHandle.Get(), MillisecondsUntil(deadline)) != WAIT_OBJECT_0)
        endChild();
    return result;
}

}  // namespace platform
