#include "platform/posix/PosixShell.h"

#include "support/TextUtils.h"

#include <spawn.h>
#include <sys/wait.h>

#include <thread>

extern char** environ;

namespace platform {

bool SpawnDetached(const std::vector<std::string>& argv) {
    std::vector<char*> raw;
    for (const auto& a : argv) raw.push_back(const_cast<char*>(a.c_str()));
    raw.push_back(nullptr);
    pid_t pid = 0;
    if (posix_spawnp(&pid, raw[0], nullptr, nullptr, raw.data(), environ) != 0) return false;
    std::thread([pid] { ::waitpid(pid, nullptr, 0); }).detach();
    return true;
}

void PosixShell::OpenUrl(const std::u16string& address) {
    // xdg-open reads a leading "-" as an option and knows no "--"; an
    // address never starts with one.
    if (!address.empty() && address.front() == u'-') return;
    SpawnDetached({"xdg-open", ToUtf8(address)});
}

void PosixShell::OpenFolder(const std::u16string& folder) {
    // Only a full path: a relative one could read as an option.
    if (folder.empty() || folder.front() != u'/') return;
    SpawnDetached({"xdg-open", ToUtf8(folder)});
}

void PosixShell::StartMinimized(const std::u16string& executable) { SpawnDetached({ToUtf8(executable)}); }

}  // namespace platform
