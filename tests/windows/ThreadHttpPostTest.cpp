#include "windows/ThreadHttpPost.h"

#include "support/Failure.h"
#include "windows/CommandThread.h"

#include <gtest/gtest.h>

#include <atomic>
#include <future>
#include <thread>

namespace {

// A thread that runs posted work one item at a time, as a window thread does;
// Run returns once the work has run there.
class WindowThread {
public:
    WindowThread() {
        Run([this] { id_ = std::this_thread::get_id(); });
    }
    ~WindowThread() { thread_.Join(); }
    std::thread::id Id() const { return id_; }
    void Run(const std::function<void()>& work) {
        std::promise<void> done;
        thread_.Post([&] {
            work();
            done.set_value();
        });
        done.get_future().wait();
    }

private:
    CommandThread thread_;
    std::thread::id id_;
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
