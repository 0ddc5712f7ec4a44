#pragma once
// The hyperlink label: shows an address (or its own caption), takes the highlight colour
// while the mouse is over it and opens the address with the desktop's handler when clicked;
// a failed open beeps. Leaving is noticed within 100 ms by a timer that asks the cursor
// position, so it is seen even when no mouse message reaches the label.
#include <QString>
#include <QWidget>

#include <functional>
#include <string>

#include "controls/FclEvents.h"
#include "controls/FclTextAlignment.h"
#include "platform/Graphics.h"

class QTimer;

class TFclURL : public QWidget {
    Q_OBJECT
    Q_PROPERTY(QString Caption READ Caption WRITE SetCaption)
    Q_PROPERTY(QString URL READ URL WRITE SetURL)
    Q_PROPERTY(int HighlightColor READ HighlightColor WRITE SetHighlightColor)
    Q_PROPERTY(bool UseVisitedColor READ UseVisitedColor WRITE SetUseVisitedColor)
    Q_PROPERTY(int VisitedColor READ VisitedColor WRITE SetVisitedColor)
    Q_PROPERTY(bool UnderlineURL READ UnderlineURL WRITE SetUnderlineURL)
    Q_PROPERTY(int FontColor READ FontColor WRITE SetFontColor)
    Q_PROPERTY(bool Transparent READ Transparent WRITE SetTransparent)
public:
    // The address handed to the desktop is cut to this many characters.
    static constexpr int kMaxURLLength = 1023;
    // The hover timer's interval in milliseconds.
    static constexpr int kHoverInterval = 100;

    explicit TFclURL(QWidget* AOwner = nullptr);

    std::string About() const;

    QString Caption() const { return caption_; }
    // The label shows the caption, or the address while the caption is empty.
    void SetCaption(const QString& Value);
    QString URL() const { return url_; }
    void SetURL(const QString& Value);
    // The text shown.
    QString Text() const { return caption_.isEmpty() ? url_ : caption_; }
    TColor HighlightColor() const { return highlightColor_; }
    // clNone stands for the current font colour.
    void SetHighlightColor(TColor Value);
    bool UseVisitedColor() const { return useVisitedColor_; }
    void SetUseVisitedColor(bool Value) { useVisitedColor_ = Value; }
    TColor VisitedColor() const { return visitedColor_; }
    // clNone stands for the current font colour; stored only while UseVisitedColor is on.
    void SetVisitedColor(TColor Value);
    bool UnderlineURL() const { return font().underline(); }
    void SetUnderlineURL(bool Value);
    TColor FontColor() const { return fontColor_; }
    void SetFontColor(TColor Value);
    TAlignment Alignment() const { return alignment_; }
    void SetAlignment(TAlignment Value);
    bool Transparent() const { return transparent_; }
    void SetTransparent(bool Value);
    // The back colour; while ParentColor is on (the default) the parent's colour is used.
    TColor Color() const { return color_; }
    // Also turns ParentColor off.
    void SetColor(TColor Value);
    bool ParentColor() const { return parentColor_; }
    void SetParentColor(bool Value);
    // Sizes the label to its text (on by default).
    bool AutoSize() const { return autoSize_; }
    void SetAutoSize(bool Value);

    void SetOnClick(TNotifyEvent Event) { onClick_ = std::move(Event); }
    void SetOnMouseMove(std::function<void(int X, int Y)> Event) { onMouseMove_ = std::move(Event); }

    // The mouse is at (X, Y) in the label: the hover starts when it is inside.
    void MouseMove(int X, int Y);
    // Opens the address (its first 1023 characters; a failure beeps), fires OnClick, and
    // with UseVisitedColor makes the visited colour the one restored on leaving.
    void Click();
    // One tick of the hover timer: when the cursor is outside, the hover ends.
    void HoverTick();
    bool Hovering() const { return hoverTimer_ != nullptr; }
    int HoverInterval() const;

    QSize sizeHint() const override;
    void PaintTo(QPainter& Painter) const;

protected:
    void paintEvent(QPaintEvent* Event) override;
    void mouseMoveEvent(QMouseEvent* Event) override;
    void mouseReleaseEvent(QMouseEvent* Event) override;
    void changeEvent(QEvent* Event) override;

private:
    void TextChanged();

    // The font colour saved while hovering; the marker means nothing is saved.
    static constexpr TColor kNothingSaved = 0x2000000;

    QString caption_;
    TColor highlightColor_ = clRed;
    QString url_;
    bool useVisitedColor_ = false;
    TColor visitedColor_ = clBlack;
    QTimer* hoverTimer_ = nullptr;
    TColor savedColor_ = kNothingSaved;
    TColor fontColor_ = clWindowText;
    TAlignment alignment_ = TAlignment::taLeftJustify;
    bool transparent_ = false;
    TColor color_ = clBtnFace;
    bool parentColor_ = true;
    bool autoSize_ = true;
    TNotifyEvent onClick_;
    std::function<void(int, int)> onMouseMove_;
};
