#include "platform/ProcessEnd.h"

#include <dirent.h>
#include <unistd.h>

#include <cstdio>
#include <cstdlib>
#include <fstream>
#include <set>
#include <sstream>
#include <string>

namespace platform {

void EndProcessNow(int exitCode) {
    std::fflush(nullptr);
    ::_exit(exitCode);
}

namespace {

// The inodes of the sockets this process holds open.
std::set<unsigned long> OwnSocketInodes() {
    std::set<unsigned long> inodes;
    DIR* fds = ::opendir("/proc/self/fd");
    if (!fds) return inodes;
    char target[64];
    while (const dirent* entry = ::readdir(fds)) {
        const std::string link = std::string("/proc/self/fd/") + entry->d_name;
        const ssize_t n = ::readlink(link.c_str(), target, sizeof target - 1);
        if (n <= 0) continue;
        target[n] = '\0';
        unsigned long inode = 0;
        if (std::sscanf(target, "socket:[%lu]", &inode) == 1) inodes.insert(inode);
    }
    ::closedir(fds);
    return inodes;
}

// A table of /proc/net/tcp{,6}: per line "sl local remote st tx:rx ... inode".
bool AnyBusy(const char* table, const std::set<unsigned long>& own) {
    std::ifstream in(table);
    std::string line;
    std::getline(in, line);  // heading
    while (std::getline(in, line)) {
        std::istringstream fields(line);
        std::string slot, local, remote, state, queues, timer, retransmits, uid, timeout;
        unsigned long inode = 0;
        if (!(fields >> slot >> local >> remote >> state >> queues >> timer >> retransmits >> uid >> timeout >> inode))
            continue;
        if (!own.count(inode)) continue;
        const bool opening = state == "02";  // SYN_SENT
        const bool unsent = std::strtoul(queues.substr(0, queues.find(':')).c_str(), nullptr, 16) != 0;
        if (opening || unsent) return true;
    }
    return false;
}

}  // namespace

bool ConnectionsBusy() {
    const auto own = OwnSocketInodes();
    if (own.empty()) return false;
    return AnyBusy("/proc/self/net/tcp", own) || AnyBusy("/proc/self/net/tcp6", own);
}

}  // namespace platform
