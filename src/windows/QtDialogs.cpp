#include "windows/QtDialogs.h"

#include "platform/Platform.h"
#include "windows/RequestWindow.h"

#include <QAbstractButton>
#include <QEventLoop>
#include <QApplication>
#include <QFileDialog>
#include <QFileInfo>
#include <QFileSystemModel>
#include <QMessageBox>
#include <QPushButton>
#include <QSortFilterProxyModel>

namespace {

using platform::DialogButton;
using platform::DialogKind;

QMessageBox::Icon IconOf(DialogKind kind) {
    switch (kind) {
        case DialogKind::Warning: return QMessageBox::Warning;
        case DialogKind::Error: return QMessageBox::Critical;
        case DialogKind::Information: return QMessageBox::Information;
        case DialogKind::Confirmation: return QMessageBox::Question;
        case DialogKind::Custom: break;
    }
    return QMessageBox::NoIcon;
}

QString StandardTitle(DialogKind kind) {
    switch (kind) {
        case DialogKind::Warning: return QStringLiteral("Aviso");
        case DialogKind::Error: return QStringLiteral("Erro");
        case DialogKind::Information: return QStringLiteral("Informação");
        case DialogKind::Confirmation: return QStringLiteral("Confirmação");
        case DialogKind::Custom: break;
    }
    return QApplication::applicationDisplayName();
}

const char* kResultProperty = "tarvenixResult";

// The folders, and of the files only those the system can run.
class ExecutablesOnly : public QSortFilterProxyModel {
public:
    using QSortFilterProxyModel::QSortFilterProxyModel;

protected:
    bool filterAcceptsRow(int row, const QModelIndex& parent) const override {
        const auto* files = qobject_cast<const QFileSystemModel*>(sourceModel());
        if (!files) return true;
        const QFileInfo info = files->fileInfo(files->index(row, 0, parent));
        return info.isDir() || info.isExecutable();
    }
};

int windowsLeftFree = 0;  // window thread only

}  // namespace

QString StandardCaption(DialogButton button) {
    switch (button) {
        case DialogButton::Yes: return QStringLiteral("Sim");
        case DialogButton::No: return QStringLiteral("Não");
        case DialogButton::OK: return QStringLiteral("OK");
        case DialogButton::Cancel: return QStringLiteral("Cancelar");
        case DialogButton::Abort: return QStringLiteral("Anular");
        case DialogButton::Retry: return QStringLiteral("Repetir");
        case DialogButton::Ignore: return QStringLiteral("Ignorar");
        case DialogButton::All: return QStringLiteral("Todos");
        case DialogButton::NoToAll: return QStringLiteral("Não para todos");
        case DialogButton::YesToAll: return QStringLiteral("Sim para todos");
        case DialogButton::Help: return QStringLiteral("Ajuda");
        case DialogButton::Close: return QStringLiteral("Fechar");
    }
    return {};
}

std::unique_ptr<QMessageBox> QtDialogs::BuildMessageBox(const std::u16string& text, DialogKind kind,
                                                        platform::DialogButtons buttons,
                                                        const std::vector<std::u16string>& captions,
                                                        const platform::DialogTitle& title) {
    auto box = std::make_unique<QMessageBox>(QApplication::activeWindow());
    box->setIcon(IconOf(kind));
    box->setText(ToQString(text));
    box->setTextFormat(Qt::PlainText);
    box->setWindowTitle(title ? ToQString(*title) : StandardTitle(kind));

    // One role for every button: Qt would otherwise reorder them by role
    // after the desktop's habits, and the order here is fixed.
    const auto members = buttons.InOrder();
    const int dismissed = platform::DismissedResult(buttons);
    for (std::size_t i = 0; i < members.size(); ++i) {
        const QString caption = i < captions.size() ? ToQString(captions[i]) : StandardCaption(members[i]);
        QPushButton* button = box->addButton(caption, QMessageBox::ActionRole);
        const int result = platform::ResultOf(members[i]);
        button->setProperty(kResultProperty, result);
        if (result == dismissed) box->setEscapeButton(button);
        if (i == 0) box->setDefaultButton(button);
    }
    return box;
}

int QtDialogs::ResultOf(const QMessageBox& box) {
    QAbstractButton* clicked = box.clickedButton();
    if (!clicked) clicked = box.escapeButton();
    if (!clicked) return platform::DismissedResult({});
    // A box given no buttons gets Qt's own OK.
    const QVariant result = clicked->property(kResultProperty);
    return result.isValid() ? result.toInt() : platform::ResultOK;
}

