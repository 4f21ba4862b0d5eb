// The process always ends once its window has closed, whatever the page, an
// upload or a tool is still doing: the real program under a display, against
// a helpdesk of the test's own that misbehaves on request.

#include "support/ChildProcess.h"
#include "support/Desktop.h"
#include "support/Prerequisites.h"
#include "support/ProgramCopy.h"
#include "support/X11Client.h"

#include <gtest/gtest.h>
#include <httplib.h>

#include <algorithm>
#include <chrono>
#include <condition_variable>
#include <cstdlib>
#include <deque>
#include <filesystem>
#include <fstream>
#include <mutex>
#include <sstream>
#include <thread>

namespace {

namespace fs = std::filesystem;
using testing_support::ChildProcess;
using testing_support::PressReturn;
using testing_support::RunAndRead;
using testing_support::VisibleWindows;
using testing_support::WaitForWindow;

const auto* const needs = ::testing::AddGlobalTestEnvironment(new testing_support::NeedsDisplay({"xdotool"}));

constexpr char kChatTitle[] = "^TarveNix - Atendimento$";
// From the window's disappearance to the process's end.
constexpr int kEndLimitMs = 3000;

// A chat page whose confirmation button does what the test says, which sends
// the commands the test queues, and reports what it is told.
class TestService {
public:
    std::string confirmation = "fetch('/confirm', {method: 'POST'});";
    std::string pageScript;

    TestService() {
        server_.Get(R"(/ChatWidget/Login/.*)", [this](const httplib::Request&, httplib::Response& res) {
            res.set_content(Page(), "text/html; charset=utf-8");
        });
        server_.Get(R"(/api/servicos/.*)", [](const httplib::Request&, httplib::Response& res) {
            res.set_content("<!DOCTYPE html><title>s</title><p>Serviços</p>", "text/html; charset=utf-8");
        });
        server_.Get("/next", [this](const httplib::Request&, httplib::Response& res) {
            std::lock_guard lock(mutex_);
            if (commands_.empty()) {
                res.status = 204;
                return;
            }
            res.set_content(commands_.front(), "text/plain; charset=utf-8");
            commands_.pop_front();
        });
        server_.Get("/report", [this](const httplib::Request& req, httplib::Response& res) {
            Note(httplib::detail::decode_url(req.target.substr(req.target.find('?') + 1), false));
            res.status = 204;
        });
        for (const char* path : {"/confirm", "/beacon"})
            server_.Post(path, [this, path](const httplib::Request&, httplib::Response& res) {
                Note(path + 1);
                res.status = 204;
            });
        // Requests that get no answer while the test runs.
        server_.Get("/slow", [this](const httplib::Request&, httplib::Response&) { Hold("slow"); });
        server_.Post("/arquivo/upload", [this](const httplib::Request&, httplib::Response&) { Hold("upload"); });
        port_ = server_.bind_to_any_port("127.0.0.1");
        thread_ = std::thread([this] { server_.listen_after_bind(); });
    }
    ~TestService() {
        {
            std::lock_guard lock(mutex_);
            released_ = true;
        }
        changed_.notify_all();
        server_.stop();
        thread_.join();
    }

