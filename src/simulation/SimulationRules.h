#pragma once
// Rules of the simulation window that need no window: the name a saved picture gets, and the
// black-and-white form of a replay for the printer.
#include <optional>
#include <string>

class QImage;

// What saving the picture under `name` asks for: nothing when the name already ends in
// ".bmp" (any case); otherwise the question, and after Yes the name without its extension
// (the text from the last '.' of the file name; a name without one stays whole, cut to 254
// characters) followed by ".bmp".
struct SaveNameRule {
    bool ask = false;
    std::string nameAfterYes;
};
SaveNameRule SimulationSaveName(const std::string& name);

// The replay for the printer: the background colour becomes white and everything drawn on it
// black, so light pens on a coloured background still show on paper.
QImage MonochromeForPrinting(const QImage& image, unsigned background);
