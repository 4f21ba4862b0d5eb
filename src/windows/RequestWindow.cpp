#include "windows/RequestWindow.h"

#include <QGuiApplication>
#include <QScreen>

namespace {

QSize FrameOf(const QWidget& window) { return window.frameGeometry().size() - window.geometry().size(); }

}  // namespace

void OuterSize::Set(QWidget& window, int width, int height) {
    wanted_ = QSize(width, height);
    appliedFrame_ = QSize(-1, -1);
    Reapply(window);
}

void OuterSize::SetMinimum(QWidget& window, int width, int height) {
    minimum_ = QSize(width, height);
    appliedFrame_ = QSize(-1, -1);
    Reapply(window);
}

void OuterSize::Reapply(QWidget& window) {
    const QSize frame = FrameOf(window);
    if (frame == appliedFrame_) return;  // the user's own resizing stays
    appliedFrame_ = frame;
    if (minimum_.isValid()) window.setMinimumSize(minimum_ - frame);
    if (wanted_.isValid()) window.resize(wanted_ - frame);
}

int OuterSize::Width(const QWidget& window) const {
    const bool frameKnown = !FrameOf(window).isNull();
    return frameKnown || !wanted_.isValid() ? window.frameGeometry().width() : wanted_.width();
}

int OuterSize::Height(const QWidget& window) const {
    const bool frameKnown = !FrameOf(window).isNull();
    return frameKnown || !wanted_.isValid() ? window.frameGeometry().height() : wanted_.height();
}

// move() places the frame's top-left corner, as screen coordinates stand.
void SetLeftEdge(QWidget& window, int left) { window.move(left, window.pos().y()); }

void SetTopEdge(QWidget& window, int top) { window.move(window.pos().x(), top); }

std::vector<MonitorBounds> SystemMonitors() {
    std::vector<MonitorBounds> monitors;
    for (const QScreen* screen : QGuiApplication::screens()) {
        const QRect bounds = screen->geometry();
        monitors.push_back({bounds.left(), bounds.top(), bounds.width(), bounds.height()});
    }
    return monitors;
}
