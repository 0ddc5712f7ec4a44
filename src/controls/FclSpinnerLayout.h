#pragma once
// The button layouts of the spinner's styles: for a control of Width x Height, each button's
// hit area (right and bottom edges excluded, so the rightmost column and the bottom row of
// the control belong to no button), its face as painted and the arrow it shows.
//
// - stNormalVertical: up over down; with M = (Height - 1) div 2, up is (0, 0)-(Width - 1, M)
//   and down (0, M)-(Width - 1, Height - 1); the faces are (0, 0)-(Width, M + 1) and
//   (0, M + 1)-(Width, Height).
// - stNormalHorizontal: left beside right, the same split along the width.
// - stFourWay: the control in thirds: up, down, left and right in the middle of the edges,
//   the centre button in the middle; the corners belong to no button.
// - stStar: four triangles pointing outwards from the middle third (the buttons are arrows
//   themselves) around the centre button; stPlainStar without the centre button.
// - stDiagonalVertical: cut from the bottom-left to the top-right corner, up above the cut;
//   stDiagonalHorizontal: cut from the top-left to the bottom-right corner, left below it;
//   stDiagonalFourWay: cut by both diagonals into up, right, down and left.
#include <QPolygon>
#include <QRect>
#include <QRegion>

#include <cstdint>
#include <vector>

enum class TFclSpinState : std::uint8_t {
    ssNone,    // the pointer is outside the control
    ssNormal,  // inside, on no button
    ssUpBtn, ssDownBtn, ssLeftBtn, ssRightBtn, ssCenterBtn
};
enum class TFclSpinnerStyle : std::uint8_t {
    stNormalVertical, stNormalHorizontal, stFourWay, stStar, stDiagonalVertical,
    stDiagonalHorizontal, stDiagonalFourWay, stPlainStar
};

enum class TFclSpinArrow : std::uint8_t { None, Up, Down, Left, Right };

struct TFclSpinnerButton {
    TFclSpinState State = TFclSpinState::ssNormal;
    QRegion Region;    // the hit area
    QRect FaceRect;    // a rectangular face (valid for the rectangular buttons)
    QPolygon Face;     // a triangular face (the other buttons)
    QRect ArrowBox;    // where the arrow is centred
    TFclSpinArrow Arrow = TFclSpinArrow::None;
};

// The buttons of a style, in the order the hit test asks them: up, down, left, right, centre.
std::vector<TFclSpinnerButton> SpinnerButtons(TFclSpinnerStyle Style, int Width, int Height);

// The hit areas of the vertical spinner.
QRect SpinnerUpRegion(int Width, int Height);
QRect SpinnerDownRegion(int Width, int Height);

// The state at a point of the control: ssNone outside it, ssNormal before a click or on no
// button, else the first button whose area holds the point.
TFclSpinState SpinnerStateAt(const std::vector<TFclSpinnerButton>& Buttons, int Width,
                             int Height, int X, int Y, bool Clicked);
