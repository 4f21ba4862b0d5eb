// The chat's screenshot and file buttons, pressed on the demo service's page
// in the real program, followed to the page's answers and the upload; and
// the program as users install it, started by a user who cannot write in
// its folder.

#include "support/Prerequisites.h"
#include "support/RealProgram.h"

#include <gtest/gtest.h>
#include <nlohmann/json.hpp>

#include <grp.h>
#include <pwd.h>
#include <unistd.h>

#include <algorithm>
#include <chrono>
#include <ctime>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <regex>
#include <string>
#include <thread>
#include <vector>

namespace {

const auto* const needs = ::testing::AddGlobalTestEnvironment(new testing_support::NeedsDisplay({"xdotool", "curl"}));

namespace fs = std::filesystem;
using nlohmann::json;
using testing_support::ChildProcess;
using testing_support::kChatTitle;
using testing_support::RunAndRead;
using testing_support::VisibleWindows;
using testing_support::WaitForWindow;
using testing_support::WaitUntil;

constexpr char kOpenFileTitle[] = "^Selecione um arquivo para enviar ao atendente$";

std::string ReadAll(const fs::path& path) {
    std::ifstream in(path, std::ios::binary);
    return std::string(std::istreambuf_iterator<char>(in), {});
}

// Whether `pid` shows a window titled `title` becomes `visible` within the time.
bool WaitForVisibility(pid_t pid, const std::string& title, bool visible, int timeoutMs) {
    return WaitUntil([&] { return VisibleWindows(pid, title).empty() != visible; }, timeoutMs);
}

class ChatRoundTrip : public testing_support::RealProgram {
protected:
    void SetUp() override {
        ASSERT_NO_FATAL_FAILURE(StartService());
        Launch();
    }
    void StartService() {
        RealProgram::SetUp();
        fs::create_directories(folder_ / "uploads");
        service_ = std::make_unique<ChildProcess>(std::vector<std::string>{
            DEMO_SERVICE_PATH, "--port", "0", "--upload-dir", (folder_ / "uploads").string()});
        const std::string line = service_->ReadLine(10000);
        ASSERT_EQ(line.rfind("listening 127.0.0.1:", 0), 0u) << line;
        root_ = "http://127.0.0.1:" + line.substr(line.rfind(':') + 1);
    }
    // Starts the program on the service, through `through` (a program that
    // starts it, and its arguments) when one is given, and waits for the
    // chat page.
    void Launch(std::vector<std::string> through = {}, const std::vector<std::string>& environment = {}) {
        fs::path starter;
        if (!through.empty()) {
            starter = through.front();
            through.erase(through.begin());
            through.push_back((program_.empty() ? Install() : program_).string());
        }
        through.insert(through.end(), {"-Url", root_, "-token", "abc"});
        Start(through, environment, {}, starter);
        ASSERT_FALSE(WaitForWindow(app_->Pid(), kChatTitle, 30000).empty()) << "the chat window did not open";
        ASSERT_TRUE(WaitForCalls({"load"}, 30000))
            << "the page did not load: " << Log().dump();
        MarkSeen();
    }
    void TearDown() override {
        RealProgram::TearDown();
        service_.reset();
    }

    // The page's calls since the last MarkSeen, in the order the page made
    // them (its reports may reach the service in another order).
    json Log() {
        json all = json::parse(RunAndRead("curl -s --max-time 5 " + root_ + "/__log"), nullptr, false);
        json log = json::array();
        if (!all.is_array()) return log;
        for (const json& entry : all)
            if (entry.value("seq", 0) > seen_) log.push_back(entry);
        std::stable_sort(log.begin(), log.end(),
                         [](const json& a, const json& b) { return a.value("seq", 0) < b.value("seq", 0); });
        return log;
    }
    void MarkSeen() {
        for (const json& entry : Log()) seen_ = std::max(seen_, entry.value("seq", 0));
    }
    // Has the page send `command` to the program, as its button would.
    void Press(const std::string& command) {
        RunAndRead("curl -s --max-time 5 --data-binary '" + command + "' " + root_ + "/__command");
    }
    // Waits until the page has made every one of the calls `fns`.
    bool WaitForCalls(const std::vector<std::string>& fns, int timeoutMs) {
        return WaitUntil([&] {
            const json log = Log();
            return std::all_of(fns.begin(), fns.end(), [&](const std::string& fn) { return Find(log, fn) >= 0; });
        }, timeoutMs, {}, 100);
    }
    // The index of the first call of `fn` at or after `from`, or -1.
    static int Find(const json& log, const std::string& fn, int from = 0) {
        for (int i = from; i < static_cast<int>(log.size()); ++i)
            if (log[i].value("fn", "") == fn) return i;
        return -1;
    }

    // Presses the screenshot button and waits for the page to get the file;
    // its name.
    std::string UploadAScreenshot() {
        Press("PrintScreenClient");
        if (!WaitForCalls({"Notificar", "notifySendPrintScreen", "enabledButton", "uploadFile"}, 30000)) return {};
        const json log = Log();
        return log[Find(log, "uploadFile")]["args"][0];
    }

