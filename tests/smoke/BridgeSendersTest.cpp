// The real program on pages of the test's own loopback servers: only
// documents of the chat's site may use the bridge, the windows show only
// their own site, and what the user opens elsewhere goes to the default
// browser. Another loopback port is another origin, and another site.

#include "support/PageServer.h"
#include "support/Prerequisites.h"
#include "support/RealProgram.h"
#include "support/X11Client.h"
#include "windows/LoopbackServer.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <atomic>
#include <chrono>
#include <filesystem>
#include <fstream>
#include <string>
#include <thread>
#include <vector>

namespace {

const auto* const needs = ::testing::AddGlobalTestEnvironment(new testing_support::NeedsDisplay({"xdotool"}));

namespace fs = std::filesystem;
using testing_support::ClickAt;
using testing_support::kChatTitle;
using testing_support::SettledWindow;
using testing_support::VisibleWindows;
using testing_support::WaitForWindow;
using testing_support::WaitUntil;
using Origin = testing_support::PageServer;

constexpr char kConnect[] = "ConnectRemoteAttendantListening|127.0.0.1:5500|tight";
constexpr int kExitLimitMs = 30000;
// Pages to click on: rows 60 pixels high from the top, and a word to the
// service when the page goes away.
constexpr char kRows[] = R"(<style>body { margin: 0 } .row { display: block; box-sizing: border-box; width: 100%;
    height: 60px; margin: 0; border: 0; font-size: 20px }</style>
    <script>window.addEventListener('pagehide', function () {
      navigator.sendBeacon('/__log', JSON.stringify({ fn: 'pagehide', seq: 1000 })); });</script>)";

// The middle of row `row`.
void ClickRow(const std::string& window, int row) { ClickAt(window, 150, 30 + 60 * row); }

// Counts connections to the attendant's address of the attack: a VNC server
// started by it would connect here.
class Listener : public testing_support::LoopbackServer {
public:
    Listener() : LoopbackServer("", false, 5500) {}
};

class BridgeSenders : public testing_support::RealProgram {
protected:
    void SetUp() override {
        RealProgram::SetUp();
        // A copy of the program with its action log switched on.
        Install(".");
        fs::create_directories(folder_ / "temp");
        std::ofstream(folder_ / "logar_Tarvenix");
    }
    // Started in its own folder, where the action log is written.
    void Start(const std::vector<std::string>& args) { RealProgram::Start(args, {}, folder_); }
    void Start(const Origin& chat) {
        Start({"-Url", chat.Root(), "-token", "abc"});
        ASSERT_FALSE(WaitForWindow(app_->Pid(), kChatTitle, 30000).empty());
    }
    fs::path Downloads() const { return Home() / "Downloads"; }
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

    ASSERT_TRUE(chat.Received("foreign-sent")) << "the other origin's frame did not run";
    ASSERT_TRUE(chat.Received("buildRemoteButton"));
    // Time for a tool to start and connect, had the call got through.
    std::this_thread::sleep_for(std::chrono::seconds(3));
    std::vector<std::string> answers = chat.Calls();
    std::erase(answers, "foreign-sent");
    EXPECT_EQ(answers, (std::vector<std::string>{"closeChat", "buildRemoteButton", "closeChat"}))
        << "the same-origin frame's commands, each answered in order";
    if (attendant.Listening()) {
        EXPECT_EQ(attendant.Connections(), 0);
    }
    EXPECT_TRUE(OnlyTheWindow());
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

    ASSERT_TRUE(chat.Received("tried"));
    ASSERT_TRUE(WaitUntil([&] { return ActionLog().find("tarvx-test:timer") != std::string::npos; })) << ActionLog();
    const std::string log = ActionLog();
    EXPECT_NE(log.find("Janela nova recusada, endereço \"" + other.Root() + "/pop\""), std::string::npos) << log;
    EXPECT_NE(log.find("Navegação recusada, endereço \"" + other.Root() + "/away\""), std::string::npos) << log;
    EXPECT_TRUE(other.Paths().empty()) << "the other site was reached";
    EXPECT_EQ(Opened(), "") << "something reached the default browser";
    EXPECT_TRUE(OnlyTheWindow());

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
    ASSERT_TRUE(chat.Received("ready"));

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
    EXPECT_TRUE(OnlyTheWindow());

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
    ASSERT_TRUE(chat.Received("ready"));
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
    ASSERT_TRUE(service.Received("ready"));

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
