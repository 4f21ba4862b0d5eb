#pragma once
// Waiting in tests: looks at a condition until it holds or the time is up,
// doing what has to go on meanwhile (an event loop's work, say) between the
// looks.

#include <chrono>
#include <functional>
#include <thread>

namespace testing_support {

// Whether `done` came to hold within `timeoutMs`.
inline bool WaitUntil(const std::function<bool()>& done, int timeoutMs = 15000,
                      const std::function<void()>& meanwhile = {}, int stepMs = 20) {
    const auto deadline = std::chrono::steady_clock::now() + std::chrono::milliseconds(timeoutMs);
    while (!done()) {
        if (std::chrono::steady_clock::now() > deadline) return false;
        if (meanwhile) meanwhile();
        std::this_thread::sleep_for(std::chrono::milliseconds(stepMs));
    }
    return true;
}

}  // namespace testing_support
