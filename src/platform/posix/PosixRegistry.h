#pragma once

#include "platform/Registry.h"

namespace platform {

// Linux has no registry. The one key the program reads, Internet Explorer's,
// answers with the embedded engine's version once it is known.
class PosixRegistry : public IRegistry {
public:
    std::unique_ptr<IRegistryKey> OpenLocalMachineKey(const std::u16string& path) override;
};

}  // namespace platform
