#include "platform/WindowPlacement.h"

#include <QApplication>
#include <QScreen>
#include <QWidget>

#include <algorithm>

namespace {

// The start of a span of `size` that is to begin at `wanted`, kept inside [low, low + room);
// low when the span is longer than the room.
int KeepInside(long long wanted, long long size, long long low, long long room) {
    return int(std::max(std::min(wanted, low + room - size), low));
}

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

QPoint FramePositionOnScreen(const QRect& available, QPoint wanted, const QSize& frame) {
    return {KeepInside(wanted.x(), frame.width(), available.x(), available.width()),
            KeepInside(wanted.y(), frame.height(), available.y(), available.height())};
}

QPoint CentredFramePosition(const QRect& available, const QSize& frame) {
    const int x = available.x() + (available.width() - frame.width()) / 2;
    const int y = available.y() + (available.height() - frame.height()) / 2;
    return FramePositionOnScreen(available, {x, y}, frame);
}

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
