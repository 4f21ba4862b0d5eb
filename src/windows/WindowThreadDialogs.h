#pragma once
// The dialogs of the threads that are not the window's: each one is shown
// by the window thread, through the dialogs it wraps, while its caller
// waits. Once the window has closed none is shown any more, and each
// answers as if dismissed.

#include "platform/Dialogs.h"
#include "windows/WindowThread.h"

#include <memory>

class WindowThreadDialogs final : public platform::IDialogs {
public:
    WindowThreadDialogs(std::shared_ptr<WindowThread> windowThread, platform::IDialogs& shown)
        : windowThread_(std::move(windowThread)), shown_(shown) {}

    int MessageDlg(const std::u16string& text, platform::DialogKind kind, platform::DialogButtons buttons,
                   const std::vector<std::u16string>& captions, const platform::DialogTitle& title) override;
    void ShowMessage(const std::u16string& text) override;
    std::u16string PromptOpenFile(const std::u16string& title, const std::u16string& filter,
                                  const std::u16string& defaultExtension, platform::FileListing listing) override;

private:
    std::shared_ptr<WindowThread> windowThread_;
    platform::IDialogs& shown_;
};
