#pragma once

#include "platform/Clock.h"

namespace platform {

class Win32Clock : public IClock {
public:
    LocalDateTime Now() override;  // GetLocalTime
    void Sleep(int milliseconds) override;
};

}  // namespace platform
