#include "platform/posix/PosixProcessRunner.h"

#include "platform/Platform.h"
#include "support/TextUtils.h"

#include <fcntl.h>
#include <poll.h>
#include <signal.h>
#include <spawn.h>
#include <sys/wait.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <cstdlib>
#include <cstring>
#include <string_view>
#include <vector>

extern char** environ;

namespace platform {

namespace {

// How often a quiet pipe is checked for the child's end: a tool that leaves
// a background process holding the pipe must not hold up the caller.
constexpr int kCheckMilliseconds = 50;

// The parent's environment with `folder` first on PATH.
std::vector<std::string> ChildEnvironment(const std::string& folder) {
    std::vector<std::string> env;
    std::string path = "PATH=" + folder;
    const char* inherited = std::getenv("PATH");
    path += ":";
    path += inherited && *inherited ? inherited : "/usr/local/bin:/usr/bin:/bin";
    for (char** e = environ; e && *e; ++e)
        if (std::strncmp(*e, "PATH=", 5) != 0) env.emplace_back(*e);
    env.push_back(path);
    return env;
}

// One chunk as text: only the bytes before its first zero count.
void AppendChunk(std::u16string& out, const char* bytes, size_t size) {
    const size_t end = std::string_view(bytes, size).find('\0');
    out += Current().codePage->FromAnsi(std::string_view(bytes, end == std::string_view::npos ? size : end));
}

class Spawn {
public:
    Spawn() {
        posix_spawn_file_actions_init(&actions);
        posix_spawnattr_init(&attributes);
    }
    ~Spawn() {
        posix_spawn_file_actions_destroy(&actions);
        posix_spawnattr_destroy(&attributes);
    }
    posix_spawn_file_actions_t actions;
    posix_spawnattr_t attributes;
};

class Fd {
public:
    explicit Fd(int fd = -1) : fd_(fd) {}
    ~Fd() { Close(); }
    Fd(const Fd&) = delete;
    Fd& operator=(const Fd&) = delete;
    int get() const { return fd_; }
    void Close() {
        if (fd_ >= 0) ::close(fd_);
        fd_ = -1;
    }

private:
    int fd_;
};

}  // namespace

std::u16string PosixProcessRunner::GetDosOutput(const std::u16string& commandLine, const std::u16string& workFolder,
                                                std::chrono::milliseconds limit) {
    int ends[2];
    if (::pipe2(ends, O_CLOEXEC) != 0) return {};
    Fd readEnd(ends[0]);
    Fd writeEnd(ends[1]);

    const std::string line = ToUtf8(commandLine);
    const std::string folder = ToUtf8(workFolder);
    std::vector<std::string> env = ChildEnvironment(folder);
    std::vector<char*> envp;
    for (auto& e : env) envp.push_back(e.data());
    envp.push_back(nullptr);
    char shell[] = "/bin/sh", dashC[] = "-c";
    std::vector<char*> argv{shell, dashC, const_cast<char*>(line.c_str()), nullptr};

    // Nothing is ever written to the tool: its input is /dev/null, so a tool
    // that asks a question gets an end of input instead of waiting forever.
    Spawn spawn;
    posix_spawn_file_actions_addopen(&spawn.actions, 0, "/dev/null", O_RDONLY, 0);
    posix_spawn_file_actions_adddup2(&spawn.actions, writeEnd.get(), 1);
    posix_spawn_file_actions_adddup2(&spawn.actions, writeEnd.get(), 2);
    if (!folder.empty()) posix_spawn_file_actions_addchdir_np(&spawn.actions, folder.c_str());
    // Its own process group, so that a line that overruns is ended with all
    // it started.
    posix_spawnattr_setflags(&spawn.attributes, POSIX_SPAWN_SETPGROUP);
    posix_spawnattr_setpgroup(&spawn.attributes, 0);

    pid_t pid = 0;
    const int started = ::posix_spawn(&pid, "/bin/sh", &spawn.actions, &spawn.attributes, argv.data(), envp.data());
    writeEnd.Close();
    if (started != 0) return {};

    std::u16string result;
    char buffer[256];
    const auto deadline = std::chrono::steady_clock::now() + limit;
    bool exited = false;
    while (true) {
        const auto left = std::chrono::duration_cast<std::chrono::milliseconds>(deadline - std::chrono::steady_clock::now());
        if (left.count() <= 0) {
            ::kill(-pid, SIGKILL);
            break;
        }
        pollfd watch{readEnd.get(), POLLIN, 0};
        const int ready = ::poll(&watch, 1, static_cast<int>(std::min<long long>(left.count(), kCheckMilliseconds)));
        if (ready < 0 && errno != EINTR) break;
        if (ready > 0) {
            const ssize_t n = ::read(readEnd.get(), buffer, 255);
            if (n < 0 && errno == EINTR) continue;
            if (n <= 0) break;
            AppendChunk(result, buffer, static_cast<size_t>(n));
            continue;
        }
        int status = 0;
        if (::waitpid(pid, &status, WNOHANG) == pid) {
            exited = true;
            break;
        }
    }

    // Whatever the line wrote before it ended is still in the pipe.
    ::fcntl(readEnd.get(), F_SETFL, O_NONBLOCK);
    while (true) {
        const ssize_t n = ::read(readEnd.get(), buffer, 255);
        if (n < 0 && errno == EINTR) continue;
        if (n <= 0) break;
        AppendChunk(result, buffer, static_cast<size_t>(n));
    }
    // A line may close its output and go on running; it still gets only
    // what is left of the bound.
    int status = 0;
    int pause = 1;  // milliseconds; a line that has closed its output usually ends at once
    while (!exited) {
        const pid_t done = ::waitpid(pid, &status, WNOHANG);
        if (done == pid || (done < 0 && errno != EINTR)) break;
        if (std::chrono::steady_clock::now() >= deadline) {
            ::kill(-pid, SIGKILL);
            while (::waitpid(pid, &status, 0) < 0 && errno == EINTR) {
            }
            break;
        }
        ::usleep(static_cast<useconds_t>(pause) * 1000);
        pause = std::min(pause * 2, kCheckMilliseconds);
    }
    return result;
}

}  // namespace platform
