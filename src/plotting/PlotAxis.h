#pragma once

#include "plotting/PlotRange.h"

#include <QColor>
#include <QFont>
#include <QPen>
#include <QString>

#include <functional>
#include <utility>
#include <vector>

namespace tonara {

// One axis of an XY graph: ticks every major interval from the range's start,
// each drawn as a line across the plot area when majorGridLines is set, and
// exclusion ranges inside which no tick, line or label is drawn. The trend
// chart keeps only its two target values this way.
//
//   PlotAxis y;
//   y.majorIntervalLength = 1;
//   y.labelExclusionRanges = {{0, 59}, {61, 118}, {181, 300}};
//   y.visibleTicks({0, 300});   // {60, 180}
class PlotAxis {
public:
    double majorIntervalLength = 1;
    // Where the axis crosses the other one, in the other axis's coordinates.
    double orthogonalCoordinate = 0;
    bool majorGridLines = false;
    std::vector<PlotRange> labelExclusionRanges;

    QString title; // shown beside the labels, when they are shown

    QPen majorTickLineStyle{QColor(0xD5, 0xDE, 0xE6), 1};
    QPen axisLineStyle{QColor(0x8A, 0x99, 0xA8), 1};
    bool labelsVisible = false;
    QFont labelFont;
    QColor labelColor = Qt::black;
    // The text of a tick; "%g" of the value when empty.
    std::function<QString(double)> labelFormatter;
    // Labels at chosen places instead of one per tick (dates under a time axis).
    std::vector<std::pair<double, QString>> customLabels;

    // The tick values in the range that no exclusion range holds, ascending.
    std::vector<double> visibleTicks(PlotRange range) const;
    bool isExcluded(double value) const;
    QString labelFor(double value) const;
};

} // namespace tonara
