#pragma once

#include <memory>
#include <optional>
#include <string>

namespace platform {

class IRegistryKey {
public:
    virtual ~IRegistryKey() = default;
    // A text or expandable-text value (unexpanded); nullopt when absent.
    // Throws Failure "Invalid data type for '<name>'" for any other type.
    virtual std::optional<std::u16string> ReadString(const std::u16string& name) = 0;
};

class IRegistry {
public:
    virtual ~IRegistry() = default;
    // Opens a key of HKEY_LOCAL_MACHINE for reading only; null on failure.
    // Closing is the key object's destruction.
    virtual std::unique_ptr<IRegistryKey> OpenLocalMachineKey(const std::u16string& path) = 0;
};

}  // namespace platform

namespace platform {

// On a system without a registry, the legacy browser's version text is the
// embedded engine's version, once the engine layer reports it; until then
// the key cannot be opened. Ignored where a registry exists.
void SetEmbeddedEngineVersion(const std::u16string& version);

}  // namespace platform
