#pragma once
// Rules of the simulation window that need no window: the name a saved picture gets.
#include <string>

// What saving the picture under `name` asks for: nothing when the name already ends in
// ".bmp" (any case); otherwise the question, and after Yes the name without its extension
// (the text from the last '.' of the file name; a name without one stays whole, cut to 254
// characters) followed by ".bmp".
struct SaveNameRule {
    bool ask = false;
    std::string nameAfterYes;
};
SaveNameRule SimulationSaveName(const std::string& name);
