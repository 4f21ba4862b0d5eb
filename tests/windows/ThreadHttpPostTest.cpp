#include "windows/ThreadHttpPost.h"

#include "support/Failure.h"

#include <gtest/gtest.h>

#include <atomic>

#include <condition_variable>
#include <deque>
#include <mutex>
#include <thread>

namespace {

// A thread that runs posted work one item at a time, as a window thread does;
// Run returns once the work has run there.
class WindowThread {
public:
    WindowThread() : thread_([this] { Loop(); }) {}
    ~WindowThread() {
        Post({});
        thread_.join();
    }
    std::thread::id Id() const { return thread_.get_id(); }
    void Run(const std::function<void()>& work) {
        std::mutex doneMutex;
        std::condition_variable doneChanged;
        bool done = false;
        Post([&] {
            work();
            std::lock_guard lock(doneMutex);
            done = true;
            doneChanged.notify_all();
        });
        std::unique_lock lock(doneMutex);
        doneChanged.wait(lock, [&] { return done; });
    }

private:
    void Post(std::function<void()> work) {
        std::lock_guard lock(mutex_);
        queue_.push_back(std::move(work));
        changed_.notify_all();
    }
    void Loop() {
        for (;;) {
            std::function<void()> work;
            {
                std::unique_lock lock(mutex_);
                changed_.wait(lock, [this] { return !queue_.empty(); });
                work = std::move(queue_.front());
                queue_.pop_front();
            }
            if (!work) return;
            work();
        }
    }
    std::mutex mutex_;
    std::condition_variable changed_;
    std::deque<std::function<void()>> queue_;
    std::thread thread_;
};

TEST(ThreadHttpPost, RunsOnceAndCompletesOnTheWindowThreadWhileTheWorkerWaits) {
    WindowThread window;
    auto thread = TThreadHttpPost::CreateSuspended([&](const std::function<void()>& work) { window.Run(work); });
    int runs = 0;
    std::thread::id workedOn, completedOn;
    thread->SetMetodo([&] {
        ++runs;
        workedOn = std::this_thread::get_id();
        return std::u16string(u"resposta");
    });
    bool finishedDuringCompletion = true;
    std::u16string seenRetorno, seenErro = u"?";
    thread->SetOnTerminate([&](TThreadHttpPost& sender) {
        completedOn = std::this_thread::get_id();
        finishedDuringCompletion = sender.Finished();
        seenRetorno = sender.Retorno();
        seenErro = sender.Erro();
    });
    EXPECT_EQ(runs, 0);  // suspended until started
    thread->Start();
    thread->Start();
    thread->WaitFor();
    EXPECT_EQ(runs, 1);
    EXPECT_NE(workedOn, std::this_thread::get_id());
    EXPECT_NE(workedOn, window.Id());
    EXPECT_EQ(completedOn, window.Id());
    EXPECT_FALSE(finishedDuringCompletion);
    EXPECT_EQ(seenRetorno, u"resposta");
    EXPECT_EQ(seenErro, u"");
}

TEST(ThreadHttpPost, AFailureLeavesOnlyItsTextAndTheOwnerMayLetGoEarly) {
    std::u16string seenRetorno = u"?", seenErro;
    std::atomic<bool> completed{false};
    std::weak_ptr<TThreadHttpPost> watched;
    {
        auto thread = TThreadHttpPost::CreateSuspended();
        watched = thread;
        thread->SetMetodo([]() -> std::u16string { throw Failure(u"Conexão recusada"); });
        thread->SetOnTerminate([&](TThreadHttpPost& sender) {
            seenRetorno = sender.Retorno();
            seenErro = sender.Erro();
            completed = true;
        });
        thread->Start();
    }  // the owner's reference is gone while the thread may still run
    while (!completed || !watched.expired()) std::this_thread::yield();
    EXPECT_EQ(seenRetorno, u"");
    EXPECT_EQ(seenErro, u"Conexão recusada");
}

}  // namespace
