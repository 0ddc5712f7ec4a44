#pragma once
// The effect label: a caption drawn with a shadow and a highlight, each made of one or more
// copies of the text offset in one of eight directions, in a plain, extruded or graduated
// colour, then the face on top. Appearances set the directions and depths, colour schemes the
// three colours; changing one effect value by hand marks the label custom, values set while
// the label is being loaded do not. The face may be graduated from GraduateFromColor to the
// font colour, left to right or top to bottom.
#include <QString>
#include <QWidget>

#include <array>
#include <cstdint>
#include <functional>
#include <string>

#include "controls/FclTextAlignment.h"
#include "platform/Graphics.h"

enum class TFclShadeDirection : std::uint8_t {
    sdNone, sdUp, sdUpRight, sdRight, sdDownRight, sdDown, sdDownLeft, sdLeft, sdUpLeft
};
enum class TFclShadeStyle : std::uint8_t { ssPlain, ssExtrude, ssGraduated };
enum class TFclGraduateStyle : std::uint8_t { gsNone, gsHorizontal, gsVertical };
enum class TFclAppearance : std::uint8_t { apNone, apCustom, apFlying, apRaised, apSunken, apShadow };
enum class TFclColorScheme : std::uint8_t { csCustom, csText, csWindows, csEmbossed, csGold, csSteel };
using TFclDepth = std::uint8_t;

// The one-pixel step of a direction (y downwards).
struct TFclOffset {
    int X;
    int Y;
};
TFclOffset DirectionOffset(TFclShadeDirection Direction);

// The colour of layer Layer (1 nearest the face) of a graduated shade Depth layers deep: the
// farthest layer has the shade's colour, the nearest the face's; channels rounded half to even.
TColor GraduatedLayerColor(TColor Shade, TColor Face, int Depth, int Layer);

// The effect values of a label. Colour setters send the colour notification, the others the
// style notification, each only for a changed value and not while notifications are held.
class TFclCustomSettings {
public:
    TColor GraduateFromColor() const { return graduateFromColor_; }
    TFclGraduateStyle GraduateStyle() const { return graduateStyle_; }
    TColor HighlightColor() const { return highlightColor_; }
    TFclDepth HighlightDepth() const { return highlightDepth_; }
    TFclShadeDirection HighlightDirection() const { return highlightDirection_; }
    TFclShadeStyle HighlightStyle() const { return highlightStyle_; }
    TColor ShadowColor() const { return shadowColor_; }
    TFclDepth ShadowDepth() const { return shadowDepth_; }
    TFclShadeDirection ShadowDirection() const { return shadowDirection_; }
    TFclShadeStyle ShadowStyle() const { return shadowStyle_; }

    void SetGraduateFromColor(TColor Value);
    void SetGraduateStyle(TFclGraduateStyle Value);
    void SetHighlightColor(TColor Value);
    void SetHighlightDepth(TFclDepth Value);
    void SetHighlightDirection(TFclShadeDirection Value);
    void SetHighlightStyle(TFclShadeStyle Value);
    void SetShadowColor(TColor Value);
    void SetShadowDepth(TFclDepth Value);
    void SetShadowDirection(TFclShadeDirection Value);
    void SetShadowStyle(TFclShadeStyle Value);

    void HoldNotifications() { hold_ = true; }
    // Ends the hold and sends both notifications.
    void ReleaseNotifications();
    // Copies the ten values without notifications.
    void Assign(const TFclCustomSettings& Source);

    void SetOnColorChange(std::function<void()> Event) { onColorChange_ = std::move(Event); }
    void SetOnStyleChange(std::function<void()> Event) { onStyleChange_ = std::move(Event); }

private:
    template <class T> void Set(T& Field, T Value, bool Colour);

    TColor graduateFromColor_ = clGray;
    TFclGraduateStyle graduateStyle_ = TFclGraduateStyle::gsNone;
    TColor highlightColor_ = clWhite;
    TFclDepth highlightDepth_ = 1;
    TFclShadeDirection highlightDirection_ = TFclShadeDirection::sdUpLeft;
    TFclShadeStyle highlightStyle_ = TFclShadeStyle::ssPlain;
    TColor shadowColor_ = clBlack;
    TFclDepth shadowDepth_ = 1;
    TFclShadeDirection shadowDirection_ = TFclShadeDirection::sdDownRight;
    TFclShadeStyle shadowStyle_ = TFclShadeStyle::ssPlain;
    std::function<void()> onColorChange_;
    std::function<void()> onStyleChange_;
    bool hold_ = false;
};