    // The page closes the chat once the flow is over: the process ends, with 0.
    void ExpectThePageCloseEndsTheProcess() {
        Press("CloseChatWindow");
        EXPECT_EQ(app_->WaitExit(30000), 0);
    }

    // Answers the open-file dialog with `path` the way a user types it.
    void ChooseInOpenFileDialog(const fs::path& path) {
        const std::string dialog = WaitForWindow(app_->Pid(), kOpenFileTitle, 15000);
        ASSERT_FALSE(dialog.empty()) << "the open-file dialog did not appear";
        RunAndRead("xdotool windowfocus --sync " + dialog + " 2>/dev/null; sleep 0.3; xdotool type --delay 5 '" +
                   path.string() + "' 2>/dev/null; xdotool key Return 2>/dev/null");
        ASSERT_TRUE(WaitForVisibility(app_->Pid(), kOpenFileTitle, false, 10000)) << "the dialog stayed open";
    }

    std::string root_;
    int seen_ = 0;
    std::unique_ptr<ChildProcess> service_;
};

// The program as users install it, in a folder that belongs to root, started
// by a user without privileges: everything it writes goes to that user's
// own folder. The user is made by CI.
class InstalledChat : public ChatRoundTrip, public ::testing::WithParamInterface<const char*> {
protected:
    static constexpr const char* kUser = "tarvenix-user";

