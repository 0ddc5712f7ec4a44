#include "effects/FxImageView.h"

#include "effects/FxImage.h"

#include <QImage>
#include <QPainter>

TFxImageView::TFxImageView(TFxImage& image, QWidget* parent) : QWidget(parent), image_(image) {
    resize(105, 105);
    image_.OnPictureChanged = [this] { update(); };
}

TFxImageView::~TFxImageView() { image_.OnPictureChanged = nullptr; }

void TFxImageView::SetStretch(bool v) {
    if (v != stretch_) {
        stretch_ = v;
        update();
    }
}

void TFxImageView::SetCenter(bool v) {
    if (v != center_) {
        center_ = v;
        update();
    }
}

QRect TFxImageView::DestRect() const {
    const int pw = image_.Picture().Width(), ph = image_.Picture().Height();
    if (stretch_)
        return rect();
    if (center_)
        return QRect((width() - pw) / 2, (height() - ph) / 2, pw, ph);
    return QRect(0, 0, pw, ph);
}

void TFxImageView::paintEvent(QPaintEvent*) {
    const TBitmap* pixels = image_.Picture().Pixels();
    if (pixels == nullptr || pixels->Empty())
        return;
    const QRect target = DestRect();
    if (target.isEmpty())
        return;
    QImage shown = pixels->ToImage();
    if (shown.size() != target.size())
        shown = shown.scaled(target.size(), Qt::IgnoreAspectRatio, Qt::FastTransformation);
    QPainter painter(this);
    painter.drawImage(target.topLeft(), shown);
}
