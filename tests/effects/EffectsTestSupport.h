#pragma once
// Small pictures for the effect tests.
#include "platform/Bitmap.h"

#include <cstdint>
#include <random>
#include <string>
#include <vector>

inline TColor Grey(int v) { return RGB(v, v, v); }

// A 24-bit picture from rows of colours.
inline TBitmap PictureOf(const std::vector<std::vector<TColor>>& rows) {
    TBitmap bmp(int(rows.at(0).size()), int(rows.size()), TPixelFormat::pf24bit);
    for (int y = 0; y < bmp.Height(); ++y)
        for (int x = 0; x < bmp.Width(); ++x)
            bmp.SetPixelAt(x, y, rows[y][x]);
    return bmp;
}

// A 24-bit picture from rows of grey levels.
inline TBitmap GreyPicture(const std::vector<std::vector<int>>& rows) {
    std::vector<std::vector<TColor>> colours;
    for (const auto& row : rows) {
        colours.emplace_back();
        for (int v : row)
            colours.back().push_back(Grey(v));
    }
    return PictureOf(colours);
}

inline TBitmap RandomPicture(int w, int h, unsigned seed) {
    std::mt19937 gen(seed);
    TBitmap bmp(w, h, TPixelFormat::pf24bit);
    for (int y = 0; y < h; ++y) {
        std::uint8_t* p = bmp.ScanLine(y);
        for (int i = 0; i < 3 * w; ++i)
            p[i] = std::uint8_t(gen());
    }
    return bmp;
}

// Grey levels of one row (the red channel).
inline std::vector<int> GreyRow(const TBitmap& bmp, int y) {
    std::vector<int> row;
    for (int x = 0; x < bmp.Width(); ++x)
        row.push_back(GetRValue(bmp.PixelAt(x, y)));
    return row;
}

inline std::vector<int> GreyColumn(const TBitmap& bmp, int x) {
    std::vector<int> column;
    for (int y = 0; y < bmp.Height(); ++y)
        column.push_back(GetRValue(bmp.PixelAt(x, y)));
    return column;
}

// Pixel-for-pixel equality of two bitmaps, as the colours they show.
inline bool SamePixels(const TBitmap& a, const TBitmap& b) {
    if (a.Width() != b.Width() || a.Height() != b.Height())
        return false;
    for (int y = 0; y < a.Height(); ++y)
        for (int x = 0; x < a.Width(); ++x)
            if (a.PixelAt(x, y) != b.PixelAt(x, y))
                return false;
    return true;
}
