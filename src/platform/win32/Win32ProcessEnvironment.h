#pragma once

#include "platform/ProcessEnvironment.h"
#include "platform/WindowsProductName.h"

namespace platform {

class Win32ProcessEnvironment : public IProcessEnvironment {
public:
    // Argument 0 from GetModuleFileNameW; the rest is GetCommandLineW split
    // by the runtime's rules, its leading program name skipped.
    std::vector<std::u16string> Arguments() override;
    std::u16string OperatingSystemName() override;
    // %LOCALAPPDATA%\Tarvenix\, from SHGetKnownFolderPath.
    std::u16string UserDataFolder() override;
    std::u16string WritableFolder() override;
};

// What the running system says about itself: the version it reports to the
// process (kernel32.dll's file version above 6.1, since the reported one
// stops at 6.2 for programs not declared for later systems), the product
// type, the R2 mark and the processor architecture.
WindowsVersionFacts RunningWindowsFacts();

}  // namespace platform
