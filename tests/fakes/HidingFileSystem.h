#pragma once
// The system's real file system, except that some folders look absent: a
// tool installed on the test machine in one of the fixed folders must not be
// the one a test finds.

#include "platform/Platform.h"

#include <set>
#include <string>

namespace fakes {

class HidingFileSystem : public platform::IFileSystem {
public:
    std::set<std::u16string> hidden;

    bool FileExists(const std::u16string& path) override { return real_.FileExists(path); }
    bool DirectoryExists(const std::u16string& path) override {
        return hidden.count(path) == 0 && real_.DirectoryExists(path);
    }
    bool CreateDirectory(const std::u16string& path) override { return real_.CreateDirectory(path); }
    bool CanCreateFileIn(const std::u16string& folder) override { return real_.CanCreateFileIn(folder); }
    std::string ReadFile(const std::u16string& path) override { return real_.ReadFile(path); }
    void WriteFile(const std::u16string& path, std::string_view bytes) override { real_.WriteFile(path, bytes); }
    std::int64_t GetFileSize(const std::u16string& path) override { return real_.GetFileSize(path); }
    void DeleteFolder(const std::u16string& folder, platform::WindowHandle owner) override {
        real_.DeleteFolder(folder, owner);
    }

private:
    platform::IFileSystem& real_ = *platform::NativeServices().files;
};

}  // namespace fakes
