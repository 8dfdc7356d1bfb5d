#include "plotting/PlotAxis.h"

#include <cmath>

namespace tonara {

bool PlotAxis::isExcluded(double value) const
{
    for (const PlotRange &r : labelExclusionRanges)
        if (r.contains(value))
            return true;
    return false;
}

std::vector<double> PlotAxis::visibleTicks(PlotRange range) const
{
    std::vector<double> out;
    if (!(majorIntervalLength > 0))
        return out;
    const double lo = range.minimum();
    const double hi = range.maximum();
    // Counted in whole steps so that rounding never adds or drops a tick.
    const long long steps = static_cast<long long>(std::floor((hi - lo) / majorIntervalLength + 1e-9));
    for (long long i = 0; i <= steps; ++i) {
        const double v = lo + static_cast<double>(i) * majorIntervalLength;
        if (!isExcluded(v))
            out.push_back(v);
    }
    return out;
}

QString PlotAxis::labelFor(double value) const
{
    if (labelFormatter)
        return labelFormatter(value);
    return QString::number(value, 'g', 6);
}

} // namespace tonara
