#include "plotting/BarPlot.h"

#include "plotting/PlotDataSource.h"

#include <QAreaSeries>
#include <QChart>
#include <QLineSeries>

namespace tonara {

void BarPlot::attach(QChart *chart, QAbstractAxis *x, QAbstractAxis *y)
{
    // An area series does not own its edge series: parent them to it, so the
    // chart deleting the area deletes them too.
    area_ = new QAreaSeries;
    upper_ = new QLineSeries(area_);
    lower_ = new QLineSeries(area_);
    area_->setUpperSeries(upper_);
    area_->setLowerSeries(lower_);
    area_->setName(identifier());
    QPen pen(lineColor, lineWidth);
    pen.setJoinStyle(Qt::MiterJoin);
    area_->setPen(pen);
    area_->setBrush(fillColor);
    chart->addSeries(area_);
    area_->attachAxis(x);
    area_->attachAxis(y);
    reloadData();
}

void BarPlot::reloadData()
{
    bars_.clear();
    if (const PlotDataSource *source = dataSource()) {
        const int n = source->numberOfRecordsForPlot(*this);
        for (int i = 0; i < n; ++i)
            bars_.append({source->numberForPlot(*this, PlotField::BarLocation, i),
                          source->numberForPlot(*this, PlotField::BarTip, i)});
    }
    if (!area_)
        return;
    // Each bar is a rectangle from the base to its tip; the outline runs
    // along the base between bars of the same plot.
    QList<QPointF> top;
    QList<QPointF> bottom;
    const double half = barWidth / 2;
    for (const Bar &b : bars_) {
        top << QPointF(b.location - half, baseValue) << QPointF(b.location - half, b.tip)
            << QPointF(b.location + half, b.tip) << QPointF(b.location + half, baseValue);
        bottom << QPointF(b.location - half, baseValue) << QPointF(b.location + half, baseValue);
    }
    upper_->replace(top);
    lower_->replace(bottom);
}

} // namespace tonara
