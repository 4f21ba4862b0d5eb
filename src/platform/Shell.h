#pragma once

#include <string>

namespace platform {

class IShell {
public:
    virtual ~IShell() = default;
    // Hands an address to the default web browser (verb "open", shown
    // normally). Failures are not reported.
    virtual void OpenUrl(const std::u16string& address) = 0;
    // Starts a program minimised (verb "open", no parameters); not reported.
    virtual void StartMinimized(const std::u16string& executable) = 0;
};

}  // namespace platform
