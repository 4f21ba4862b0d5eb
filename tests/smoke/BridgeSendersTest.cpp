// The real program on chat pages of the test's own loopback servers: only
// documents of the chat's site may use the bridge. Another loopback port is
// another origin, and another site.

#include "support/ChildProcess.h"
#include "support/Desktop.h"
#include "support/Prerequisites.h"
#include "support/ProgramCopy.h"

#include <gtest/gtest.h>
#include <httplib.h>
#include <nlohmann/json.hpp>

#include <arpa/inet.h>
#include <netinet/in.h>
#include <poll.h>
#include <sys/socket.h>
#include <unistd.h>

#include <algorithm>
#include <atomic>
#include <chrono>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <mutex>
#include <string>
#include <thread>
#include <vector>

namespace {

const auto* const needs = ::testing::AddGlobalTestEnvironment(new testing_support::NeedsDisplay({"xdotool"}));

namespace fs = std::filesystem;
using nlohmann::json;
using testing_support::ChildProcess;
using testing_support::VisibleWindows;
using testing_support::WaitForWindow;

constexpr char kConnect[] = "ConnectRemoteAttendantListening|127.0.0.1:5500|tight";
constexpr int kExitLimitMs = 30000;

// A loopback server for the pages of one origin. The pages report their
// calls to /__log; /__command hands the top page a command to send, and
// /__release lets a waiting page go on.
class Origin {
public:
    Origin() {
        server_.set_keep_alive_max_count(1);
        server_.Post("/__log", [this](const httplib::Request& req, httplib::Response& res) {
            std::lock_guard lock(mutex_);
            log_.push_back(json::parse(req.body, nullptr, false));
            res.status = 204;
        });
        server_.Get("/__command", [this](const httplib::Request&, httplib::Response& res) {
            std::lock_guard lock(mutex_);
            if (command_.empty()) {
                res.status = 204;
                return;
            }
            res.set_content(command_, "text/plain");
            command_.clear();
        });
        server_.Get("/__release", [this](const httplib::Request&, httplib::Response& res) {
            res.status = released_ ? 200 : 204;
        });
        port_ = server_.bind_to_any_port("127.0.0.1");
        thread_ = std::thread([this] { server_.listen_after_bind(); });
    }
    ~Origin() {
        server_.stop();
        thread_.join();
    }
    void Page(const std::string& pattern, const std::string& body) {
        server_.Get(pattern, [body](const httplib::Request&, httplib::Response& res) {
            res.set_content("<!DOCTYPE html><html><head><meta charset=\"utf-8\"><script>" + std::string(kReport) +
                                "</script></head><body>" + body + "</body></html>",
                            "text/html; charset=utf-8");
        });
    }
    std::string Root() const { return "http://127.0.0.1:" + std::to_string(port_); }
    void Send(const std::string& command) {
        std::lock_guard lock(mutex_);
        command_ = command;
    }
    void Release() { released_ = true; }
    // The names of the calls reported so far, in the page's own order.
    std::vector<std::string> Calls() {
        std::lock_guard lock(mutex_);
        std::vector<json> sorted;
        for (const auto& entry : log_)
            if (entry.is_object()) sorted.push_back(entry);
        std::stable_sort(sorted.begin(), sorted.end(),
                         [](const json& a, const json& b) { return a.value("seq", 0) < b.value("seq", 0); });
        std::vector<std::string> calls;
        for (const auto& entry : sorted) calls.push_back(entry.value("fn", ""));
        return calls;
    }
    bool WaitForCall(const std::string& fn, int timeoutMs = 30000) {
        const auto deadline = std::chrono::steady_clock::now() + std::chrono::milliseconds(timeoutMs);
        while (std::chrono::steady_clock::now() < deadline) {
            const auto calls = Calls();
            if (std::find(calls.begin(), calls.end(), fn) != calls.end()) return true;
            std::this_thread::sleep_for(std::chrono::milliseconds(50));
        }
        return false;
    }

private:
    // Every page reports the page functions the launcher calls, and sends
    // what /__command hands it.
    static constexpr const char* kReport = R"(
        var seq = 0;
        function report(fn) {
          fetch('/__log', { method: 'POST', body: JSON.stringify({ fn: fn, seq: ++seq }) }).catch(function () {});
        }
        function buildRemoteButton() { report('buildRemoteButton'); }
        function closeChat() { report('closeChat'); if (window.onCloseChat) window.onCloseChat(); }
        function poll() {
          fetch('/__command').then(function (r) { return r.status === 200 ? r.text() : null; })
            .then(function (t) { if (t) external.Notificar(t); }, function () {})
            .then(function () { setTimeout(poll, 100); });
        }
        if (window === window.top) poll();)";

