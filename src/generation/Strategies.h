#pragma once
// The path strategies a run dispatches to. A routine that does not exist is empty; tests
// put their own routines in to check the run around them.
#include <functional>

struct RunState;

struct StrategyRoutines {
    std::function<void(RunState&)> RowStrategy;
    std::function<void(RunState&)> ColumnStrategy;
    std::function<void(RunState&, bool drilling)> CircleStrategy;
    std::function<void(RunState&, bool drilling)> EllipseStrategy;
    std::function<void(RunState&)> SpiralStrategy;
    std::function<void(RunState&)> PolygonStrategy;
    std::function<void(RunState&)> LabyrinthStrategy;
    std::function<void(RunState&, bool secondHalf)> ObliqueStrategy;
};

// The strategies of the program.
StrategyRoutines BuiltInStrategies();

// Circle, ellipse, spiral, labyrinth and polygon, milled and drilled: they work about the
// circle centre.
bool IsRadialStrategy(int strategyIndex);
