#pragma once

#include "platform/Dialogs.h"

namespace platform {

// Used until a GUI installs real dialogs (and by programs without one): the
// text goes to standard error and no question is ever answered with Yes.
class ConsoleDialogs : public IDialogs {
public:
    int MessageDlg(const std::u16string& text, DialogKind kind, DialogButtons buttons,
                   const std::vector<std::u16string>& captions, const DialogTitle& title) override;
    void ShowMessage(const std::u16string& text) override;
    std::u16string PromptOpenFile(const std::u16string& title, const std::u16string& filter,
                                  const std::u16string& defaultExtension, FileListing listing) override;
};

}  // namespace platform
