#include "windows/QtDialogs.h"

#include "FakeChromiumHost.h"

#include <QAbstractButton>
#include <QApplication>
#include <QMessageBox>
#include <QTimer>

#include <gtest/gtest.h>

#include <algorithm>

using platform::DialogButton;
using platform::DialogKind;

namespace {

// Button captions as laid out on screen, left to right.
QStringList CaptionsOnScreen(QMessageBox& box) {
    box.show();
    ProcessPosted();
    auto buttons = box.buttons();
    std::sort(buttons.begin(), buttons.end(), [](QAbstractButton* a, QAbstractButton* b) {
        return a->mapToGlobal(QPoint()).x() < b->mapToGlobal(QPoint()).x();
    });
    QStringList captions;
    for (auto* button : buttons) captions << button->text();
    box.hide();
    return captions;
}

TEST(QtDialogs, ButtonsKeepTheFixedOrderWithCaptionsGivenInThatOrder) {
    const platform::DialogButtons set{DialogButton::Close, DialogButton::Help, DialogButton::No,
                                      DialogButton::OK, DialogButton::Yes, DialogButton::Cancel};
    auto standard = QtDialogs::BuildMessageBox(u"t", DialogKind::Warning, set, {}, std::nullopt);
    EXPECT_EQ(CaptionsOnScreen(*standard),
              (QStringList{"Sim", "Não", "OK", "Cancelar", "Ajuda", "Fechar"}));
    EXPECT_EQ(standard->windowTitle(), QStringLiteral("Aviso"));
    EXPECT_EQ(standard->icon(), QMessageBox::Warning);

    auto some = QtDialogs::BuildMessageBox(u"t", DialogKind::Error, set, {u"Um", u"Dois"}, u"Dravelt Tarvenix");
    EXPECT_EQ(CaptionsOnScreen(*some), (QStringList{"Um", "Dois", "OK", "Cancelar", "Ajuda", "Fechar"}));
    EXPECT_EQ(some->windowTitle(), QStringLiteral("Dravelt Tarvenix"));
    EXPECT_EQ(some->icon(), QMessageBox::Critical);

    auto extra = QtDialogs::BuildMessageBox(u"t", DialogKind::Custom, {DialogButton::OK}, {u"Certo", u"x", u"y"}, u"");
    EXPECT_EQ(CaptionsOnScreen(*extra), QStringList{"Certo"});
    EXPECT_EQ(extra->icon(), QMessageBox::NoIcon);
    EXPECT_EQ(extra->windowTitle(), QString());  // an empty title given stays empty
}

// Answers the next modal dialog from inside its loop.
void AnswerNextDialog(std::function<void(QMessageBox&)> answer) {
    QTimer::singleShot(0, [answer] {
        auto* box = qobject_cast<QMessageBox*>(QApplication::activeModalWidget());
        ASSERT_NE(box, nullptr);
        answer(*box);
    });
}

void Click(QMessageBox& box, const QString& caption) {
    for (auto* button : box.buttons())
        if (button->text() == caption) return button->click();
    ADD_FAILURE() << "no button " << caption.toStdString();
}

TEST(QtDialogs, ResultIsTheCodeOfTheButtonOrNoOrCancelWhenClosedOtherwise) {
    QtDialogs dialogs;
    const platform::DialogButtons yesNo{DialogButton::Yes, DialogButton::No};
    AnswerNextDialog([](QMessageBox& box) { Click(box, "Sim"); });
    EXPECT_EQ(dialogs.MessageDlg(u"?", DialogKind::Error, yesNo, {u"Sim", u"Não"}, u"T"), 6);
    AnswerNextDialog([](QMessageBox& box) { Click(box, "Não"); });
    EXPECT_EQ(dialogs.MessageDlg(u"?", DialogKind::Error, yesNo, {}, u"T"), 7);
    AnswerNextDialog([](QMessageBox& box) { box.close(); });
    EXPECT_EQ(dialogs.MessageDlg(u"?", DialogKind::Error, yesNo, {}, u"T"), platform::ResultNo);
    AnswerNextDialog([](QMessageBox& box) { box.close(); });
    EXPECT_EQ(dialogs.MessageDlg(u"?", DialogKind::Confirmation,
                                 {DialogButton::Yes, DialogButton::No, DialogButton::Cancel}, {}, u""),
              platform::ResultCancel);
    AnswerNextDialog([](QMessageBox& box) { Click(box, "Sim para todos"); });
    EXPECT_EQ(dialogs.MessageDlg(u"?", DialogKind::Custom, {DialogButton::YesToAll, DialogButton::Abort}, {}, u""),
              platform::ResultYesToAll);
}

TEST(QtDialogs, PlainMessageHasOneOkButtonAndNoIcon) {
    QtDialogs dialogs;
    QMessageBox::Icon icon = QMessageBox::Warning;
    QStringList captions;
    QString text;
    AnswerNextDialog([&](QMessageBox& box) {
        icon = box.icon();
        text = box.text();
        for (auto* b : box.buttons()) captions << b->text();
        Click(box, "OK");
    });
    dialogs.ShowMessage(u"Operação inválida");
    EXPECT_EQ(icon, QMessageBox::NoIcon);
    EXPECT_EQ(captions, QStringList{"OK"});
    EXPECT_EQ(text, QStringLiteral("Operação inválida"));
}

TEST(QtDialogs, FileFiltersBecomeQtNameFilters) {
    EXPECT_EQ(QtNameFilters(u""), QStringList{"All files (*)"});
    EXPECT_EQ(QtNameFilters(u".exe"), QStringList{".exe (*.exe)"});
    EXPECT_EQ(QtNameFilters(u"Imagens|*.png;*.jpg|Todos (*.*)|*.*"),
              (QStringList{"Imagens (*.png *.jpg)", "Todos (*)"}));
}

}  // namespace
