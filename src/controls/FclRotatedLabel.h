#pragma once
// The rotated label: a one-line caption printed at any angle (counter-clockwise, in whole
// degrees) from a reference point, with an optional drop shadow 2 pixels right and 1 pixel
// down. An ampersand prints as it stands; a disabled label prints in the grey text colour.
// Rotated text needs an outline font: an angle given to a device font turns the face into
// Arial, and a device font given to a rotated label turns the angle back to 0.
#include <QColor>
#include <QString>

#include "controls/FclBaseControls.h"
#include "controls/FclTextAlignment.h"
#include "platform/Graphics.h"

// The angle as stored: reduced modulo 360 with its sign kept (450 -> 90, -450 -> -90).
int ReduceFontAngle(int Degrees);

class TFclCustomRotatedLabel : public TFclGraphicControl {
    Q_OBJECT
    Q_PROPERTY(QString Caption READ Caption WRITE SetCaption)
    Q_PROPERTY(int FontAngle READ FontAngle WRITE SetFontAngle)
    Q_PROPERTY(int OriginX READ OriginX WRITE SetOriginX)
    Q_PROPERTY(int OriginY READ OriginY WRITE SetOriginY)
    Q_PROPERTY(bool ShadowedText READ ShadowedText WRITE SetShadowedText)
    Q_PROPERTY(int ShadowColor READ ShadowColor WRITE SetShadowColor)
    Q_PROPERTY(bool Transparent READ Transparent WRITE SetTransparent)
    Q_PROPERTY(bool AutoSize READ AutoSize WRITE SetAutoSize)
    Q_PROPERTY(int Color READ Color WRITE SetColor)
    Q_PROPERTY(bool ParentColor READ ParentColor WRITE SetParentColor)
    Q_PROPERTY(int FontColor READ FontColor WRITE SetFontColor)
public:
    explicit TFclCustomRotatedLabel(QWidget* AOwner = nullptr);

    TAlignment Alignment() const { return alignment_; }
    void SetAlignment(TAlignment Value);
    // With AutoSize the label takes the size of its caption turned by the angle (and of its
    // shadow), keeping its top-left corner; a turned caption's reference point is placed so
    // that the caption lies inside. The size follows every change of caption, angle, font and
    // shadow. Without it the size stays as set.
    bool AutoSize() const { return autoSize_; }
    void SetAutoSize(bool Value);
    QString Caption() const { return caption_; }
    // Paints at once.
    void SetCaption(const QString& Value);
    int FontAngle() const { return fontAngle_; }
    void SetFontAngle(int Value);
    int OriginX() const { return originX_; }
    void SetOriginX(int Value);
    int OriginY() const { return originY_; }
    void SetOriginY(int Value);
    TColor ShadowColor() const { return shadowColor_; }
    void SetShadowColor(TColor Value);
    bool ShadowedText() const { return shadowedText_; }
    void SetShadowedText(bool Value);
    // A transparent label paints nothing behind its text.
    bool Transparent() const { return transparent_; }
    void SetTransparent(bool Value);
    // The back colour; while ParentColor is on (the default) the parent's colour is used.
    TColor Color() const { return color_; }
    // Also turns ParentColor off.
    void SetColor(TColor Value);
    bool ParentColor() const { return parentColor_; }
    void SetParentColor(bool Value);
    TColor FontColor() const { return fontColor_; }
    void SetFontColor(TColor Value);

    void BeginLoad() { loading_ = true; }
    void Loaded();

    // Draws the label into the control's rectangle.
    void PaintTo(QPainter& Painter) const;

    // The caption's extent turned by the angle (a layout's starting size; the label itself
    // keeps the size it is given).
    QSize sizeHint() const override;

protected:
    void paintEvent(QPaintEvent* Event) override;
    void changeEvent(QEvent* Event) override;

private:
    void DrawCaption(QPainter& Painter, const QString& Text, int Dx, int Dy) const;
    // The AutoSize fitting (nothing while AutoSize is off or the label is loading).
    void FitSize();
    QColor BackColour() const;

    TAlignment alignment_ = TAlignment::taLeftJustify;
    bool autoSize_ = false;
    QString caption_;
    int fontAngle_ = 0;
    int originX_ = 0;
    int originY_ = 0;
    TColor shadowColor_ = clBtnShadow;
    bool shadowedText_ = false;
    bool transparent_ = false;
    TColor color_ = clBtnFace;
    bool parentColor_ = true;
    TColor fontColor_ = clWindowText;
    bool loading_ = false;
    bool inFontChange_ = false;
    bool fitting_ = false;
};

class TFclRotatedLabel : public TFclCustomRotatedLabel {
    Q_OBJECT
public:
    explicit TFclRotatedLabel(QWidget* AOwner = nullptr) : TFclCustomRotatedLabel(AOwner) {}
};
