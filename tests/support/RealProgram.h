#pragma once
// The real program as the launching ERP starts it, under the test's display,
// in a folder of the test's own: a copy of the program with the engine's
// files, a default browser that only writes down what it was given, and a
// home with its Downloads folder. Every flow is followed until the process
// has ended.

#include "support/ChildProcess.h"
#include "support/Desktop.h"
#include "support/ProgramCopy.h"
#include "support/WaitUntil.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <memory>
#include <optional>
#include <string>
#include <vector>

namespace testing_support {

inline constexpr char kChatTitle[] = "^TarveNix - Atendimento$";

class RealProgram : public ::testing::Test {
protected:
    void SetUp() override {
        namespace fs = std::filesystem;
        folder_ = FreshTestFolder("tarvenix-" + std::string(::testing::UnitTest::GetInstance()->current_test_suite()->name()));
        fs::create_directories(folder_ / "bin");
        fs::create_directories(Home() / "Downloads");
        std::ofstream(folder_ / "bin" / "xdg-open")
            << "#!/bin/sh\nprintf '%s\\n' \"$1\" >> '" << (folder_ / "opened.txt").string() << "'\n";
        fs::permissions(folder_ / "bin" / "xdg-open", fs::perms::owner_all);
    }
    void TearDown() override {
        app_.reset();
        std::error_code ignored;
        std::filesystem::remove_all(folder_, ignored);
    }

    // A copy of the program in `below` of the test's folder, made once;
    // what it writes beside itself stays there.
    std::filesystem::path Install(const std::string& below = "app") {
        const auto where = folder_ / below;
        if (!program_.empty() && program_.parent_path() == where) return program_;
        return program_ = InstallProgram(PROGRAM_PATH, where);
    }
    // Starts the installed copy (or `program`) with `args`, the stand-in
    // browser first on PATH and the test's home; from `workingFolder` when
    // one is given, where the action log is written.
    void Start(const std::vector<std::string>& args, std::vector<std::string> environment = {},
               const std::filesystem::path& workingFolder = {}, std::filesystem::path program = {}) {
        if (program.empty()) program = program_.empty() ? Install() : program_;
        std::vector<std::string> argv{program.string()};
        argv.insert(argv.end(), args.begin(), args.end());
        if (!workingFolder.empty()) {
            std::string command = "cd '" + workingFolder.string() + "' && exec";
            for (const auto& arg : argv) command += " '" + arg + "'";
            argv = {"/bin/sh", "-c", command};
        }
        for (const std::string& fallback :
             {"PATH=" + (folder_ / "bin").string() + ":" + std::getenv("PATH"), "HOME=" + Home().string()}) {
            const std::string name = fallback.substr(0, fallback.find('=') + 1);
            if (std::none_of(environment.begin(), environment.end(),
                             [&](const std::string& entry) { return entry.rfind(name, 0) == 0; }))
                environment.push_back(fallback);
        }
        app_ = std::make_unique<ChildProcess>(argv, environment);
    }
    std::filesystem::path Home() const { return folder_ / "home"; }

    // What the default browser was given, a line each.
    std::string Opened() const {
        std::ifstream in(folder_ / "opened.txt");
        return std::string(std::istreambuf_iterator<char>(in), {});
    }
    bool OpenedLines(size_t lines, int timeoutMs = 15000) const {
        return WaitUntil([&] {
            const std::string opened = Opened();
            return static_cast<size_t>(std::count(opened.begin(), opened.end(), '\n')) >= lines;
        }, timeoutMs);
    }
    // Nothing but the window titled `title`: no prompt, no message box.
    bool OnlyTheWindow(const std::string& title = kChatTitle) const {
        return VisibleWindows(app_->Pid(), ".") == VisibleWindows(app_->Pid(), title);
    }
    // Waits for the window titled `title` to go, then for the process; its
    // exit code.
    std::optional<int> EndAfterTheWindowCloses(const std::string& title = kChatTitle, int endLimitMs = 3000) {
        if (!WaitUntil([&] { return VisibleWindows(app_->Pid(), title).empty(); }, 30000)) return std::nullopt;
        return app_->WaitExit(endLimitMs);
    }

    std::filesystem::path folder_;
    std::filesystem::path program_;
    std::unique_ptr<ChildProcess> app_;
};

}  // namespace testing_support
