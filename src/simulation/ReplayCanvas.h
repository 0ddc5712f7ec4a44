#pragma once
// What the replay draws on: a pen that moves, draws lines and counter-clockwise arcs, with a
// width in pixels (0 draws one pixel) and a colour, and a filled background. The window
// draws on a picture; tests record the calls.
#include "platform/Graphics.h"

class ReplayCanvas {
public:
    virtual ~ReplayCanvas() = default;

    virtual void Fill(TColor colour) = 0;
    virtual void SetPenColour(TColor colour) = 0;
    virtual void SetPenWidth(int width) = 0;
    virtual void MoveTo(int x, int y) = 0;
    virtual void LineTo(int x, int y) = 0;
    // A counter-clockwise arc of the ellipse in the box (left, top)-(right, bottom), from the
    // ray through (x1, y1) to the ray through (x2, y2) (equal rays: the whole ellipse).
    virtual void Arc(int left, int top, int right, int bottom, int x1, int y1, int x2,
                     int y2) = 0;
    // The lines drawn between these two calls are the steps of one move whose width
    // changes: a canvas may paint them together, each pixel in the colour of the last step
    // over it, which is what painting them one after the other gives.
    virtual void BeginSteps() {}
    virtual void EndSteps() {}
    // Everything drawn so far is in the picture (a canvas may paint later, in batches).
    virtual void Flush() {}
};
