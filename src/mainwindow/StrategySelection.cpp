#include "mainwindow/StrategySelection.h"

#include "generation/NumberFormat.h"

#include <iterator>

namespace {

constexpr PatternRow kPatterns[20] = {
    {0, "hor_fraesen", "Speed_diagonal_fraesen", nullptr, false, false, " (Alpha=0°)"},
    {1, "Kreis_fraesen", "Speed_kreis_fraesen", "strg_f6", false, false, ""},
    {2, "ellipse_fraesen", "Speed_ellipse_fraesen", "strg_f8", true, false, ""},
    {3, "spiral_fraesen", "Speed_spiral_fraesen", "strg_f7", false, false, ""},
    {4, "horizontal_bohren", "Speed_diagonal_bohren", nullptr, false, false, " (Alpha=0°)"},
    {5, "Kreisformig_bohren", "Speed_kreis_bohren", "alt_f6", false, false, ""},
    {6, "Ellipse_bohren", "Speed_ellipse_bohren", "alt_f8", true, false, ""},
    {7, "Spiral_bohren", "Speed_spiral_bohren", "alt_f7", false, false, ""},
    {8, "labyrenth", "Speed_labyrenth_fraesen", "strg_f4", false, false, ""},
    {9, "vert_fraesen", "Speed_diagonal_fraesen", nullptr, false, false, " (Alpha=90°)"},
    {10, "Kreuz_fraesen", "Speed_kreuz_diagonal_fraesen", nullptr, false, false, " (Alpha=0°,90°)"},
    {11, "Schraeg_fraesen", "Speed_diagonal_fraesen", "strg_f2", true, true, ""},
    {12, "Schrgkreuzfrmig_fraesen", "Speed_kreuz_diagonal_fraesen", "strg_f3", true, true, ""},
    {13, "Vertikal_bohren", "Speed_diagonal_bohren", nullptr, false, false, " (Alpha=90°)"},
    {14, "Labyrent_bohren", "Speed_labyrenth_bohren", "alt_f4", false, false, ""},
    {15, "Schrg_bohren", "Speed_diagonal_bohren", "alt_f2", true, true, ""},
    {16, "Schrg_kreuz_bohren", "speed_kreuz_diagonal_bohren", "alt_f3", true, true, ""},
    {17, "Kariert_bohren", "speed_kreuz_diagonal_bohren", nullptr, false, false, ""},
    {18, "nEck_fraesen", "Speed_neck_fraesen", "strg_f5", true, true, ""},
    {19, "neck_bohren", "speed_neck_bohren", "alt_f5", true, true, ""},
};

constexpr ResolutionRow kResolutions[5] = {
    {0, "einfacheauflsung1", "einfache Auflösung (SW)"},
    {1, "niedrigeauflsung1", "niedrige Auflösung"},
    {2, "mittlereauflsung1", "mittlere Auflösung"},
    {3, "hheauflsung1", "höhe Auflösung"},
    {4, "sehrhheauflsung1", "sehr höhe Auflösung"},
};

}  // namespace

const PatternRow* PatternOf(int number) {
    return number >= 0 && number < 20 ? &kPatterns[number] : nullptr;
}

int SnapPattern(int number, double alpha) {
    const bool flat = alpha == 0 || alpha == 180;
    const bool upright = alpha == 90 || alpha == 270;
    switch (number) {
        case 11: return flat ? 0 : upright ? 9 : 11;
        case 12: return flat || upright ? 10 : 12;
        case 15: return flat ? 4 : upright ? 13 : 15;
        case 16: return flat || upright ? 17 : 16;
        default: return number;
    }
}

PatternChoice ChoosePattern(int number, double alpha,
                            const std::function<std::string(std::string_view)>& hintOf) {
    const int chosen = SnapPattern(number, alpha);
    const PatternRow* row = PatternOf(chosen);
    if (!row) return {number, std::string(), nullptr};
    std::string text = hintOf(row->menuItem);
    if (row->textWithAngle)
        text += " (Alpha=" + FormatNumber(3, alpha) + "°)";
    else
        text += row->fixedSuffix;
    return {chosen, std::move(text), row};
}

const ResolutionRow* ResolutionOf(int level) {
    return level >= 0 && level < 5 ? &kResolutions[level] : nullptr;
}

const char* MenuItemOfBox(std::string_view box) {
    for (const OptionPair& p : kOptionPairs)
        if (box == p.box) return p.menuItem;
    return nullptr;
}

const char* BoxOfMenuItem(std::string_view item) {
    for (const OptionPair& p : kOptionPairs)
        if (item == p.menuItem) return p.box;
    return nullptr;
}

void ClampDepthAfterThickness(double wst_d, double& max_tiefe, double& z_zustellung) {
    if (-wst_d > max_tiefe) max_tiefe = -wst_d;
    ClampInfeed(max_tiefe, z_zustellung);
}

void ClampInfeed(double max_tiefe, double& z_zustellung) {
    if (z_zustellung < max_tiefe) z_zustellung = max_tiefe;
}
