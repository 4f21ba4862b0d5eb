#pragma once

#include "platform/FileSystem.h"

namespace platform {

class PosixFileSystem : public IFileSystem {
public:
    bool FileExists(const std::u16string& path) override;
    bool DirectoryExists(const std::u16string& path) override;
    bool CreateDirectory(const std::u16string& path) override;
    bool CanCreateFileIn(const std::u16string& folder) override;
    std::string ReadFile(const std::u16string& path) override;
    void WriteFile(const std::u16string& path, std::string_view bytes) override;
    std::int64_t GetFileSize(const std::u16string& path) override;
    void DeleteFolder(const std::u16string& folder, WindowHandle owner) override;
};

}  // namespace platform
