#include "windows/WindowThreadDialogs.h"

int WindowThreadDialogs::MessageDlg(const std::u16string& text, platform::DialogKind kind,
                                    platform::DialogButtons buttons, const std::vector<std::u16string>& captions,
                                    const platform::DialogTitle& title) {
    int answer = platform::DismissedResult(buttons);
    windowThread_->Call([&] { answer = shown_.MessageDlg(text, kind, buttons, captions, title); });
    return answer;
}

void WindowThreadDialogs::ShowMessage(const std::u16string& text) {
    windowThread_->Call([&] { shown_.ShowMessage(text); });
}

std::u16string WindowThreadDialogs::PromptOpenFile(const std::u16string& title, const std::u16string& filter,
                                                   const std::u16string& defaultExtension,
                                                   platform::FileListing listing) {
    std::u16string chosen;
    windowThread_->Call([&] { chosen = shown_.PromptOpenFile(title, filter, defaultExtension, listing); });
    return chosen;
}