    void SetUp() override {
        const passwd* user = ::getpwnam(kUser);
        if (::geteuid() != 0 || !user) GTEST_SKIP() << "needs root and the user " << kUser;
        const char* cookie = std::getenv("XAUTHORITY");
        ASSERT_NO_FATAL_FAILURE(StartService());
        program_ = InstallAsUsersDo(GetParam());
        ASSERT_TRUE(fs::exists(program_)) << "nothing installed at " << program_;
        // A home of the user's own, and the display's cookie for the user.
        fs::create_directories(folder_ / "home");
        ASSERT_EQ(::chown((folder_ / "home").c_str(), user->pw_uid, user->pw_gid), 0);
        std::vector<std::string> environment{"HOME=" + (folder_ / "home").string(), "XDG_DATA_HOME="};
        if (cookie && *cookie) {
            fs::copy_file(cookie, folder_ / "Xauthority");
            ASSERT_EQ(::chown((folder_ / "Xauthority").c_str(), user->pw_uid, user->pw_gid), 0);
            environment.push_back("XAUTHORITY=" + (folder_ / "Xauthority").string());
        }
        Launch({"/usr/bin/setpriv", "--reuid=" + std::to_string(user->pw_uid), "--regid=" + std::to_string(user->pw_gid),
                "--clear-groups", "--"},
               environment);
    }
    // The program's folder as cmake --install lays it out, or as the Debian
    // package holds it; owned by root. Its executable.
    fs::path InstallAsUsersDo(const std::string& how) {
        const fs::path where = folder_ / "installed";
        if (how == "cmake") {
            RunAndRead("cmake --install '" BUILD_DIR "' --prefix '" + where.string() + "' >/dev/null 2>&1");
            return where / "PTarveNixApp";
        }
        for (const auto& entry : fs::directory_iterator(BUILD_DIR))
            if (entry.path().filename().string().starts_with("tarvenix_") && entry.path().extension() == ".deb")
                RunAndRead("dpkg-deb -x '" + entry.path().string() + "' '" + where.string() + "'");
        return where / "opt" / "tarvenix" / "PTarveNixApp";
    }
};

TEST_P(InstalledChat, LoadsUploadsAScreenshotAndWritesOnlyInTheUsersFolder) {
    const std::string name = UploadAScreenshot();
    ASSERT_FALSE(name.empty()) << Log().dump();
    EXPECT_EQ(VisibleWindows(app_->Pid(), "."), VisibleWindows(app_->Pid(), kChatTitle)) << "a box was shown";

    const fs::path own = folder_ / "home" / ".local" / "share" / "tarvenix";
    const std::string saved = ReadAll(own / "temp" / "Tarvenix_screenshots" / name);
    EXPECT_GT(saved.size(), 4u) << "the screenshot is not in the user's folder";
    EXPECT_EQ(ReadAll(folder_ / "uploads" / name), saved) << "the service did not receive it";
    EXPECT_TRUE(fs::is_directory(own / "engine_chrome" / "User Data"));
    EXPECT_TRUE(fs::is_directory(own / "engine_chrome" / "cache"));
    EXPECT_FALSE(fs::exists(program_.parent_path() / "temp"));
    EXPECT_FALSE(fs::exists(program_.parent_path() / "engine_chrome" / "User Data"));
    ExpectThePageCloseEndsTheProcess();
}

INSTANTIATE_TEST_SUITE_P(FromItsRootOwnedFolder, InstalledChat, ::testing::Values("cmake", "deb"));

TEST_F(ChatRoundTrip, TheScreenshotIsSavedUploadedAndAnnouncedToThePage) {
    Press("PrintScreenClient");
    EXPECT_TRUE(WaitForVisibility(app_->Pid(), kChatTitle, false, 10000)) << "the window was not hidden";
    EXPECT_TRUE(WaitForVisibility(app_->Pid(), kChatTitle, true, 10000)) << "the window did not come back";

    ASSERT_TRUE(WaitForCalls({"Notificar", "notifySendPrintScreen", "enabledButton", "uploadFile"}, 30000))
        << Log().dump();
    const json log = Log();
    const int sent = Find(log, "Notificar");
    const int started = Find(log, "notifySendPrintScreen");
    const int enabled = Find(log, "enabledButton");
    const int uploaded = Find(log, "uploadFile");
    ASSERT_GE(sent, 0) << log.dump();
    EXPECT_LT(sent, started) << log.dump();
    EXPECT_LT(started, enabled) << log.dump();
    EXPECT_LT(enabled, uploaded) << log.dump();
    ASSERT_GE(enabled, 0);
    EXPECT_EQ(log[enabled]["args"], json::array({".screenshot-button"}));

    const std::string name = log[uploaded]["args"][0];
    std::smatch digits;
    ASSERT_TRUE(std::regex_match(name, digits, std::regex("ScreenShot_([0-9]{14})\\.jpg"))) << name;
    EXPECT_EQ(log[uploaded]["args"][1], root_ + "/arquivos/" + name);

    // Named by the local time of the capture: day, month, year, then the clock.
    std::tm when{};
    const std::string d = digits[1];
    when.tm_mday = std::stoi(d.substr(0, 2));
    when.tm_mon = std::stoi(d.substr(2, 2)) - 1;
    when.tm_year = std::stoi(d.substr(4, 4)) - 1900;
    when.tm_hour = std::stoi(d.substr(8, 2));
    when.tm_min = std::stoi(d.substr(10, 2));
    when.tm_sec = std::stoi(d.substr(12, 2));
    when.tm_isdst = -1;
    EXPECT_LT(std::abs(std::difftime(std::time(nullptr), std::mktime(&when))), 120.0) << name;

    const std::string saved = ReadAll(folder_ / "app" / "temp" / "Tarvenix_screenshots" / name);
    ASSERT_GT(saved.size(), 4u) << "no picture saved under the program's folder";
    EXPECT_EQ(saved.substr(0, 3), "\xFF\xD8\xFF");
    EXPECT_EQ(saved.substr(saved.size() - 2), "\xFF\xD9");
    EXPECT_EQ(ReadAll(folder_ / "uploads" / name), saved) << "the service did not receive the same picture";
    ExpectThePageCloseEndsTheProcess();
}

TEST_F(ChatRoundTrip, AFileTooLargeOrOfAnotherKindIsRefusedAndOneAtTheLimitIsSent) {
    const auto sparse = [&](const std::string& name, std::uintmax_t size) {
        std::ofstream(folder_ / name).put('x');
        fs::resize_file(folder_ / name, size);
        return folder_ / name;
    };
    const fs::path tooLarge = sparse("grande.txt", 10 * 1024 * 1024 + 1);
    const fs::path atLimit = sparse("limite.pdf", 10 * 1024 * 1024);
    const fs::path program = sparse("programa.exe", 10);

    for (const fs::path& refused : {tooLarge, program}) {
        SCOPED_TRACE(refused.filename().string());
        Press("FileUploadClient|jpg;png;pdf;txt");
        ChooseInOpenFileDialog(refused);
        ASSERT_TRUE(WaitForCalls({"Notificar", "enabledButton", "processfailSendFile"}, 15000))
            << Log().dump();
        const json log = Log();
        const int enabled = Find(log, "enabledButton");
        ASSERT_GE(enabled, 0) << log.dump();
        EXPECT_EQ(log[enabled]["args"], json::array({".fileinput-button"}));
        EXPECT_LT(enabled, Find(log, "processfailSendFile")) << log.dump();
        EXPECT_EQ(Find(log, "notifySendFile"), -1) << log.dump();
        EXPECT_EQ(Find(log, "Notificar"), 0) << log.dump();
        MarkSeen();
    }
    EXPECT_TRUE(fs::is_empty(folder_ / "uploads"));

    Press("FileUploadClient|jpg;png;PDF;txt");
    ChooseInOpenFileDialog(atLimit);
    ASSERT_TRUE(WaitForCalls({"Notificar", "notifySendFile", "enabledButton", "uploadFile"}, 30000)) << Log().dump();
    const json log = Log();
    EXPECT_LT(Find(log, "notifySendFile"), Find(log, "enabledButton")) << log.dump();
    EXPECT_EQ(log[Find(log, "uploadFile")]["args"], json::array({"limite.pdf", root_ + "/arquivos/limite.pdf"}));
    EXPECT_EQ(Find(log, "processfailSendFile"), -1) << log.dump();
    EXPECT_EQ(fs::file_size(folder_ / "uploads" / "limite.pdf"), 10u * 1024 * 1024);
    ExpectThePageCloseEndsTheProcess();
}

}  // namespace
