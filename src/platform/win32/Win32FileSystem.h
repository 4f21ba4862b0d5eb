#pragma once

#include "platform/FileSystem.h"

namespace platform {

class Win32FileSystem : public IFileSystem {
public:
    bool FileExists(const std::u16string& path) override;
    bool DirectoryExists(const std::u16string& path) override;
    bool CreateDirectory(const std::u16string& path) override;
    bool CanCreateFileIn(const std::u16string& folder) override;
    std::string ReadFile(const std::u16string& path) override;
    void WriteFile(const std::u16string& path, std::string_view bytes) override;
    // GetFileAttributesExW, standard information: high * 2^32 + low, or -1.
    std::int64_t GetFileSize(const std::u16string& path) override;
    // SHFileOperationW delete, silent; its result is not looked at.
    void DeleteFolder(const std::u16string& folder, WindowHandle owner) override;
};

}  // namespace platform
