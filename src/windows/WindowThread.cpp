#include "windows/WindowThread.h"

#include <condition_variable>
#include <exception>
#include <mutex>

namespace {

struct Waiter {
    std::mutex mutex;
    std::condition_variable done;
    bool finished = false;
    bool ran = false;
    std::exception_ptr failure;
};

// Lets the caller go however its task ends: run, dropped after the close,
// or destroyed unrun together with the event loop.
struct Release {
    explicit Release(std::shared_ptr<Waiter> w) : waiter(std::move(w)) {}
    ~Release() {
        {
            std::lock_guard lock(waiter->mutex);
            waiter->finished = true;
            waiter->ran = ran;
            waiter->failure = failure;
        }
        waiter->done.notify_all();
    }
    std::shared_ptr<Waiter> waiter;
    bool ran = false;
    std::exception_ptr failure;
};

}  // namespace

std::shared_ptr<WindowThread> WindowThread::Create(Poster post) {
    return std::shared_ptr<WindowThread>(new WindowThread(std::move(post)));
}

bool WindowThread::Call(const std::function<void()>& work) {
    if (closed_) return false;
    if (OnWindowThread()) {
        work();
        return true;
    }
    auto waiter = std::make_shared<Waiter>();
    {
        auto release = std::make_shared<Release>(waiter);
        // `work` outlives the task: the caller waits until every copy of it is gone.
        post_([self = shared_from_this(), release, &work] {
            if (self->closed_) return;
            try {
                work();
            } catch (...) {
                release->failure = std::current_exception();
            }
            release->ran = true;
        });
    }
    std::unique_lock lock(waiter->mutex);
    waiter->done.wait(lock, [&] { return waiter->finished; });
    if (waiter->failure) std::rethrow_exception(waiter->failure);
    return waiter->ran;
}

void WindowThread::Post(std::function<void()> work) {
    if (closed_) return;
    if (OnWindowThread()) {
        work();
        return;
    }
    post_([self = shared_from_this(), work = std::move(work)] {
        if (self->closed_) return;
        try {
            work();
        } catch (...) {
            // Nobody waits for a posted task; it reports its own failures.
        }
    });
}
