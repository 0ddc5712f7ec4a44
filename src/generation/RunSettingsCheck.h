#pragma once
// The settings a program run refuses before it changes anything: a pattern number the program
// does not have, a setting that is not a finite number (a damaged configuration file behind a
// field that does not read), a safe height ("G0-Hub") at or below the surface, a workpiece
// without length, width or thickness, a thickness and Z factor whose depths leave the range
// of numbers, a Z factor of 0, a deepest depth or an infeed above the surface, and a path or
// point spacing of 0 or below. Such a run would write words that are not numbers, rapids that
// cut, cuts above its rapids or through the whole picture area, or sample without end.
class RunHost;
struct MainState;

// The largest length, width or thickness of a workpiece, in millimetres (1000 km).
constexpr double kLargestWorkpieceMeasure = 1e9;

// True when the run may start with the settings as it will read them from the fields (a field
// that does not read, or reads a value that is not finite, leaves its variable). Otherwise the
// reason has been shown and nothing has been changed.
bool CheckRunSettings(RunHost& host, const MainState& s);
