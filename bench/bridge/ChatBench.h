#pragma once
// The chat window of the program on the real engine, fed by a page of the
// benchmark's own: what the page sends goes through the bridge, the command
// thread and back to the page as script, as in the program.

#include "browser/EngineStart.h"
#include "browser/TChromiumWindow.h"
#include "platform/Platform.h"
#include "windows/nFrmChatTarvenixClient_U.h"

#include <httplib.h>

#include <QApplication>

#include <cstdio>
#include <memory>
#include <string>
#include <thread>

namespace bench {

// Every question is answered yes at once, as a user in a hurry would.
class YesToEverything : public platform::IDialogs {
public:
    int MessageDlg(const std::u16string&, platform::DialogKind, platform::DialogButtons,
                   const std::vector<std::u16string>&, const platform::DialogTitle&) override {
        return platform::ResultYes;
    }
    void ShowMessage(const std::u16string&) override {}
    std::u16string PromptOpenFile(const std::u16string&, const std::u16string&, const std::u16string&,
                                  platform::FileListing) override {
        return {};
    }
};

// The page server, the engine and a chat window opened on the page.
class ChatBench {
public:
    ChatBench(int argc, char** argv, const std::string& page) : argc_(argc) {
        server_.Get(R"(/ChatWidget/Login/.*)", [page](const httplib::Request&, httplib::Response& res) {
            res.set_content(page, "text/html; charset=utf-8");
        });
        port_ = server_.bind_to_any_port("127.0.0.1");
        serving_ = std::thread([this] { server_.listen_after_bind(); });
        root_ = "http://127.0.0.1:" + std::to_string(port_);
        // The window reads its address from the command line, as the program's does.
        args_ = {argv[0], "-Url", root_, "-token", "bench"};
        for (auto& a : args_) argp_.push_back(a.data());
        platform::SetStartupArguments(static_cast<int>(argp_.size()), argp_.data());

        engine::PrepareEngineEnvironment(engine::EngineFolder());
        application_ = std::make_unique<QApplication>(argc_, argv);
        started_ = engine::StartEngine(engine::EngineFolder(), engine::EngineDataFolder());
        platform::Install(platform::Services{.dialogs = &dialogs_});
        if (!started_) return;
        window_ = std::make_unique<TnFrmChatTarvenixClient>(TChromiumWindow::Factory());
        window_->Iniciar();
        window_->Abrir();
    }
    ~ChatBench() {
        window_.reset();
        server_.stop();
        serving_.join();
    }

    bool Started() const { return started_; }
    httplib::Server& Server() { return server_; }
    const std::string& Root() const { return root_; }
    TnFrmChatTarvenixClient& Window() { return *window_; }
    QApplication& Application() { return *application_; }

private:
    int argc_;  // QApplication keeps a reference
    httplib::Server server_;
    int port_ = 0;
    std::thread serving_;
    std::string root_;
    std::vector<std::string> args_;
    std::vector<char*> argp_;
    YesToEverything dialogs_;
    std::unique_ptr<QApplication> application_;
    bool started_ = false;
    std::unique_ptr<TnFrmChatTarvenixClient> window_;
};

}  // namespace bench
