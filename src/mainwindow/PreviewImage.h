#pragma once
// The main window's preview image Image0: a widget that shows its picture pixel for pixel
// (never scaled), with the pen width of its canvas and the mouse handlers of the preview.
// The picture is converted for the screen once after it changed, not at every paint.
#include "platform/Bitmap.h"

#include <QImage>
#include <QWidget>

#include <functional>

class TPreviewImage : public QWidget {
public:
    explicit TPreviewImage(QWidget* parent = nullptr);

    // The picture; after drawing on it call Changed() to show it. Whatever is drawn through
    // the reference is shown at the next paint.
    TBitmap& Picture() {
        stale_ = true;
        return picture_;
    }
    const TBitmap& Picture() const { return picture_; }
    void SetPicture(TBitmap picture);
    void Changed() {
        stale_ = true;
        update();
    }

    int PenWidth = 1;

    // Mouse handlers: button (Qt::MouseButton), x, y in the image's pixels.
    std::function<void(Qt::MouseButton, int, int)> OnMouseDown;
    std::function<void(int, int)> OnMouseMove;
    std::function<void(Qt::MouseButton, int, int)> OnMouseUp;

protected:
    void paintEvent(QPaintEvent* event) override;
    void mousePressEvent(QMouseEvent* event) override;
    void mouseMoveEvent(QMouseEvent* event) override;
    void mouseReleaseEvent(QMouseEvent* event) override;

private:
    TBitmap picture_;
    QImage shown_;        // the picture as the screen takes it
    bool stale_ = false;  // the picture may have changed since shown_ was made
};
