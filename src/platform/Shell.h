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
    // Shows a folder in the system's file manager; not reported.
    virtual void OpenFolder(const std::u16string& folder) = 0;
};

}  // namespace platform
