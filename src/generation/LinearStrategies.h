#pragma once
// Serpentine rows along X, serpentine columns along Y and serpentine parallel lines at the
// path angle. They place sample points; the emitters write them as milling or drilling lines.
struct RunState;

void RowStrategy(RunState& r);
void ColumnStrategy(RunState& r);
void ObliqueStrategy(RunState& r, bool secondHalf);

// One oblique line through (x1, 0) and (0, y1) clipped to the workpiece: it runs from its
// upper end U = (x0, y1) to its lower end B = (x1, y0).
struct ObliqueLine {
    double x0, y0, x1, y1;
};
ObliqueLine ClipObliqueLine(double x1, double t, double length, double width);
