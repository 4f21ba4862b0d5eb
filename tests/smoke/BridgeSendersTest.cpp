// The real program on pages of the test's own loopback servers: only
// documents of the chat's site may use the bridge, the windows show only
// their own site, and what the user opens elsewhere goes to the default
// browser. Another loopback port is another origin, and another site.

#include "support/ChildProcess.h"
#include "support/Desktop.h"
#include "support/Prerequisites.h"
#include "support/ProgramCopy.h"
#include "support/X11Client.h"

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
using testing_support::ClickAt;
using testing_support::SettledWindow;
using testing_support::VisibleWindows;
using testing_support::WaitForWindow;

constexpr char kConnect[] = "ConnectRemoteAttendantListening|127.0.0.1:5500|tight";
constexpr char kChatTitle[] = "^TarveNix - Atendimento$";
constexpr int kExitLimitMs = 30000;
// Pages to click on: rows 60 pixels high from the top, and a word to the
// service when the page goes away.
constexpr char kRows[] = R"(<style>body { margin: 0 } .row { display: block; box-sizing: border-box; width: 100%;
    height: 60px; margin: 0; border: 0; font-size: 20px }</style>
    <script>window.addEventListener('pagehide', function () {
      navigator.sendBeacon('/__log', JSON.stringify({ fn: 'pagehide', seq: 1000 })); });</script>)";

// The middle of row `row`.
void ClickRow(const std::string& window, int row) { ClickAt(window, 150, 30 + 60 * row); }

bool WaitUntil(const std::function<bool()>& done, int timeoutMs = 15000) {
    const auto deadline = std::chrono::steady_clock::now() + std::chrono::milliseconds(timeoutMs);
    while (!done()) {
        if (std::chrono::steady_clock::now() > deadline) return false;
        std::this_thread::sleep_for(std::chrono::milliseconds(50));
    }
    return true;
}

