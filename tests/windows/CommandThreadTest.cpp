// The hand-over between the command thread and the window thread, with the
// test's own thread as the window thread.

#include "fakes/FakePlatform.h"
#include "support/Failure.h"
#include "support/WaitUntil.h"
#include "windows/CommandThread.h"
#include "windows/WindowThread.h"
#include "windows/WindowThreadDialogs.h"

#include <gtest/gtest.h>

#include <atomic>
#include <chrono>
#include <deque>
#include <mutex>
#include <string>
#include <thread>
#include <vector>

namespace {

// A window thread's event queue, run when the test says so.
class EventQueue {
public:
    std::shared_ptr<WindowThread> thread = WindowThread::Create([this](WindowThread::Task task) {
        std::lock_guard lock(mutex_);
        tasks_.push_back(std::move(task));
    });
    // Runs what has been handed over until `done` holds.
    bool RunUntil(const std::function<bool()>& done) {
        return testing_support::WaitUntil(done, 10000, [this] {
            std::deque<WindowThread::Task> tasks;
            {
                std::lock_guard lock(mutex_);
                tasks.swap(tasks_);
            }
            for (auto& task : tasks) task();
        }, 1);
    }

private:
    std::mutex mutex_;
    std::deque<WindowThread::Task> tasks_;
};

TEST(CommandThread, ABurstKeepsItsOrderAndItsWindowWorkRunsOnTheWindowThread) {
    EventQueue window;
    CommandThread commands;
    std::vector<std::string> seen;  // written on the window thread only
    std::atomic<int> finished{0};
    std::atomic<bool> allOnWindowThread{true};
    constexpr int kCommands = 300;
    for (int i = 0; i < kCommands; ++i) {
        commands.Post([&, i] {
            // A dialog's answer, then a script that nobody waits for.
            window.thread->Call([&] {
                allOnWindowThread = allOnWindowThread && window.thread->OnWindowThread();
                seen.push_back("ask " + std::to_string(i));
            });
            window.thread->Post([&, i] { seen.push_back("script " + std::to_string(i)); });
            ++finished;
        });
    }
    ASSERT_TRUE(window.RunUntil([&] { return finished == kCommands && seen.size() == 2 * kCommands; }));
    for (int i = 0; i < kCommands; ++i) {
        EXPECT_EQ(seen[2 * i], "ask " + std::to_string(i));
        EXPECT_EQ(seen[2 * i + 1], "script " + std::to_string(i));
    }
    EXPECT_TRUE(allOnWindowThread);
}

TEST(CommandThread, TheCloseLetsAWaitingCommandGoAndDropsWhatFollows) {
    EventQueue window;
    CommandThread commands;
    std::atomic<int> answered{-1};
    std::atomic<bool> laterRan{false};
    commands.Post([&] { answered = window.thread->Call([] {}) ? 1 : 0; });
    commands.Post([&] { laterRan = true; });
    // The window closes before it gets to the command's work.
    std::this_thread::sleep_for(std::chrono::milliseconds(20));
    window.thread->Close();
    commands.Stop();
    ASSERT_TRUE(window.RunUntil([&] { return answered != -1; }));
    EXPECT_EQ(answered, 0) << "work handed over after the close is dropped";
    std::this_thread::sleep_for(std::chrono::milliseconds(20));
    EXPECT_FALSE(laterRan);
    commands.Post([&] { laterRan = true; });
    std::this_thread::sleep_for(std::chrono::milliseconds(20));
    EXPECT_FALSE(laterRan);
}

TEST(CommandThread, AFailureOnTheWindowThreadComesBackToTheCommand) {
    EventQueue window;
    CommandThread commands;
    std::atomic<bool> caught{false}, done{false};
    commands.Post([&] {
        try {
            window.thread->Call([] { throw Failure(u"sem tela"); });
        } catch (const Failure&) {
            caught = true;
        }
        done = true;
    });
    ASSERT_TRUE(window.RunUntil([&] { return done.load(); }));
    EXPECT_TRUE(caught);
}

// A command's dialogs are shown by the window thread while the command
// waits; once the window has closed, a waiting one and every later one
// answer as dismissed, and none is shown.
TEST(WindowThreadDialogs, EachDialogIsTheWindowThreadsAndAfterTheCloseAnswersAsDismissed) {
    EventQueue window;
    struct WhereShown : fakes::Dialogs {
        std::shared_ptr<WindowThread> thread;
        bool allOnWindowThread = true;
        int MessageDlg(const std::u16string& t, platform::DialogKind k, platform::DialogButtons b,
                       const std::vector<std::u16string>& c, const platform::DialogTitle& title) override {
            allOnWindowThread = allOnWindowThread && thread->OnWindowThread();
            return fakes::Dialogs::MessageDlg(t, k, b, c, title);
        }
    } shown;
    shown.thread = window.thread;
    shown.answers = {platform::ResultYes};
    shown.files = {u"/dados/a.pdf"};
    WindowThreadDialogs dialogs(window.thread, shown);
    using platform::DialogButton;
    CommandThread commands;
    std::vector<int> answers;
    std::u16string chosen;
    std::atomic<int> done{0};
    commands.Post([&] {
        answers.push_back(dialogs.MessageDlg(u"Sair?", platform::DialogKind::Warning,
                                             {DialogButton::Yes, DialogButton::No}, {}, std::nullopt));
        chosen = dialogs.PromptOpenFile(u"Arquivo", u"", u"", platform::FileListing::Matching);
        dialogs.ShowMessage(u"Pronto");
        ++done;
    });
    ASSERT_TRUE(window.RunUntil([&] { return done == 1; }));
    EXPECT_EQ(answers, std::vector<int>{platform::ResultYes});
    EXPECT_EQ(chosen, u"/dados/a.pdf");
    EXPECT_EQ(shown.messages, std::vector<std::u16string>{u"Pronto"});
    EXPECT_TRUE(shown.allOnWindowThread);

    // One asked while the window closes, before the window thread got to it.
    commands.Post([&] {
        answers.push_back(dialogs.MessageDlg(u"Sair?", platform::DialogKind::Warning,
                                             {DialogButton::Yes, DialogButton::No}, {}, std::nullopt));
        ++done;
    });
    std::this_thread::sleep_for(std::chrono::milliseconds(20));
    window.thread->Close();
    commands.Join();
    EXPECT_EQ(done, 2);
    for (const auto& [buttons, dismissed] :
         std::vector<std::pair<platform::DialogButtons, int>>{{{DialogButton::OK}, platform::ResultOK},
                                                              {{DialogButton::Yes}, platform::ResultCancel},
                                                              {{DialogButton::Yes, DialogButton::No, DialogButton::Cancel},
                                                               platform::ResultCancel}})
        answers.push_back(dialogs.MessageDlg(u"?", platform::DialogKind::Information, buttons, {}, std::nullopt));
    EXPECT_EQ(answers, (std::vector<int>{platform::ResultYes, platform::ResultNo, platform::ResultOK,
                                         platform::ResultCancel, platform::ResultCancel}));
    EXPECT_EQ(dialogs.PromptOpenFile(u"Arquivo", u"", u"", platform::FileListing::Matching), u"");
    EXPECT_EQ(shown.shown.size(), 1u) << "nothing is shown after the close";
}

}  // namespace
