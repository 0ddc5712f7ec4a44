#pragma once
// The varied grey workpiece the generation benchmarks run on.
#include "generation/MainState.h"
#include "platform/Bitmap.h"

#include <cstdint>

// A varied grey work bitmap of w x h pixels for a workpiece of w-1 x h-1 tenths of a mm.
inline void PrepareWorkpiece(int w, int h) {
    ResetMainState();
    Main.WorkBitmap = TBitmap(w, h, TPixelFormat::pf24bit);
    for (int y = 0; y < h; ++y) {
        std::uint8_t* row = Main.WorkBitmap.ScanLine(y);
        for (int x = 0; x < w; ++x) {
            const std::uint8_t v = std::uint8_t((x * 7 + y * 13 + (x * y) % 101) & 0xFF);
            row[3 * x] = row[3 * x + 1] = row[3 * x + 2] = v;
        }
    }
    Main.wst_l = (w - 1) / 10.0;
    Main.wst_b = (h - 1) / 10.0;
    Main.PixelsPerMmX = (w - 1) / Main.wst_l;
    Main.PixelsPerMmY = (h - 1) / Main.wst_b;
    Main.stepX = Main.stepy = 0.1;
    Main.z_zustellung = -10;
    Main.ResolutionLevel = 3;
    Main.DepthFullScale = 16777215.0;
}
