#include "windows/CommandThread.h"

#include <condition_variable>
#include <deque>
#include <mutex>
#include <thread>

struct CommandThread::Queue {
    std::mutex mutex;
    std::condition_variable changed;
    std::deque<std::function<void()>> commands;
    bool stopped = false;

    void Run() {
        for (;;) {
            std::function<void()> command;
            {
                std::unique_lock lock(mutex);
                changed.wait(lock, [this] { return stopped || !commands.empty(); });
                if (stopped) return;
                command = std::move(commands.front());
                commands.pop_front();
            }
            try {
                command();
            } catch (...) {
                // A command reports its own failures; the next one still runs.
            }
        }
    }
};

CommandThread::CommandThread()
    : queue_(std::make_shared<Queue>()),
      // Holding the queue: the thread may outlive this object.
      thread_([queue = queue_] { queue->Run(); }) {}

CommandThread::~CommandThread() {
    Stop();
    if (thread_.joinable()) thread_.detach();
}

void CommandThread::Join() {
    Stop();
    if (thread_.joinable() && thread_.get_id() != std::this_thread::get_id()) thread_.join();
}

void CommandThread::Post(std::function<void()> command) {
    {
        std::lock_guard lock(queue_->mutex);
        if (queue_->stopped) return;
        queue_->commands.push_back(std::move(command));
    }
    queue_->changed.notify_one();
}

void CommandThread::Stop() {
    std::deque<std::function<void()>> dropped;
    {
        std::lock_guard lock(queue_->mutex);
        queue_->stopped = true;
        dropped.swap(queue_->commands);
    }
    queue_->changed.notify_all();
    // `dropped` goes here, outside the lock: a command may hold things whose
    // release takes locks of its own.
}
