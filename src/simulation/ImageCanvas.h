#pragma once
// The replay's canvas over a 32-bit picture, drawn by our own scan-line code: a line is the
// set of pixels within half the pen width of the segment (round caps), with no antialiasing;
// a pen width of 0 or 1 draws lines one pixel wide. Arcs are drawn as short lines along the
// ellipse, counter-clockwise on the screen.
//
// A replay draws millions of short, overlapping lines. While the colour stays the same, a line
// paints only the pixels that the line just before it did not cover; those already have the
// colour, so the picture is the same as with every pixel painted.
#include "simulation/ReplayCanvas.h"

#include <QImage>

class ImageCanvas final : public ReplayCanvas {
public:
    // Draws on image (converted to 32 bits if it is not); the image must outlive the canvas.
    explicit ImageCanvas(QImage& image);

    void Fill(TColor colour) override;
    void SetPenColour(TColor colour) override;
    void SetPenWidth(int width) override;
    void MoveTo(int x, int y) override;
    void LineTo(int x, int y) override;
    void Arc(int left, int top, int right, int bottom, int x1, int y1, int x2, int y2) override;

private:
    struct Stroke {
        double ax, ay, bx, by, r;
    };
    void Draw(double ax, double ay, double bx, double by);

    QImage& image_;
    std::uint32_t colour_ = 0xFF000000u;
    int width_ = 0;
    double atX_ = 0, atY_ = 0;
    bool havePrevious_ = false;  // the last stroke painted, all of it in colour_
    Stroke previous_{};
};

// The pixel colour of a TColor in a 32-bit picture.
std::uint32_t ToRgb32(TColor colour);
