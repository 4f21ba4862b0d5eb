// The real program, started as the launching ERP starts it, under a display.

#include "support/ChildProcess.h"
#include "support/Desktop.h"
#include "support/Prerequisites.h"
#include "support/ProgramCopy.h"

#include <gtest/gtest.h>

#include <chrono>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <sstream>
#include <string>
#include <thread>

namespace {

const auto* const needs = ::testing::AddGlobalTestEnvironment(new testing_support::NeedsDisplay({"xdotool", "curl"}));

namespace fs = std::filesystem;
using testing_support::ChildProcess;
using testing_support::PressReturn;
using testing_support::RunAndRead;
using testing_support::WaitForWindow;

constexpr int kExitLimitMs = 30000;

class Program : public ::testing::Test {
protected:
    void SetUp() override {
        folder_ = testing_support::FreshTestFolder("tarvenix-smoke");
        fs::create_directories(folder_ / "bin");
        // A default browser that only writes down what it was given.
        std::ofstream(folder_ / "bin" / "xdg-open") << "#!/bin/sh\nprintf '%s\\n' \"$1\" >> '"
                                                   << (folder_ / "opened.txt").string() << "'\n";
        fs::permissions(folder_ / "bin" / "xdg-open", fs::perms::owner_all);
    }
    void TearDown() override {
        std::error_code ignored;
        fs::remove_all(folder_, ignored);
    }
    std::unique_ptr<ChildProcess> Start(std::vector<std::string> args, std::vector<std::string> environment = {}) {
        args.insert(args.begin(), PROGRAM_PATH);
        environment.push_back("PATH=" + (folder_ / "bin").string() + ":" + std::getenv("PATH"));
        return std::make_unique<ChildProcess>(args, environment);
    }
    std::string Opened() {
        std::ifstream in(folder_ / "opened.txt");
        std::stringstream text;
        text << in.rdbuf();
        return text.str();
    }

