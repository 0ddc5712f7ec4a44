#pragma once
// The horizontal placement of a label's caption, and its Qt alignment flag.
#include <Qt>

#include <cstdint>

enum class TAlignment : std::uint8_t { taLeftJustify, taRightJustify, taCenter };

constexpr Qt::Alignment QtAlignmentOf(TAlignment Value)
{
    switch (Value) {
    case TAlignment::taRightJustify: return Qt::AlignRight;
    case TAlignment::taCenter: return Qt::AlignHCenter;
    default: return Qt::AlignLeft;
    }
}
