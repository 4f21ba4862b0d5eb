#pragma once

#include "support/TextUtils.h"

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <string>

namespace testing_support {

// A folder of its own under the system's temp folder, removed afterwards.
class TempFolder {
public:
    TempFolder() {
        std::string pattern = (std::filesystem::temp_directory_path() / "tarvenix-test-XXXXXX").string();
        path_ = ::mkdtemp(pattern.data());
    }
    ~TempFolder() {
        std::error_code ignored;
        std::filesystem::remove_all(path_, ignored);
    }
    const std::filesystem::path& Path() const { return path_; }
    std::filesystem::path Write(const std::string& name, const std::string& bytes) const {
        const auto file = path_ / name;
        std::ofstream(file, std::ios::binary) << bytes;
        return file;
    }

private:
    std::filesystem::path path_;
};

// Paths are UTF-8 on this system.
inline std::u16string U16(const std::filesystem::path& path) { return FromUtf8(path.string()); }

}  // namespace testing_support
