#pragma once
// How the picture-effects control places its picture, without the widget: the target
// rectangle, when the picture covers the whole control, the size the control takes on when it
// follows its picture, and the picture as it is painted (stretched, with its transparent
// colour left out).
#include "platform/Bitmap.h"
#include "platform/ControlAlign.h"

#include <QImage>
#include <QRect>
#include <QSize>

// Stretch: the whole control. Else Center: the picture's size, its left at
// (control width - picture width) div 2 and its top likewise, halving toward zero. Else the
// picture's size at (0, 0).
QRect FxDestRect(QSize control, QSize picture, bool stretch, bool center);

// The picture covers every pixel of the control: there is a picture, it is not transparent,
// and it is stretched or at least as wide and as high as the control.
bool FxCoversControl(bool hasPicture, bool transparent, bool stretch, QSize picture, QSize control);

// The size a control that follows its picture asks for: the picture's width unless the parent
// gives it its width (aligned top, bottom or to the whole client area), the picture's height
// unless the parent gives it its height (left, right, client).
QSize FxAutoSize(TAlign align, QSize control, QSize picture);

// The colour that a transparent picture leaves out: the colour of its bottom-left pixel.
TColor FxTransparentColour(const TBitmap& picture);

// The picture stretched (nearest neighbour, as every stretch of the program) to size; with
// transparent, its pixels of the transparent colour get alpha 0 so that the parent shows
// through them.
QImage FxShownImage(const TBitmap& picture, QSize size, bool transparent);
