#pragma once
// The product name of a Windows version, as the start-up gate reads it.
// Kept free of system headers so the table is checked on every system.

#include <string>

namespace platform {

struct WindowsVersionFacts {
    unsigned major = 0;
    unsigned minor = 0;
    bool workstation = true;  // false for servers and domain controllers
    bool serverR2 = false;    // the system's own R2 mark (5.2 only)
    bool x64 = false;         // 64-bit x86 processor architecture
};

std::u16string WindowsProductName(const WindowsVersionFacts& facts);

}  // namespace platform
