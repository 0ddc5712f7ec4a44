#pragma once
// The design editor's drawing surface: a white container with the grid on which each object's
// image is a child view, the selection overlay above them and the rubber band above all.
// Raising and lowering images happens among the canvas's children only, so nothing of the
// editor's panel or status bar is ever covered. The views show TObjectImages of the design
// and hand the mouse to the editor.
#include "designer/DesignObjects.h"
#include "platform/Bitmap.h"

#include <QPixmap>
#include <QWidget>

#include <functional>
#include <vector>

class QRubberBand;

enum class CanvasMouse { Down, Move, Up };
// A mouse event: the kind, the button (Qt::NoButton for moves) and whether the left button is
// held, x and y in the receiving widget, cx and cy in the canvas.
struct CanvasMouseEvent {
    CanvasMouse kind = CanvasMouse::Move;
    Qt::MouseButton button = Qt::NoButton;
    bool leftDown = false;
    int x = 0;
    int y = 0;
    int cx = 0;
    int cy = 0;
};

// One object image (or the overlay): paints the image's bitmap at its bounds; a transparent
// image leaves its white pixels out.
class TObjectImageView : public QWidget {
public:
    TObjectImageView(QWidget* parent, int slot);
    int Slot() const { return slot_; }
    // Takes bounds, visibility and pixels from the image.
    void Show(const TObjectImage& image);
    // Lines drawn over the image (the polygon corners being entered).
    void SetLines(std::vector<QLine> lines);
    const std::vector<QLine>& Lines() const { return lines_; }
    std::function<void(int slot, const CanvasMouseEvent&)> OnMouse;

protected:
    void paintEvent(QPaintEvent* event) override;
    void mousePressEvent(QMouseEvent* event) override;
    void mouseMoveEvent(QMouseEvent* event) override;
    void mouseReleaseEvent(QMouseEvent* event) override;

private:
    void Forward(CanvasMouse kind, QMouseEvent* event);
    int slot_;
    QPixmap pixmap_;
    std::vector<QLine> lines_;
};

class TDesignCanvas : public QWidget {
public:
    explicit TDesignCanvas(QWidget* parent);

    void SetGridStep(int step);
    // The views follow the design: one per slot 1..FensterAnzahl, stacked in slot order,
    // the overlay above them.
    void Rebuild(const TDesign& design);
    void UpdateImage(const TDesign& design, int slot);
    void UpdateOverlay(const TObjectImage& overlay);
    TObjectImageView* View(int slot) const;
    TObjectImageView* Overlay() const { return overlay_; }
    // Brings every object view to the front in slot order (the overlay stays on top).
    void RaiseInSlotOrder();

    // The rubber band as a dotted rectangle over everything; an empty rectangle hides it.
    void SetRubberBand(const QRect& rect);
    QRect RubberBand() const;

    // Background events (on the canvas itself, not on a view).
    std::function<void(const CanvasMouseEvent&)> OnMouse;
    // Events on object views and the overlay (slot 0 is the overlay).
    std::function<void(int slot, const CanvasMouseEvent&)> OnViewMouse;

protected:
    void paintEvent(QPaintEvent* event) override;
    void resizeEvent(QResizeEvent* event) override;
    void mousePressEvent(QMouseEvent* event) override;
    void mouseMoveEvent(QMouseEvent* event) override;
    void mouseReleaseEvent(QMouseEvent* event) override;

private:
    void Forward(CanvasMouse kind, QMouseEvent* event);
    TObjectImageView* MakeView(int slot);
    void RedrawGrid();

    int gridStep_ = 5;
    QPixmap grid_;
    std::vector<TObjectImageView*> views_;  // index slot - 1
    TObjectImageView* overlay_ = nullptr;
    QRubberBand* rubberBand_ = nullptr;
};