    httplib::Server server_;
    int port_ = 0;
    std::thread thread_;
    std::mutex mutex_;
    std::vector<json> log_;
    std::string command_;
    std::atomic<bool> released_{false};
};

// Counts connections to the attendant's address of the attack: a VNC server
// started by it would connect here.
class Listener {
public:
    Listener() {
        socket_ = ::socket(AF_INET, SOCK_STREAM, 0);
        const int yes = 1;
        ::setsockopt(socket_, SOL_SOCKET, SO_REUSEADDR, &yes, sizeof yes);
        sockaddr_in address{};
        address.sin_family = AF_INET;
        address.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
        address.sin_port = htons(5500);
        listening_ = ::bind(socket_, reinterpret_cast<sockaddr*>(&address), sizeof address) == 0 &&
                     ::listen(socket_, 4) == 0;
        if (listening_)
            thread_ = std::thread([this] {
                while (!stop_) {
                    pollfd p{socket_, POLLIN, 0};
                    if (::poll(&p, 1, 50) > 0) {
                        const int client = ::accept(socket_, nullptr, nullptr);
                        if (client >= 0) ::close(client);
                        ++connections_;
                    }
                }
            });
    }
    ~Listener() {
        stop_ = true;
        if (thread_.joinable()) thread_.join();
        ::close(socket_);
    }
    bool Listening() const { return listening_; }
    int Connections() const { return connections_; }

private:
    int socket_ = -1;
    bool listening_ = false;
    std::atomic<bool> stop_{false};
    std::atomic<int> connections_{0};
    std::thread thread_;
};

class BridgeSenders : public ::testing::Test {
protected:
    void SetUp() override {
        folder_ = testing_support::FreshTestFolder("tarvenix-senders");
        // A copy of the program with its action log switched on.
        program_ = testing_support::InstallProgram(PROGRAM_PATH, folder_);
        fs::create_directories(folder_ / "temp");
        std::ofstream(folder_ / "logar_Tarvenix");
    }
    void TearDown() override {
        app_.reset();
        std::error_code ignored;
        fs::remove_all(folder_, ignored);
    }
    // Started in its own folder, where the action log is written.
    void Start(const Origin& chat) {
        app_ = std::make_unique<ChildProcess>(std::vector<std::string>{
            "/bin/sh", "-c", "cd '" + folder_.string() + "' && exec '" + program_.string() + "' -Url " + chat.Root() +
                                 " -token abc"});
        ASSERT_FALSE(WaitForWindow(app_->Pid(), "^TarveNix - Atendimento$", 30000).empty());
    }
    std::string ActionLog() const {
        std::ifstream in(folder_ / "temp" / "TarvenixLog.txt", std::ios::binary);
        return std::string(std::istreambuf_iterator<char>(in), {});
    }
    // Nothing but the chat window: no prompt for a tool, no message box.
    bool OnlyTheChatWindow() const {
        return VisibleWindows(app_->Pid(), ".") == VisibleWindows(app_->Pid(), "^TarveNix - Atendimento$");
    }

    fs::path folder_;
    fs::path program_;
    std::unique_ptr<ChildProcess> app_;
};

