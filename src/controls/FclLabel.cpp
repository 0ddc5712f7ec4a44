#include "controls/FclLabel.h"

#include <QEvent>
#include <QFontMetrics>
#include <QLinearGradient>
#include <QPainter>
#include <QPen>

#include <algorithm>
#include <cmath>

#include "controls/FclMisc.h"
#include "controls/FclProperty.h"
#include "platform/SysColors.h"

TFclOffset DirectionOffset(TFclShadeDirection Direction)
{
    static constexpr TFclOffset offsets[] = {
        {0, 0}, {0, -1}, {1, -1}, {1, 0}, {1, 1}, {0, 1}, {-1, 1}, {-1, 0}, {-1, -1},
    };
    return offsets[static_cast<std::size_t>(Direction)];
}

TColor GraduatedLayerColor(TColor Shade, TColor Face, int Depth, int Layer)
{
    std::uint8_t s[3], f[3];
    ColorComponents(Shade, s[0], s[1], s[2]);
    ColorComponents(Face, f[0], f[1], f[2]);
    int c[3];
    for (int k = 0; k < 3; ++k) {
        const double step = double(Depth - Layer) * (f[k] - s[k]) / double(Depth - 1);
        c[k] = std::clamp(s[k] + static_cast<int>(std::nearbyint(step)), 0, 255);
    }
    return RGB(c[0], c[1], c[2]);
}

// ---- effect values ----

template <class T> void TFclCustomSettings::Set(T& Field, T Value, bool Colour)
{
    if (Field == Value)
        return;
    Field = Value;
    if (hold_)
        return;
    const auto& notify = Colour ? onColorChange_ : onStyleChange_;
    if (notify)
        notify();
}

void TFclCustomSettings::SetGraduateFromColor(TColor Value) { Set(graduateFromColor_, Value, true); }
void TFclCustomSettings::SetGraduateStyle(TFclGraduateStyle Value) { Set(graduateStyle_, Value, false); }
void TFclCustomSettings::SetHighlightColor(TColor Value) { Set(highlightColor_, Value, true); }
void TFclCustomSettings::SetHighlightDepth(TFclDepth Value) { Set(highlightDepth_, Value, false); }
void TFclCustomSettings::SetHighlightDirection(TFclShadeDirection Value) { Set(highlightDirection_, Value, false); }
void TFclCustomSettings::SetHighlightStyle(TFclShadeStyle Value) { Set(highlightStyle_, Value, false); }
void TFclCustomSettings::SetShadowColor(TColor Value) { Set(shadowColor_, Value, true); }
void TFclCustomSettings::SetShadowDepth(TFclDepth Value) { Set(shadowDepth_, Value, false); }
void TFclCustomSettings::SetShadowDirection(TFclShadeDirection Value) { Set(shadowDirection_, Value, false); }
void TFclCustomSettings::SetShadowStyle(TFclShadeStyle Value) { Set(shadowStyle_, Value, false); }

void TFclCustomSettings::ReleaseNotifications()
{
    hold_ = false;
    if (onColorChange_)
        onColorChange_();
    if (onStyleChange_)
        onStyleChange_();
}

void TFclCustomSettings::Assign(const TFclCustomSettings& Source)
{
    graduateFromColor_ = Source.graduateFromColor_;
    graduateStyle_ = Source.graduateStyle_;
    highlightColor_ = Source.highlightColor_;
    highlightDepth_ = Source.highlightDepth_;
    highlightDirection_ = Source.highlightDirection_;
    highlightStyle_ = Source.highlightStyle_;
    shadowColor_ = Source.shadowColor_;
    shadowDepth_ = Source.shadowDepth_;
    shadowDirection_ = Source.shadowDirection_;
    shadowStyle_ = Source.shadowStyle_;
}

// ---- the label ----

TFclCustomLabel::TFclCustomLabel(QWidget* AOwner)
    : QWidget(AOwner),
      schemes_{{
          {clWhite, clBlack, clGray},     // csCustom: a copy of csWindows
          {clWhite, clGray, clBlack},     // csText
          {clWhite, clBlack, clGray},     // csWindows
          {clWhite, clBlack, clSilver},   // csEmbossed
          {clYellow, clBlack, clOlive},   // csGold
          {clAqua, clNavy, clTeal},       // csSteel
      }}
{
    const TSchemeColors& windows = SchemeColors(TFclColorScheme::csWindows);
    settings_.SetHighlightColor(windows.Highlight);
    settings_.SetShadowColor(windows.Shadow);
    settings_.SetOnColorChange([this] { ColorChanged(); });
    settings_.SetOnStyleChange([this] { StyleChanged(); });
    resize(150, 35);
    QFont f(QStringLiteral("Times New Roman"));
    f.setPointSize(20);
    setFont(f);
    fontColor_ = windows.Face;
}

