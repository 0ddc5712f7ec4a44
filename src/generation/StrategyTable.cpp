#include "generation/Strategies.h"

#include "generation/LabyrinthStrategy.h"
#include "generation/LinearStrategies.h"
#include "generation/RadialStrategies.h"

StrategyRoutines BuiltInStrategies() {
    StrategyRoutines t;
    t.RowStrategy = RowStrategy;
    t.ColumnStrategy = ColumnStrategy;
    t.ObliqueStrategy = ObliqueStrategy;
    t.CircleStrategy = CircleStrategy;
    t.EllipseStrategy = EllipseStrategy;
    t.SpiralStrategy = SpiralStrategy;
    t.PolygonStrategy = PolygonStrategy;
    t.LabyrinthStrategy = LabyrinthStrategy;
    return t;
}

bool IsRadialStrategy(int strategyIndex) {
    switch (strategyIndex) {
        case 1: case 2: case 3: case 5: case 6: case 7: case 8: case 14: case 18: case 19:
            return true;
        default:
            return false;
    }
}
