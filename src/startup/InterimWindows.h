#pragma once
// Plain windows and message boxes that let the program run end to end until
// the chat and service windows take their place.

#include "browser/ChromiumHostWidget.h"
#include "platform/Dialogs.h"
#include "startup/RequestWindows.h"

#include <memory>

std::unique_ptr<IRequestWindowFactory> CreateInterimWindowFactory(ChromiumHostFactory hosts);

class InterimDialogs : public platform::IDialogs {
public:
    int MessageDlg(const std::u16string& text, platform::DialogKind kind, platform::DialogButtons buttons,
                   const std::vector<std::u16string>& captions, const std::u16string& title) override;
    void ShowMessage(const std::u16string& text) override;
    std::u16string PromptOpenFile(const std::u16string& title, const std::u16string& filter,
                                  const std::u16string& defaultExtension) override;
};