    fs::path folder_;
};

TEST_F(Program, ChatWithAbrirBrowserHandsTheLoginAddressToTheDefaultBrowser) {
    auto app = Start({"-Url", "helpdesk.example", "-IDAplicativo", "7", "-Name", "Ana", "-Email", "ana@example.com",
                      "-OrganizationCodeReference", "42", "-abrir_browser", "true"});
    EXPECT_EQ(app->WaitExit(kExitLimitMs), 0);
    // The stand-in browser runs detached; give it a moment to write.
    for (int i = 0; i < 50 && Opened().empty(); ++i) std::this_thread::sleep_for(std::chrono::milliseconds(100));
    EXPECT_EQ(Opened(),
              "http://helpdesk.example/ChatWidget/Login/7?Name=Ana&Email=ana@example.com&OrganizationCodeReference=42"
              "&StayConnected=false&EmptySubject=false&StartChat=false\n");
}

TEST_F(Program, IncompleteChatParametersShowTheRefusalAndEndWithZero) {
    auto app = Start({"-Url", "helpdesk.example"});
    const std::string box = WaitForWindow(app->Pid(), ".");
    ASSERT_FALSE(box.empty()) << "no dialog appeared";
    EXPECT_EQ(RunAndRead("xdotool search --onlyvisible --name '^TarveNix - Atendimento$' 2>/dev/null"), "");
    PressReturn(box);
    EXPECT_EQ(app->WaitExit(kExitLimitMs), 0);
    EXPECT_EQ(Opened(), "");
}

TEST_F(Program, AServiceRequestWithoutItsParametersEndsWithOne) {
    auto app = Start({"-servico_tipo", "novo"});
    const std::string box = WaitForWindow(app->Pid(), "^Application Error$");
    ASSERT_FALSE(box.empty()) << "no Application Error box appeared";
    PressReturn(box);
    EXPECT_EQ(app->WaitExit(kExitLimitMs), 1);
}

TEST_F(Program, TheChatOpensOnTheServiceAndLoadsItsPage) {
    ChildProcess service({DEMO_SERVICE_PATH, "--port", "0"});
    const std::string line = service.ReadLine(10000);
    ASSERT_EQ(line.rfind("listening 127.0.0.1:", 0), 0u) << line;
    const std::string port = line.substr(line.rfind(':') + 1);
    auto app = Start({"-Url", "http://127.0.0.1:" + port, "-token", "abc+/="});
    ASSERT_FALSE(WaitForWindow(app->Pid(), "^TarveNix - Atendimento$").empty());
    std::string log;
    for (int i = 0; i < 200 && log.find("\"fn\":\"load\"") == std::string::npos; ++i) {
        std::this_thread::sleep_for(std::chrono::milliseconds(100));
        log = RunAndRead("curl -s http://127.0.0.1:" + port + "/__log");
    }
    EXPECT_NE(log.find("/ChatWidget/Login/abc+/=&StayConnected=false&EmptySubject=false&StartChat=false"),
              std::string::npos)
        << log;
    EXPECT_FALSE(app->WaitExit(0).has_value()) << "the window stays open";
}

// Started with no locale at all, as on a bare machine: the accented title
// still reaches the window system intact.
TEST_F(Program, AServicePageOpensPastTheBrowserVersionGate) {
    auto app = Start({"-Url", "127.0.0.1:9", "-servico_tipo", "listar", "-IDAplicativo", "7", "-Name", "Ana", "-Email",
                      "ana@example.com", "-OrganizationCodeReference", "42"},
                     {"LANG=", "LC_ALL=", "LC_CTYPE=", "LANGUAGE="});
    EXPECT_FALSE(WaitForWindow(app->Pid(), "^Consultar Serviços$").empty());
    EXPECT_EQ(Opened(), "") << "the engine's own version passes the gate";
}

TEST_F(Program, AnEngineThatCannotStartIsReportedAndNoWindowOpens) {
    // A copy of the program without its engine folder beside it.
    fs::copy_file(PROGRAM_PATH, folder_ / "PTarveNixApp");
    std::vector<std::string> args{(folder_ / "PTarveNixApp").string(), "-token", "abc"};
    ChildProcess app(args, {"PATH=" + (folder_ / "bin").string() + ":" + std::getenv("PATH")});
    const std::string box = WaitForWindow(app.Pid(), ".");
    ASSERT_FALSE(box.empty()) << "the engine's error box did not appear";
    EXPECT_EQ(RunAndRead("xdotool search --all --onlyvisible --pid " + std::to_string(app.Pid()) +
                         " --name '^TarveNix - Atendimento$' 2>/dev/null"),
              "");
    PressReturn(box);
    EXPECT_EQ(app.WaitExit(kExitLimitMs), 0);
}

TEST_F(Program, ASecondStartOfTheSameWindowRaisesTheFirstAndEnds) {
    const std::vector<std::string> args{"-Url", "127.0.0.1:9", "-servico_tipo", "novo", "-IDAplicativo", "7",
                                        "-Name", "Ana", "-Email", "ana@example.com", "-OrganizationCodeReference",
                                        "42"};
    auto first = Start(args);
    const std::string window = WaitForWindow(first->Pid(), "^Solicitação de Serviços$");
    ASSERT_FALSE(window.empty());
    RunAndRead("xdotool windowminimize --sync " + window + " 2>/dev/null");

    auto second = Start(args);
    EXPECT_EQ(second->WaitExit(kExitLimitMs), 0);
    EXPECT_FALSE(first->WaitExit(0).has_value()) << "the first copy goes on";
    // Only the first window, shown again (un-minimising needs a window
    // manager, which the virtual display may lack).
    EXPECT_EQ(RunAndRead("xdotool search --onlyvisible --name '^Solicitação de Serviços$' 2>/dev/null"),
              window + "\n");
}

}  // namespace
