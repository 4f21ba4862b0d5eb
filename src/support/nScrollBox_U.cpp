#include "support/nScrollBox_U.h"

#include <QApplication>

TnScrollBox::TnScrollBox(QWidget* parent) : QScrollArea(parent) {}

void TnScrollBox::DoExitControle(QObject* Controle) {
    if (OnExitControle) OnExitControle(this, Controle);
}

void TnScrollBox::DoEnterControle(QObject* Controle) {
    if (OnEnterControle) OnEnterControle(this, Controle);
}

bool CanTakeFocus(const QWidget& widget) {
    return widget.isEnabled() && widget.isVisibleTo(widget.window()) && widget.focusPolicy() != Qt::NoFocus;
}

void TnScrollBox::SetarFocoPrimeiroControl() {
    // The box's own children sit on its content widget.
    QWidget* holder = widget() ? widget() : viewport();
    for (QObject* child : holder->children()) {
        auto* control = qobject_cast<QWidget*>(child);
        if (control && CanTakeFocus(*control)) {
            control->setFocus(Qt::OtherFocusReason);
            return;
        }
    }
}

bool TnScrollBox::ShiftHeld() const {
    return QGuiApplication::queryKeyboardModifiers().testFlag(Qt::ShiftModifier);
}

void TnScrollBox::SetFocus() {
    setFocus(Qt::OtherFocusReason);
    if (!parentWidget()) return;  // a box that is a window of its own has no form
    QWidget* form = window();
    const bool backward = ShiftHeld();

    // The focus chain holds every widget of the form at any depth, in tab order.
    QWidget* next = nullptr;
    for (QWidget* w = backward ? previousInFocusChain() : nextInFocusChain(); w && w != this;
         w = backward ? w->previousInFocusChain() : w->nextInFocusChain()) {
        if (w->window() == form && (w->focusPolicy() & Qt::TabFocus) == Qt::TabFocus && CanTakeFocus(*w)) {
            next = w;
            break;
        }
    }
    if (next && form->focusWidget() == this) next->setFocus(backward ? Qt::BacktabFocusReason : Qt::TabFocusReason);
}
