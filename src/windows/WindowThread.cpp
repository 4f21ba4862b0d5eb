#include "windows/WindowThread.h"

#include <condition_variable>
#include <exception>

struct WindowThread::Waiter {
    std::condition_variable done;
    bool started = false;  // its work is running on the window thread
    bool finished = false;
    bool ran = false;
    std::exception_ptr failure;
};

std::shared_ptr<WindowThread> WindowThread::Create(Poster post) {
    return std::shared_ptr<WindowThread>(new WindowThread(std::move(post)));
}

bool WindowThread::Closed() const {
    std::lock_guard lock(mutex_);
    return closed_;
}

void WindowThread::Close() {
    std::lock_guard lock(mutex_);
    closed_ = true;
    // Work already running (a dialog whose loop the close runs in) lets its
    // caller go when it returns.
    for (auto it = waiting_.begin(); it != waiting_.end();) {
        if ((*it)->started) {
            ++it;
            continue;
        }
        (*it)->finished = true;
        (*it)->done.notify_all();
        it = waiting_.erase(it);
    }
}

bool WindowThread::Call(const std::function<void()>& work) {
    if (OnWindowThread()) {
        if (Closed()) return false;
        work();
        return true;
    }
    auto waiter = std::make_shared<Waiter>();
    {
        std::lock_guard lock(mutex_);
        if (closed_) return false;
        waiting_.insert(waiter);
    }
    // A task that never runs (the event loop is gone) lets its caller go
    // when it is destroyed.
    struct Finish {
        Finish(std::shared_ptr<WindowThread> s, std::shared_ptr<Waiter> w) : self(std::move(s)), waiter(std::move(w)) {}
        Finish(const Finish&) = delete;
        ~Finish() {
            std::lock_guard lock(self->mutex_);
            if (self->waiting_.erase(waiter)) {
                waiter->finished = true;
                waiter->done.notify_all();
            }
        }
        const std::shared_ptr<WindowThread> self;
        const std::shared_ptr<Waiter> waiter;
    };
    auto finish = std::make_shared<Finish>(shared_from_this(), waiter);
    // `work` outlives the task only while its caller waits: the task looks
    // at the close before it touches it, and a close lets go only callers
    // whose work has not started.
    post_([finish, &work] {
        {
            std::lock_guard lock(finish->self->mutex_);
            if (finish->self->closed_) return;
            finish->waiter->started = true;
        }
        try {
            work();
        } catch (...) {
            finish->waiter->failure = std::current_exception();
        }
        finish->waiter->ran = true;
    });
    finish.reset();
    std::unique_lock lock(mutex_);
    waiter->done.wait(lock, [&] { return waiter->finished; });
    if (waiter->failure) std::rethrow_exception(waiter->failure);
    return waiter->ran;
}

void WindowThread::Post(std::function<void()> work) {
    if (Closed()) return;
    if (OnWindowThread()) {
        work();
        return;
    }
    post_([self = shared_from_this(), work = std::move(work)] {
        if (self->Closed()) return;
        try {
            work();
        } catch (...) {
            // Nobody waits for a posted task; it reports its own failures.
        }
    });
}
