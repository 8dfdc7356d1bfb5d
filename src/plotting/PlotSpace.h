#pragma once

#include "plotting/PlotRange.h"

namespace tonara {

// The coordinates a graph shows: what x and y ranges fill its plot area.
// Charts here are pictures, so there is no panning or zooming by hand.
class PlotSpace {
public:
    PlotRange xRange{0, 1};
    PlotRange yRange{0, 1};
    bool allowsUserInteraction = false;
};

} // namespace tonara
