#pragma once
// Fakes of the operating system plus helpers to lay out tool folders.

#include "fakes/FakePlatform.h"
#include "remote/ToolLocations.h"
#include "startup/nTarvenixClasses_U.h"
#include "support/LocalFiles.h"
#include "support/TextUtils.h"

#include <gtest/gtest.h>

namespace remote_test {

inline const std::u16string kSep(1, platform::kPathSeparator);

class Remote : public ::testing::Test {
protected:
    fakes::FakePlatform os;

    // A folder as the fakes see it, ending with the separator.
    static std::u16string Folder(std::u16string_view name) { return kSep + std::u16string(name) + kSep; }
    // Makes `folder` an existing directory that holds `exe`.
    void Install(const std::u16string& folder, const std::u16string& exe) {
        os.files.directories.insert(folder);
        os.files.files[folder + kSep + exe] = "";
    }
    std::u16string ProgramFolder() const { return Folder(u"app"); }
    std::string& FileBytes(const std::u16string& path) { return os.files.files.at(path); }
    std::vector<std::u16string> RunLines() const {
        std::vector<std::u16string> lines;
        for (const auto& r : os.processes.runs) lines.push_back(r.commandLine);
        return lines;
    }
};

}  // namespace remote_test
