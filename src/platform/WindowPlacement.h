#pragma once
// Window frames kept on the screen's free area (the screen less its task bars): a frame that
// would reach past the area's bottom or right edge moves up or left, yet never above or left
// of the area, so the title bar can always be taken hold of. A window placed in the middle of
// its screen, as a form whose position is "screen centre", is kept there so.
#include <QPoint>
#include <QRect>
#include <QSize>

class QWidget;

// The top-left corner of a frame of the given size that is to stand at `wanted`, moved up or
// left just as far as keeps its bottom and right edges inside `available`, but never above or
// left of it.
QPoint FramePositionOnScreen(const QRect& available, QPoint wanted, const QSize& frame);

// The top-left corner of a frame of the given size centred in `available`, kept on it.
QPoint CentredFramePosition(const QRect& available, const QSize& frame);

// Moves the top-level window so that its frame is centred on the screen it is on.
void CentreOnScreen(QWidget& window);
