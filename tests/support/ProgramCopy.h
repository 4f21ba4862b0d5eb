#pragma once
// A copy of the program in a folder of the test's own, with the engine's
// files but a profile of its own, so what it writes beside itself (the
// screenshots, the tools' files, the engine's profile) stays there.

#include <gtest/gtest.h>
#include <unistd.h>

#include <filesystem>
#include <string>

namespace testing_support {

// An empty folder of the running test's own, named after it and this
// process, so parallel suites and a failed earlier run never share one.
inline std::filesystem::path FreshTestFolder(const std::string& prefix) {
    const auto folder = std::filesystem::temp_directory_path() /
                        (prefix + "-" + std::to_string(::getpid()) + "-" +
                         ::testing::UnitTest::GetInstance()->current_test_info()->name());
    std::filesystem::remove_all(folder);
    return folder;
}

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
