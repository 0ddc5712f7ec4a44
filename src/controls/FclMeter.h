#pragma once
// The progress meter: a percentage shown as a bar in the used colour or picture against the
// unused colour or picture, growing from the left or from the bottom, inside an optional
// single or sunken frame, optionally with the percentage printed in the middle (inverting
// the bar beneath it, or in the font colour). Everything is drawn into a kept off-screen
// image of the control's size and copied to the screen in one step. Setting Percent paints
// at once, so a long operation on the user-interface thread shows its progress.
#include <QImage>
#include <QRect>

#include <cstdint>
#include <functional>
#include <string>

#include "controls/FclBaseControls.h"
#include "platform/Bitmap.h"

class QPainter;

enum class TMeterOrientation : std::uint8_t { moHorizontal, moVertical };
enum class TBorderStyle : std::uint8_t { bsNone, bsSingle };

// Lengths of the two parts along the bar, for a bar of Size pixels (the interior's extent
// plus one) at Percent (clamped to 0..100): a used part shorter than three pixels is not
// shown, and below 100 % at least two interior pixels stay unused.
struct TMeterLengths {
    int Used;
    int Unused;
};
TMeterLengths MeterLengths(int Percent, int Size);

class TFclCustomMeter : public TFclGraphicControl {
    Q_OBJECT
public:
    // Called with the off-screen image's painter and the whole control rectangle, after the
    // bar is drawn, only while ShowPercent is False.
    using TFclOwnerDrawMeterEvent = std::function<void(QPainter& Canvas, const QRect& Rec)>;

    explicit TFclCustomMeter(QWidget* AOwner = nullptr);
    ~TFclCustomMeter() override;

    TBorderStyle BorderStyle() const { return borderStyle_; }
    bool Ctl3D() const { return ctl3D_; }
    bool InvertPercent() const { return invertPercent_; }
    TMeterOrientation Orientation() const { return orientation_; }
    // The value as set (not clamped).
    std::int32_t Percent() const { return percent_; }
    bool ShowPercent() const { return showPercent_; }
    TColor UsedColor() const { return usedColor_; }
    TColor UnusedColor() const { return unusedColor_; }
    TColor FontColor() const { return fontColor_; }
    const TBitmap& UsedImage() const { return usedImage_; }
    const TBitmap& UnusedImage() const { return unusedImage_; }
    // The text printed in the bar: the clamped percentage and "%".
    const std::string& PercentText() const { return percentText_; }

    void SetBorderStyle(TBorderStyle Value);
    void SetCtl3D(bool Value);
    void SetInvertPercent(bool Value);
    // A change turns a bar without a used picture by exchanging width and height.
    void SetOrientation(TMeterOrientation Value);
    // A changed value is stored and painted at once; an unchanged one costs nothing.
    void SetPercent(std::int32_t Value);
    void SetShowPercent(bool Value);
    void SetUsedColor(TColor Value);
    void SetUnusedColor(TColor Value);
    void SetFontColor(TColor Value);
    void SetUsedImage(const TBitmap& Value);
    void SetUnusedImage(const TBitmap& Value);
    void SetOnOwnerDraw(TFclOwnerDrawMeterEvent Event) { onOwnerDraw_ = std::move(Event); }

    QSize sizeHint() const override;

protected:
    void paintEvent(QPaintEvent* Event) override;
    // Draws the whole control into the off-screen image.
    virtual void Paint();

private:
    void DrawPercentText(const QRect& Interior, int W, int H);
    void DrawInvertedText(const QRect& Interior, int W, int H);

    TBorderStyle borderStyle_ = TBorderStyle::bsSingle;
    bool ctl3D_ = true;
    bool invertPercent_ = true;
    TMeterOrientation orientation_ = TMeterOrientation::moHorizontal;
    std::int32_t percent_ = 33;
    bool showPercent_ = false;
    TColor usedColor_ = clLime;
    TColor unusedColor_ = clWindow;
    TColor fontColor_ = clWindowText;
    TBitmap unusedImage_;
    TBitmap usedImage_;
    // The two pictures as the painter takes them, converted when they are set.
    QImage unusedPicture_;
    QImage usedPicture_;
    TFclOwnerDrawMeterEvent onOwnerDraw_;
    QImage barImage_;
    QImage textImage_;
    std::string percentText_;
};

class TFclMeter : public TFclCustomMeter {
    Q_OBJECT
public:
    explicit TFclMeter(QWidget* AOwner = nullptr) : TFclCustomMeter(AOwner) {}
};
