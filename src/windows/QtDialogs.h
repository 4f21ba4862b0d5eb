#pragma once
// The message dialogs and the open-file dialog as Qt shows them.

#include "platform/Dialogs.h"

#include <QString>

#include <memory>

class QDialog;
class QMessageBox;

class QtDialogs : public platform::IDialogs {
public:
    // While one exists, the dialogs shown leave the other windows free, as a
    // dialog of another thread would: the chat can still be closed while a
    // page command waits for an answer.
    class LeaveWindowsFree {
    public:
        LeaveWindowsFree();
        ~LeaveWindowsFree();
    };

    int MessageDlg(const std::u16string& text, platform::DialogKind kind, platform::DialogButtons buttons,
                   const std::vector<std::u16string>& captions, const platform::DialogTitle& title) override;
    void ShowMessage(const std::u16string& text) override;
    std::u16string PromptOpenFile(const std::u16string& title, const std::u16string& filter,
                                  const std::u16string& defaultExtension, platform::FileListing listing) override;

    // The dialog MessageDlg shows, built but not shown.
    static std::unique_ptr<QMessageBox> BuildMessageBox(const std::u16string& text, platform::DialogKind kind,
                                                        platform::DialogButtons buttons,
                                                        const std::vector<std::u16string>& captions,
                                                        const platform::DialogTitle& title);
    // The result code of a shown box: its clicked button's, or, when it was
    // closed otherwise, the dismissed answer (platform::DismissedResult).
    static int ResultOf(const QMessageBox& box);

private:
    // Shows the dialog and waits for it to be answered.
    static void Run(QDialog& dialog);
};

// The dialogs in force, shown as a dialog of another thread would be: they
// leave the windows free, so the chat can still be closed while a page
// command waits for an answer. Window thread only.
class DialogsLeavingWindowsFree final : public platform::IDialogs {
public:
    int MessageDlg(const std::u16string& text, platform::DialogKind kind, platform::DialogButtons buttons,
                   const std::vector<std::u16string>& captions, const platform::DialogTitle& title) override;
    void ShowMessage(const std::u16string& text) override;
    std::u16string PromptOpenFile(const std::u16string& title, const std::u16string& filter,
                                  const std::u16string& defaultExtension, platform::FileListing listing) override;
};

// The standard caption of a button.
QString StandardCaption(platform::DialogButton button);
// "description|pattern|description|pattern..." (patterns separated by ";")
// as Qt's name filters; an empty text gives the all-files filter.
QStringList QtNameFilters(const std::u16string& filter);
