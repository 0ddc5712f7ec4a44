#pragma once
// The settings and working values of the main window's module. There is one process-wide
// instance, `Main`; every part of the program reads and writes the same values there.
// Tests call ResetMainState() to start from the values the program starts with.
#include "platform/Bitmap.h"

#include <array>
#include <cstdint>
#include <string>
#include <string_view>

constexpr int kHeaderLineSlots = 10;
constexpr int kLangTextFirst = 111;
constexpr int kLangTextLast = 160;

struct MainState {
    // Machining settings and file names (the configuration file overwrites them).
    std::string LanguageFileName;
    std::string MessageFileName;
    std::string HelpFileName = "fraxilon-ger.hlp";
    double DefaultLength = 0;
    double DefaultWidth = 0;
    double wst_d = 10.0;
    double stepX = 5.0;
    double stepy = 5.0;
    double max_tiefe = -10.0;
    double faktor = 1.0;
    double min_deltaZ = 0.05;
    std::uint8_t komma = 2;
    double zg0 = 1.0;
    std::string CommentBrackets = " ()";
    double rundrum_mm = 0;
    double MinStep = 0;
    double SimRadius = 10.0;
    double SimCuttingHeight = 12.0;
    double SimTipAngle = 45.0;
    double z_zustellung = 0;
    double wst_l = 600.0;
    double wst_b = 600.0;
    // Entries 1 to 10 are elements 0 to 9.
    std::array<std::string, kHeaderLineSlots> HeaderLines;
    std::array<std::string, kHeaderLineSlots> TrailerLines;
    std::int32_t HeaderLineCount = 0;
    std::int32_t TrailerLineCount = 0;

    // Working state.
    std::int32_t StrategyIndex = 0;
    std::int32_t ResolutionLevel = 2;
    double Alpha = 0;
    bool EllipseParallel = false;
    bool AbortRequested = false;
    TBitmap WorkBitmap;
    double PixelsPerMmX = 0;
    double PixelsPerMmY = 0;
    std::int32_t BorderPxX = 0;
    std::int32_t BorderPxY = 0;
    bool Axis90Applied = false;
    std::int32_t CentrePxX = 0;
    std::int32_t CentrePxY = 0;
    double CircleCentreX = 0;
    double CircleCentreY = 0;
    bool Dragging = false;
    std::int32_t CursorX = 0;
    std::int32_t CursorY = 0;
    std::int32_t DragStartX = 0;
    std::int32_t DragStartY = 0;
    bool SizeChanged = true;
    bool ProgramSaved = false;
    std::int32_t PassCount = 0;
    std::int32_t PassIndex = 0;
    double PassDepth = 0;
    double PrevPassDepth = 0;
    bool CrossPatternRunning = false;
    double DepthFullScale = 0;
    std::int32_t ProgramCount = 0;
    std::string ProgramListDir;
    // Entries 111 to 160 are elements 0 to 49.
    std::array<std::string, kLangTextLast - kLangTextFirst + 1> LangCaptions;
    std::array<std::string, kLangTextLast - kLangTextFirst + 1> LangHints;

    // The percentage of the running long operation, shown on the meter at multiples of 10.
    std::int32_t ProgressPercent = 0;
};

extern MainState Main;

void ResetMainState();

// The caption and hint the language file gave entry 111..kLangTextLast of the other windows.
inline const std::string& LangCaption(int entry) { return Main.LangCaptions[std::size_t(entry - kLangTextFirst)]; }
inline const std::string& LangHint(int entry) { return Main.LangHints[std::size_t(entry - kLangTextFirst)]; }

// Texts of the program hold at most 255 characters: the first 255 characters of a UTF-8
// text, never cut inside a character, and never more than the bytes of 255 characters of
// four bytes each (also for bytes that are not UTF-8).
inline constexpr std::size_t kMostBytesOf255Characters = 4 * 255;
std::string_view First255Characters(std::string_view text);
// Text variables hold at most 255 characters; a longer value is cut when it is stored.
std::string CutTo255(std::string text);
