#include "platform/win32/Win32Dialogs.h"

#include "platform/win32/Win32Text.h"
#include "support/TextUtils.h"

#include <commdlg.h>

#include <utility>
#include <vector>

namespace platform {

namespace {

int ControlId(DialogButton button) {
    switch (button) {
        case DialogButton::Yes: return IDYES;
        case DialogButton::No: return IDNO;
        case DialogButton::OK: return IDOK;
        case DialogButton::Cancel: return IDCANCEL;
        case DialogButton::Abort: return IDABORT;
        case DialogButton::Retry: return IDRETRY;
        case DialogButton::Ignore: return IDIGNORE;
        default: return 0;
    }
}

// Captions for the next message box this thread opens, set when it is
// activated (the box offers no other way to name its buttons).
thread_local std::vector<std::pair<int, std::u16string>>* pendingCaptions = nullptr;

LRESULT CALLBACK CaptionHook(int code, WPARAM wParam, LPARAM lParam) {
    if (code == HCBT_ACTIVATE && pendingCaptions) {
        HWND box = reinterpret_cast<HWND>(wParam);
        for (const auto& [id, caption] : *pendingCaptions)
            if (HWND button = ::GetDlgItem(box, id)) ::SetWindowTextW(button, Wide(caption));
        pendingCaptions = nullptr;
    }
    return ::CallNextHookEx(nullptr, code, wParam, lParam);
}

std::u16string ProgramTitle() {
    wchar_t path[MAX_PATH];
    const DWORD n = ::GetModuleFileNameW(nullptr, path, MAX_PATH);
    std::u16string name = FromWide(path, n);
    name = name.substr(name.find_last_of(u"\\/:") + 1);
    if (const size_t dot = name.rfind(u'.'); dot != std::u16string::npos && dot > 0) name.resize(dot);
    return name;
}

std::u16string KindTitle(DialogKind kind) {
    switch (kind) {
        case DialogKind::Warning: return u"Aviso";
        case DialogKind::Error: return u"Erro";
        case DialogKind::Information: return u"Informação";
        case DialogKind::Confirmation: return u"Confirmação";
        case DialogKind::Custom: break;
    }
    return ProgramTitle();
}

UINT KindIcon(DialogKind kind) {
    switch (kind) {
        case DialogKind::Warning: return MB_ICONWARNING;
        case DialogKind::Error: return MB_ICONERROR;
        case DialogKind::Information: return MB_ICONINFORMATION;
        case DialogKind::Confirmation: return MB_ICONQUESTION;
        case DialogKind::Custom: break;
    }
    return 0;
}

}  // namespace

unsigned MessageBoxButtonSet(DialogButtons b) {
    using B = DialogButton;
    if (b.Has(B::Abort) || (b.Has(B::Ignore) && b.Has(B::Retry))) return MB_ABORTRETRYIGNORE;
    if (b.Has(B::Yes) || b.Has(B::No)) return b.Has(B::Cancel) ? MB_YESNOCANCEL : MB_YESNO;
    if (b.Has(B::Retry)) return MB_RETRYCANCEL;
    if (b.Has(B::Cancel)) return MB_OKCANCEL;
    return MB_OK;
}

std::u16string OpenFileFilter(const std::u16string& filter) {
    std::u16string out = filter;
    for (char16_t& c : out)
        if (c == u'|') c = u'\0';
    out.push_back(u'\0');
    out.push_back(u'\0');
    return out;
}

int Win32Dialogs::MessageDlg(const std::u16string& text, DialogKind kind, DialogButtons buttons,
                             const std::vector<std::u16string>& captions, const DialogTitle& title) {
    std::vector<std::pair<int, std::u16string>> named;
    const auto order = buttons.InOrder();
    for (size_t i = 0; i < order.size() && i < captions.size(); ++i)
        if (const int id = ControlId(order[i])) named.emplace_back(id, captions[i]);

    HHOOK hook = nullptr;
    if (!named.empty()) {
        pendingCaptions = &named;
        hook = ::SetWindowsHookExW(WH_CBT, CaptionHook, nullptr, ::GetCurrentThreadId());
    }
    const std::u16string caption = title ? *title : KindTitle(kind);
    const int result = ::MessageBoxW(nullptr, Wide(text), Wide(caption),
                                     MessageBoxButtonSet(buttons) | KindIcon(kind) | MB_TASKMODAL | MB_SETFOREGROUND);
    pendingCaptions = nullptr;
    if (hook) ::UnhookWindowsHookEx(hook);
    return result;  // the box's IDOK..IDNO equal the dialog result codes
}

void Win32Dialogs::ShowMessage(const std::u16string& text) {
    ::MessageBoxW(nullptr, Wide(text), Wide(ProgramTitle()), MB_OK | MB_TASKMODAL | MB_SETFOREGROUND);
}

// Windows runs programs by their extension, so the filter alone lists them.
std::u16string Win32Dialogs::PromptOpenFile(const std::u16string& title, const std::u16string& filter,
                                            const std::u16string& defaultExtension, FileListing) {
    std::vector<wchar_t> file(32768, L'\0');
    const std::u16string filters = filter.empty() ? std::u16string() : OpenFileFilter(filter);
    std::u16string extension = defaultExtension;
    if (!extension.empty() && extension.front() == u'.') extension.erase(0, 1);

    OPENFILENAMEW dialog{};
    dialog.lStructSize = sizeof dialog;
    dialog.lpstrFilter = filters.empty() ? nullptr : Wide(filters);
    dialog.nFilterIndex = 1;
    dialog.lpstrFile = file.data();
    dialog.nMaxFile = static_cast<DWORD>(file.size());
    dialog.lpstrTitle = title.empty() ? nullptr : Wide(title);
    dialog.lpstrDefExt = extension.empty() ? nullptr : Wide(extension);
    // The current directory stays put: the action log is written below it.
    dialog.Flags = OFN_FILEMUSTEXIST | OFN_PATHMUSTEXIST | OFN_HIDEREADONLY | OFN_ENABLESIZING | OFN_NOCHANGEDIR |
                   OFN_EXPLORER;
    if (!::GetOpenFileNameW(&dialog)) return {};
    return FromWide(file.data());
}

}  // namespace platform
