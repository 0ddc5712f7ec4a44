#pragma once
// The values of the angle dialog's module that the path patterns use besides the angle:
// the corner count of the n-gons and the ratio of the ellipses' semi-axes. There is one
// process-wide instance, `AngleDialog`; tests call ResetAngleDialogState().
//
// A run reads the dialog through its host like the main window's settings: the fields
// "eingabe" (path angle, degrees), "ecken" (corner count) and "rad_verhaeltnis" (radius
// ratio), and the box "parallel_checkbox" (parallel ellipses instead of similar ones).
#include <cstdint>

struct AngleDialogState {
    // The main window sets 3 and 5.0 when it is first activated.
    std::int32_t CornerCount = 3;
    double RadiusRatio = 5.0;
};

extern AngleDialogState AngleDialog;

void ResetAngleDialogState();
