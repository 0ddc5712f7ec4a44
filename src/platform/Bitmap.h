#pragma once
// A device-independent bitmap with the five pixel formats the picture code uses.
// Rows are stored top-down; each row is padded to a multiple of four bytes.
// pf24bit stores B,G,R per pixel, pf32bit B,G,R,0; pf8bit/pf4bit/pf1bit store palette
// indexes (pf4bit high nibble first, pf1bit most significant bit first).
#include "platform/Graphics.h"

#include <array>
#include <cstdint>
#include <functional>
#include <vector>

class QImage;

enum class TPixelFormat { pf1bit, pf4bit, pf8bit, pf24bit, pf32bit };

int BitsPerPixel(TPixelFormat format);

// The palette a palette format uses; empty for pf24bit and pf32bit.
//  pf1bit: 0 black, 1 white.
//  pf4bit: the 16 VGA colours: black, maroon, green, olive, navy, purple, teal, silver (192),
//          gray (128), red, lime, yellow, blue, fuchsia, aqua, white.
//  pf8bit: the halftone palette of 256 entries:
//            0..9     black, maroon, green, olive, navy, purple, teal, silver (192),
//                     money green (192,220,192), sky blue (166,202,240);
//            10..225  the 6x6x6 cube of the levels 0, 51, 102, 153, 204, 255: entry
//                     10 + 36*r + 6*g + b has the colour (51*r, 51*g, 51*b), r, g, b in 0..5;
//            226..245 padding, black;
//            246..255 cream (255,251,240), medium gray (160,160,164), gray (128), red, lime,
//                     yellow, blue, fuchsia, aqua, white.
const std::vector<TColor>& PaletteOf(TPixelFormat format);

// Index of the palette entry nearest to colour (squared RGB distance, lowest index on ties);
// only the low 24 bits of colour count. -1 for a format without a palette.
int NearestPaletteIndex(TPixelFormat format, TColor colour);

class TBitmap;

class TCanvas {
public:
    explicit TCanvas(TBitmap& owner) : bitmap_(owner) {}
    // The pixel's 24-bit colour, or -1 outside the bitmap.
    TColor Pixel(int x, int y) const;
    // Sets a pixel (mapped to the nearest palette entry for palette formats); ignored outside.
    void SetPixel(int x, int y, TColor colour);

private:
    TBitmap& bitmap_;
};

class TBitmap {
public:
    TBitmap();
    TBitmap(int width, int height, TPixelFormat format = TPixelFormat::pf24bit);
    // The same white bitmap, its memory taken a band of rows at a time: between the bands
    // rowsMade(rows made so far) runs, and may throw to stop (the memory goes back). For
    // pictures so large that taking their memory takes a while.
    TBitmap(int width, int height, TPixelFormat format, const std::function<void(int rowsMade)>& rowsMade);
    TBitmap(const TBitmap& other);
    TBitmap& operator=(const TBitmap& other);
    TBitmap(TBitmap&& other) noexcept;
    TBitmap& operator=(TBitmap&& other) noexcept;

    int Width() const { return width_; }
    int Height() const { return height_; }
    bool Empty() const { return width_ == 0 || height_ == 0; }
    // Resizes; new pixels are white (or the palette entry nearest to white); kept pixels stay.
    void SetSize(int width, int height);
    void SetWidth(int width) { SetSize(width, height_); }
    void SetHeight(int height) { SetSize(width_, height); }

    TPixelFormat PixelFormat() const { return format_; }
    // Converts every pixel to the new format (nearest palette entry for palette formats).
    void SetPixelFormat(TPixelFormat format);

    std::uint8_t* ScanLine(int row);
    const std::uint8_t* ScanLine(int row) const;
    int BytesPerLine() const { return stride_; }

    TCanvas& Canvas() { return canvas_; }

    // Fast pixel read used by depth sampling: the 24-bit colour or -1 outside.
    TColor PixelAt(int x, int y) const;
    void SetPixelAt(int x, int y, TColor colour);

    // Conversion to and from Qt images (RGB32 / any Qt format; the result is pf24bit).
    QImage ToImage() const;
    // As ToImage, but ARGB32 with the pixels of colour Key fully transparent: the bitmap as a
    // transparent one shows, whatever lies below showing through its pixels of that colour.
    QImage ToImageWithout(TColor Key) const;
    static TBitmap FromImage(const QImage& image);

private:
    int width_ = 0;
    int height_ = 0;
    int stride_ = 0;
    TPixelFormat format_ = TPixelFormat::pf24bit;
    std::vector<std::uint8_t> pixels_;
    const TColor* palette_ = nullptr;  // PaletteOf(format_), for the fast pixel read
    TCanvas canvas_;
};
