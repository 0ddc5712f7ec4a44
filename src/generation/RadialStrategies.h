#pragma once
// Circles, the spiral, ellipses and regular n-gons about the circle centre, reaching the
// workpiece corner farthest from it. They place sample points; the emitters write them as
// milling, arc or drilling lines, relative to the centre.
struct RunState;

void CircleStrategy(RunState& r, bool drilling);
void SpiralStrategy(RunState& r);
void EllipseStrategy(RunState& r, bool drilling);
void PolygonStrategy(RunState& r);

// The point (A cos t, B sin t) turned by phi about the origin.
struct EllipsePoint {
    double x, y;
};
EllipsePoint RotateEllipsePoint(double A, double B, double t, double phi);
