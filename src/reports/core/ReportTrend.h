#pragma once

// The report's trend chart as plain numbers: one point per day (the mean of
// that day's readings), x counting whole days back from the period's last
// day; a period of one day gets one point per reading, x = 24 - the hour.
//
//   ReportTrend t = ReportTrend::of(content.rows, content.period);
//   for (const ReportTrend::Point &p : t.points) plot(p.x, p.sys, p.dia);
//   t.xLength;                        // the x range 0 .. xLength
//   t.labels;                         // a few dates ("MM/dd" or "yyyy/MM") or hours at their x

#include "reports/core/ReportContent.h"

#include <string>
#include <utility>
#include <vector>

namespace tonara {

class ReportTrend {
public:
    struct Point {
        double x = 0;
        double sys = 0;
        double dia = 0;
    };

    static ReportTrend of(const std::vector<ReportRow> &rows, const ReportPeriod &period);

    std::vector<Point> points; // newest first
    double xLength = 6;
    bool hourly = false;
    std::vector<std::pair<double, std::string>> labels;
};

} // namespace tonara
