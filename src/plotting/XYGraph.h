#pragma once

#include "plotting/PlotAxis.h"
#include "plotting/PlotSpace.h"

#include <QMarginsF>
#include <QPointer>
#include <QRectF>

#include <memory>
#include <vector>

class QAbstractAxis;
class QChart;
class QLineSeries;
class QPainter;

namespace tonara {

class Plot;
class PlotDataSource;

// A graph of plots over one plot space and two axes, drawn with Qt Charts.
// Set the space, the axes and the plots, then build(); a changed picture is a
// new graph. Without a host it renders into any painter:
//
//   XYGraph graph;
//   graph.defaultPlotSpace().yRange = {0, 300};
//   graph.addPlot(std::move(plot));
//   graph.build();
//   graph.render(painter, QRectF(40, 60, 370, 150));
class XYGraph {
public:
    enum class Theme { PlainWhite };

    XYGraph();
    ~XYGraph();
    XYGraph(const XYGraph &) = delete;
    XYGraph &operator=(const XYGraph &) = delete;

    void applyTheme(Theme theme);
    PlotSpace &defaultPlotSpace() { return space_; }
    PlotAxis &xAxis() { return x_; }
    PlotAxis &yAxis() { return y_; }
    const PlotSpace &defaultPlotSpace() const { return space_; }
    const PlotAxis &xAxis() const { return x_; }
    const PlotAxis &yAxis() const { return y_; }

    // Room between the graph's edge and its plot area (beyond what visible
    // labels take).
    void setPaddings(QMarginsF paddings) { paddings_ = paddings; }
    // x grows to the left: the range's start at the right edge.
    void setMirrored(bool mirrored) { mirrored_ = mirrored; }
    bool isMirrored() const { return mirrored_; }

    Plot *addPlot(std::unique_ptr<Plot> plot);
    Plot *plotWithIdentifier(const QString &identifier) const;
    const std::vector<std::unique_ptr<Plot>> &allPlots() const { return plots_; }
    // Keeps a data source alive as long as the graph, for plots that read it.
    void adoptDataSource(std::shared_ptr<const PlotDataSource> source)
    {
        sources_.push_back(std::move(source));
    }

    // Makes the Qt chart's axes and series and loads every plot once.
    void build();
    void reloadData();
    bool isBuilt() const { return built_; }

    // The values where the y axis draws a tick (and its line and label).
    std::vector<double> yTicks() const { return y_.visibleTicks(space_.yRange); }
    std::vector<double> xTicks() const { return x_.visibleTicks(space_.xRange); }

    // The Qt chart, owned by the graph (a host only shows it).
    QChart *chart() const { return chart_; }
    // Renders the graph at the rectangle of any painter (image, PDF page,
    // printer). Not while a host shows it: grab the host instead.
    void render(QPainter &painter, const QRectF &target);

private:
    void addAxes();
    void addTickLines(const PlotAxis &axis, bool vertical, QAbstractAxis *xAxis, QAbstractAxis *yAxis);

    QChart *chart_ = nullptr;
    PlotSpace space_;
    PlotAxis x_;
    PlotAxis y_;
    QMarginsF paddings_;
    bool mirrored_ = false;
    bool built_ = false;
    std::vector<std::unique_ptr<Plot>> plots_;
    std::vector<std::shared_ptr<const PlotDataSource>> sources_;
    QAbstractAxis *qtX_ = nullptr;
    QAbstractAxis *qtY_ = nullptr;
    QLineSeries *anchor_ = nullptr;
};

} // namespace tonara
