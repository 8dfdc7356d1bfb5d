#pragma once

namespace tonara {

class Plot;

// The fields a plot asks its data source for, record by record.
enum class PlotField { X, Y, BarLocation, BarTip };

// What a plot reads its records from. A plot asks for all of them at each
// reloadData() and hands them to its series in one go.
class PlotDataSource {
public:
    virtual ~PlotDataSource() = default;
    virtual int numberOfRecordsForPlot(const Plot &plot) const = 0;
    virtual double numberForPlot(const Plot &plot, PlotField field, int recordIndex) const = 0;
};

} // namespace tonara
