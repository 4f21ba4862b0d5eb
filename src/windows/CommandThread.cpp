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

CommandThread::CommandThread() : queue_(std::make_shared<Queue>()) {
    // Detached, holding the queue: stopping never has to wait for a command
    // that is still running.
    std::thread([queue = queue_] { queue->Run(); }).detach();
}

CommandThread::~CommandThread() { Stop(); }

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
