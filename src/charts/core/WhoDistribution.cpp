#include "charts/core/WhoDistribution.h"

#include "measurement/core/WHOClassification.h"

namespace tonara {

void WhoDistribution::who_bar_chart_Distinguish(int sys, int dia)
{
    counters_[6 - WHOClassification::category(sys, dia)] += 1.0f;
}

void WhoDistribution::barChart_Percentage(int total)
{
    for (float &c : counters_)
        c = total == 0 ? 0.0f : c / static_cast<float>(total) * 100.0f;
}

int WhoDistribution::barTip(int bar) const
{
    const float v = counters_.at(bar);
    return v > 0.0f ? static_cast<int>(v) : 0;
}

} // namespace tonara
