#pragma once

#include <QString>

class QAbstractAxis;
class QChart;

namespace tonara {

class PlotDataSource;

// A plot of an XY graph: reads its records from a data source and draws them
// on the graph's axes. reloadData() asks for every record and replaces what
// the plot draws in one go, so a chart is never seen half filled.
class Plot {
public:
    explicit Plot(QString identifier) : identifier_(std::move(identifier)) {}
    virtual ~Plot() = default;
    Plot(const Plot &) = delete;
    Plot &operator=(const Plot &) = delete;

    QString identifier() const { return identifier_; }
    void setDataSource(const PlotDataSource *source) { source_ = source; }
    const PlotDataSource *dataSource() const { return source_; }

    // Puts the plot's series on the chart (which owns them from then on) over
    // the two axes, and loads its records.
    virtual void attach(QChart *chart, QAbstractAxis *x, QAbstractAxis *y) = 0;
    virtual void reloadData() = 0;
    // Records drawn since the last reload.
    virtual int recordCount() const = 0;

private:
    QString identifier_;
    const PlotDataSource *source_ = nullptr;
};

} // namespace tonara
