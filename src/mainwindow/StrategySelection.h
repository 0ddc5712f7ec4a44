#pragma once
// The main window's selection tables: the twenty path patterns with their menu items, tool
// buttons, status texts and angle snaps; the five resolution levels; the pairs of option box
// and menu item; and the corrections the depth fields apply when they are left.
#include <functional>
#include <string>
#include <string_view>

struct PatternRow {
    int number;
    const char* menuItem;    // whose hint is the status text
    const char* toolButton;  // the button pressed (the pattern's own or its family's)
    const char* shortcutAction;  // the action of the pattern's own button, or nullptr
    bool asksAngle;          // the angle dialog opens
    bool textWithAngle;      // the status text ends with " (Alpha=" F(Alpha) "°)"
    const char* fixedSuffix; // otherwise this suffix ("" for none)
};

// The row of a pattern number 0..19; nullptr outside.
const PatternRow* PatternOf(int number);
// The pattern of the oblique rows (11, 12, 15, 16) at an angle: 0 and 180 degrees are rows
// (or the cross), 90 and 270 columns (or the cross), compared exactly; other rows unchanged.
int SnapPattern(int number, double alpha);

// What selecting a row at an angle comes to: the pattern number and the status text, given
// the menu items' hints.
struct PatternChoice {
    int number;
    std::string text;
    const PatternRow* row;
};
PatternChoice ChoosePattern(int number, double alpha,
                            const std::function<std::string(std::string_view menuItem)>& hintOf);

// The resolution levels 0..4: menu item and caption.
struct ResolutionRow {
    int level;
    const char* menuItem;
    const char* caption;
};
const ResolutionRow* ResolutionOf(int level);

// An option box and the menu item that shows the same state.
struct OptionPair {
    const char* box;
    const char* menuItem;
};
inline constexpr OptionPair kOptionPairs[] = {
    {"Prg_optimieren", "prg_optimieren1"},     {"leerzeichen", "OhneLeerzeichen1"},
    {"zeilen_nr", "mitZeilenNr1"},             {"proportion", "ProportionalzumBild1"},
    {"kreism", "ZnterumimBildmitte1"},         {"spiegeln", "Spiegeln1"},
    {"achse_90_grad", "achse90grad1"},         {"treppe", "treppenform1"},
    {"bogen_IJ", "Bogenmit_IJ1"},              {"kante_fraesen", "Werkstckkonturfrsen1"},
    {"zustellung_optimieren", "zustellung_optimieren1"}, {"stoppen", "Stoppen1"},
};
// The menu item of a box, or the box of a menu item; nullptr when none.
const char* MenuItemOfBox(std::string_view box);
const char* BoxOfMenuItem(std::string_view item);

// Leaving wst_d or max_tiefe: the depth never goes below the thickness, the infeed never
// below the depth.
void ClampDepthAfterThickness(double wst_d, double& max_tiefe, double& z_zustellung);
// Leaving z_zustellung: the infeed never below the depth.
void ClampInfeed(double max_tiefe, double& z_zustellung);
