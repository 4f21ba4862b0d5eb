#pragma once

#include "platform/Dialogs.h"

#include <cstdint>
#include <string>
#include <string_view>

namespace platform {

// Path separator and the characters that end a folder part, for this build's
// operating system.
#ifdef _WIN32
inline constexpr char16_t kPathSeparator = u'\\';
inline constexpr std::u16string_view kPathDelimiters = u"\\:";
#else
inline constexpr char16_t kPathSeparator = u'/';
inline constexpr std::u16string_view kPathDelimiters = u"/";
#endif

class IFileSystem {
public:
    virtual ~IFileSystem() = default;
    // True only for a file, never for a directory.
    virtual bool FileExists(const std::u16string& path) = 0;
    virtual bool DirectoryExists(const std::u16string& path) = 0;
    // One level, default security; false on failure.
    virtual bool CreateDirectory(const std::u16string& path) = 0;
    // Whether a file can be created in `folder` now, by a real attempt (the
    // system's access rules are more than a read-only mark); nothing stays.
    virtual bool CanCreateFileIn(const std::u16string& folder) = 0;
    // Whole-file reads and writes; both throw Failure with the system's text.
    virtual std::string ReadFile(const std::u16string& path) = 0;
    virtual void WriteFile(const std::u16string& path, std::string_view bytes) = 0;
    // The size from the file's attributes, without opening it; -1 when they
    // cannot be read.
    virtual std::int64_t GetFileSize(const std::u16string& path) = 0;
    // Deletes the folder and all it holds; silent, asks nothing, reports nothing.
    virtual void DeleteFolder(const std::u16string& folder, WindowHandle owner) = 0;
};

}  // namespace platform
