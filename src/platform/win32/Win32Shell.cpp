#include "platform/win32/Win32Shell.h"

#include "platform/win32/Win32Text.h"

#include <shellapi.h>

namespace platform {

void Win32Shell::OpenUrl(const std::u16string& address) {
    ::ShellExecuteW(nullptr, L"open", Wide(address), nullptr, nullptr, SW_SHOWNORMAL);
}

void Win32Shell::StartMinimized(const std::u16string& executable) {
    ::ShellExecuteW(nullptr, L"open", Wide(executable), L"", L"", SW_MINIMIZE);
}

void Win32Shell::OpenFolder(const std::u16string& folder) {
    ::ShellExecuteW(nullptr, L"open", Wide(folder), nullptr, nullptr, SW_SHOWNORMAL);
}

}  // namespace platform
