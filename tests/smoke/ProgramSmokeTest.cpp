// The real program, started as the launching ERP starts it, under a display.

#include "support/Prerequisites.h"
#include "support/RealProgram.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <string>

namespace {

const auto* const needs = ::testing::AddGlobalTestEnvironment(new testing_support::NeedsDisplay({"xdotool", "curl"}));

namespace fs = std::filesystem;
using testing_support::ChildProcess;
using testing_support::PressReturn;
using testing_support::RunAndRead;
using testing_support::WaitForWindow;

constexpr int kExitLimitMs = 30000;

class Program : public testing_support::RealProgram {};

TEST_F(Program, ChatWithAbrirBrowserHandsTheLoginAddressToTheDefaultBrowser) {
    Start({"-Url", "helpdesk.example", "-IDAplicativo", "7", "-Name", "Ana", "-Email", "ana@example.com",
           "-OrganizationCodeReference", "42", "-abrir_browser", "true"});
    EXPECT_EQ(app_->WaitExit(kExitLimitMs), 0);
    // The stand-in browser runs detached; give it a moment to write.
    OpenedLines(1, 5000);
    EXPECT_EQ(Opened(),
              "http://helpdesk.example/ChatWidget/Login/7?Name=Ana&Email=ana@example.com&OrganizationCodeReference=42"
              "&StayConnected=false&EmptySubject=false&StartChat=false\n");
}

TEST_F(Program, IncompleteChatParametersShowTheRefusalAndEndWithZero) {
    Start({"-Url", "helpdesk.example"});
    const std::string box = WaitForWindow(app_->Pid(), ".");
    ASSERT_FALSE(box.empty()) << "no dialog appeared";
    EXPECT_EQ(RunAndRead("xdotool search --onlyvisible --name '^TarveNix - Atendimento$' 2>/dev/null"), "");
    PressReturn(box);
    EXPECT_EQ(app_->WaitExit(kExitLimitMs), 0);
    EXPECT_EQ(Opened(), "");
}

TEST_F(Program, AServiceRequestWithoutItsParametersEndsWithOne) {
    Start({"-servico_tipo", "novo"});
    const std::string box = WaitForWindow(app_->Pid(), "^Application Error$");
    ASSERT_FALSE(box.empty()) << "no Application Error box appeared";
    PressReturn(box);
    EXPECT_EQ(app_->WaitExit(kExitLimitMs), 1);
}

TEST_F(Program, TheChatOpensOnTheServiceAndLoadsItsPage) {
    ChildProcess service({DEMO_SERVICE_PATH, "--port", "0"});
    const std::string line = service.ReadLine(10000);
    ASSERT_EQ(line.rfind("listening 127.0.0.1:", 0), 0u) << line;
    const std::string port = line.substr(line.rfind(':') + 1);
    Start({"-Url", "http://127.0.0.1:" + port, "-token", "abc+/="});
    ASSERT_FALSE(WaitForWindow(app_->Pid(), "^TarveNix - Atendimento$").empty());
    std::string log;
    testing_support::WaitUntil([&] {
        log = RunAndRead("curl -s http://127.0.0.1:" + port + "/__log");
        return log.find("\"fn\":\"load\"") != std::string::npos;
    }, 20000, {}, 100);
    EXPECT_NE(log.find("/ChatWidget/Login/abc+/=&StayConnected=false&EmptySubject=false&StartChat=false"),
              std::string::npos)
        << log;
    EXPECT_FALSE(app_->WaitExit(0).has_value()) << "the window stays open";
}

// Started with no locale at all, as on a bare machine: the accented title
// still reaches the window system intact.
TEST_F(Program, AServicePageOpensPastTheBrowserVersionGate) {
    Start({"-Url", "127.0.0.1:9", "-servico_tipo", "listar", "-IDAplicativo", "7", "-Name", "Ana", "-Email",
           "ana@example.com", "-OrganizationCodeReference", "42"},
          {"LANG=", "LC_ALL=", "LC_CTYPE=", "LANGUAGE="});
    EXPECT_FALSE(WaitForWindow(app_->Pid(), "^Consultar Serviços$").empty());
    EXPECT_EQ(Opened(), "") << "the engine's own version passes the gate";
}

TEST_F(Program, AnEngineThatCannotStartIsReportedAndNoWindowOpens) {
    // A copy of the program without its engine folder beside it.
    fs::copy_file(PROGRAM_PATH, folder_ / "PTarveNixApp");
    Start({"-token", "abc"}, {}, {}, folder_ / "PTarveNixApp");
    const std::string box = WaitForWindow(app_->Pid(), ".");
    ASSERT_FALSE(box.empty()) << "the engine's error box did not appear";
    EXPECT_EQ(RunAndRead("xdotool search --all --onlyvisible --pid " + std::to_string(app_->Pid()) +
                         " --name '^TarveNix - Atendimento$' 2>/dev/null"),
              "");
    PressReturn(box);
    EXPECT_EQ(app_->WaitExit(kExitLimitMs), 0);
}

TEST_F(Program, ASecondStartOfTheSameWindowRaisesTheFirstAndEnds) {
    const std::vector<std::string> args{"-Url", "127.0.0.1:9", "-servico_tipo", "novo", "-IDAplicativo", "7",
                                        "-Name", "Ana", "-Email", "ana@example.com", "-OrganizationCodeReference",
                                        "42"};
    Start(args);
    const auto first = std::move(app_);
    const std::string window = testing_support::SettledWindow(first->Pid(), "^Solicitação de Serviços$");
    ASSERT_FALSE(window.empty());
    RunAndRead("xdotool windowminimize --sync " + window + " 2>/dev/null");

    Start(args);
    EXPECT_EQ(app_->WaitExit(kExitLimitMs), 0);
    EXPECT_FALSE(first->WaitExit(0).has_value()) << "the first copy goes on";
    // Only the first window, shown again (un-minimising needs a window
    // manager, which the virtual display may lack).
    EXPECT_EQ(RunAndRead("xdotool search --onlyvisible --name '^Solicitação de Serviços$' 2>/dev/null"),
              window + "\n");
}

}  // namespace
