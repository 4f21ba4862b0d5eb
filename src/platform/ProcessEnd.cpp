#include "platform/ProcessEnd.h"

#include <chrono>
#include <shared_mutex>

namespace platform {

namespace {

std::shared_timed_mutex& Writes() {
    static std::shared_timed_mutex writes;
    return writes;
}

}  // namespace

FileWriteHold::FileWriteHold() { Writes().lock_shared(); }

FileWriteHold::~FileWriteHold() { Writes().unlock_shared(); }

void EndProcess(int exitCode) {
    // Never released: no write may start once the end has begun. A writer
    // stuck for longer than the wait does not keep the process alive.
    (void)Writes().try_lock_for(std::chrono::seconds(1));
    EndProcessNow(exitCode);
}

}  // namespace platform
