#include "platform/ReadableFile.h"

#include "platform/FileFailure.h"
#include "platform/posix/PosixErrorText.h"
#include "support/TextUtils.h"

#include <sys/stat.h>
#include <fcntl.h>
#include <unistd.h>

#include <cerrno>
#include <cstring>

namespace platform {

namespace {

Failure SystemFileFailure(FileStep step, const std::string& path, int error) {
    return platform::FileFailure(step, FromUtf8(path), PosixErrorText(error));
}

// POSIX has no mandatory share modes: the file is opened before anything else
// happens and its size is fixed at that moment.
class PosixReadableFile final : public IReadableFile {
public:
    PosixReadableFile(int fd, std::int64_t size, std::string path)
        : fd_(fd), size_(size), path_(std::move(path)) {}
    ~PosixReadableFile() override { ::close(fd_); }
    PosixReadableFile(const PosixReadableFile&) = delete;
    PosixReadableFile& operator=(const PosixReadableFile&) = delete;

    std::int64_t Size() const override { return size_; }

    std::size_t Read(char* buffer, std::size_t size) override {
        for (;;) {
            const ssize_t got = ::read(fd_, buffer, size);
            if (got >= 0) return static_cast<std::size_t>(got);
            if (errno != EINTR) throw SystemFileFailure(FileStep::Read, path_, errno);
        }
    }

    void Rewind() override {
        if (::lseek(fd_, 0, SEEK_SET) < 0) throw SystemFileFailure(FileStep::Read, path_, errno);
    }

private:
    int fd_;
    std::int64_t size_;
    std::string path_;
};

}  // namespace

std::unique_ptr<IReadableFile> OpenReadableFile(const std::u16string& path) {
    const std::string name = ToUtf8(path);
    const int fd = ::open(name.c_str(), O_RDONLY | O_CLOEXEC);
    if (fd < 0) throw SystemFileFailure(FileStep::Open, name, errno);
    struct stat st {};
    if (::fstat(fd, &st) != 0 || S_ISDIR(st.st_mode)) {
        const int error = S_ISDIR(st.st_mode) ? EISDIR : errno;
        ::close(fd);
        throw SystemFileFailure(FileStep::Open, name, error);
    }
    return std::make_unique<PosixReadableFile>(fd, static_cast<std::int64_t>(st.st_size), name);
}

}  // namespace platform