    std::string Root() const { return "http://127.0.0.1:" + std::to_string(port_); }
    // The page sends it as if one of its buttons had been pressed.
    void Send(const std::string& command) {
        std::lock_guard lock(mutex_);
        commands_.push_back(command);
    }
    bool Received(const std::string& what, int timeoutMs = 15000) {
        std::unique_lock lock(mutex_);
        return changed_.wait_for(lock, std::chrono::milliseconds(timeoutMs), [&] {
            return std::find(received_.begin(), received_.end(), what) != received_.end();
        });
    }
    void Forget() {
        std::lock_guard lock(mutex_);
        received_.clear();
        commands_.clear();
    }

private:
    std::string Page() {
        std::lock_guard lock(mutex_);
        return R"PAGE(<!DOCTYPE html><html><head><meta charset="utf-8"></head><body>
<button class="chat-widget-zq-btn-yes btn-zq-confirm btn-yes" onclick="confirmar()">Encerrar</button>
<script>
function report(what) { fetch('/report?' + encodeURIComponent(what)).catch(function () {}); }
function buildRemoteButton() { report('armed'); }
function notifyEvent() {}
function sendInteractionToAttendant(text) { report('attendant:' + text); }
function confirmar() { )PAGE" + confirmation + R"PAGE( }
function stuck() { var x = new XMLHttpRequest(); x.open('GET', '/slow', false); x.send(); }
function poll() {
  fetch('/next').then(function (r) { return r.status === 200 ? r.text() : null; }).then(function (text) {
    if (text) { external.Notificar(text); if (/\|stuck$/.test(text)) stuck(); }
    setTimeout(poll, 50);
  }, function () { setTimeout(poll, 50); });
}
window.addEventListener('load', function () { report('load'); poll(); });
)PAGE" + pageScript + R"PAGE(
</script></body></html>)PAGE";
    }
    void Note(const std::string& what) {
        {
            std::lock_guard lock(mutex_);
            received_.push_back(what);
        }
        changed_.notify_all();
    }
    void Hold(const std::string& what) {
        Note(what);
        std::unique_lock lock(mutex_);
        changed_.wait(lock, [this] { return released_; });
    }

    httplib::Server server_;
    int port_ = 0;
    std::thread thread_;
    std::mutex mutex_;
    std::condition_variable changed_;
    std::deque<std::string> commands_;
    std::vector<std::string> received_;
    bool released_ = false;
};

class ProgramEnd : public ::testing::Test {
protected:
    void SetUp() override {
        folder_ = testing_support::FreshTestFolder("tarvenix-end");
        fs::create_directories(folder_ / "bin");
        program_ = testing_support::InstallProgram(PROGRAM_PATH, folder_ / "app");
        // A default browser that only writes down what it was given.
        Script(folder_ / "bin" / "xdg-open", "printf '%s\\n' \"$1\" >> '" + (folder_ / "opened.txt").string() + "'");
    }
    void TearDown() override {
        app_.reset();
        std::error_code ignored;
        fs::remove_all(folder_, ignored);
    }

    static void Script(const fs::path& path, const std::string& body) {
        std::ofstream(path) << "#!/bin/sh\n" << body << "\n";
        fs::permissions(path, fs::perms::owner_all);
    }
    void Start(const std::vector<std::string>& args) {
        std::vector<std::string> argv{program_.string()};
        argv.insert(argv.end(), args.begin(), args.end());
        app_ = std::make_unique<ChildProcess>(
            argv, std::vector<std::string>{"PATH=" + (folder_ / "bin").string() + ":" + std::getenv("PATH")});
    }
    // The chat on the test's service, its page loaded.
    void OpenChat() {
        service_.Forget();
        Start({"-Url", service_.Root(), "-token", "t"});
        ASSERT_TRUE(service_.Received("load", 30000)) << "the page did not load";
        window_ = SettledWindow(kChatTitle);
        ASSERT_FALSE(window_.empty()) << "the chat window did not open";
    }
    std::string SettledWindow(const std::string& title) { return testing_support::SettledWindow(app_->Pid(), title); }
    // A window of the program other than `except`, such as a dialog.
    std::string OtherWindow(const std::string& except, int timeoutMs = 10000) {
        const auto deadline = std::chrono::steady_clock::now() + std::chrono::milliseconds(timeoutMs);
        while (std::chrono::steady_clock::now() < deadline) {
            std::istringstream ids(VisibleWindows(app_->Pid(), "."));
            for (std::string id; std::getline(ids, id);)
                if (id != except) return id;
            std::this_thread::sleep_for(std::chrono::milliseconds(50));
        }
        return {};
    }
    // Waits for the chat window to go, then for the process; its exit code.
    std::optional<int> EndAfterTheWindowCloses(const std::string& title = kChatTitle) {
        const auto deadline = std::chrono::steady_clock::now() + std::chrono::seconds(30);
        while (!VisibleWindows(app_->Pid(), title).empty()) {
            if (std::chrono::steady_clock::now() > deadline) return std::nullopt;
            std::this_thread::sleep_for(std::chrono::milliseconds(20));
        }
        return app_->WaitExit(kEndLimitMs);
    }
    std::string Opened() const {
        std::ifstream in(folder_ / "opened.txt");
        return std::string(std::istreambuf_iterator<char>(in), {});
    }

