#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <vector>

namespace platform {

using WindowHandle = std::uintptr_t;

enum class DialogKind { Warning, Error, Information, Confirmation, Custom };

// Always laid out in this order, whatever order the caller names them in.
enum class DialogButton : unsigned {
    Yes, No, OK, Cancel, Abort, Retry, Ignore, All, NoToAll, YesToAll, Help, Close
};

class DialogButtons {
public:
    DialogButtons() = default;
    DialogButtons(std::initializer_list<DialogButton> buttons) {
        for (auto b : buttons) bits_ |= 1u << static_cast<unsigned>(b);
    }
    bool Has(DialogButton b) const { return bits_ & (1u << static_cast<unsigned>(b)); }
    // The members in the fixed layout order.
    std::vector<DialogButton> InOrder() const {
        std::vector<DialogButton> out;
        for (unsigned i = 0; i <= static_cast<unsigned>(DialogButton::Close); ++i)
            if (bits_ & (1u << i)) out.push_back(static_cast<DialogButton>(i));
        return out;
    }

private:
    unsigned bits_ = 0;
};

// Codes of the button that closed a dialog; callers offering Yes and No test
// the answer against ResultYes.
enum DialogResult : int {
    ResultNone = 0, ResultOK = 1, ResultCancel = 2, ResultAbort = 3, ResultRetry = 4,
    ResultIgnore = 5, ResultYes = 6, ResultNo = 7, ResultClose = 8, ResultHelp = 9,
    ResultAll = 12, ResultNoToAll = 13, ResultYesToAll = 14
};

int ResultOf(DialogButton button);
// The answer of a dialog closed without a button, or asked for when it can
// no longer be shown: Cancel, No or OK, whichever it offers first.
int DismissedResult(DialogButtons buttons);

// The files the open-file dialog lists besides folders: those its filter
// matches, or, of those, only the ones the system can run.
enum class FileListing { Matching, Executables };

// A message dialog's title: the text given, an empty one too; without one,
// the platform's own title for the dialog's kind.
using DialogTitle = std::optional<std::u16string>;

class IDialogs {
public:
    virtual ~IDialogs() = default;
    // A modal message dialog with the icon of `kind` and one button per member
    // of `buttons`; button i (counting in layout order) gets captions[i] while
    // there is one.
    virtual int MessageDlg(const std::u16string& text, DialogKind kind, DialogButtons buttons,
                           const std::vector<std::u16string>& captions, const DialogTitle& title) = 0;
    // A plain message box: OK button, no icon.
    virtual void ShowMessage(const std::u16string& text) = 0;
    // The modal open-file dialog; empty when the user cancels.
    virtual std::u16string PromptOpenFile(const std::u16string& title, const std::u16string& filter,
                                          const std::u16string& defaultExtension, FileListing listing) = 0;
};

}  // namespace platform
