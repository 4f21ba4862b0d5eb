#pragma once

#include "platform/Clock.h"

namespace platform {

class PosixClock : public IClock {
public:
    LocalDateTime Now() override;
    void Sleep(int milliseconds) override;
};

}  // namespace platform
