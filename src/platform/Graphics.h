#pragma once
// Colours as the picture code sees them: a 24-bit value with red in the low byte,
// green in the middle byte and blue in the high byte. Negative values are invalid
// (a pixel read outside a bitmap gives -1).
#include <cstdint>

using TColor = std::int32_t;

constexpr TColor RGB(int r, int g, int b) {
    return TColor((r & 0xFF) | ((g & 0xFF) << 8) | ((b & 0xFF) << 16));
}
constexpr int GetRValue(TColor c) { return c & 0xFF; }
constexpr int GetGValue(TColor c) { return (c >> 8) & 0xFF; }
constexpr int GetBValue(TColor c) { return (c >> 16) & 0xFF; }

constexpr TColor clBlack = RGB(0, 0, 0);
constexpr TColor clMaroon = RGB(128, 0, 0);
constexpr TColor clGreen = RGB(0, 128, 0);
constexpr TColor clOlive = RGB(128, 128, 0);
constexpr TColor clNavy = RGB(0, 0, 128);
constexpr TColor clPurple = RGB(128, 0, 128);
constexpr TColor clTeal = RGB(0, 128, 128);
constexpr TColor clGray = RGB(128, 128, 128);
constexpr TColor clSilver = RGB(192, 192, 192);
constexpr TColor clRed = RGB(255, 0, 0);
constexpr TColor clLime = RGB(0, 255, 0);
constexpr TColor clYellow = RGB(255, 255, 0);
constexpr TColor clBlue = RGB(0, 0, 255);
constexpr TColor clFuchsia = RGB(255, 0, 255);
constexpr TColor clAqua = RGB(0, 255, 255);
constexpr TColor clWhite = RGB(255, 255, 255);
constexpr TColor clNone = 0x1FFFFFFF;
constexpr TColor clInvalid = -1;

// System colours: a negative value whose low byte is the system colour index; the painting
// code resolves them against the current palette.
constexpr TColor clSystemColor = TColor(0xFF000000u);
constexpr TColor clWindow = clSystemColor | 5;
constexpr TColor clWindowText = clSystemColor | 8;
constexpr TColor clHighlight = clSystemColor | 13;
constexpr TColor clHighlightText = clSystemColor | 14;
constexpr TColor clBtnFace = clSystemColor | 15;
constexpr TColor clBtnShadow = clSystemColor | 16;
constexpr TColor clGrayText = clSystemColor | 17;
constexpr TColor clBtnText = clSystemColor | 18;
constexpr TColor clBtnHighlight = clSystemColor | 20;

// The pen styles a border line can have.
enum class TPenStyle : std::uint8_t {
    psSolid, psDash, psDot, psDashDot, psDashDotDot, psClear, psInsideFrame
};

// c0 for t <= 0, c1 for t >= 1; otherwise each of red, green and blue is
// Round(channel of c0 * (1 - t) + channel of c1 * t), halves to even.
TColor BlendColour(TColor c0, TColor c1, double t);