TEST_F(BridgeSenders, ACrossOriginFrameStartsNoToolWhileASameOriginFramesCallsWorkInOrder) {
    Listener attendant;
    Origin chat, other;
    other.Page("/frame", "<script>external.Notificar('" + std::string(kConnect) +
                             "'); parent.postMessage('foreign-sent', '*');</script>");
    chat.Page("/frame", R"(<script>
        external.Notificar('CloseChatWindowWithQuery');
        external.Notificar('OnOpenCall');
        external.Notificar('CloseChatWindowWithQuery');</script>)");
    chat.Page(R"(/ChatWidget/Login/.*)", R"(<script>
        window.addEventListener('message', function (e) { if (e.data === 'foreign-sent') report('foreign-sent'); });
        </script><iframe src=")" + other.Root() + R"(/frame"></iframe><iframe src="/frame"></iframe>)");
    Start(chat);

    ASSERT_TRUE(chat.WaitForCall("foreign-sent")) << "the other origin's frame did not run";
    ASSERT_TRUE(chat.WaitForCall("buildRemoteButton"));
    // Time for a tool to start and connect, had the call got through.
    std::this_thread::sleep_for(std::chrono::seconds(3));
    std::vector<std::string> answers = chat.Calls();
    std::erase(answers, "foreign-sent");
    EXPECT_EQ(answers, (std::vector<std::string>{"closeChat", "buildRemoteButton", "closeChat"}))
        << "the same-origin frame's commands, each answered in order";
    if (attendant.Listening()) {
        EXPECT_EQ(attendant.Connections(), 0);
    }
    EXPECT_TRUE(OnlyTheChatWindow());
    EXPECT_NE(ActionLog().find("external.Notificar recusado, documento de \"" + other.Root() + "\": \"" + kConnect),
              std::string::npos)
        << ActionLog();

    chat.Send("CloseChatWindow");
    EXPECT_EQ(app_->WaitExit(kExitLimitMs), 0);
}

TEST_F(BridgeSenders, AMainFrameNavigatedToAnotherSiteLosesTheBridge) {
    Listener attendant;
    Origin chat, other;
    // Once the chat has loaded and answered, it goes to another site.
    chat.Page(R"(/ChatWidget/Login/.*)", R"(<script>
        window.onCloseChat = function () { setTimeout(function () { location.href = ')" +
                                              other.Root() + R"(/away'; }, 500); };
        window.addEventListener('load', function () { external.Notificar('CloseChatWindowWithQuery'); });
        </script>)");
    // That site tries the bridge, then waits to be let go back.
    other.Page("/away", R"(<script>
        report('away');
        external.Notificar('OnOpenCall');
        external.Notificar(')" + std::string(kConnect) + R"(');
        (function wait() {
          fetch('/__release').then(function (r) {
            if (r.status === 200) location.href = ')" + chat.Root() + R"(/back';
            else setTimeout(wait, 100);
          }, function () { setTimeout(wait, 100); });
        })();</script>)");
    chat.Page("/back", "<script>external.Notificar('CloseChatWindow');</script>");
    Start(chat);

    ASSERT_TRUE(other.WaitForCall("away")) << "the chat did not go to the other site";
    std::this_thread::sleep_for(std::chrono::seconds(3));
    EXPECT_EQ(other.Calls(), std::vector<std::string>{"away"}) << "the other site's OnOpenCall was answered";
    if (attendant.Listening()) {
        EXPECT_EQ(attendant.Connections(), 0);
    }
    EXPECT_TRUE(OnlyTheChatWindow());
    const std::string log = ActionLog();
    EXPECT_NE(log.find("external.Notificar recusado, documento de \"" + other.Root() + "\": \"OnOpenCall\""),
              std::string::npos)
        << log;
    EXPECT_NE(log.find(kConnect), std::string::npos) << log;

    // Back on the chat's site, the page has the bridge again: it closes the window.
    other.Release();
    EXPECT_EQ(app_->WaitExit(kExitLimitMs), 0);
}

}  // namespace
