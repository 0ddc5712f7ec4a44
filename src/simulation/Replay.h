#pragma once
// The replay of a program: the parameter line fits the workpiece into the picture, and every
// move below the surface between the first and the last body line is drawn with the width
// a V-shaped tool cuts at its depth, in a colour that darkens with depth when shadows are on.
#include "platform/Graphics.h"

#include <cstdint>
#include <string_view>

class ReplayCanvas;
class TStrings;

// The simulation module's values.
struct SimulationState {
    bool TimerTick = false;  // set by every tick of the window's timer
    bool SimError = false;   // a word did not read, or a cut lies too deep
    double MmPerPixelX = 0;
    double MmPerPixelY = 0;
};

extern SimulationState Sim;

// Colours of one drawing colour kind (1 to 4: black, red, gold, silver).
struct SimColours {
    TColor background;
    TColor plainPen;
    TColor deep;  // the depth ramp runs from deep to the surface colour (the background)
};
SimColours ColoursOfKind(int kind);
// BlendColour of the kind's depth ramp at step / 512.
TColor DepthColour(int kind, int step);

// The value after the word's letter; true when it does NOT read (the decimal point is '.').
bool ParseWordValue(std::string_view word, double& value);

// What the replay needs of its window.
class ReplayHost {
public:
    virtual ~ReplayHost() = default;

    virtual const TStrings& ProgramLines() = 0;
    // The canvas of the prepared picture (asked for after PrepareImage).
    virtual ReplayCanvas& Canvas() = 0;
    // The area to fit the workpiece into (the picture panel, or the printer page).
    virtual void AreaSize(int& width, int& height) = 0;
    // Gives the picture the fitted size (centred in the panel on screen) and fills it.
    virtual void PrepareImage(int width, int height, TColor background) = 0;
    virtual void SetImageVisible(bool /*visible*/) {}
    // Enables or disables the settings controls, shows the picture, resets the meter.
    virtual void ObjectEnabled(bool /*enable*/) {}
    // The tool fields; a field that does not read leaves its value.
    virtual void ReadToolFields(double& /*radius*/, double& /*cuttingHeight*/,
                                double& /*tipAngle*/) {}
    // Lets pending events run (the timer, the cancel button).
    virtual void Pump() = 0;
    // Lets events run until the timer has ticked (Sim.TimerTick) or an abort was asked for.
    virtual void WaitForTick() = 0;
    virtual int ShowFileMessage(int line, char kind) = 0;
    virtual void SetMeterPercent(int /*percent*/) {}
};

struct ReplayOptions {
    bool printing = false;  // into the page-sized picture, never paced
    bool fast = false;      // "Schnelle Simaulation": no pacing, picture hidden while drawing
    bool shadow = false;    // "Schatten": depth colours
    int colourKind = 4;     // the item of the colour group + 1
    int threads = 0;        // threads reading a fast replay's lines; 0: the processor's
};

// The pen width in pixels for a cut at depth z; a cut below the cutting height sets
// Sim.SimError and shows the too-deep message.
int ToolWidthPx(ReplayHost& host, double z);

// The tool of the settings SimTipAngle, SimRadius and SimCuttingHeight, with its angle's
// tangent worked out once for the many widths of a replay: WidthPx is ToolWidthPx.
struct ToolShape {
    double angle = 0;    // the tip angle in radians
    double tanHalf = 0;  // the tangent of half of it
    static ToolShape OfSettings();
    int WidthPx(ReplayHost& host, double z) const;
};

// Replays the program of host.ProgramLines() with the settings of `Main`.
void simulieren(ReplayHost& host, const ReplayOptions& options);
