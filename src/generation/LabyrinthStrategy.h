#pragma once
// The labyrinth: a square spiral about the circle centre whose axis-parallel sides grow by
// one path spacing every two sides, clipped to the workpiece, written relative to the centre.
struct RunState;

void LabyrinthStrategy(RunState& r);