    fs::path folder_;
    fs::path program_;
    TestService service_;
    testing_support::X11Client x11_;
    std::unique_ptr<ChildProcess> app_;
    std::string window_;
};

TEST_F(ProgramEnd, EveryWayOfClosingTheChatEndsTheProcessAndTheConfirmationReachesTheService) {
    struct Way {
        const char* name;
        std::function<void()> close;
    };
    const std::vector<Way> ways{
        {"close button", [&] { x11_.Close(window_); }},
        {"close button, exit question answered yes",
         [&] {
             service_.Send("OnOpenCall");
             ASSERT_TRUE(service_.Received("armed"));
             x11_.Close(window_);
             const std::string question = OtherWindow(window_);
             ASSERT_FALSE(question.empty()) << "no exit question";
             PressReturn(question);
         }},
        {"CloseChatWindow", [&] { service_.Send("CloseChatWindow"); }},
        {"CloseChatWindow with its dialog",
         [&] {
             service_.Send("CloseChatWindow|Fim|Atendimento encerrado|");
             const std::string box = OtherWindow(window_);
             ASSERT_FALSE(box.empty()) << "no dialog";
             PressReturn(box);
         }},
        {"RedirectToBrowserAndClose", [&] { service_.Send("RedirectToBrowserAndClose"); }},
    };
    for (const Way& way : ways) {
        SCOPED_TRACE(way.name);
        OpenChat();
        way.close();
        EXPECT_EQ(EndAfterTheWindowCloses(), 0);
        EXPECT_TRUE(service_.Received("confirm", 0)) << "the confirmation did not reach the service";
    }
    EXPECT_NE(Opened().find("/ChatWidget/Login/t&StayConnected=false"), std::string::npos) << Opened();
}

TEST_F(ProgramEnd, BothAnswersOfTheLoadErrorAndTheServiceWindowsCloseEndTheProcess) {
    for (const char* key : {"Return", "Escape"}) {
        SCOPED_TRACE(key);
        Start({"-Url", "http://127.0.0.1:9", "-token", "t"});
        const std::string question = WaitForWindow(app_->Pid(), "^Dravelt Tarvenix$", 30000);
        ASSERT_FALSE(question.empty()) << "no load error question";
        testing_support::PressKey(question, key);
        EXPECT_EQ(EndAfterTheWindowCloses(), 0);
    }
    EXPECT_NE(Opened().find("http://127.0.0.1:9/ChatWidget/Login/t"), std::string::npos) << "yes opens the browser";

    Start({"-Url", service_.Root(), "-servico_tipo", "listar", "-IDAplicativo", "7", "-Name", "Ana", "-Email",
           "ana@example.com", "-OrganizationCodeReference", "42"});
    const std::string window = SettledWindow("^Consultar Serviços$");
    ASSERT_FALSE(window.empty());
    x11_.Close(window);
    EXPECT_EQ(EndAfterTheWindowCloses("^Consultar Serviços$"), 0);
}

