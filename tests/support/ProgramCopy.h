#pragma once
// A copy of the program in a folder of the test's own, with the engine's
// files but a profile of its own, so what it writes beside itself (the
// screenshots, the tools' files, the engine's profile) stays there.

#include <filesystem>

namespace testing_support {

inline std::filesystem::path InstallProgram(const std::filesystem::path& original, const std::filesystem::path& folder) {
    namespace fs = std::filesystem;
    const fs::path engine = original.parent_path() / "engine_chrome";
    fs::create_directories(folder / "engine_chrome");
    for (const auto& entry : fs::directory_iterator(engine)) {
        const auto name = entry.path().filename();
        if (name == "User Data" || name == "cache") continue;
        fs::create_symlink(entry.path(), folder / "engine_chrome" / name);
    }
    fs::copy_file(original, folder / original.filename());
    return folder / original.filename();
}

}  // namespace testing_support
