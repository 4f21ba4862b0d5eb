#include "ChildProcess.h"
#include "platform/win32/Win32Registry.h"
#include "startup/nTarvenixClasses_U.h"
#include "support/Failure.h"

#include <windows.h>

#include <gtest/gtest.h>

#include <algorithm>
#include <optional>
#include <vector>

namespace {

using win32test::RunTool;

constexpr const wchar_t* kKey = L"Software\\Microsoft\\Internet Explorer";
constexpr const wchar_t* kRegKey = L"\"HKLM\\Software\\Microsoft\\Internet Explorer\"";

// What a value held before a test, so the prefix's own Internet Explorer
// entries come back afterwards.
struct SavedValue {
    std::wstring name;
    std::optional<std::pair<DWORD, std::vector<BYTE>>> data;
};

SavedValue Save(const std::wstring& name) {
    SavedValue saved{name, std::nullopt};
    HKEY key = nullptr;
    if (::RegOpenKeyExW(HKEY_LOCAL_MACHINE, kKey, 0, KEY_READ, &key) != ERROR_SUCCESS) return saved;
    DWORD type = 0, size = 0;
    if (::RegQueryValueExW(key, name.c_str(), nullptr, &type, nullptr, &size) == ERROR_SUCCESS) {
        std::vector<BYTE> bytes(size);
        ::RegQueryValueExW(key, name.c_str(), nullptr, &type, bytes.data(), &size);
        saved.data = std::make_pair(type, bytes);
    }
    ::RegCloseKey(key);
    return saved;
}

void Restore(const SavedValue& saved) {
    HKEY key = nullptr;
    ::RegCreateKeyExW(HKEY_LOCAL_MACHINE, kKey, 0, nullptr, 0, KEY_WRITE, nullptr, &key, nullptr);
    if (saved.data)
        ::RegSetValueExW(key, saved.name.c_str(), 0, saved.data->first, saved.data->second.data(),
                         static_cast<DWORD>(saved.data->second.size()));
    else
        ::RegDeleteValueW(key, saved.name.c_str());
    ::RegCloseKey(key);
}

class Win32Registry : public ::testing::Test {
protected:
    void SetUp() override {
        saved_ = {Save(L"svcVersion"), Save(L"Version")};
        Remove(L"svcVersion");
        Remove(L"Version");
    }
    void TearDown() override {
        for (const auto& value : saved_) Restore(value);
    }
    static void Add(const std::wstring& name, const std::wstring& type, const std::wstring& data) {
        ASSERT_EQ(RunTool(L"reg.exe add " + std::wstring(kRegKey) + L" /v " + name + L" /t " + type + L" /d \"" +
                          data + L"\" /f")
                      .exitCode,
                  0u);
    }
    static void Remove(const std::wstring& name) {
        RunTool(L"reg.exe delete " + std::wstring(kRegKey) + L" /v " + name + L" /f");
    }

    std::vector<SavedValue> saved_;
};

TEST_F(Win32Registry, InstalledVersionPrefersSvcVersionThenVersion) {
    Add(L"svcVersion", L"REG_SZ", L"11.0.19041.1");
    Add(L"Version", L"REG_SZ", L"9.11.19041.0");
    EXPECT_EQ(TnTarvenixUtils::GetIEVersion(), u"11.0.19041.1");
    EXPECT_EQ(TnTarvenixUtils::GetIEVersionPrincipal(), 11);

    Remove(L"svcVersion");
    Add(L"Version", L"REG_SZ", L"9.0.8112.16421");
    EXPECT_EQ(TnTarvenixUtils::GetIEVersion(), u"9.0.8112.16421");
    EXPECT_EQ(TnTarvenixUtils::GetIEVersionPrincipal(), 9);

    Add(L"svcVersion", L"REG_SZ", L"   ");
    EXPECT_EQ(TnTarvenixUtils::GetIEVersion(), u"9.0.8112.16421");

    Remove(L"svcVersion");
    Remove(L"Version");
    EXPECT_EQ(TnTarvenixUtils::GetIEVersion(), u"0");
    EXPECT_EQ(TnTarvenixUtils::GetIEVersionPrincipal(), 0);
}

TEST_F(Win32Registry, ExpandableTextIsReadWithoutExpansion) {
    Add(L"svcVersion", L"REG_EXPAND_SZ", L"10.%TARVENIX_UNSET%.1");
    platform::Win32Registry registry;
    auto key = registry.OpenLocalMachineKey(u"Software\\Microsoft\\Internet Explorer");
    ASSERT_TRUE(key);
    EXPECT_EQ(key->ReadString(u"svcVersion"), u"10.%TARVENIX_UNSET%.1");
    EXPECT_EQ(key->ReadString(u"Version"), std::nullopt);
    EXPECT_EQ(TnTarvenixUtils::GetIEVersionPrincipal(), 10);
}

TEST_F(Win32Registry, AValueOfAnotherTypeIsAFailureAndTheKeyStillCloses) {
    Add(L"svcVersion", L"REG_DWORD", L"11");
    platform::Win32Registry registry;
    // A closed key's handle is handed out again to the next opening; keys
    // left open would push every later handle further on.
    auto nextHandle = [] {
        HKEY probe = nullptr;
        ::RegOpenKeyExW(HKEY_LOCAL_MACHINE, kKey, 0, KEY_READ, &probe);
        ::RegCloseKey(probe);
        return probe;
    };
    std::vector<HKEY> handles;
    for (int i = 0; i < 5; ++i) {
        {
            auto key = registry.OpenLocalMachineKey(u"Software\\Microsoft\\Internet Explorer");
            ASSERT_TRUE(key);
            try {
                key->ReadString(u"svcVersion");
                FAIL() << "a number was read as text";
            } catch (const Failure& failure) {
                EXPECT_EQ(failure.Message(), u"Invalid data type for 'svcVersion'");
            }
        }
        handles.push_back(nextHandle());
    }
    EXPECT_EQ(std::count(handles.begin(), handles.end(), handles.front()), 5);

    EXPECT_THROW(TnTarvenixUtils::GetIEVersion(), Failure);
    EXPECT_EQ(TnTarvenixUtils::GetIEVersionPrincipal(), 0);
}

TEST_F(Win32Registry, AMissingKeyCannotBeOpened) {
    EXPECT_EQ(platform::Win32Registry().OpenLocalMachineKey(u"Software\\Tarvenix\\No Such Key"), nullptr);
}

}  // namespace
