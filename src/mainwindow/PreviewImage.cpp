#include "mainwindow/PreviewImage.h"

#include <QImage>
#include <QMouseEvent>
#include <QPainter>

TPreviewImage::TPreviewImage(QWidget* parent) : QWidget(parent) {
    setMouseTracking(true);
}

void TPreviewImage::SetPicture(TBitmap picture) {
    picture_ = std::move(picture);
    update();
}

void TPreviewImage::paintEvent(QPaintEvent*) {
    if (picture_.Empty()) return;
    QPainter p(this);
    p.drawImage(QPoint(0, 0), picture_.ToImage());
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
