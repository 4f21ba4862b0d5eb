#include "windows/RequestWindow.h"

#include <QGuiApplication>
#include <QScreen>

void OuterSize::Set(QWidget& window, int width, int height) {
    wanted_ = QSize(width, height);
    Reapply(window);
}

void OuterSize::Reapply(QWidget& window) {
    if (!wanted_.isValid()) return;
    const QSize frame = window.frameGeometry().size() - window.geometry().size();
    window.resize(wanted_ - frame);
}

int OuterSize::Width(const QWidget& window) const {
    return wanted_.isValid() ? wanted_.width() : window.frameGeometry().width();
}

int OuterSize::Height(const QWidget& window) const {
    return wanted_.isValid() ? wanted_.height() : window.frameGeometry().height();
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
