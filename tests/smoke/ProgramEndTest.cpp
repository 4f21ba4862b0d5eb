// The process always ends once its window has closed, whatever the page, an
// upload or a tool is still doing: the real program under a display, against
// a helpdesk of the test's own that misbehaves on request.

#include "support/PageServer.h"
#include "support/Prerequisites.h"
#include "support/RealProgram.h"
#include "support/X11Client.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <filesystem>
#include <fstream>
#include <sstream>

namespace {

namespace fs = std::filesystem;
using testing_support::ChildProcess;
using testing_support::kChatTitle;
using testing_support::PressReturn;
using testing_support::VisibleWindows;
using testing_support::WaitForWindow;

const auto* const needs = ::testing::AddGlobalTestEnvironment(new testing_support::NeedsDisplay({"xdotool"}));

// The chat page: its confirmation button does what the test says, it sends
// the commands the test queues, and it reports what it is told.
std::string ChatPage(const std::string& confirmation, const std::string& pageScript) {
    return R"PAGE(<button class="chat-widget-zq-btn-yes btn-zq-confirm btn-yes" onclick="confirmar()">Encerrar</button>
<script>
function buildRemoteButton() { report('armed'); }
function notifyEvent() {}
function sendInteractionToAttendant(text) { report('attendant:' + text); }
function confirmar() { )PAGE" + confirmation + R"PAGE( }
function stuck() { var x = new XMLHttpRequest(); x.open('GET', '/slow', false); x.send(); }
window.afterCommand = function (text) { if (/\|stuck$/.test(text)) stuck(); };
window.addEventListener('load', function () { report('load'); });
)PAGE" + pageScript + "\n</script>";
}

class ProgramEnd : public testing_support::RealProgram {
protected:
    ProgramEnd() {
        for (const char* path : {"/confirm", "/beacon"}) service_.Noted("POST", path);
        // Requests that get no answer while the test runs.
        service_.Noted("GET", "/slow", /*held=*/true);
        service_.Noted("POST", "/arquivo/upload", /*held=*/true, "upload");
        service_.Page(R"(/api/servicos/.*)", "<p>Serviços</p>");
        service_.Page(R"(/ChatWidget/Login/.*)", [this] { return ChatPage(confirmation, pageScript); });
    }

    static void Script(const fs::path& path, const std::string& body) {
        std::ofstream(path) << "#!/bin/sh\n" << body << "\n";
        fs::permissions(path, fs::perms::owner_all);
    }
    // The chat on the test's service, its page loaded.
    void OpenChat() {
        service_.Forget();
        Start({"-Url", service_.Root(), "-token", "t"});
        ASSERT_TRUE(service_.Received("load", 30000)) << "the page did not load";
        window_ = testing_support::SettledWindow(app_->Pid(), kChatTitle);
        ASSERT_FALSE(window_.empty()) << "the chat window did not open";
    }
    // A window of the program other than `except`, such as a dialog.
    std::string OtherWindow(const std::string& except, int timeoutMs = 10000) {
        std::string other;
        testing_support::WaitUntil([&] {
            std::istringstream ids(VisibleWindows(app_->Pid(), "."));
            for (std::string id; std::getline(ids, id);)
                if (id != except) other = id;
            return !other.empty();
        }, timeoutMs, {}, 50);
        return other;
    }

    std::string confirmation = "fetch('/confirm', {method: 'POST'});";
    std::string pageScript;
    testing_support::PageServer service_;
    testing_support::X11Client x11_;
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
    const std::string window = testing_support::SettledWindow(app_->Pid(), "^Consultar Serviços$");
    ASSERT_FALSE(window.empty());
    x11_.Close(window);
    EXPECT_EQ(EndAfterTheWindowCloses("^Consultar Serviços$"), 0);
}

TEST_F(ProgramEnd, APageThatIsStuckDoesNotKeepTheProcessAlive) {
    // The confirmation waits for a request that is never answered.
    confirmation = "stuck();";
    OpenChat();
    service_.Send("CloseChatWindow");
    EXPECT_EQ(EndAfterTheWindowCloses(), 0);
    EXPECT_TRUE(service_.Received("slow", 0));

    // The confirmation sends a beacon and never returns: the beacon still goes.
    confirmation = "navigator.sendBeacon('/beacon', 'fim'); for (;;) {}";
    OpenChat();
    x11_.Close(window_);
    EXPECT_EQ(EndAfterTheWindowCloses(), 0);
    EXPECT_TRUE(service_.Received("beacon", 0)) << "the beacon did not leave";

    // The page is in a synchronous request when its own command ends the chat.
    confirmation = "";
    OpenChat();
    service_.Send("CloseChatWindow|x|stuck");
    EXPECT_EQ(EndAfterTheWindowCloses(), 0);

    // The page runs a script that never ends when the window is closed.
    pageScript = "setTimeout(function () { report('looping'); for (;;) {} }, 300);";
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
    Install();
    Script(folder_ / "app" / "anydesk", "echo started >> '" + (folder_ / "tool.txt").string() + "'\nsleep 30");
    OpenChat();
    service_.Send("ConnectRemoteAttendantListening|127.0.0.1|anydesk");
    ASSERT_TRUE(testing_support::WaitUntil([&] { return fs::exists(folder_ / "tool.txt"); }, 10000))
        << "the tool did not start";
    x11_.Close(window_);
    EXPECT_EQ(EndAfterTheWindowCloses(), 0);
}

TEST_F(ProgramEnd, TheWindowAnswersTheSystemWhileAToolRuns) {
    ChildProcess anyDeskWindow({TITLED_WINDOW, "AnyDesk", "--seconds", "60"});
    Install();
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
