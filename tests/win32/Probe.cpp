// A small program the Wine tests start as a child: it reports what the
// platform layer sees from inside a process of its own, or plays a command
// that writes odd output or never ends.
#include "platform/win32/Win32Locale.h"
#include "platform/win32/Win32ProcessEnvironment.h"
#include "startup/nTarvenixClasses_U.h"
#include "support/TextUtils.h"

#include <windows.h>

#include <string>

namespace {

void Write(std::string_view bytes) {
    DWORD written = 0;
    ::WriteFile(::GetStdHandle(STD_OUTPUT_HANDLE), bytes.data(), static_cast<DWORD>(bytes.size()), &written, nullptr);
}

}  // namespace

int main() {
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