TEST_F(ProgramEnd, APageThatIsStuckDoesNotKeepTheProcessAlive) {
    // The confirmation waits for a request that is never answered.
    service_.confirmation = "stuck();";
    OpenChat();
    service_.Send("CloseChatWindow");
    EXPECT_EQ(EndAfterTheWindowCloses(), 0);
    EXPECT_TRUE(service_.Received("slow", 0));

    // The confirmation sends a beacon and never returns: the beacon still goes.
    service_.confirmation = "navigator.sendBeacon('/beacon', 'fim'); for (;;) {}";
    OpenChat();
    x11_.Close(window_);
    EXPECT_EQ(EndAfterTheWindowCloses(), 0);
    EXPECT_TRUE(service_.Received("beacon", 0)) << "the beacon did not leave";

    // The page is in a synchronous request when its own command ends the chat.
    service_.confirmation = "";
    OpenChat();
    service_.Send("CloseChatWindow|x|stuck");
    EXPECT_EQ(EndAfterTheWindowCloses(), 0);

    // The page runs a script that never ends when the window is closed.
    service_.pageScript = "setTimeout(function () { report('looping'); for (;;) {} }, 300);";
    OpenChat();
    ASSERT_TRUE(service_.Received("looping"));
    x11_.Close(window_);
    EXPECT_EQ(EndAfterTheWindowCloses(), 0);
}

TEST_F(ProgramEnd, AnUploadAToolOrAnOpenDialogDoNotKeepTheProcessAlive) {
    // An upload that waits for the service.
    OpenChat();
    service_.Send("PrintScreenClient");
    ASSERT_TRUE(service_.Received("upload"));
    x11_.Close(window_);
    EXPECT_EQ(EndAfterTheWindowCloses(), 0);

    // A command's question still waiting for the user.
    OpenChat();
    service_.Send("QueryClose|Deseja encerrar o chat?|closeChat()");
    ASSERT_FALSE(OtherWindow(window_).empty()) << "no question";
    x11_.Close(window_);
    EXPECT_EQ(EndAfterTheWindowCloses(), 0);

    // A remote-assistance tool whose query goes on and on.
    ChildProcess anyDeskWindow({TITLED_WINDOW, "AnyDesk", "--seconds", "60"});
    Script(folder_ / "app" / "anydesk", "echo started >> '" + (folder_ / "tool.txt").string() + "'\nsleep 30");
    OpenChat();
    service_.Send("ConnectRemoteAttendantListening|127.0.0.1|anydesk");
    for (int i = 0; i < 200 && !fs::exists(folder_ / "tool.txt"); ++i)
        std::this_thread::sleep_for(std::chrono::milliseconds(50));
    ASSERT_TRUE(fs::exists(folder_ / "tool.txt")) << "the tool did not start";
    x11_.Close(window_);
    EXPECT_EQ(EndAfterTheWindowCloses(), 0);
}

TEST_F(ProgramEnd, TheWindowAnswersTheSystemWhileAToolRuns) {
    ChildProcess anyDeskWindow({TITLED_WINDOW, "AnyDesk", "--seconds", "60"});
    Script(folder_ / "app" / "anydesk", "sleep 4\necho 123456789");
    OpenChat();
    service_.Send("ConnectRemoteAttendantListening|127.0.0.1|anydesk");
    int slowest = 0;
    for (int i = 0; i < 10; ++i) {
        const auto answer = x11_.Ping(window_, 1000);
        ASSERT_TRUE(answer.has_value()) << "no answer to ping " << i;
        slowest = std::max(slowest, *answer);
        std::this_thread::sleep_for(std::chrono::milliseconds(300));
    }
    EXPECT_LT(slowest, 1000);
    EXPECT_TRUE(service_.Received("attendant:Cliente solicitou conexão remota via AnyDesk. Endereço: 123456789"));
    x11_.Close(window_);
    EXPECT_EQ(EndAfterTheWindowCloses(), 0);
}

TEST_F(ProgramEnd, ThePagesCloseWinsOverAnExitQuestionAlreadyOnScreen) {
    OpenChat();
    service_.Send("OnOpenCall");
    ASSERT_TRUE(service_.Received("armed"));
    x11_.Close(window_);
    const std::string question = OtherWindow(window_);
    ASSERT_FALSE(question.empty()) << "no exit question";
    service_.Send("CloseChatWindow");
    std::this_thread::sleep_for(std::chrono::milliseconds(500));
    // "No": the user would stay, but the page has closed the chat.
    testing_support::PressKey(question, "Escape");
    EXPECT_EQ(EndAfterTheWindowCloses(), 0);
}

}  // namespace
