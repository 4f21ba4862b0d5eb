#pragma once
// A suite that needs a display or a program this machine lacks says so and
// ends with kSkipped, which ctest reports as skipped (SKIP_RETURN_CODE), so
// that a run without them is never taken for a pass. A suite registers its
// needs at namespace scope:
//   const auto* const needs = ::testing::AddGlobalTestEnvironment(new NeedsDisplay({"xdotool"}));

#include <gtest/gtest.h>
#include <unistd.h>

#include <cstdio>
#include <cstdlib>
#include <initializer_list>
#include <string>
#include <vector>

namespace testing_support {

inline constexpr int kSkipped = 77;

inline bool OnPath(const std::string& program) {
    const char* path = std::getenv("PATH");
    const std::string folders = path ? path : "";
    for (size_t start = 0; start <= folders.size();) {
        size_t end = folders.find(':', start);
        if (end == std::string::npos) end = folders.size();
        if (end > start && ::access((folders.substr(start, end - start) + "/" + program).c_str(), X_OK) == 0)
            return true;
        start = end + 1;
    }
    return false;
}

// Why a suite needing a display and `programs` cannot run here, or empty.
inline std::string MissingPrerequisite(const std::vector<std::string>& programs) {
    const char* display = std::getenv("DISPLAY");
    if (!display || !*display) return "no display (run under xvfb-run)";
    for (const auto& program : programs)
        if (!OnPath(program)) return program + " is not installed";
    return {};
}

// Before the first test: says what is missing and ends with kSkipped.
class NeedsDisplay : public ::testing::Environment {
public:
    NeedsDisplay(std::initializer_list<const char*> programs = {}) : programs_(programs.begin(), programs.end()) {}
    void SetUp() override {
        const std::string missing = MissingPrerequisite(programs_);
        if (missing.empty()) return;
        std::printf("Skipped: %s.\n", missing.c_str());
        std::fflush(stdout);
        std::_Exit(kSkipped);
    }

private:
    std::vector<std::string> programs_;
};

}  // namespace testing_support
