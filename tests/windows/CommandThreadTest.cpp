// The hand-over between the command thread and the window thread, with the
// test's own thread as the window thread.

#include "support/Failure.h"
#include "windows/CommandThread.h"
#include "windows/WindowThread.h"

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
    template <class Done>
    bool RunUntil(Done done) {
        const auto deadline = std::chrono::steady_clock::now() + std::chrono::seconds(10);
        while (!done()) {
            if (std::chrono::steady_clock::now() > deadline) return false;
            std::deque<WindowThread::Task> tasks;
            {
                std::lock_guard lock(mutex_);
                tasks.swap(tasks_);
            }
            for (auto& task : tasks) task();
            std::this_thread::sleep_for(std::chrono::milliseconds(1));
        }
        return true;
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

}  // namespace