std::string TFclCustomLabel::About() const
{
    return FclAboutText();
}

void TFclCustomLabel::SetCaption(const QString& Value)
{
    if (StoreChanged(caption_, Value))
        update();
}

void TFclCustomLabel::SetAlignment(TAlignment Value)
{
    if (StoreChanged(alignment_, Value))
        update();
}

void TFclCustomLabel::SetTransparent(bool Value)
{
    if (StoreChanged(transparent_, Value))
        update();
}

void TFclCustomLabel::SetWordWrap(bool Value)
{
    if (StoreChanged(wordWrap_, Value))
        update();
}

void TFclCustomLabel::SetShowAccelChar(bool Value)
{
    if (StoreChanged(showAccelChar_, Value))
        update();
}

void TFclCustomLabel::SetColor(TColor Value)
{
    if (Value == color_ && !parentColor_)
        return;
    color_ = Value;
    parentColor_ = false;
    update();
}

void TFclCustomLabel::SetParentColor(bool Value)
{
    if (StoreChanged(parentColor_, Value))
        update();
}

void TFclCustomLabel::SetFontColor(TColor Value)
{
    if (StoreChanged(fontColor_, Value))
        update();
}

void TFclCustomLabel::SetColorScheme(TFclColorScheme Value)
{
    if (Value == colorScheme_)
        return;
    inColorScheme_ = true;
    colorScheme_ = Value;
    settings_.HoldNotifications();
    const TSchemeColors colors = SchemeColors(Value);
    settings_.SetHighlightColor(colors.Highlight);
    SetFontColor(colors.Face);
    settings_.SetShadowColor(colors.Shadow);
    if (Value != TFclColorScheme::csCustom)
        schemes_[static_cast<std::size_t>(TFclColorScheme::csCustom)] = colors;
    settings_.ReleaseNotifications();
    inColorScheme_ = false;
    update();
}

void TFclCustomLabel::SetAppearance(TFclAppearance Value)
{
    if (Value == appearance_)
        return;
    inAppearance_ = true;
    appearance_ = Value;
    settings_.HoldNotifications();
    const TSchemeColors& scheme = SchemeColors(colorScheme_);
    settings_.SetHighlightColor(scheme.Highlight);
    struct Shades {
        TFclShadeDirection highlight;
        TFclDepth highlightDepth;
        TFclShadeDirection shadow;
        TFclDepth shadowDepth;
    };
    using D = TFclShadeDirection;
    auto apply = [this](const Shades& s) {
        settings_.SetHighlightDirection(s.highlight);
        settings_.SetHighlightDepth(s.highlightDepth);
        settings_.SetShadowDirection(s.shadow);
        settings_.SetShadowDepth(s.shadowDepth);
    };
    switch (Value) {
    case TFclAppearance::apNone: apply({D::sdNone, 0, D::sdNone, 0}); break;
    case TFclAppearance::apCustom: break;
    case TFclAppearance::apFlying:
        apply({D::sdDownRight, 1, D::sdDownRight, 5});
        settings_.SetHighlightColor(scheme.Shadow);
        break;
    case TFclAppearance::apRaised: apply({D::sdUpLeft, 1, D::sdDownRight, 1}); break;
    case TFclAppearance::apSunken: apply({D::sdDownRight, 1, D::sdUpLeft, 1}); break;
    case TFclAppearance::apShadow: apply({D::sdNone, 0, D::sdDownRight, 2}); break;
    }
    settings_.ReleaseNotifications();
    inAppearance_ = false;
    update();
}

void TFclCustomLabel::Loaded()
{
    loading_ = false;
    update();
}

void TFclCustomLabel::ColorChanged()
{
    if (loading_)
        return;
    update();
    if (!inColorScheme_)
        colorScheme_ = TFclColorScheme::csCustom;
}

void TFclCustomLabel::StyleChanged()
{
    if (loading_)
        return;
    update();
    if (!inAppearance_)
        appearance_ = TFclAppearance::apCustom;
}

