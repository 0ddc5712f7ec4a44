#include "controls/FclSpinnerLayout.h"

#include <algorithm>

namespace {

using St = TFclSpinState;
using Arrow = TFclSpinArrow;

QRect Box(int X0, int Y0, int X1, int Y1)
{
    return QRect(QPoint(X0, Y0), QSize(std::max(X1 - X0, 0), std::max(Y1 - Y0, 0)));
}

QPolygon Triangle(QPoint A, QPoint B, QPoint C)
{
    QPolygon p;
    p << A << B << C;
    return p;
}

// A rectangular button: the face takes one more column and row, so neighbouring faces share
// their frame line.
TFclSpinnerButton RectButton(St State, const QRect& Area, Arrow Direction)
{
    TFclSpinnerButton b;
    b.State = State;
    b.Region = QRegion(Area);
    b.FaceRect = Area.adjusted(0, 0, 1, 1);
    b.ArrowBox = b.FaceRect;
    b.Arrow = Direction;
    return b;
}

// A triangular button; its arrow sits in a box half the triangle's extent around its centre
// of gravity, or none (a star's buttons are arrows themselves).
TFclSpinnerButton TriangleButton(St State, const QPolygon& Shape, Arrow Direction)
{
    TFclSpinnerButton b;
    b.State = State;
    b.Region = QRegion(Shape, Qt::OddEvenFill);
    b.Face = Shape;
    b.Arrow = Direction;
    if (Direction != Arrow::None) {
        const QPoint c = (Shape[0] + Shape[1] + Shape[2]) / 3;
        const QRect bounds = Shape.boundingRect();
        const QSize half(std::max(bounds.width() / 2, 1), std::max(bounds.height() / 2, 1));
        b.ArrowBox = QRect(QPoint(c.x() - half.width() / 2, c.y() - half.height() / 2), half);
    }
    return b;
}

}  // namespace

QRect SpinnerUpRegion(int Width, int Height)
{
    const int m = (Height - 1) / 2;
    return QRect(0, 0, Width - 1, m);
}

QRect SpinnerDownRegion(int Width, int Height)
{
    const int m = (Height - 1) / 2;
    return QRect(0, m, Width - 1, Height - 1 - m);
}

std::vector<TFclSpinnerButton> SpinnerButtons(TFclSpinnerStyle Style, int Width, int Height)
{
    // The areas run over the edge coordinates 0..w and 0..h: the last column and row of the
    // control lie outside every button.
    const int w = std::max(Width - 1, 0), h = std::max(Height - 1, 0);
    const int cx = w / 2, cy = h / 2;
    const int x1 = w / 3, x2 = w - w / 3, y1 = h / 3, y2 = h - h / 3;
    std::vector<TFclSpinnerButton> buttons;
    switch (Style) {
    case TFclSpinnerStyle::stNormalVertical: {
        const int m = (Height - 1) / 2;
        TFclSpinnerButton up = RectButton(St::ssUpBtn, SpinnerUpRegion(Width, Height), Arrow::Up);
        up.FaceRect = up.ArrowBox = Box(0, 0, Width, m + 1);
        TFclSpinnerButton down =
            RectButton(St::ssDownBtn, SpinnerDownRegion(Width, Height), Arrow::Down);
        down.FaceRect = down.ArrowBox = Box(0, m + 1, Width, Height);
        buttons = {up, down};
        break;
    }
    case TFclSpinnerStyle::stNormalHorizontal: {
        const int m = (Width - 1) / 2;
        TFclSpinnerButton left = RectButton(St::ssLeftBtn, Box(0, 0, m, h), Arrow::Left);
        left.FaceRect = left.ArrowBox = Box(0, 0, m + 1, Height);
        TFclSpinnerButton right = RectButton(St::ssRightBtn, Box(m, 0, w, h), Arrow::Right);
        right.FaceRect = right.ArrowBox = Box(m + 1, 0, Width, Height);
        buttons = {left, right};
        break;
    }
    case TFclSpinnerStyle::stFourWay:
        buttons = {
            RectButton(St::ssUpBtn, Box(x1, 0, x2, y1), Arrow::Up),
            RectButton(St::ssDownBtn, Box(x1, y2, x2, h), Arrow::Down),
            RectButton(St::ssLeftBtn, Box(0, y1, x1, y2), Arrow::Left),
            RectButton(St::ssRightBtn, Box(x2, y1, w, y2), Arrow::Right),
            RectButton(St::ssCenterBtn, Box(x1, y1, x2, y2), Arrow::None),
        };
        break;
    case TFclSpinnerStyle::stStar:
    case TFclSpinnerStyle::stPlainStar:
        buttons = {
            TriangleButton(St::ssUpBtn, Triangle({x1, y1}, {x2, y1}, {cx, 0}), Arrow::None),
            TriangleButton(St::ssDownBtn, Triangle({x1, y2}, {x2, y2}, {cx, h}), Arrow::None),
            TriangleButton(St::ssLeftBtn, Triangle({x1, y1}, {x1, y2}, {0, cy}), Arrow::None),
            TriangleButton(St::ssRightBtn, Triangle({x2, y1}, {x2, y2}, {w, cy}), Arrow::None),
        };
        if (Style == TFclSpinnerStyle::stStar)
            buttons.push_back(RectButton(St::ssCenterBtn, Box(x1, y1, x2, y2), Arrow::None));
        break;
    case TFclSpinnerStyle::stDiagonalVertical:
        buttons = {
            TriangleButton(St::ssUpBtn, Triangle({0, 0}, {w, 0}, {0, h}), Arrow::Up),
            TriangleButton(St::ssDownBtn, Triangle({w, 0}, {w, h}, {0, h}), Arrow::Down),
        };
        break;
    case TFclSpinnerStyle::stDiagonalHorizontal:
        buttons = {
            TriangleButton(St::ssLeftBtn, Triangle({0, 0}, {w, h}, {0, h}), Arrow::Left),
            TriangleButton(St::ssRightBtn, Triangle({0, 0}, {w, 0}, {w, h}), Arrow::Right),
        };
        break;
    case TFclSpinnerStyle::stDiagonalFourWay:
        buttons = {
            TriangleButton(St::ssUpBtn, Triangle({0, 0}, {w, 0}, {cx, cy}), Arrow::Up),
            TriangleButton(St::ssDownBtn, Triangle({0, h}, {w, h}, {cx, cy}), Arrow::Down),
            TriangleButton(St::ssLeftBtn, Triangle({0, 0}, {0, h}, {cx, cy}), Arrow::Left),
            TriangleButton(St::ssRightBtn, Triangle({w, 0}, {w, h}, {cx, cy}), Arrow::Right),
        };
        break;
    }
    return buttons;
}

TFclSpinState SpinnerStateAt(const std::vector<TFclSpinnerButton>& Buttons, int Width,
                             int Height, int X, int Y, bool Clicked)
{
    if (X < 0 || Y < 0 || X >= Width || Y >= Height)
        return St::ssNone;
    if (!Clicked)
        return St::ssNormal;
    for (const TFclSpinnerButton& b : Buttons)
        if (b.Region.contains(QPoint(X, Y)))
            return b.State;
    return St::ssNormal;
}
