#include "platform/posix/PosixFileSystem.h"

#include "platform/FileFailure.h"
#include "platform/posix/PosixErrorText.h"
#include "support/TextUtils.h"

#include <sys/stat.h>
#include <fcntl.h>
#include <unistd.h>

#include <cerrno>
#include <cstring>
#include <filesystem>

namespace platform {

namespace {

Failure SystemFileFailure(FileStep step, const std::string& path, int error) {
    return platform::FileFailure(step, FromUtf8(path), PosixErrorText(error));
}

}  // namespace

bool PosixFileSystem::FileExists(const std::u16string& path) {
    struct stat st {};
    return ::stat(ToUtf8(path).c_str(), &st) == 0 && !S_ISDIR(st.st_mode);
}

bool PosixFileSystem::DirectoryExists(const std::u16string& path) {
    struct stat st {};
    return ::stat(ToUtf8(path).c_str(), &st) == 0 && S_ISDIR(st.st_mode);
}

bool PosixFileSystem::CreateDirectory(const std::u16string& path) {
    return ::mkdir(ToUtf8(path).c_str(), 0777) == 0;
}

bool PosixFileSystem::CanCreateFileIn(const std::u16string& folder) {
    std::string probe = ToUtf8(folder);
    if (!probe.empty() && probe.back() != '/') probe += '/';
    probe += ".tarvenix-" + std::to_string(::getpid()) + "-XXXXXX";
    const int fd = ::mkstemp(probe.data());
    if (fd < 0) return false;
    ::close(fd);
    ::unlink(probe.c_str());
    return true;
}

std::string PosixFileSystem::ReadFile(const std::u16string& path) {
    const std::string name = ToUtf8(path);
    const int fd = ::open(name.c_str(), O_RDONLY | O_CLOEXEC);
    if (fd < 0) throw SystemFileFailure(FileStep::Open, name, errno);
    std::string bytes;
    char buffer[65536];
    while (true) {
        const ssize_t n = ::read(fd, buffer, sizeof buffer);
        if (n < 0 && errno == EINTR) continue;
        if (n < 0) {
            const int error = errno;
            ::close(fd);
            throw SystemFileFailure(FileStep::Read, name, error);
        }
        if (n == 0) break;
        bytes.append(buffer, static_cast<size_t>(n));
    }
    ::close(fd);
    return bytes;
}

void PosixFileSystem::WriteFile(const std::u16string& path, std::string_view bytes) {
    const std::string name = ToUtf8(path);
    const int fd = ::open(name.c_str(), O_WRONLY | O_CREAT | O_TRUNC | O_CLOEXEC, 0666);
    if (fd < 0) throw SystemFileFailure(FileStep::Create, name, errno);
    size_t done = 0;
    while (done < bytes.size()) {
        const ssize_t n = ::write(fd, bytes.data() + done, bytes.size() - done);
        if (n < 0 && errno == EINTR) continue;
        if (n < 0) {
            const int error = errno;
            ::close(fd);
            throw SystemFileFailure(FileStep::Write, name, error);
        }
        done += static_cast<size_t>(n);
    }
    if (::close(fd) != 0) throw SystemFileFailure(FileStep::Write, name, errno);
}

std::int64_t PosixFileSystem::GetFileSize(const std::u16string& path) {
    struct stat st {};
    if (::stat(ToUtf8(path).c_str(), &st) != 0) return -1;
    return static_cast<std::int64_t>(st.st_size);
}

void PosixFileSystem::DeleteFolder(const std::u16string& folder, WindowHandle) {
    std::error_code ignored;
    std::filesystem::remove_all(std::filesystem::u8path(ToUtf8(folder)), ignored);
}

}  // namespace platform
