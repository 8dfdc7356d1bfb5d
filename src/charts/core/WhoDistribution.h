#pragma once

// The six counters of the WHO distribution chart: first counts of readings by
// class, then, after barChart_Percentage, their shares in percent.
//
//   WhoDistribution who;
//   for (auto r : periods.distributionReadings(code))
//       who.who_bar_chart_Distinguish(r.sys, r.dia);
//   who.barChart_Percentage(n);
//   int tip = who.barTip(0);     // whole percent of grade 3 hypertension
//
// Counter 0 is grade 3 hypertension ("Bar Plot 1") down to counter 5, optimal
// ("Bar Plot 6"); the bar x of counter i is i.

#include <array>

namespace tonara {

class WhoDistribution {
public:
    static constexpr int kBars = 6;

    void clear() { counters_.fill(0.0f); }
    void who_bar_chart_Distinguish(int sys, int dia);
    // Each counter becomes counter / total * 100 in single precision; all 0 when total is 0.
    void barChart_Percentage(int total);

    float counter(int bar) const { return counters_.at(bar); }
    // The bar's height: the counter truncated to a whole, non-negative number.
    int barTip(int bar) const;
    // The WHO class (6 grade 3 .. 1 optimal) that a bar shows.
    static int categoryOfBar(int bar) { return 6 - bar; }

private:
    std::array<float, kBars> counters_{};
};

} // namespace tonara