// A loopback server for the pages of one origin. The pages report their
// calls to /__log; /__command hands the top page a command to send, and
// /__release lets a waiting page go on.
class Origin {
public:
    Origin() {
        server_.set_keep_alive_max_count(1);
        server_.set_logger([this](const httplib::Request& req, const httplib::Response&) {
            std::lock_guard lock(mutex_);
            paths_.push_back(req.path);
        });
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
    // A file sent as an attachment, its name given UTF-8 and percent-encoded.
    void Attachment(const std::string& path, const std::string& encodedName, const std::string& bytes) {
        server_.Get(path, [encodedName, bytes](const httplib::Request&, httplib::Response& res) {
            res.set_header("Content-Disposition", "attachment; filename*=UTF-8''" + encodedName);
            res.set_content(bytes, "application/octet-stream");
        });
    }
    std::string Root() const { return "http://127.0.0.1:" + std::to_string(port_); }
    // Every path asked of this server so far.
    std::vector<std::string> Paths() {
        std::lock_guard lock(mutex_);
        return paths_;
    }
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
    std::vector<std::string> paths_;
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
        // A default browser that only writes down what it was given, and a
        // home of the test's own with its Downloads folder.
        fs::create_directories(folder_ / "bin");
        std::ofstream(folder_ / "bin" / "xdg-open")
            << "#!/bin/sh\nprintf '%s\\n' \"$1\" >> '" << (folder_ / "opened.txt").string() << "'\n";
        fs::permissions(folder_ / "bin" / "xdg-open", fs::perms::owner_all);
        fs::create_directories(Downloads());
    }
    void TearDown() override {
        app_.reset();
        std::error_code ignored;
        fs::remove_all(folder_, ignored);
    }
    // Started in its own folder, where the action log is written.
    void Start(const std::vector<std::string>& args) {
        std::string command = "cd '" + folder_.string() + "' && exec '" + program_.string() + "'";
        for (const auto& arg : args) command += " '" + arg + "'";
        app_ = std::make_unique<ChildProcess>(
            std::vector<std::string>{"/bin/sh", "-c", command},
            std::vector<std::string>{"PATH=" + (folder_ / "bin").string() + ":" + std::getenv("PATH"),
                                     "HOME=" + (folder_ / "home").string()});
    }
    void Start(const Origin& chat) {
        Start({"-Url", chat.Root(), "-token", "abc"});
        ASSERT_FALSE(WaitForWindow(app_->Pid(), kChatTitle, 30000).empty());
    }
    fs::path Downloads() const { return folder_ / "home" / "Downloads"; }
    // What the default browser was given, a line each.
    std::string Opened() const {
        std::ifstream in(folder_ / "opened.txt");
        return std::string(std::istreambuf_iterator<char>(in), {});
    }
    bool OpenedLines(size_t lines) const {
        return WaitUntil([&] {
            const std::string opened = Opened();
            return static_cast<size_t>(std::count(opened.begin(), opened.end(), '\n')) >= lines;
        });
    }
    // The action log as UTF-8; it is written in the ANSI code page, whose
    // accented letters are Latin-1's.
    std::string ActionLog() const {
        std::ifstream in(folder_ / "temp" / "TarvenixLog.txt", std::ios::binary);
        std::string text;
        for (char c : std::string(std::istreambuf_iterator<char>(in), {})) {
            const auto byte = static_cast<unsigned char>(c);
            if (byte < 0x80) {
                text += c;
            } else {
                text += static_cast<char>(0xC0 | byte >> 6);
                text += static_cast<char>(0x80 | (byte & 0x3F));
            }
        }
        return text;
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

TEST_F(BridgeSenders, NoScriptTakesTheChatToAnotherSiteOrOpensAWindowWithoutAClick) {
    Origin chat, other;
    // Once the chat has loaded and answered, a timer tries to leave.
    chat.Page(R"(/ChatWidget/Login/.*)", std::string(kRows) + R"(<script>
        window.onCloseChat = function () { setTimeout(function () {
          window.open(')" + other.Root() + R"(/pop');
          location.href = ')" + other.Root() + R"(/away';
          location.href = 'tarvx-test:timer';
          report('tried');
        }, 500); };
        window.addEventListener('load', function () { external.Notificar('CloseChatWindowWithQuery'); });
        </script>)");
    Start(chat);

    ASSERT_TRUE(chat.WaitForCall("tried"));
    ASSERT_TRUE(WaitUntil([&] { return ActionLog().find("tarvx-test:timer") != std::string::npos; })) << ActionLog();
    const std::string log = ActionLog();
    EXPECT_NE(log.find("Janela nova recusada, endereço \"" + other.Root() + "/pop\""), std::string::npos) << log;
    EXPECT_NE(log.find("Navegação recusada, endereço \"" + other.Root() + "/away\""), std::string::npos) << log;
    EXPECT_TRUE(other.Paths().empty()) << "the other site was reached";
    EXPECT_EQ(Opened(), "") << "something reached the default browser";
    EXPECT_TRUE(OnlyTheChatWindow());

    // The chat page is still there, with the bridge: it closes the window.
    chat.Send("CloseChatWindow");
    EXPECT_EQ(app_->WaitExit(kExitLimitMs), 0);
    const auto calls = chat.Calls();
    EXPECT_EQ(std::count(calls.begin(), calls.end(), "pagehide"), 0) << "the chat page was unloaded";
}

TEST_F(BridgeSenders, WhatTheUserOpensElsewhereGoesToTheDefaultBrowserAndTheChatStays) {
    Origin chat, other;
    const std::string away = other.Root();
    chat.Page(R"(/ChatWidget/Login/.*)", std::string(kRows) + R"(
        <a class="row" target="_blank" href=")" + away + R"(/blank">1</a>
        <button class="row" onclick="window.open(')" + away + R"P(/open')">2</button>)P" + R"(
        <a class="row" href=")" + away + R"(/plain">3</a>
        <a class="row" href="tarvx-test:click">4</a>
        <script>window.addEventListener('load', function () { report('ready'); });</script>)");
    Start(chat);
    const std::string window = SettledWindow(app_->Pid(), kChatTitle);
    ASSERT_FALSE(window.empty());
    ASSERT_TRUE(chat.WaitForCall("ready"));

    for (int row = 0; row < 3; ++row) {
        ClickRow(window, row);
        ASSERT_TRUE(OpenedLines(row + 1)) << "row " << row << " reached no browser: " << Opened();
    }
    EXPECT_EQ(Opened(), away + "/blank\n" + away + "/open\n" + away + "/plain\n");
    // Another scheme reaches nothing, and the log says so.
    ClickRow(window, 3);
    EXPECT_TRUE(WaitUntil([&] { return ActionLog().find("tarvx-test:click") != std::string::npos; })) << ActionLog();
    std::this_thread::sleep_for(std::chrono::milliseconds(500));
    EXPECT_EQ(Opened(), away + "/blank\n" + away + "/open\n" + away + "/plain\n");
    EXPECT_TRUE(other.Paths().empty()) << "the window went to the other site";
    EXPECT_TRUE(OnlyTheChatWindow());

    chat.Send("CloseChatWindow");
    EXPECT_EQ(app_->WaitExit(kExitLimitMs), 0);
    const auto calls = chat.Calls();
    EXPECT_EQ(std::count(calls.begin(), calls.end(), "pagehide"), 0) << "the chat page was unloaded";
}

TEST_F(BridgeSenders, AnAttachmentIsSavedWholeWhereTheUserSaysAndACancelLeavesNothing) {
    Origin chat;
    std::string bytes;
    for (int i = 0; i < 300000; ++i) bytes += static_cast<char>(i * 7 % 251);
    // Two addresses: the engine can hold a second request for an address
    // it has just downloaded for a while.
    for (const char* path : {"/anexo", "/anexo/outra-vez"})
        chat.Attachment(path, "relat%C3%B3rio%20ma%C3%A7%C3%A3.txt", bytes);
    chat.Page(R"(/ChatWidget/Login/.*)", std::string(kRows) + R"(<a class="row" href="/anexo">1</a>
        <a class="row" href="/anexo/outra-vez">2</a>
        <script>window.addEventListener('load', function () { report('ready'); });</script>)");
    Start(chat);
    const std::string window = SettledWindow(app_->Pid(), kChatTitle);
    ASSERT_FALSE(window.empty());
    ASSERT_TRUE(chat.WaitForCall("ready"));
    const fs::path saved = Downloads() / "relatório maçã.txt";

    for (const char* answer : {"Return", "Escape"}) {
        SCOPED_TRACE(answer);
        ClickRow(window, std::string(answer) == "Return" ? 0 : 1);
        const std::string dialog = WaitForWindow(app_->Pid(), "^Salvar arquivo$");
        ASSERT_FALSE(dialog.empty()) << "no save dialog";
        std::this_thread::sleep_for(std::chrono::milliseconds(500));
        testing_support::PressKey(dialog, answer);
        if (std::string(answer) == "Return") {
            const std::string notice = WaitForWindow(app_->Pid(), "^Download concluído$");
            ASSERT_FALSE(notice.empty()) << "the user was not told";
            testing_support::PressReturn(notice);
            EXPECT_EQ(Opened(), "") << "the notice opened something by itself";
        } else {
            std::this_thread::sleep_for(std::chrono::seconds(1));
        }
        // Only the whole file, under the server's name, and nothing that runs.
        std::vector<fs::path> files;
        for (const auto& entry : fs::directory_iterator(Downloads())) files.push_back(entry.path());
        ASSERT_EQ(files, std::vector<fs::path>{saved});
        std::ifstream in(saved, std::ios::binary);
        EXPECT_TRUE(std::string(std::istreambuf_iterator<char>(in), {}) == bytes) << "not the same bytes";
        EXPECT_EQ(fs::status(saved).permissions() & (fs::perms::owner_exec | fs::perms::group_exec | fs::perms::others_exec),
                  fs::perms::none);
    }
    chat.Send("CloseChatWindow");
    EXPECT_EQ(app_->WaitExit(kExitLimitMs), 0);
}

TEST_F(BridgeSenders, TheServiceWindowShowsOnlyItsOwnSiteToo) {
    Origin service, other;
    service.Page(R"(/api/servicos/.*)", std::string(kRows) + R"(
        <a class="row" href=")" + other.Root() + R"(/plain">1</a>
        <a class="row" target="_blank" href=")" + other.Root() + R"(/blank">2</a>
        <script>window.addEventListener('load', function () { report('ready'); });</script>)");
    Start({"-Url", service.Root(), "-servico_tipo", "novo", "-IDAplicativo", "7", "-Name", "Ana", "-Email",
           "ana@example.com", "-OrganizationCodeReference", "42"});
    const std::string window = SettledWindow(app_->Pid(), "^Solicitação de Serviços$");
    ASSERT_FALSE(window.empty());
    ASSERT_TRUE(service.WaitForCall("ready"));

    ClickRow(window, 0);
    ASSERT_TRUE(OpenedLines(1)) << Opened();
    ClickRow(window, 1);
    ASSERT_TRUE(OpenedLines(2)) << Opened();
    EXPECT_EQ(Opened(), other.Root() + "/plain\n" + other.Root() + "/blank\n");
    EXPECT_TRUE(other.Paths().empty()) << "the window went to the other site";
    std::this_thread::sleep_for(std::chrono::milliseconds(1500));
    EXPECT_EQ(VisibleWindows(app_->Pid(), "."), window + "\n") << "the window closed or asked something";

    testing_support::X11Client x11;
    x11.Close(window);
    EXPECT_EQ(app_->WaitExit(kExitLimitMs), 0);
    const auto calls = service.Calls();
    EXPECT_EQ(std::count(calls.begin(), calls.end(), "pagehide"), 0) << "the service page was unloaded";
}

}  // namespace
