#pragma once
// The scan-line painting of the replay's strokes: a stroke is the set of pixels whose centre
// lies within r of a segment (round caps), painted in one colour without antialiasing.
//
// Strokes are painted in order, so a pixel ends in the colour of the last stroke over it.
// The rows of a picture can be shared out among several painters, each taking the rows of
// its own bands and every stroke that reaches them in the same order: the picture is the
// same as one painter makes.
#include <cstddef>
#include <cstdint>
#include <span>

struct Stroke {
    double ax, ay, bx, by;  // the segment, in pixels
    double r;               // half the pen width
    std::uint32_t colour;   // the 32-bit pixel value
    // The segment lies along one scan line and has a whole length (below 2^26, so that it
    // squares exactly): its span on a row is its ends widened by the disc's half chord.
    bool alongRow;
};

// The stroke of a segment, pen radius and colour.
Stroke MakeStroke(double ax, double ay, double bx, double by, double r, std::uint32_t colour);

// A 32-bit picture's pixels: rows top-down, `stride` pixels from one row to the next.
struct PixelRows {
    std::uint32_t* bits = nullptr;
    int width = 0, height = 0;
    std::ptrdiff_t stride = 0;
};

// Which rows a painter takes: the bands of bandHeight rows, counted from the top, whose
// number modulo bandCount is band. (0, 1, any height) is every row.
struct RowShare {
    int band = 0, bandCount = 1, bandHeight = 1;
};

// Paints the strokes in order on the painter's rows.
void PaintStrokes(const PixelRows& picture, std::span<const Stroke> strokes, RowShare share);

// True when every pixel of `inner` lies within `outer` (both end discs inside it).
bool StrokeInside(const Stroke& inner, const Stroke& outer);

// True when `outer` paints every pixel that `inner` paints, so that `inner` followed by
// `outer` gives the picture that `outer` alone gives, whatever their colours. It answers
// only where the pixels show it exactly (both on one row, of whole lengths); false
// otherwise.
bool StrokeCovers(const Stroke& outer, const Stroke& inner);
