#include "platform/win32/Win32Registry.h"

#include "platform/win32/Win32Text.h"
#include "support/Failure.h"

#include <vector>

namespace platform {

namespace {

class Win32RegistryKey : public IRegistryKey {
public:
    explicit Win32RegistryKey(HKEY key) : key_(key) {}
    ~Win32RegistryKey() override { ::RegCloseKey(key_); }
    Win32RegistryKey(const Win32RegistryKey&) = delete;
    Win32RegistryKey& operator=(const Win32RegistryKey&) = delete;

    std::optional<std::u16string> ReadString(const std::u16string& name) override {
        DWORD type = 0;
        DWORD size = 0;
        LSTATUS status = ::RegQueryValueExW(key_, Wide(name), nullptr, &type, nullptr, &size);
        if (status != ERROR_SUCCESS) return std::nullopt;
        if (type != REG_SZ && type != REG_EXPAND_SZ) throw Failure(u"Invalid data type for '" + name + u"'");
        std::vector<wchar_t> buffer;
        do {
            // Room for a terminator the stored value may lack; the value can
            // also grow between the two calls.
            buffer.assign(size / sizeof(wchar_t) + 2, L'\0');
            size = static_cast<DWORD>((buffer.size() - 1) * sizeof(wchar_t));
            status = ::RegQueryValueExW(key_, Wide(name), nullptr, &type, reinterpret_cast<BYTE*>(buffer.data()),
                                        &size);
        } while (status == ERROR_MORE_DATA);
        if (status != ERROR_SUCCESS) return std::nullopt;
        if (type != REG_SZ && type != REG_EXPAND_SZ) throw Failure(u"Invalid data type for '" + name + u"'");
        size_t length = size / sizeof(wchar_t);
        while (length > 0 && buffer[length - 1] == L'\0') --length;
        return FromWide(buffer.data(), length);
    }

private:
    HKEY key_;
};

}  // namespace

std::unique_ptr<IRegistryKey> Win32Registry::OpenLocalMachineKey(const std::u16string& path) {
    HKEY key = nullptr;
    if (::RegOpenKeyExW(HKEY_LOCAL_MACHINE, Wide(path), 0, KEY_READ, &key) != ERROR_SUCCESS) return nullptr;
    return std::make_unique<Win32RegistryKey>(key);
}

void SetEmbeddedEngineVersion(const std::u16string&) {}  // the registry answers on Windows

}  // namespace platform
