#pragma once

#include <algorithm>

namespace tonara {

// A stretch of plot coordinates, from location over length. A negative length
// runs backwards from the location; both ends belong to the range.
struct PlotRange {
    double location = 0;
    double length = 0;

    double minimum() const { return std::min(location, location + length); }
    double maximum() const { return std::max(location, location + length); }
    bool contains(double v) const { return v >= minimum() && v <= maximum(); }
};

} // namespace tonara
