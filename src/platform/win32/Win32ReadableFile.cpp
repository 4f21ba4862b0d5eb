#include "platform/ReadableFile.h"

#include "platform/FileFailure.h"
#include "platform/win32/Win32Text.h"

namespace platform {

namespace {

Failure SystemFileFailure(FileStep step, const std::u16string& path, DWORD error) {
    return platform::FileFailure(step, path, SystemErrorText(error));
}

// Others may read the file while it is sent, but not change it.
class Win32ReadableFile final : public IReadableFile {
public:
    // Takes over the handle, and closes it if its size cannot be read.
    Win32ReadableFile(HANDLE file, std::u16string path) : file_(file), path_(std::move(path)) {
        LARGE_INTEGER size{};
        if (!::GetFileSizeEx(file_.Get(), &size)) throw SystemFileFailure(FileStep::Open, path_, ::GetLastError());
        size_ = size.QuadPart;
    }

    std::int64_t Size() const override { return size_; }

    std::size_t Read(char* buffer, std::size_t size) override {
        DWORD got = 0;
        const DWORD want = size > 0x40000000 ? 0x40000000 : static_cast<DWORD>(size);
        if (!::ReadFile(file_.Get(), buffer, want, &got, nullptr))
            throw SystemFileFailure(FileStep::Read, path_, ::GetLastError());
        return got;
    }

    void Rewind() override {
        LARGE_INTEGER start{};
        if (!::SetFilePointerEx(file_.Get(), start, nullptr, FILE_BEGIN))
            throw SystemFileFailure(FileStep::Read, path_, ::GetLastError());
    }

private:
    UniqueHandle file_;
    std::u16string path_;
    std::int64_t size_ = 0;
};

}  // namespace

std::unique_ptr<IReadableFile> OpenReadableFile(const std::u16string& path) {
    const HANDLE file = ::CreateFileW(Wide(path), GENERIC_READ, FILE_SHARE_READ, nullptr, OPEN_EXISTING,
                                      FILE_ATTRIBUTE_NORMAL | FILE_FLAG_SEQUENTIAL_SCAN, nullptr);
    if (file == INVALID_HANDLE_VALUE) throw SystemFileFailure(FileStep::Open, path, ::GetLastError());
    return std::make_unique<Win32ReadableFile>(file, path);
}

}  // namespace platform
