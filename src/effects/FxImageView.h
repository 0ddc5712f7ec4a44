#pragma once
// The painting side of the picture-effects control: a widget that shows the processed picture
// of a TFxImage, at its own size at the top left, centred, or stretched to the widget, with
// the option to leave its transparent colour out. It follows the mouse (MouseInside and the
// enter and exit events), can take on its picture's size (AutoSize) and passes on the progress
// a picture reports. It repaints whenever the control recomputes its picture: it takes the
// control's OnPictureChanged for that while it lives.
#include "controls/FclEvents.h"
#include "platform/Bitmap.h"
#include "platform/ControlAlign.h"

#include <QImage>
#include <QWidget>

#include <functional>
#include <string>
#include <vector>

class TFxImage;

// How far a picture that reports its progress has come.
enum class TProgressStage : std::uint8_t { psStarting, psRunning, psEnding };
// Sender, stage, percent done, whether the part done may be shown now, the part of the
// picture that changed, and a message.
using TProgressEvent = std::function<void(void* Sender, TProgressStage Stage, int PercentDone, bool RedrawNow,
                                          const QRect& R, const std::string& Msg)>;

class TFxImageView : public QWidget {
    Q_OBJECT
public:
    explicit TFxImageView(TFxImage& image, QWidget* parent = nullptr);
    ~TFxImageView() override;

    TFxImage& Image() { return image_; }

    // Painting options; a change runs PictureChanged.
    bool Stretch() const { return stretch_; }
    void SetStretch(bool v);
    bool Center() const { return center_; }
    void SetCenter(bool v);
    // The picture's pixels of its transparent colour (its bottom-left pixel's) are not painted.
    bool Transparent() const { return transparent_; }
    void SetTransparent(bool v);
    // Progress with RedrawNow repaints at once, so a picture reported piece by piece shows.
    bool IncrementalDisplay = false;

    // The widget takes on its picture's size: when switched on and whenever the picture
    // changes. What the parent already decides (Align) stays.
    bool AutoSize() const { return autoSize_; }
    void SetAutoSize(bool v);
    TAlign Align() const { return align_; }
    void SetAlign(TAlign v) { align_ = v; }
    // The size the widget takes on when it follows its picture; always answers yes.
    bool CanAutoSize(int& NewWidth, int& NewHeight) const;

    // Where the picture is drawn inside the widget.
    QRect DestRect() const;
    // True while the widget paints.
    bool Drawing() const { return drawing_; }

    // The mouse is over the widget. OnMouseEnter and OnMouseExit fire after it changes.
    bool MouseInside() const { return mouseInside_; }
    TNotifyEvent OnMouseEnter;
    TNotifyEvent OnMouseExit;

    // The palette of the processed picture; nullptr without a picture or for a format without one.
    const std::vector<TColor>* GetPalette() const;
    // Realises a palette that changed since the last one: true when it did.
    bool DoPaletteChange();

    // The handler of a picture's progress: with IncrementalDisplay and RedrawNow it repaints
    // at once, then it fires OnProgress with the same arguments.
    void Progress(void* Sender, TProgressStage Stage, int PercentDone, bool RedrawNow, const QRect& R,
                  const std::string& Msg);
    TProgressEvent OnProgress;

    // Runs on every change of the processed picture and of the painting options: follows the
    // picture's size, marks the widget opaque when the picture covers it, and repaints.
    void PictureChanged();

protected:
    void paintEvent(QPaintEvent* event) override;
    void resizeEvent(QResizeEvent* event) override;
    void enterEvent(QEnterEvent* event) override;
    void leaveEvent(QEvent* event) override;
    void mouseMoveEvent(QMouseEvent* event) override;

private:
    bool PictureTransparent() const;
    void MarkOpaque();
    const QImage& Shown();

    TFxImage& image_;
    bool stretch_ = false;
    bool center_ = false;
    bool transparent_ = false;
    bool autoSize_ = false;
    TAlign align_ = TAlign::alNone;
    bool drawing_ = false;
    bool mouseInside_ = false;
    // The palette realised last; a picture with another one has a modified palette.
    const std::vector<TColor>* realisedPalette_ = nullptr;
    // The picture as painted, built on the first paint after a change.
    QImage shown_;
    bool shownValid_ = false;
};
