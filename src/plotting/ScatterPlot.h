#pragma once

#include "plotting/Plot.h"

#include <QColor>
#include <QList>
#include <QPointF>

class QLineSeries;
class QScatterSeries;

namespace tonara {

// Points joined by a line in record order, each marked with a round symbol.
// One record alone is its symbol without a line.
class ScatterPlot : public Plot {
public:
    using Plot::Plot;

    QColor lineColor = Qt::black;
    double lineWidth = 1;
    QColor symbolColor = Qt::black; // fill and outline
    double symbolSize = 3;          // diameter in points

    void attach(QChart *chart, QAbstractAxis *x, QAbstractAxis *y) override;
    void reloadData() override;
    int recordCount() const override { return int(points_.size()); }
    const QList<QPointF> &points() const { return points_; }

private:
    QLineSeries *line_ = nullptr;
    QScatterSeries *symbols_ = nullptr;
    QList<QPointF> points_;
};

} // namespace tonara
