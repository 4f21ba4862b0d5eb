#include "support/nPanel_U.h"

#include <QFontMetrics>
#include <QPainter>
#include <qdrawutil.h>

QColor ToQColor(TColor color) { return QColor::fromRgb(static_cast<QRgb>(color & 0xFFFFFF)); }

TnPanel::TnPanel(QWidget* parent) : QWidget(parent), FColor(palette().color(QPalette::Button)) {}

void TnPanel::SetRadius(int value) {
    FRadius = value;
    repaint();
}

void TnPanel::SetBorderColor(TColor value) {
    FBorderColor = value;
    repaint();
}

void TnPanel::SetColor(const QColor& value) {
    FColor = value;
    update();
}

void TnPanel::SetCaption(const QString& value) {
    FCaption = value;
    update();
}

void TnPanel::SetAlignment(Qt::Alignment value) {
    FAlignment = value & Qt::AlignHorizontal_Mask;
    update();
}

void TnPanel::SetShowCaption(bool value) {
    FShowCaption = value;
    update();
}

void TnPanel::SetBevelOuter(TPanelBevel value) {
    FBevelOuter = value;
    update();
}

void TnPanel::paintEvent(QPaintEvent*) {
    QPainter canvas(this);
    if (FRadius <= 0) {
        PaintStandard(canvas);
        if (FBorderColor != clNone) {
            // Only the frame: filling the inside again would wipe out the
            // caption that the standard painting has just drawn.
            canvas.setPen(ToQColor(FBorderColor));
            canvas.setBrush(Qt::NoBrush);
            canvas.drawRect(0, 0, width() - 1, height() - 1);
        }
    } else {
        PintarArredondado(canvas);
    }
    if (OnPaint) OnPaint(this);
}

void TnPanel::PaintStandard(QPainter& canvas) {
    canvas.fillRect(rect(), FColor);
    if (FBevelOuter != TPanelBevel::bvNone)
        qDrawShadePanel(&canvas, rect(), palette(), FBevelOuter == TPanelBevel::bvLowered, 1);
    if (FShowCaption && !FCaption.isEmpty()) {
        canvas.setFont(font());
        canvas.setPen(palette().color(QPalette::WindowText));
        const int inset = FBevelOuter == TPanelBevel::bvNone ? 0 : 1;
        canvas.drawText(rect().adjusted(inset, inset, -inset, -inset),
                        static_cast<int>(FAlignment | Qt::AlignVCenter | Qt::TextSingleLine), FCaption);
    }
}

void TnPanel::PintarArredondado(QPainter& canvas) {
    if (auto* parent = parentWidget()) {
        const QColor parentColor = parent->palette().color(parent->backgroundRole());
        canvas.fillRect(rect(), parentColor);
    }
    canvas.setRenderHint(QPainter::Antialiasing, false);
    canvas.setPen(FBorderColor == clNone ? FColor : ToQColor(FBorderColor));
    canvas.setBrush(FColor);
    // The corner ellipse is Radius wide and high, so each corner's radius is half of it.
    const qreal corner = FRadius / 2.0;
    canvas.drawRoundedRect(QRectF(0, 0, width() - 1, height() - 1), corner, corner);
    if (OnPaintRadius) OnPaintRadius(this);

    // The caption shows even when ShowCaption is off: single line, centred
    // vertically, cut with an ellipsis when it does not fit.
    canvas.setFont(font());
    canvas.setBrush(Qt::NoBrush);
    canvas.setPen(palette().color(QPalette::WindowText));
    const QString shown = QFontMetrics(font()).elidedText(FCaption, Qt::ElideRight, width());
    canvas.drawText(rect(), static_cast<int>(FAlignment | Qt::AlignVCenter | Qt::TextSingleLine), shown);
}