class TFclCustomLabel : public QWidget {
    Q_OBJECT
    Q_PROPERTY(QString Caption READ Caption WRITE SetCaption)
    Q_PROPERTY(bool Transparent READ Transparent WRITE SetTransparent)
    Q_PROPERTY(bool WordWrap READ WordWrap WRITE SetWordWrap)
    Q_PROPERTY(bool ShowAccelChar READ ShowAccelChar WRITE SetShowAccelChar)
    Q_PROPERTY(int Color READ Color WRITE SetColor)
    Q_PROPERTY(bool ParentColor READ ParentColor WRITE SetParentColor)
    Q_PROPERTY(int FontColor READ FontColor WRITE SetFontColor)
public:
    // One row of the scheme table.
    struct TSchemeColors {
        TColor Highlight;
        TColor Shadow;
        TColor Face;
    };

    explicit TFclCustomLabel(QWidget* AOwner = nullptr);

    std::string About() const;

    QString Caption() const { return caption_; }
    void SetCaption(const QString& Value);
    TAlignment Alignment() const { return alignment_; }
    void SetAlignment(TAlignment Value);
    bool Transparent() const { return transparent_; }
    void SetTransparent(bool Value);
    bool WordWrap() const { return wordWrap_; }
    void SetWordWrap(bool Value);
    bool ShowAccelChar() const { return showAccelChar_; }
    void SetShowAccelChar(bool Value);
    // The back colour, painted only when the label is not transparent; while ParentColor is
    // on (the default) the parent's colour is used.
    TColor Color() const { return color_; }
    // Also turns ParentColor off.
    void SetColor(TColor Value);
    bool ParentColor() const { return parentColor_; }
    void SetParentColor(bool Value);
    // The font's colour: the face of the caption.
    TColor FontColor() const { return fontColor_; }
    void SetFontColor(TColor Value);

    TFclAppearance Appearance() const { return appearance_; }
    // Sets the highlight colour from the scheme and the directions and depths of the
    // appearance.
    void SetAppearance(TFclAppearance Value);
    TFclColorScheme ColorScheme() const { return colorScheme_; }
    // Sets the highlight, face and shadow colours; a predefined scheme's colours also become
    // those of csCustom.
    void SetColorScheme(TFclColorScheme Value);
    TFclCustomSettings& CustomSettings() { return settings_; }
    const TSchemeColors& SchemeColors(TFclColorScheme Scheme) const
    {
        return schemes_[static_cast<std::size_t>(Scheme)];
    }

    // Values set between these two calls are taken as they stand, as from a stored form: they
    // mark nothing custom.
    void BeginLoad() { loading_ = true; }
    void Loaded();
    bool Loading() const { return loading_; }

    // Draws the label's own layers (background when not transparent, shadow, highlight,
    // face) into the rectangle of the control.
    void PaintTo(QPainter& Painter) const;

    // The caption on one line with room for its layers.
    QSize sizeHint() const override;

protected:
    void paintEvent(QPaintEvent* Event) override;
    void changeEvent(QEvent* Event) override;

private:
    void ColorChanged();
    void StyleChanged();
    void DrawLayers(QPainter& Painter, const QRect& Base, int Flags, TColor Color,
                    TFclShadeDirection Direction, int Depth, TFclShadeStyle Style) const;

    QString caption_;
    TAlignment alignment_ = TAlignment::taLeftJustify;
    bool transparent_ = true;
    bool wordWrap_ = true;
    bool showAccelChar_ = true;
    TColor color_ = clBtnFace;
    bool parentColor_ = true;
    TColor fontColor_ = clGray;
    TFclAppearance appearance_ = TFclAppearance::apRaised;
    TFclColorScheme colorScheme_ = TFclColorScheme::csWindows;
    TFclCustomSettings settings_;
    std::array<TSchemeColors, 6> schemes_;
    bool inColorScheme_ = false;
    bool inAppearance_ = false;
    bool loading_ = false;
};

class TFclLabel : public TFclCustomLabel {
    Q_OBJECT
public:
    explicit TFclLabel(QWidget* AOwner = nullptr) : TFclCustomLabel(AOwner) {}
};
