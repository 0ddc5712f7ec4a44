#pragma once
// A window placed in the middle of its screen, as a form whose position is "screen centre":
// the whole frame in the middle of the screen's free area, and never with its top or left
// edge off that area, so the title bar can always be taken hold of.
#include <QPoint>
#include <QRect>
#include <QSize>

class QWidget;

// The top-left corner of a frame of the given size centred in `available`.
QPoint CentredFramePosition(const QRect& available, const QSize& frame);

// Moves the top-level window so that its frame is centred on the screen it is on.
void CentreOnScreen(QWidget& window);
