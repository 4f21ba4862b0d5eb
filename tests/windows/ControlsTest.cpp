#include "support/nPanel_U.h"
#include "support/nScrollBox_U.h"

#include "FakeChromiumHost.h"

#include <QApplication>
#include <QImage>
#include <QLineEdit>
#include <QPushButton>
#include <QVBoxLayout>

#include <gtest/gtest.h>

namespace {

QImage Render(QWidget& widget, QColor underneath = Qt::green) {
    QImage image(widget.size(), QImage::Format_RGB32);
    image.fill(underneath);
    widget.render(&image, QPoint(), QRegion(), QWidget::DrawChildren);
    return image;
}

bool HasDarkPixel(const QImage& image, QRect area) {
    for (int y = area.top(); y <= area.bottom(); ++y)
        for (int x = area.left(); x <= area.right(); ++x)
            if (qGray(image.pixel(x, y)) < 100) return true;
    return false;
}

struct PanelProbe {
    int paints = 0;
    int radiusPaints = 0;
    void Attach(TnPanel& panel) {
        panel.OnPaint = [this](TnPanel*) { ++paints; };
        panel.OnPaintRadius = [this](TnPanel*) { ++radiusPaints; };
    }
};

TEST(TnPanel, DefaultsPaintAsAPlainPanelThenAnnounce) {
    TnPanel panel;
    EXPECT_EQ(panel.Radius(), 0);
    EXPECT_EQ(panel.BorderColor(), 0x1FFFFFFFu);
    panel.resize(40, 15);
    panel.SetColor(Qt::white);
    panel.SetBevelOuter(TPanelBevel::bvNone);
    PanelProbe probe;
    probe.Attach(panel);
    const QImage image = Render(panel);
    for (QPoint p : {QPoint(0, 0), QPoint(39, 14), QPoint(20, 7)}) EXPECT_EQ(image.pixel(p), qRgb(255, 255, 255));
    EXPECT_EQ(probe.paints, 1);
    EXPECT_EQ(probe.radiusPaints, 0);
}

TEST(TnPanel, BorderColourAddsAOnePixelFrameAndKeepsTheCaption) {
    TnPanel panel;
    panel.resize(60, 20);
    panel.SetColor(Qt::white);
    panel.SetBevelOuter(TPanelBevel::bvNone);
    panel.SetCaption(QStringLiteral("HHH"));
    panel.SetBorderColor(0xFF0000);
    PanelProbe probe;
    probe.Attach(panel);
    const QImage image = Render(panel);
    for (QPoint p : {QPoint(0, 0), QPoint(59, 19), QPoint(30, 0), QPoint(0, 10)})
        EXPECT_EQ(image.pixel(p), qRgb(255, 0, 0)) << p.x() << "," << p.y();
    EXPECT_EQ(image.pixel(1, 1), qRgb(255, 255, 255));
    EXPECT_TRUE(HasDarkPixel(image, QRect(2, 2, 56, 16)));
    EXPECT_EQ(probe.radiusPaints, 0);
    EXPECT_EQ(probe.paints, 1);
}

TEST(TnPanel, RoundedPanelShowsTheParentInItsCornersAndNoBorderOfItsOwn) {
    QWidget parent;
    QPalette blue = parent.palette();
    blue.setColor(parent.backgroundRole(), Qt::blue);
    parent.setPalette(blue);
    auto* panel = new TnPanel(&parent);
    panel->resize(60, 24);
    panel->SetColor(Qt::white);
    panel->SetShowCaption(false);  // the rounded painting shows it anyway
    panel->SetCaption(QStringLiteral("HHHHHHHHHHHHHHHHHHHHHHHH"));
    panel->SetRadius(8);
    PanelProbe probe;
    probe.Attach(*panel);
    const QImage image = Render(*panel);
    EXPECT_EQ(image.pixel(0, 0), qRgb(0, 0, 255));
    EXPECT_EQ(image.pixel(59, 23), qRgb(0, 0, 255));
    EXPECT_EQ(image.pixel(30, 0), qRgb(255, 255, 255)) << "the outline is drawn in the panel's colour";
    EXPECT_EQ(image.pixel(0, 12), qRgb(255, 255, 255));
    EXPECT_TRUE(HasDarkPixel(image, QRect(2, 2, 56, 20)));
    EXPECT_EQ(probe.radiusPaints, 1);
    EXPECT_EQ(probe.paints, 1);

    // Single line, vertically centred: ink only around the middle row.
    int top = 24, bottom = -1;
    for (int y = 0; y < 24; ++y)
        if (HasDarkPixel(image, QRect(0, y, 60, 1))) top = std::min(top, y), bottom = std::max(bottom, y);
    EXPECT_NEAR((top + bottom) / 2.0, 11.5, 2.0);
}

TEST(TnPanel, RoundedPanelWithoutParentSkipsTheParentFill) {
    TnPanel panel;
    panel.resize(40, 20);
    panel.SetColor(Qt::white);
    panel.SetRadius(10);
    const QImage image = Render(panel, Qt::green);
    EXPECT_EQ(image.pixel(0, 0), qRgb(0, 255, 0));
    EXPECT_EQ(image.pixel(20, 10), qRgb(255, 255, 255));
}

TEST(TnPanel, SettersRepaintAtOnceEvenWithTheSameValue) {
    TnPanel panel;
    panel.resize(30, 15);
    panel.show();
    ProcessPosted();
    PanelProbe probe;
    probe.Attach(panel);
    panel.SetRadius(0);
    EXPECT_EQ(probe.paints, 1);
    panel.SetBorderColor(clNone);
    EXPECT_EQ(probe.paints, 2);
}

class ShiftableScrollBox : public TnScrollBox {
public:
    using TnScrollBox::TnScrollBox;
    bool shift = false;

protected:
    bool ShiftHeld() const override { return shift; }
};

struct FocusForm {
    QWidget form;
    QLineEdit* before = new QLineEdit(&form);
    ShiftableScrollBox* box = new ShiftableScrollBox(&form);
    QWidget* content = new QWidget;
    QLineEdit* after = new QLineEdit(&form);
    FocusForm() {
        auto* layout = new QVBoxLayout(&form);
        layout->addWidget(before);
        layout->addWidget(box);
        layout->addWidget(after);
        box->setWidget(content);
        form.show();
        ProcessPosted();
    }
};

TEST(TnScrollBox, FocusPassesToTheNextTabStopOrThePreviousWithShift) {
    FocusForm f;
    f.box->SetFocus();
    EXPECT_EQ(f.form.focusWidget(), f.after);
    f.box->shift = true;
    f.box->SetFocus();
    EXPECT_EQ(f.form.focusWidget(), f.before);

    // Tab stops inside other containers count too; disabled ones do not.
    f.box->shift = false;
    f.after->setEnabled(false);
    f.box->SetFocus();
    EXPECT_EQ(f.form.focusWidget(), f.before) << "wraps round the form";
}

TEST(TnScrollBox, KeepsTheFocusWhenNothingElseCanTakeIt) {
    FocusForm f;
    f.before->setFocusPolicy(Qt::ClickFocus);  // not a tab stop
    f.after->hide();
    f.box->SetFocus();
    EXPECT_EQ(f.form.focusWidget(), f.box);

    TnScrollBox alone;  // a window of its own: no form to look in
    alone.show();
    alone.SetFocus();
    EXPECT_EQ(alone.focusWidget(), &alone);
}

TEST(TnScrollBox, FirstChildThatCanTakeTheFocusGetsIt) {
    FocusForm f;
    auto* disabled = new QPushButton(f.content);
    disabled->setEnabled(false);
    auto* edit = new QLineEdit(f.content);
    auto* layout = new QVBoxLayout(f.content);
    layout->addWidget(disabled);
    layout->addWidget(edit);
    disabled->show();
    edit->show();
    f.box->SetarFocoPrimeiroControl();
    EXPECT_EQ(f.form.focusWidget(), edit);

}

}  // namespace
