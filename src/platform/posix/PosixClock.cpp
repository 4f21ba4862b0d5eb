#include "platform/posix/PosixClock.h"

#include <sys/time.h>
#include <time.h>

#include <chrono>
#include <thread>

namespace platform {

LocalDateTime PosixClock::Now() {
    timespec now {};
    clock_gettime(CLOCK_REALTIME, &now);
    tm local {};
    localtime_r(&now.tv_sec, &local);
    return {local.tm_year + 1900, local.tm_mon + 1, local.tm_mday, local.tm_hour, local.tm_min, local.tm_sec,
            static_cast<int>(now.tv_nsec / 1000000)};
}

void PosixClock::Sleep(int milliseconds) {
    if (milliseconds > 0) std::this_thread::sleep_for(std::chrono::milliseconds(milliseconds));
}

}  // namespace platform
