#pragma once

#include "plotting/Plot.h"

#include <QColor>
#include <QList>

class QAreaSeries;
class QLineSeries;

namespace tonara {

// Bars standing on a base value: each record gives a bar location (x) and a
// bar tip (y). The bars of one plot share a colour; a chart with a colour per
// bar uses a plot per bar.
class BarPlot : public Plot {
public:
    using Plot::Plot;

    QColor lineColor = Qt::black;
    double lineWidth = 1;
    QColor fillColor = Qt::gray;
    double baseValue = 0;
    double barWidth = 0.6; // in x units

    struct Bar {
        double location;
        double tip;
    };

    void attach(QChart *chart, QAbstractAxis *x, QAbstractAxis *y) override;
    void reloadData() override;
    int recordCount() const override { return int(bars_.size()); }
    const QList<Bar> &bars() const { return bars_; }

private:
    QAreaSeries *area_ = nullptr;
    QLineSeries *upper_ = nullptr;
    QLineSeries *lower_ = nullptr;
    QList<Bar> bars_;
};

} // namespace tonara
