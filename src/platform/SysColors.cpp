#include "platform/SysColors.h"

#include <QColor>

#include <array>

namespace {

// Index: scroll bar, background, active caption, inactive caption, menu, window, window frame,
// menu text, window text, caption text, active border, inactive border, application
// workspace, highlight, highlight text, button face, button shadow, grey text, button text,
// inactive caption text, button highlight, 3-D dark shadow, 3-D light, info text, info back.
constexpr std::array<TColor, 25> kScheme = {
    RGB(192, 192, 192), RGB(0, 128, 128),   RGB(0, 0, 128),     RGB(128, 128, 128),
    RGB(192, 192, 192), RGB(255, 255, 255), RGB(0, 0, 0),       RGB(0, 0, 0),
    RGB(0, 0, 0),       RGB(255, 255, 255), RGB(192, 192, 192), RGB(192, 192, 192),
    RGB(128, 128, 128), RGB(0, 0, 128),     RGB(255, 255, 255), RGB(192, 192, 192),
    RGB(128, 128, 128), RGB(128, 128, 128), RGB(0, 0, 0),       RGB(192, 192, 192),
    RGB(255, 255, 255), RGB(0, 0, 0),       RGB(223, 223, 223), RGB(0, 0, 0),
    RGB(255, 255, 225),
};

}  // namespace

TColor GetSysColor(int Index)
{
    if (Index < 0 || Index >= static_cast<int>(kScheme.size()))
        return clBlack;
    return kScheme[static_cast<std::size_t>(Index)];
}

TColor ColorToRGB(TColor Color)
{
    if (Color < 0)
        return GetSysColor(Color & 0xFF);
    return Color & 0xFFFFFF;
}

QColor ToQColor(TColor Color)
{
    const TColor rgb = ColorToRGB(Color);
    return QColor(GetRValue(rgb), GetGValue(rgb), GetBValue(rgb));
}
