#pragma once
// A scroll box that hands the keyboard focus on to its neighbour in tab order
// instead of keeping it.

#include <QScrollArea>

#include <functional>

using TOnExitControle = std::function<void(QObject* Sender, QObject* Control)>;

class TnScrollBox : public QScrollArea {
public:
    explicit TnScrollBox(QWidget* parent = nullptr);

    void DoExitControle(QObject* Controle);
    void DoEnterControle(QObject* Controle);
    // Focuses the first child, in child order, that can take the focus.
    void SetarFocoPrimeiroControl();
    // Focuses the box, then passes the focus to the next tab stop of the
    // window (the previous one while Shift is held down).
    void SetFocus();

    TOnExitControle OnExitControle;
    TOnExitControle OnEnterControle;

protected:
    virtual bool ShiftHeld() const;
};

// Whether a widget can take the focus now: enabled, shown and accepting focus.
bool CanTakeFocus(const QWidget& widget);
