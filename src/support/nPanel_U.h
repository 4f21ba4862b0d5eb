#pragma once
// A panel that can paint itself with rounded corners and a coloured border,
// and that announces its painting.

#include <QWidget>

#include <cstdint>
#include <functional>

// A colour as form descriptions store it: 0x00RRGGBB, or clNone.
using TColor = std::uint32_t;
inline constexpr TColor clNone = 0x1FFFFFFF;

QColor ToQColor(TColor color);

class TnPanel;
using TOnPaint = std::function<void(TnPanel* Sender)>;

enum class TPanelBevel { bvNone, bvLowered, bvRaised };

class TnPanel : public QWidget {
public:
    explicit TnPanel(QWidget* parent = nullptr);

    int Radius() const { return FRadius; }
    // Both setters repaint at once, even when the value stays the same.
    void SetRadius(int value);
    TColor BorderColor() const { return FBorderColor; }
    void SetBorderColor(TColor value);

    QColor Color() const { return FColor; }
    void SetColor(const QColor& value);
    QString Caption() const { return FCaption; }
    void SetCaption(const QString& value);
    Qt::Alignment Alignment() const { return FAlignment; }
    // Qt::AlignLeft, Qt::AlignRight or Qt::AlignHCenter.
    void SetAlignment(Qt::Alignment value);
    bool ShowCaption() const { return FShowCaption; }
    void SetShowCaption(bool value);
    TPanelBevel BevelOuter() const { return FBevelOuter; }
    void SetBevelOuter(TPanelBevel value);

    TOnPaint OnPaint;
    TOnPaint OnPaintRadius;

protected:
    void paintEvent(QPaintEvent* event) override;

private:
    void PaintStandard(QPainter& canvas);
    void PintarArredondado(QPainter& canvas);

    int FRadius = 0;
    TColor FBorderColor = clNone;
    QColor FColor;
    QString FCaption;
    Qt::Alignment FAlignment = Qt::AlignHCenter;
    bool FShowCaption = true;
    TPanelBevel FBevelOuter = TPanelBevel::bvRaised;
};
