#pragma once
// A real folder under the system's temp folder, removed with all it holds
// when the object goes; with helpers to write files and small scripts.

#include "support/TextUtils.h"

#include <sys/stat.h>
#include <unistd.h>

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <sstream>
#include <string>

namespace fakes {

class TempFolder {
public:
    explicit TempFolder(const std::string& name = "tarvenix") {
        std::string pattern = (std::filesystem::temp_directory_path() / (name + "-XXXXXX")).string();
        if (!::mkdtemp(pattern.data())) std::abort();
        path_ = pattern;
    }
    ~TempFolder() {
        std::error_code ignored;
        std::filesystem::remove_all(path_, ignored);
    }
    TempFolder(const TempFolder&) = delete;
    TempFolder& operator=(const TempFolder&) = delete;

    // The folder, or a path below it, without a trailing separator.
    std::string Path(const std::string& below = "") const { return below.empty() ? path_ : path_ + "/" + below; }
    const std::filesystem::path Dir() const { return path_; }
    // The same, ending with the separator, as tool folders are written.
    std::string Folder(const std::string& below = "") const { return Path(below) + "/"; }

    std::string Write(const std::string& below, const std::string& bytes) const {
        const std::string file = Path(below);
        std::filesystem::create_directories(std::filesystem::path(file).parent_path());
        std::ofstream(file, std::ios::binary) << bytes;
        return file;
    }
    // An executable shell script.
    std::string Script(const std::string& below, const std::string& body) const {
        const std::string file = Write(below, "#!/bin/sh\n" + body + "\n");
        ::chmod(file.c_str(), 0755);
        return file;
    }
    static std::string Read(const std::string& file) {
        std::ifstream in(file, std::ios::binary);
        std::stringstream bytes;
        bytes << in.rdbuf();
        return bytes.str();
    }

private:
    std::string path_;
};

// Paths are UTF-8 on this system.
inline std::u16string U16(const std::filesystem::path& path) { return FromUtf8(path.string()); }

}  // namespace fakes
