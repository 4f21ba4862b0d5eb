#include "platform/posix/PosixProcessEnvironment.h"

#include "platform/Platform.h"
#include "platform/WritableFolder.h"
#include "support/TextUtils.h"

#include <langinfo.h>
#include <pwd.h>
#include <locale.h>
#include <stdlib.h>
#include <unistd.h>

#include <cstring>

#include <fstream>
#include <mutex>

namespace platform {

namespace {

std::mutex argumentsMutex;
std::vector<std::string> startupArguments;

std::string Unquote(std::string value) {
    if (value.size() >= 2 && (value.front() == '"' || value.front() == '\'') && value.back() == value.front())
        value = value.substr(1, value.size() - 2);
    return value;
}

}  // namespace

void SetStartupArguments(int argc, char** argv) {
    std::lock_guard lock(argumentsMutex);
    startupArguments.assign(argv, argv + argc);
}

void UseUtf8CharacterType() {
    const char* chosen = ::setlocale(LC_CTYPE, "");
    if (chosen && std::strcmp(::nl_langinfo(CODESET), "UTF-8") == 0) return;
    // LC_ALL would outrank LC_CTYPE: hand its value to each other category.
    if (const char* all = ::getenv("LC_ALL"); all && *all) {
        const std::string value = all;
        for (const char* category : {"LC_COLLATE", "LC_MESSAGES", "LC_MONETARY", "LC_NUMERIC", "LC_TIME", "LC_PAPER",
                                     "LC_NAME", "LC_ADDRESS", "LC_TELEPHONE", "LC_MEASUREMENT", "LC_IDENTIFICATION"})
            ::setenv(category, value.c_str(), 1);
        ::unsetenv("LC_ALL");
    }
    ::setenv("LC_CTYPE", "C.UTF-8", 1);
    ::setlocale(LC_CTYPE, "C.UTF-8");
}

std::vector<std::u16string> PosixProcessEnvironment::Arguments() {
    std::vector<std::u16string> args;
    char path[4096];
    const ssize_t n = ::readlink("/proc/self/exe", path, sizeof path - 1);
    args.push_back(n > 0 ? FromUtf8(std::string_view(path, static_cast<size_t>(n))) : std::u16string());
    std::lock_guard lock(argumentsMutex);
    for (size_t i = 1; i < startupArguments.size(); ++i) args.push_back(FromUtf8(startupArguments[i]));
    return args;
}

std::u16string PosixProcessEnvironment::UserDataFolder() {
    // As the XDG base directories say: a relative $XDG_DATA_HOME counts as unset.
    const char* data = ::getenv("XDG_DATA_HOME");
    if (data && data[0] == '/') return FromUtf8(std::string(data) + "/tarvenix/");
    const char* home = ::getenv("HOME");
    if (!home || home[0] != '/') {
        const passwd* user = ::getpwuid(::getuid());
        home = user ? user->pw_dir : nullptr;
    }
    return home && home[0] == '/' ? FromUtf8(std::string(home) + "/.local/share/tarvenix/") : std::u16string();
}

std::u16string PosixProcessEnvironment::WritableFolder() {
    static const std::u16string chosen =
        ChooseWritableFolder(*NativeServices().files, FolderOf(Arguments().front()), UserDataFolder());
    return chosen;
}

std::u16string PosixProcessEnvironment::OperatingSystemName() {
    for (const char* file : {"/etc/os-release", "/usr/lib/os-release"}) {
        std::ifstream in(file);
        std::string line;
        while (std::getline(in, line))
            if (line.rfind("PRETTY_NAME=", 0) == 0) return FromUtf8(Unquote(line.substr(12)));
    }
    return u"Linux";
}

}  // namespace platform
