// The connectors with the real system on a display: AnyDesk's window wait
// against a stand-in that opens its window late, and a real reverse VNC
// session from x11vnc to a listening viewer on loopback.

#include "fakes/FakePlatform.h"
#include "fakes/TempFolder.h"
#include "remote/AnyDeskConnector.h"
#include "remote/RemoteAttendant.h"
#include "remote/ToolLocations.h"
#include "support/Prerequisites.h"
#include "support/TextUtils.h"
#include "support/WaitUntil.h"

#include <gtest/gtest.h>
#include <xcb/xcb.h>

#include <netinet/in.h>
#include <signal.h>
#include <spawn.h>
#include <sys/socket.h>
#include <sys/wait.h>
#include <unistd.h>

#include <chrono>
#include <filesystem>
#include <fstream>
#include <random>
#include <thread>

extern char** environ;

namespace {

using namespace std::chrono_literals;
using Clock = std::chrono::steady_clock;
using testing_support::WaitUntil;

const auto* const needs = ::testing::AddGlobalTestEnvironment(new testing_support::NeedsDisplay({"x11vnc", "xtightvncviewer"}));

// Keeps the X server from resetting between tests (it resets when its last
// client goes).
bool HoldDisplay() {
    static xcb_connection_t* connection = std::getenv("DISPLAY") ? xcb_connect(nullptr, nullptr) : nullptr;
    return connection && !xcb_connection_has_error(connection);
}

// Processes whose command line holds `text`, for checks and for cleaning up
// exactly what a test started.
std::vector<pid_t> ProcessesWith(const std::string& text) {
    std::vector<pid_t> found;
    for (const auto& entry : std::filesystem::directory_iterator("/proc")) {
        const std::string name = entry.path().filename();
        if (name.find_first_not_of("0123456789") != std::string::npos) continue;
        std::string cmdline = fakes::TempFolder::Read(entry.path() / "cmdline");
        for (char& c : cmdline)
            if (c == '\0') c = ' ';
        std::string state;
        std::ifstream(entry.path() / "stat") >> state >> state >> state;
        if (state != "Z" && cmdline.find(text) != std::string::npos && std::stoi(name) != ::getpid())
            found.push_back(std::stoi(name));
    }
    return found;
}

class OnDisplay : public ::testing::Test {
protected:
    fakes::TempFolder temp{"ondisplay"};
    fakes::ProcessEnvironment process;
    fakes::Dialogs dialogs;  // a missing tool must not wait for an answer
    platform::ScopedServices installed{[this] {
        platform::Services s;
        s.process = &process;
        s.dialogs = &dialogs;
        return s;
    }()};
    std::vector<std::u16string> scripts;
    RunPageScript run = [this](const std::u16string& s) { scripts.push_back(s); };

