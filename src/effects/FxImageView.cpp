#include "effects/FxImageView.h"

#include "effects/FxImage.h"
#include "effects/FxImagePlacement.h"

#include <QPainter>

namespace {

QSize PictureSize(const TFxImage& image) { return QSize(image.Picture().Width(), image.Picture().Height()); }

}  // namespace

TFxImageView::TFxImageView(TFxImage& image, QWidget* parent) : QWidget(parent), image_(image) {
    // Every movement over the widget counts, not only those with a button held.
    setMouseTracking(true);
    resize(105, 105);
    image_.OnPictureChanged = [this] { PictureChanged(); };
    PictureChanged();
}

TFxImageView::~TFxImageView() { image_.OnPictureChanged = nullptr; }

void TFxImageView::SetStretch(bool v) {
    if (v != stretch_) {
        stretch_ = v;
        PictureChanged();
    }
}

void TFxImageView::SetCenter(bool v) {
    if (v != center_) {
        center_ = v;
        PictureChanged();
    }
}

void TFxImageView::SetTransparent(bool v) {
    if (v != transparent_) {
        transparent_ = v;
        PictureChanged();
    }
}

void TFxImageView::SetAutoSize(bool v) {
    if (v == autoSize_)
        return;
    autoSize_ = v;
    if (!v)
        return;
    int w = width(), h = height();
    if (CanAutoSize(w, h))
        resize(w, h);
}

bool TFxImageView::CanAutoSize(int& NewWidth, int& NewHeight) const {
    const QSize size = FxAutoSize(align_, QSize(NewWidth, NewHeight), PictureSize(image_));
    NewWidth = size.width();
    NewHeight = size.height();
    return true;
}

QRect TFxImageView::DestRect() const { return FxDestRect(size(), PictureSize(image_), stretch_, center_); }

bool TFxImageView::PictureTransparent() const {
    // An icon brings its own transparency; only bitmaps and JPEG pictures take the option.
    return transparent_ && image_.Picture().HasGraphic() && image_.Picture().Kind() != TGraphicKind::Icon;
}

void TFxImageView::MarkOpaque() {
    // Qt then paints nothing of the parent behind the widget.
    setAttribute(Qt::WA_OpaquePaintEvent, FxCoversControl(image_.Picture().HasGraphic(), PictureTransparent(),
                                                          stretch_, PictureSize(image_), size()));
}

void TFxImageView::PictureChanged() {
    const QSize picture = PictureSize(image_);
    if (autoSize_ && picture.width() > 0 && picture.height() > 0)
        setGeometry(QRect(pos(), picture));
    MarkOpaque();
    shownValid_ = false;
    // A paint under way cannot be repeated inside itself, so a palette realised meanwhile
    // queues the next one.
    const bool realised = DoPaletteChange();
    if (realised || !drawing_)
        update();
}

const std::vector<TColor>* TFxImageView::GetPalette() const {
    const TBitmap* pixels = image_.Picture().Pixels();
    if (!pixels)
        return nullptr;
    const std::vector<TColor>& palette = PaletteOf(pixels->PixelFormat());
    return palette.empty() ? nullptr : &palette;
}

bool TFxImageView::DoPaletteChange() {
    const std::vector<TColor>* palette = GetPalette();
    if (!isVisible() || !image_.Picture().HasGraphic() || palette == realisedPalette_)
        return false;
    if (!palette) {
        realisedPalette_ = nullptr;
        return false;
    }
    QWidget* form = window();
    if (form == this || !form->isActiveWindow())
        return false;
    // Colours are never short on this platform: realising the palette comes down to showing
    // the window again with it.
    if (!drawing_)
        form->update();
    realisedPalette_ = palette;
    return true;
}

void TFxImageView::Progress(void* Sender, TProgressStage Stage, int PercentDone, bool RedrawNow, const QRect& R,
                            const std::string& Msg) {
    if (IncrementalDisplay && RedrawNow) {
        DoPaletteChange();
        shownValid_ = false;
        if (drawing_)
            update();
        else
            repaint();
    }
    if (OnProgress)
        OnProgress(Sender, Stage, PercentDone, RedrawNow, R, Msg);
}

const QImage& TFxImageView::Shown() {
    if (!shownValid_) {
        const TBitmap* pixels = image_.Picture().Pixels();
        shown_ = pixels ? FxShownImage(*pixels, DestRect().size(), PictureTransparent()) : QImage();
        shownValid_ = true;
    }
    return shown_;
}

void TFxImageView::paintEvent(QPaintEvent*) {
    const bool wasDrawing = drawing_;
    drawing_ = true;
    const QImage& shown = Shown();
    if (!shown.isNull()) {
        QPainter painter(this);
        painter.drawImage(DestRect().topLeft(), shown);
    }
    drawing_ = wasDrawing;
}

void TFxImageView::resizeEvent(QResizeEvent* event) {
    QWidget::resizeEvent(event);
    // The picture may cover the widget no longer (or now), and a stretched one is drawn anew.
    MarkOpaque();
    shownValid_ = false;
}

void TFxImageView::enterEvent(QEnterEvent* event) {
    QWidget::enterEvent(event);
    mouseInside_ = true;
    if (OnMouseEnter)
        OnMouseEnter(this);
}

void TFxImageView::leaveEvent(QEvent* event) {
    QWidget::leaveEvent(event);
    mouseInside_ = false;
    if (OnMouseExit)
        OnMouseExit(this);
}

void TFxImageView::mouseMoveEvent(QMouseEvent* event) {
    mouseInside_ = true;
    QWidget::mouseMoveEvent(event);
}
