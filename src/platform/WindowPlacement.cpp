#include "platform/WindowPlacement.h"

#include <QApplication>
#include <QScreen>
#include <QWidget>

#include <algorithm>

QPoint CentredFramePosition(const QRect& available, const QSize& frame) {
    const int x = available.x() + (available.width() - frame.width()) / 2;
    const int y = available.y() + (available.height() - frame.height()) / 2;
    return {std::max(available.x(), x), std::max(available.y(), y)};
}

namespace {

// What the window manager's frame adds to a window's client area, and where the client area
// lies inside the frame.
struct Frame {
    QSize extra;
    QPoint clientOffset;
    bool Known() const { return extra.width() > 0 || extra.height() > 0; }
};
Frame FrameOf(const QWidget& window) {
    const QRect frame = window.frameGeometry();
    return {frame.size() - window.size(), window.geometry().topLeft() - frame.topLeft()};
}

}  // namespace

void CentreOnScreen(QWidget& window) {
    QScreen* screen = window.screen() ? window.screen() : QGuiApplication::primaryScreen();
    if (!screen) return;
    const Frame own = FrameOf(window);
    if (own.Known()) {
        // A framed window moves by its frame.
        window.move(CentredFramePosition(screen->availableGeometry(), window.size() + own.extra));
        return;
    }
    // A window that is not framed yet (just shown, or just back from full screen) moves by
    // its client area and will get the frame the other windows of the program have.
    Frame other;
    for (const QWidget* w : QApplication::topLevelWidgets()) {
        if (w == &window || !w->isVisible() || w->isFullScreen()) continue;
        other = FrameOf(*w);
        if (other.Known()) break;
    }
    if (!other.Known()) other = Frame{};
    window.move(CentredFramePosition(screen->availableGeometry(), window.size() + other.extra) +
                other.clientOffset);
}