    void SetUp() override {
        ASSERT_TRUE(HoldDisplay()) << "the display cannot be reached";
        std::filesystem::create_directories(temp.Path("app"));
        process.arguments = {FromUtf8(temp.Folder("app") + "PTarveNixApp")};
    }
};

// The stand-in starts its window a little later, as AnyDesk does.
TEST_F(OnDisplay, AnyDeskIsStartedOnceAndItsWindowAwaited) {
    const std::string pidFile = temp.Path("window.pid");
    temp.Script("app/" + ToUtf8(remote_tools::AnyDeskExecutable()),
                "if [ \"$1\" = --get-id ]; then echo 321 654 987; exit; fi\n"
                "'" TITLED_WINDOW "' AnyDesk --delay-ms 250 --seconds 30 &\necho $! > '" + pidFile + "'");
    struct Cleanup {
        std::string file;
        ~Cleanup() {
            const std::string pid = fakes::TempFolder::Read(file);
            if (!pid.empty()) ::kill(std::stoi(pid), SIGKILL);
        }
    } cleanup{pidFile};
    ASSERT_FALSE(platform::Current().windows->FindTopLevelWindow(u"AnyDesk")) << "another AnyDesk window is open";

    const auto start = Clock::now();
    ConectarAtendenteVNC({u"ConnectRemoteAttendantListening", u"", u"anydesk"}, run);
    const auto took = Clock::now() - start;
    const std::string log = fakes::TempFolder::Read(temp.Folder("app") + "loganydesk.txt");
    EXPECT_EQ(log.rfind("abrindo: ", 0), 0u) << log;
    EXPECT_NE(log.find("321 654 987"), std::string::npos) << log;
    EXPECT_LT(took, 1000ms + 500ms + 1000ms);  // the window wait, the pause, the query
    ASSERT_EQ(scripts.size(), 2u);
    EXPECT_NE(scripts[1].find(u"Endereço: 321 654 987\")"), std::u16string::npos);

    // Now it runs: no second start, no wait.
    ConectarAtendenteVNC({u"ConnectRemoteAttendantListening", u"", u"anydesk"}, run);
    EXPECT_EQ(fakes::TempFolder::Read(temp.Folder("app") + "loganydesk.txt").find("abrindo"), std::string::npos);
    EXPECT_EQ(scripts.size(), 4u);
}

// A listening viewer on a free loopback port, ended with the object.
class ListeningViewer {
public:
    explicit ListeningViewer(const std::string& log) : log_(log) {
        std::mt19937 random(std::random_device{}());
        for (int attempt = 0; attempt < 50 && offset_ < 0; ++attempt) {
            const int candidate = 10 + static_cast<int>(random() % 90);
            if (PortFree(5500 + candidate)) offset_ = candidate;
        }
        if (offset_ < 0) return;
        const std::string line = "exec xtightvncviewer -viewonly -listen " + std::to_string(offset_) + " > '" + log_ + "' 2>&1";
        std::vector<char*> argv{const_cast<char*>("/bin/sh"), const_cast<char*>("-c"), const_cast<char*>(line.c_str()), nullptr};
        posix_spawnattr_t attributes;
        posix_spawnattr_init(&attributes);
        posix_spawnattr_setflags(&attributes, POSIX_SPAWN_SETPGROUP);
        if (posix_spawn(&pid_, "/bin/sh", nullptr, &attributes, argv.data(), environ) != 0) pid_ = 0;
        posix_spawnattr_destroy(&attributes);
    }
    ~ListeningViewer() {
        if (pid_ > 0) {
            ::kill(-pid_, SIGKILL);
            ::waitpid(pid_, nullptr, 0);
        }
    }
    int Port() const { return 5500 + offset_; }
    bool Started() const { return pid_ > 0 && offset_ >= 0; }
    bool Says(const std::string& text) const { return fakes::TempFolder::Read(log_).find(text) != std::string::npos; }

private:
    static bool PortFree(int port) {
        const int s = ::socket(AF_INET, SOCK_STREAM, 0);
        sockaddr_in address{};
        address.sin_family = AF_INET;
        address.sin_port = htons(static_cast<uint16_t>(port));
        const bool free = ::bind(s, reinterpret_cast<sockaddr*>(&address), sizeof address) == 0;
        ::close(s);
        return free;
    }
    std::string log_;
    int offset_ = -1;
    pid_t pid_ = 0;
};

class ReverseVnc : public OnDisplay {
protected:
    void Session(const std::u16string& tool, const std::function<void()>& close) {
        ListeningViewer viewer(temp.Path("viewer.log"));
        ASSERT_TRUE(viewer.Started());
        ASSERT_TRUE(WaitUntil([&] { return viewer.Says("Listening on port"); }, 10000));
        const std::string address = "127.0.0.1:" + std::to_string(viewer.Port());
        struct Cleanup {
            std::string address;
            ~Cleanup() {
                // Only the server this test started names this port.
                for (pid_t pid : ProcessesWith(address)) ::kill(pid, SIGKILL);
            }
        } cleanup{address};

        const auto start = Clock::now();
        ConectarAtendenteVNC({u"ConnectRemoteAttendantListening", FromUtf8(address), tool}, run);
        EXPECT_LT(Clock::now() - start, 30s);  // the server went to the background
        EXPECT_TRUE(WaitUntil([&] { return viewer.Says("Connected to RFB server"); }, 15000))
            << fakes::TempFolder::Read(temp.Path("viewer.log"));
        EXPECT_FALSE(ProcessesWith(address).empty());

        close();
        EXPECT_TRUE(WaitUntil([&] { return ProcessesWith(address).empty(); }, 15000));
        EXPECT_TRUE(WaitUntil([&] { return viewer.Says("closed connection"); }, 15000))
            << fakes::TempFolder::Read(temp.Path("viewer.log"));
    }
};

TEST_F(ReverseVnc, RealVncSessionReachesTheViewerAndCloseEndsIt) {
    Session(u"real", [] { CloseVNCConnection(); });
    EXPECT_EQ(scripts.size(), 2u);
    EXPECT_TRUE(std::filesystem::exists(temp.Folder("app") + "logvnc.txt"));
}

TEST_F(ReverseVnc, TightVncSessionReachesTheViewerAndItsDisconnectEndsIt) {
    Session(u"tight", [] { TnTarvenixUtils::DesconectarVNC(u"tight", u""); });
    EXPECT_TRUE(scripts.empty());
}

}  // namespace
