#pragma once

#include <cstddef>
#include <cstdint>
#include <memory>
#include <string>

namespace platform {

// A file held open for reading, so that what is sent is what was opened.
class IReadableFile {
public:
    virtual ~IReadableFile() = default;
    // The size when the file was opened.
    virtual std::int64_t Size() const = 0;
    // Up to `size` bytes; 0 at the end. Throws Failure with the system's text.
    virtual std::size_t Read(char* buffer, std::size_t size) = 0;
    // Back to the first byte.
    virtual void Rewind() = 0;
};

// Opens a file for reading, with writing by others denied where the system
// can deny it. Throws Failure with the system's text.
std::unique_ptr<IReadableFile> OpenReadableFile(const std::u16string& path);

}  // namespace platform
