#include "plotting/WhoBarPlot.h"

#include "plotting/BarPlot.h"
#include "plotting/PlotDataSource.h"
#include "plotting/XYGraph.h"

namespace tonara {

namespace {

// One record per bar plot: its place and its whole percent, never below 0.
class BarRecords : public PlotDataSource {
public:
    explicit BarRecords(std::array<int, WhoBarPlot::kBars> percent) : percent_(percent) {}
    int numberOfRecordsForPlot(const Plot &) const override { return 1; }
    double numberForPlot(const Plot &plot, PlotField field, int) const override
    {
        const int bar = barOf(plot);
        if (field == PlotField::BarLocation || field == PlotField::X)
            return bar;
        return std::max(0, percent_.at(std::size_t(bar)));
    }

private:
    static int barOf(const Plot &plot)
    {
        for (int i = 0; i < WhoBarPlot::kBars; ++i)
            if (plot.identifier() == WhoBarPlot::identifier(i))
                return i;
        return 0;
    }
    std::array<int, WhoBarPlot::kBars> percent_;
};

} // namespace

QColor WhoBarPlot::barColor(int bar)
{
    static const QColor colours[kBars] = {QColor(254, 20, 20), QColor(254, 116, 20), QColor(255, 140, 100),
                                          QColor(254, 227, 0), QColor(20, 202, 67),  QColor(140, 213, 0)};
    return colours[std::clamp(bar, 0, kBars - 1)];
}

QString WhoBarPlot::identifier(int bar)
{
    return QStringLiteral("Bar Plot %1").arg(bar + 1);
}

WhoBarPlot::WhoBarPlot(Data data) : data_(data) {}

std::unique_ptr<XYGraph> WhoBarPlot::graph(bool axisLabels) const
{
    auto g = std::make_unique<XYGraph>();
    g->setMirrored(true);
    g->defaultPlotSpace().xRange = {-0.5, 6};
    g->defaultPlotSpace().yRange = {0, 100};

    PlotAxis &x = g->xAxis();
    x.majorIntervalLength = 1;
    x.orthogonalCoordinate = 0;

    PlotAxis &y = g->yAxis();
    y.majorIntervalLength = 10;
    y.orthogonalCoordinate = -1; // outside the range: no y axis line, only the 10 % lines
    y.majorGridLines = true;
    y.majorTickLineStyle = QPen(QColor(0xD5, 0xDE, 0xE6), 1);
    y.labelsVisible = axisLabels;
    y.labelFont = data_.labelFont;
    y.labelFormatter = [](double v) { return QStringLiteral("%1%").arg(int(v)); };

    auto records = std::make_shared<BarRecords>(data_.percent);
    for (int i = 0; i < kBars; ++i) {
        auto plot = std::make_unique<BarPlot>(identifier(i));
        plot->lineColor = barColor(i);
        plot->lineWidth = 2.5;
        plot->fillColor = barColor(i);
        plot->baseValue = 1;
        plot->barWidth = 0.6;
        plot->setDataSource(records.get());
        g->addPlot(std::move(plot));
    }
    g->adoptDataSource(records);
    g->build();
    return g;
}

void WhoBarPlot::render(QPainter &painter, const QRectF &target) const
{
    graph(true)->render(painter, target);
}

} // namespace tonara
