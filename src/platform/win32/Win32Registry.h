#pragma once

#include "platform/Registry.h"

namespace platform {

// HKEY_LOCAL_MACHINE, read only (RegOpenKeyExW with KEY_READ).
class Win32Registry : public IRegistry {
public:
    std::unique_ptr<IRegistryKey> OpenLocalMachineKey(const std::u16string& path) override;
};

}  // namespace platform
