#pragma once
// The window thread as the other threads reach it: work handed over runs
// there, in the order it was handed over, until the window closes. After
// that it is dropped and whoever waits for it is let go at once. The window
// thread itself never waits on another thread here.

#include <functional>
#include <memory>
#include <mutex>
#include <set>
#include <thread>

class WindowThread : public std::enable_shared_from_this<WindowThread> {
public:
    using Task = std::function<void()>;
    // Queues a task on the window thread's event loop.
    using Poster = std::function<void(Task)>;

    // Made on the window thread.
    static std::shared_ptr<WindowThread> Create(Poster post);

    // Runs `work` on the window thread and returns once it has run there; a
    // failure it raises comes back to the caller. False when it was dropped
    // because the window had closed. On the window thread it runs at once.
    bool Call(const std::function<void()>& work);
    // Hands `work` over without waiting; its failures stay there.
    void Post(std::function<void()> work);

    // Window thread only: nothing handed over runs from now on, and every
    // caller still waiting goes on as if its work had been dropped.
    void Close();
    bool Closed() const;
    bool OnWindowThread() const { return std::this_thread::get_id() == owner_; }

    struct Waiter;

private:
    explicit WindowThread(Poster post) : post_(std::move(post)), owner_(std::this_thread::get_id()) {}

    Poster post_;
    std::thread::id owner_;
    mutable std::mutex mutex_;
    bool closed_ = false;
    std::set<std::shared_ptr<Waiter>> waiting_;
};
