#include "plotting/TrendPlot.h"

#include "plotting/PlotDataSource.h"
#include "plotting/ScatterPlot.h"
#include "plotting/XYGraph.h"

#include <algorithm>

namespace tonara {

namespace {

// The records of both plots: x and systolic for the one, x and diastolic for the other.
class TrendRecords : public PlotDataSource {
public:
    explicit TrendRecords(std::vector<TrendPlot::Point> points) : points_(std::move(points)) {}
    int numberOfRecordsForPlot(const Plot &) const override { return int(points_.size()); }
    double numberForPlot(const Plot &plot, PlotField field, int i) const override
    {
        const TrendPlot::Point &p = points_.at(std::size_t(i));
        if (field == PlotField::X)
            return p.x;
        return plot.identifier() == TrendPlot::systolicIdentifier() ? p.sys : p.dia;
    }

private:
    std::vector<TrendPlot::Point> points_;
};

} // namespace

std::vector<PlotRange> TrendPlot::targetExclusionRanges(int high, int low)
{
    const int lo = std::min(high, low);
    const int hi = std::max(high, low);
    std::vector<PlotRange> out{{0, double(lo - 1)}};
    if (hi - lo >= 2)
        out.push_back({double(lo + 1), double(hi - lo - 2)});
    out.push_back({double(hi + 1), kYTop});
    return out;
}

TrendPlot::TrendPlot(Data data) : data_(std::move(data)) {}

std::unique_ptr<XYGraph> TrendPlot::graph(bool axisLabels) const
{
    auto g = std::make_unique<XYGraph>();
    g->setMirrored(true);
    g->defaultPlotSpace().xRange = {0, data_.xLength};
    g->defaultPlotSpace().yRange = {0, kYTop};

    PlotAxis &x = g->xAxis();
    x.majorIntervalLength = data_.xGridInterval;
    x.orthogonalCoordinate = 0;
    x.majorGridLines = true;
    x.majorTickLineStyle = QPen(QColor(0xD5, 0xDE, 0xE6), 1);
    x.labelsVisible = axisLabels && !data_.xLabels.empty();
    x.customLabels = data_.xLabels;
    x.labelFont = data_.labelFont;

    PlotAxis &y = g->yAxis();
    y.majorIntervalLength = 1;
    y.orthogonalCoordinate = 0;
    y.majorGridLines = true;
    y.majorTickLineStyle = QPen(QColor(0x4A, 0x5A, 0x6A), 1, Qt::DashLine);
    y.labelExclusionRanges = targetExclusionRanges(data_.targetHigh, data_.targetLow);
    y.labelsVisible = axisLabels;
    y.labelFont = data_.labelFont;
    if (axisLabels)
        y.title = QStringLiteral("mmHg");

    auto records = std::make_shared<TrendRecords>(data_.points);
    for (const auto &[id, colour] : {std::pair{systolicIdentifier(), systolicColor()},
                                     std::pair{diastolicIdentifier(), diastolicColor()}}) {
        auto plot = std::make_unique<ScatterPlot>(id);
        plot->lineColor = colour;
        plot->lineWidth = 3;
        plot->symbolColor = colour;
        plot->symbolSize = 7;
        plot->setDataSource(records.get());
        g->addPlot(std::move(plot));
    }
    g->adoptDataSource(records);
    g->build();
    return g;
}

void TrendPlot::render(QPainter &painter, const QRectF &target) const
{
    graph(true)->render(painter, target);
}

} // namespace tonara
