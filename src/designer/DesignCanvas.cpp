#include "designer/DesignCanvas.h"

#include "designer/DesignRender.h"

#include <QMouseEvent>
#include <QPainter>
#include <QRubberBand>

namespace {

// The image's pixels; a transparent image's white pixels are left out (fully transparent), so
// what lies below shows through them.
QPixmap PixmapOf(const TObjectImage& image) {
    if (image.Bitmap.Empty())
        return {};
    return QPixmap::fromImage(image.Transparent ? image.Bitmap.ToImageWithout(clWhite) : image.Bitmap.ToImage());
}

CanvasMouseEvent EventOf(CanvasMouse kind, QMouseEvent* e, QWidget* widget, QWidget* canvas) {
    CanvasMouseEvent m;
    m.kind = kind;
    m.button = kind == CanvasMouse::Move ? Qt::NoButton : e->button();
    m.leftDown = (e->buttons() & Qt::LeftButton) != 0;
    const QPoint p = e->position().toPoint();
    m.x = p.x();
    m.y = p.y();
    const QPoint c = widget == canvas ? p : widget->mapTo(canvas, p);
    m.cx = c.x();
    m.cy = c.y();
    return m;
}

}  // namespace

// ---- a view

TObjectImageView::TObjectImageView(QWidget* parent, int slot) : QWidget(parent), slot_(slot) {
    setAttribute(Qt::WA_NoSystemBackground);
    setMouseTracking(true);
}

void TObjectImageView::Show(const TObjectImage& image) {
    setGeometry(image.Left, image.Top, image.Width, image.Height);
    pixmap_ = PixmapOf(image);
    setVisible(image.Visible);
    setEnabled(image.Enabled);
    update();
}

void TObjectImageView::SetLines(std::vector<QLine> lines) {
    lines_ = std::move(lines);
    update();
}

void TObjectImageView::paintEvent(QPaintEvent*) {
    QPainter p(this);
    if (!pixmap_.isNull())
        p.drawPixmap(0, 0, pixmap_);
    if (!lines_.empty()) {
        p.setPen(QPen(Qt::black, 1));
        for (const QLine& l : lines_)
            p.drawLine(l);
    }
}

void TObjectImageView::Forward(CanvasMouse kind, QMouseEvent* e) {
    if (OnMouse)
        OnMouse(slot_, EventOf(kind, e, this, parentWidget()));
}

void TObjectImageView::mousePressEvent(QMouseEvent* e) { Forward(CanvasMouse::Down, e); }
void TObjectImageView::mouseMoveEvent(QMouseEvent* e) { Forward(CanvasMouse::Move, e); }
void TObjectImageView::mouseReleaseEvent(QMouseEvent* e) { Forward(CanvasMouse::Up, e); }

// ---- the canvas

TDesignCanvas::TDesignCanvas(QWidget* parent) : QWidget(parent) {
    setObjectName(QStringLiteral("Canvas"));
    setAttribute(Qt::WA_OpaquePaintEvent);
    setMouseTracking(true);
    overlay_ = MakeView(0);
    overlay_->setObjectName(QStringLiteral("BorderImage"));
    overlay_->hide();
    rubberBand_ = new QRubberBand(QRubberBand::Rectangle, this);
    rubberBand_->setAttribute(Qt::WA_TransparentForMouseEvents);
    rubberBand_->hide();
}

TObjectImageView* TDesignCanvas::MakeView(int slot) {
    auto* view = new TObjectImageView(this, slot);
    view->OnMouse = [this](int s, const CanvasMouseEvent& m) {
        if (OnViewMouse)
            OnViewMouse(s, m);
    };
    return view;
}

void TDesignCanvas::SetGridStep(int step) {
    gridStep_ = step;
    RedrawGrid();
}

void TDesignCanvas::RedrawGrid() {
    TBitmap bitmap(std::max(1, width()), std::max(1, height()));
    DrawGrid(bitmap, TRect{0, 0, bitmap.Width(), bitmap.Height()}, gridStep_, clWhite);
    grid_ = QPixmap::fromImage(bitmap.ToImage());
    update();
}

void TDesignCanvas::resizeEvent(QResizeEvent*) { RedrawGrid(); }

void TDesignCanvas::paintEvent(QPaintEvent*) {
    QPainter p(this);
    p.drawPixmap(0, 0, grid_);
}

void TDesignCanvas::Rebuild(const TDesign& design) {
    const int count = design.FensterAnzahl;
    while (int(views_.size()) > count) {
        delete views_.back();
        views_.pop_back();
    }
    while (int(views_.size()) < count)
        views_.push_back(MakeView(int(views_.size()) + 1));
    for (int slot = 1; slot <= count; ++slot)
        UpdateImage(design, slot);
    RaiseInSlotOrder();
}

void TDesignCanvas::UpdateImage(const TDesign& design, int slot) {
    TObjectImageView* view = View(slot);
    if (!view)
        return;
    const TFensterRec& r = design.FensterRecs[std::size_t(slot)];
    if (r.Image)
        view->Show(*r.Image);
    else
        view->hide();
}

void TDesignCanvas::UpdateOverlay(const TObjectImage& overlay) {
    overlay_->Show(overlay);
    overlay_->raise();
    rubberBand_->raise();
}

TObjectImageView* TDesignCanvas::View(int slot) const {
    if (slot < 1 || slot > int(views_.size()))
        return nullptr;
    return views_[std::size_t(slot - 1)];
}

void TDesignCanvas::RaiseInSlotOrder() {
    for (TObjectImageView* view : views_)
        view->raise();
    overlay_->raise();
    rubberBand_->raise();
}

void TDesignCanvas::SetRubberBand(const QRect& rect) {
    if (rect.isNull()) {
        rubberBand_->hide();
        return;
    }
    rubberBand_->setGeometry(rect.normalized());
    rubberBand_->show();
    rubberBand_->raise();
}

QRect TDesignCanvas::RubberBand() const { return rubberBand_->isVisible() ? rubberBand_->geometry() : QRect(); }

void TDesignCanvas::Forward(CanvasMouse kind, QMouseEvent* e) {
    if (OnMouse)
        OnMouse(EventOf(kind, e, this, this));
}

void TDesignCanvas::mousePressEvent(QMouseEvent* e) { Forward(CanvasMouse::Down, e); }
void TDesignCanvas::mouseMoveEvent(QMouseEvent* e) { Forward(CanvasMouse::Move, e); }
void TDesignCanvas::mouseReleaseEvent(QMouseEvent* e) { Forward(CanvasMouse::Up, e); }
