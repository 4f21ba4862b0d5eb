#include "platform/posix/PosixRegistry.h"

#include <mutex>

namespace platform {

namespace {

std::mutex versionMutex;
std::u16string engineVersion;

class EngineVersionKey : public IRegistryKey {
public:
    explicit EngineVersionKey(std::u16string version) : version_(std::move(version)) {}
    std::optional<std::u16string> ReadString(const std::u16string& name) override {
        if (name == u"svcVersion" || name == u"Version") return version_;
        return std::nullopt;
    }

private:
    std::u16string version_;
};

}  // namespace

void SetEmbeddedEngineVersion(const std::u16string& version) {
    std::lock_guard lock(versionMutex);
    engineVersion = version;
}

std::unique_ptr<IRegistryKey> PosixRegistry::OpenLocalMachineKey(const std::u16string& path) {
    std::lock_guard lock(versionMutex);
    if (path != u"Software\\Microsoft\\Internet Explorer" || engineVersion.empty()) return nullptr;
    return std::make_unique<EngineVersionKey>(engineVersion);
}

}  // namespace platform
