#pragma once

#include "platform/CodePage.h"

namespace platform {

// The system's ANSI code page (CP_ACP).
class Win32CodePage : public ICodePage {
public:
    std::string ToAnsi(std::u16string_view text) override;
    std::u16string FromAnsi(std::string_view bytes) override;
};

}  // namespace platform