QtDialogs::LeaveWindowsFree::LeaveWindowsFree() { ++windowsLeftFree; }

QtDialogs::LeaveWindowsFree::~LeaveWindowsFree() { --windowsLeftFree; }

void QtDialogs::Run(QDialog& dialog) {
    if (windowsLeftFree == 0) {
        dialog.exec();
        return;
    }
    // exec() would make the dialog modal; this loop waits without that. It
    // also ends when the application's loops are told to.
    QEventLoop answered;
    QObject::connect(&dialog, &QDialog::finished, &answered, &QEventLoop::quit);
    dialog.setWindowModality(Qt::NonModal);
    dialog.show();
    answered.exec();
}

int QtDialogs::MessageDlg(const std::u16string& text, DialogKind kind, platform::DialogButtons buttons,
                          const std::vector<std::u16string>& captions, const platform::DialogTitle& title) {
    auto box = BuildMessageBox(text, kind, buttons, captions, title);
    Run(*box);
    return ResultOf(*box);
}

void QtDialogs::ShowMessage(const std::u16string& text) {
    MessageDlg(text, DialogKind::Custom, {DialogButton::OK}, {}, std::nullopt);
}

int DialogsLeavingWindowsFree::MessageDlg(const std::u16string& text, DialogKind kind, platform::DialogButtons buttons,
                                          const std::vector<std::u16string>& captions,
                                          const platform::DialogTitle& title) {
    const QtDialogs::LeaveWindowsFree free;
    return platform::Current().dialogs->MessageDlg(text, kind, buttons, captions, title);
}

void DialogsLeavingWindowsFree::ShowMessage(const std::u16string& text) {
    const QtDialogs::LeaveWindowsFree free;
    platform::Current().dialogs->ShowMessage(text);
}

std::u16string DialogsLeavingWindowsFree::PromptOpenFile(const std::u16string& title, const std::u16string& filter,
                                                        const std::u16string& defaultExtension,
                                                        platform::FileListing listing) {
    const QtDialogs::LeaveWindowsFree free;
    return platform::Current().dialogs->PromptOpenFile(title, filter, defaultExtension, listing);
}

QStringList QtNameFilters(const std::u16string& filter) {
    const QString text = filter.empty() ? QStringLiteral("All files (*.*)|*.*") : ToQString(filter);
    const QStringList parts = text.split(QLatin1Char('|'));
    if (parts.size() == 1) {
        // A bare extension such as ".exe".
        const QString extension = parts.front().trimmed();
        const QString pattern = extension.startsWith(QLatin1Char('.')) ? QLatin1Char('*') + extension : extension;
        return {extension + QStringLiteral(" (") + pattern + QLatin1Char(')')};
    }
    QStringList filters;
    for (qsizetype i = 0; i + 1 < parts.size(); i += 2) {
        QString description = parts[i];
        QStringList patterns = parts[i + 1].split(QLatin1Char(';'), Qt::SkipEmptyParts);
        for (QString& pattern : patterns) {
            pattern = pattern.trimmed();
            // "*.*" means every file, also those without a dot.
            if (pattern == QStringLiteral("*.*")) pattern = QStringLiteral("*");
        }
        const QString joined = patterns.join(QLatin1Char(' '));
        // Qt reads the patterns from the description's last parentheses.
        const QString shown = QLatin1Char('(') + parts[i + 1] + QLatin1Char(')');
        if (description.endsWith(shown))
            description.chop(shown.size());
        else
            description += QLatin1Char(' ');
        filters << description + QLatin1Char('(') + joined + QLatin1Char(')');
    }
    return filters;
}

std::u16string QtDialogs::PromptOpenFile(const std::u16string& title, const std::u16string& filter,
                                         const std::u16string& defaultExtension, platform::FileListing listing) {
    QFileDialog dialog(QApplication::activeWindow(), ToQString(title));
    dialog.setFileMode(QFileDialog::ExistingFile);
    dialog.setAcceptMode(QFileDialog::AcceptOpen);
    dialog.setNameFilters(QtNameFilters(filter));
    if (listing == platform::FileListing::Executables) {
        // A desktop's own dialog would not take the listing.
        dialog.setOption(QFileDialog::DontUseNativeDialog);
        dialog.setProxyModel(new ExecutablesOnly(&dialog));
    }
    if (!defaultExtension.empty()) dialog.setDefaultSuffix(ToQString(defaultExtension));
    Run(dialog);
    if (dialog.result() != QDialog::Accepted || dialog.selectedFiles().isEmpty()) return {};
    return dialog.selectedFiles().front().toStdU16String();
}
