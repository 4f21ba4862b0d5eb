#pragma once
// The page's commands run on a thread of their own, one at a time and in
// arrival order, so that a command that waits (for a dialog, a tool, the
// screenshot pause) never holds up the window.

#include <functional>
#include <memory>
#include <thread>

class CommandThread {
public:
    CommandThread();
    // Stops without waiting: a command still running ends on its own, as
    // at the end of the process.
    ~CommandThread();
    CommandThread(const CommandThread&) = delete;
    CommandThread& operator=(const CommandThread&) = delete;

    void Post(std::function<void()> command);
    // Drops the commands not started yet, and whatever is posted later.
    void Stop();
    // Stops, and waits for the command that runs to end.
    void Join();

private:
    struct Queue;
    std::shared_ptr<Queue> queue_;
    std::thread thread_;
};
