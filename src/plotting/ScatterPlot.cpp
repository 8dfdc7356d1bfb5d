#include "plotting/ScatterPlot.h"

#include "plotting/PlotDataSource.h"

#include <QChart>
#include <QLineSeries>
#include <QScatterSeries>

namespace tonara {

void ScatterPlot::attach(QChart *chart, QAbstractAxis *x, QAbstractAxis *y)
{
    line_ = new QLineSeries;
    line_->setName(identifier());
    QPen pen(lineColor, lineWidth);
    pen.setJoinStyle(Qt::MiterJoin);
    pen.setMiterLimit(1);
    pen.setCapStyle(Qt::RoundCap);
    line_->setPen(pen);
    symbols_ = new QScatterSeries;
    symbols_->setName(identifier());
    symbols_->setMarkerShape(QScatterSeries::MarkerShapeCircle);
    symbols_->setMarkerSize(symbolSize);
    symbols_->setColor(symbolColor);
    symbols_->setBorderColor(symbolColor);
    for (QXYSeries *s : {static_cast<QXYSeries *>(line_), static_cast<QXYSeries *>(symbols_)}) {
        chart->addSeries(s);
        s->attachAxis(x);
        s->attachAxis(y);
    }
    reloadData();
}

void ScatterPlot::reloadData()
{
    points_.clear();
    if (const PlotDataSource *source = dataSource()) {
        const int n = source->numberOfRecordsForPlot(*this);
        points_.reserve(n);
        for (int i = 0; i < n; ++i)
            points_.append(QPointF(source->numberForPlot(*this, PlotField::X, i),
                                   source->numberForPlot(*this, PlotField::Y, i)));
    }
    if (line_) {
        line_->replace(points_);
        symbols_->replace(points_);
    }
}

} // namespace tonara