void TFclCustomLabel::changeEvent(QEvent* Event)
{
    QWidget::changeEvent(Event);
    if (Event->type() == QEvent::FontChange)
        update();
}

void TFclCustomLabel::DrawLayers(QPainter& Painter, const QRect& Base, int Flags, TColor Color,
                                 TFclShadeDirection Direction, int Depth,
                                 TFclShadeStyle Style) const
{
    const TFclOffset step = DirectionOffset(Direction);
    const bool single = Style == TFclShadeStyle::ssPlain || Depth <= 1;
    const int last = single ? Depth : 1;
    for (int i = Depth; i >= last; --i) {
        const bool graduated = Style == TFclShadeStyle::ssGraduated && Depth > 1;
        const TColor c = graduated ? GraduatedLayerColor(Color, fontColor_, Depth, i) : Color;
        Painter.setPen(ToQColor(c));
        Painter.drawText(Base.translated(step.X * i, step.Y * i), Flags, caption_);
    }
}

void TFclCustomLabel::PaintTo(QPainter& Painter) const
{
    const QRect r = rect();
    const TFclOffset h = DirectionOffset(settings_.HighlightDirection());
    const TFclOffset s = DirectionOffset(settings_.ShadowDirection());
    const int hd = settings_.HighlightDepth(), sd = settings_.ShadowDepth();
    const int values[] = {0, h.X * hd, h.Y * hd, s.X * sd, s.Y * sd};
    const int lo = *std::min_element(std::begin(values), std::end(values));
    const int hi = *std::max_element(std::begin(values), std::end(values));
    const int shift = alignment_ == TAlignment::taCenter         ? (hi - lo) / 2
                      : alignment_ == TAlignment::taRightJustify ? hi - lo
                                                                 : 0;
    int flags = Qt::AlignTop | Qt::TextExpandTabs | int(QtAlignmentOf(alignment_));
    if (wordWrap_)
        flags |= Qt::TextWordWrap;
    if (showAccelChar_)
        flags |= Qt::TextShowMnemonic;

    if (!transparent_)
        Painter.fillRect(r, parentColor_ ? palette().color(backgroundRole()) : ToQColor(color_));
    Painter.setFont(font());
    Painter.setBackgroundMode(Qt::TransparentMode);
    const QRect base = r.translated(-lo - shift, -lo);
    DrawLayers(Painter, base, flags, settings_.ShadowColor(), settings_.ShadowDirection(), sd,
               settings_.ShadowStyle());
    DrawLayers(Painter, base, flags, settings_.HighlightColor(), settings_.HighlightDirection(),
               hd, settings_.HighlightStyle());
    // The face: in the font colour, or graduated from GraduateFromColor to it across the
    // caption's rectangle.
    const TFclGraduateStyle graduate = settings_.GraduateStyle();
    if (graduate == TFclGraduateStyle::gsNone) {
        Painter.setPen(ToQColor(fontColor_));
    } else {
        const QRect extent = Painter.boundingRect(base, flags, caption_);
        QLinearGradient gradient(extent.topLeft(), graduate == TFclGraduateStyle::gsHorizontal
                                                       ? extent.topRight()
                                                       : extent.bottomLeft());
        gradient.setColorAt(0, ToQColor(settings_.GraduateFromColor()));
        gradient.setColorAt(1, ToQColor(fontColor_));
        Painter.setPen(QPen(QBrush(gradient), 0));
    }
    Painter.drawText(base, flags, caption_);
}

QSize TFclCustomLabel::sizeHint() const
{
    const TFclOffset h = DirectionOffset(settings_.HighlightDirection());
    const TFclOffset s = DirectionOffset(settings_.ShadowDirection());
    const int hd = settings_.HighlightDepth(), sd = settings_.ShadowDepth();
    const int values[] = {0, h.X * hd, h.Y * hd, s.X * sd, s.Y * sd};
    const int extra = *std::max_element(std::begin(values), std::end(values)) -
                      *std::min_element(std::begin(values), std::end(values));
    const QSize text = QFontMetrics(font()).size(Qt::TextExpandTabs, caption_);
    return text + QSize(extra, extra);
}

void TFclCustomLabel::paintEvent(QPaintEvent*)
{
    QPainter painter(this);
    PaintTo(painter);
}
