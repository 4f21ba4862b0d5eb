#pragma once

#include "platform/Dialogs.h"

namespace platform {

// The system's message box and open-file dialog, used until a GUI installs
// its own dialogs. The message box offers the standard button sets only;
// others fall back to the nearest one.
class Win32Dialogs : public IDialogs {
public:
    int MessageDlg(const std::u16string& text, DialogKind kind, DialogButtons buttons,
                   const std::vector<std::u16string>& captions, const DialogTitle& title) override;
    void ShowMessage(const std::u16string& text) override;
    std::u16string PromptOpenFile(const std::u16string& title, const std::u16string& filter,
                                  const std::u16string& defaultExtension, FileListing listing) override;
};

// The message box button set (MB_OK, MB_YESNO, ...) that shows `buttons`.
unsigned MessageBoxButtonSet(DialogButtons buttons);

// An open-file filter written "Description|*.ext;*.ext2|..." in the form the
// system wants: pairs separated and ended by zero characters.
std::u16string OpenFileFilter(const std::u16string& filter);

}  // namespace platform
