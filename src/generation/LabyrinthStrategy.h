#pragma once
// The labyrinth: a square spiral about the circle centre whose axis-parallel sides grow by
// one path spacing every two sides, clipped to the workpiece, written relative to the centre.
#include <optional>

struct RunState;

void LabyrinthStrategy(RunState& r);

// What lays out the labyrinth's rings and sides: the circle centre, the workpiece and the
// spacings (stepy as at the start of a pass).
struct LabyrinthGeometry {
    double centreX, centreY, length, width, stepX, stepy;
};

// The points one pass lays out, side by side as the labyrinth does (once the near edges are
// reached, every ring runs along them again, so a long narrow workpiece has far more points
// than its area suggests). Counting stops once more than `enough` points are counted. Nothing
// when the labyrinth cannot be laid out (a count beyond the integer range): the run ends then.
std::optional<double> LabyrinthPoints(const LabyrinthGeometry& g, double enough);
