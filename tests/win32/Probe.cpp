// A small program the Wine tests start as a child: it reports what the
// platform layer sees from inside a process of its own, or plays a command
// that writes odd output or never ends. Copied under another name it stands
// in for a tool: it notes the arguments it was given in "record.txt" beside
// itself, one line per start, each argument in brackets.
#include "platform/win32/Win32Locale.h"
#include "platform/win32/Win32ProcessEnvironment.h"
#include "startup/nTarvenixClasses_U.h"
#include "support/TextUtils.h"

#include <windows.h>
#include <shellapi.h>

#include <string>

namespace {

void Write(std::string_view bytes) {
    DWORD written = 0;
    ::WriteFile(::GetStdHandle(STD_OUTPUT_HANDLE), bytes.data(), static_cast<DWORD>(bytes.size()), &written, nullptr);
}

// Splits the command line by the system's own rule, not the program's.
bool RecordIfStandIn() {
    wchar_t path[MAX_PATH];
    const DWORD length = ::GetModuleFileNameW(nullptr, path, MAX_PATH);
    std::wstring self(path, length);
    const std::wstring folder = self.substr(0, self.find_last_of(L'\\') + 1);
    if (_wcsicmp(self.substr(folder.size()).c_str(), L"tarvenix_win32_probe.exe") == 0) return false;
    int count = 0;
    wchar_t** args = ::CommandLineToArgvW(::GetCommandLineW(), &count);
    std::string line;
    for (int i = 1; i < count; ++i) {
        const std::wstring arg(args[i]);
        line += "[" + ToUtf8(std::u16string(arg.begin(), arg.end())) + "]";
    }
    ::LocalFree(args);
    line += "\n";
    HANDLE record = ::CreateFileW((folder + L"record.txt").c_str(), FILE_APPEND_DATA, FILE_SHARE_READ | FILE_SHARE_WRITE,
                                  nullptr, OPEN_ALWAYS, FILE_ATTRIBUTE_NORMAL, nullptr);
    DWORD written = 0;
    ::WriteFile(record, line.data(), static_cast<DWORD>(line.size()), &written, nullptr);
    ::CloseHandle(record);
    return true;
}

}  // namespace

int main() {
    if (RecordIfStandIn()) return 0;
    platform::Win32ProcessEnvironment environment;
    const auto args = environment.Arguments();
    const std::u16string mode = args.size() > 1 ? args[1] : u"";
    if (mode == u"args") {
        for (const auto& arg : args) Write(ToUtf8(arg) + "\n");
    } else if (mode == u"shortdate") {
        // The user's short date as the system writes it, then the token's date.
        const platform::LocalDateTime june5{2023, 6, 5};
        Write(ToUtf8(platform::Win32Locale().WriteShortDate(june5).text) + "\n" +
              ToUtf8(TnTarvenixUtils::FormatarData(june5)));
    } else if (mode == u"osname") {
        Write(ToUtf8(environment.OperatingSystemName()));
    } else if (mode == u"bytes") {
        // Two writes, far enough apart to arrive as two reads.
        Write(std::string_view("abc\0def", 7));
        ::Sleep(300);
        Write("ghi");
    } else if (mode == u"sleep" && args.size() > 2) {
        // Runs until told to stop through an event; another event, held
        // open while running, tells the test it is still alive.
        const std::wstring name(args[2].begin(), args[2].end());
        HANDLE running = ::CreateEventW(nullptr, TRUE, FALSE, (name + L"-running").c_str());
        HANDLE stop = ::CreateEventW(nullptr, TRUE, FALSE, (name + L"-stop").c_str());
        Write("started\r\n");
        ::WaitForSingleObject(stop, 120000);
        ::CloseHandle(stop);
        ::CloseHandle(running);
    } else {
        return 2;
    }
    return 0;
}
