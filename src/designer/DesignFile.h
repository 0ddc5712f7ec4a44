#pragma once
// Design files (*.fxn): the document's lines followed by the project line
// "<Form><count><length><width><thickness><tool radius>". Read with CR LF, LF or CR as line
// end, as UTF-8 when the bytes are valid UTF-8, else as Windows-1252; written in UTF-8 with
// CR LF. A file is checked whole before anything of the open design changes.
#include "designer/DesignObjects.h"
#include "platform/PictureMemory.h"

#include <optional>
#include <string>
#include <vector>

inline constexpr const char* kDesignFilter = "Fraxilon Files (*.fxn)|*.fxn|Alle Files (*.*)|*.*";

// The lines of a file's bytes (UTF-8), a line end at the very end adding no empty line.
std::vector<std::string> DecodeDesignText(std::string_view bytes);

// A design file's content once checked: the document lines (count × 10; lines beyond them
// are dropped), the size of each object's image as it is drawn, and the project values.
struct DesignFileContent {
    std::vector<std::string> lines;
    std::vector<PictureSize> objectSizes;
    int count = 0;
    double WstLaenge = 0, WstBreite = 0, WstDicke = 0, WkzRad = 0;
};

// Checks every line: an empty file, a last line that is no project line, a count outside
// 0..32000 or beyond the lines there are, a missing tag or a field that is no number of the
// locale's format are errors (the line named is 0-based).
std::optional<DesignLineError> CheckDesignLines(const std::vector<std::string>& fileLines,
                                                DesignFileContent& content);
