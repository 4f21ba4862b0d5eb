#pragma once
// What both request windows share as the handlers' IRequestWindow: title,
// outer size, placement in screen coordinates, the monitor list, and the
// notice that the window has closed (the main window's end).

#include "startup/RequestWindows.h"

#include <QFont>
#include <QSize>
#include <QString>
#include <QWidget>

#include <functional>
#include <string>
#include <vector>

inline QString ToQString(const std::u16string& text) {
    return QString::fromUtf16(text.data(), static_cast<qsizetype>(text.size()));
}

// Keeps a wanted outer size and turns it into the client size that gives it;
// the window system tells the frame only some time after the window shows.
class OuterSize {
public:
    void Set(QWidget& window, int width, int height);
    // The smallest outer size the user may give the window.
    void SetMinimum(QWidget& window, int width, int height);
    // Resizes again when the frame has changed since the last time.
    void Reapply(QWidget& window);
    // The real outer size once the frame is known; until then the wanted one.
    int Width(const QWidget& window) const;
    int Height(const QWidget& window) const;

private:
    QSize wanted_;
    QSize minimum_;
    QSize appliedFrame_{-1, -1};
};

void SetLeftEdge(QWidget& window, int left);
void SetTopEdge(QWidget& window, int top);
// The system's monitors in the system's order, full bounds.
std::vector<MonitorBounds> SystemMonitors();

template <class Interface>
class RequestWindow : public QWidget, public Interface {
public:
    // Both forms: button-face background, Tahoma 11 pixels high.
    explicit RequestWindow(QWidget* parent) : QWidget(parent) {
        setBackgroundRole(QPalette::Button);
        setAutoFillBackground(true);
        QFont tahoma(QStringLiteral("Tahoma"));
        tahoma.setPixelSize(11);
        setFont(tahoma);
    }

    void SetTitle(const std::u16string& title) override { setWindowTitle(ToQString(title)); }
    void SetOuterSize(int width, int height) override { outerSize_.Set(*this, width, height); }
    void Close() override { close(); }
    int Width() const override { return outerSize_.Width(*this); }
    int Height() const override { return outerSize_.Height(*this); }
    void SetLeft(int left) override { SetLeftEdge(*this, left); }
    void SetTop(int top) override { SetTopEdge(*this, top); }
    std::vector<MonitorBounds> Monitors() const override { return SystemMonitors(); }

    // Told when the window has closed for good.
    std::function<void()> OnClosed;

protected:
    void showEvent(QShowEvent* event) override {
        QWidget::showEvent(event);
        outerSize_.Reapply(*this);
    }
    void moveEvent(QMoveEvent* event) override {
        QWidget::moveEvent(event);
        outerSize_.Reapply(*this);
    }
    void SetMinimumOuterSize(int width, int height) { outerSize_.SetMinimum(*this, width, height); }
    void NotifyClosed() {
        if (OnClosed) OnClosed();
    }

private:
    OuterSize outerSize_;
};
