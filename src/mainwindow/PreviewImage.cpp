#include "mainwindow/PreviewImage.h"

#include <QImage>
#include <QMouseEvent>
#include <QPainter>

TPreviewImage::TPreviewImage(QWidget* parent) : QWidget(parent) {
    setMouseTracking(true);
}

void TPreviewImage::SetPicture(TBitmap picture) {
    picture_ = std::move(picture);
    Changed();
}

void TPreviewImage::paintEvent(QPaintEvent*) {
    if (stale_) {
        shown_ = QImage();  // released first, so the new one takes the old one's memory
        shown_ = picture_.ToImage();
        stale_ = false;
    }
    if (shown_.isNull()) return;
    QPainter p(this);
    p.drawImage(QPoint(0, 0), shown_);
}

void TPreviewImage::mousePressEvent(QMouseEvent* e) {
    if (OnMouseDown) OnMouseDown(e->button(), int(e->position().x()), int(e->position().y()));
}

void TPreviewImage::mouseMoveEvent(QMouseEvent* e) {
    if (OnMouseMove) OnMouseMove(int(e->position().x()), int(e->position().y()));
}

void TPreviewImage::mouseReleaseEvent(QMouseEvent* e) {
    if (OnMouseUp) OnMouseUp(e->button(), int(e->position().x()), int(e->position().y()));
}
