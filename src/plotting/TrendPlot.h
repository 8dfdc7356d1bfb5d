#pragma once

// The blood-pressure trend as a picture: systolic and diastolic values over
// days (or hours), newest at the right, with lines only at the two target
// values. Feed it plain numbers; no database, no window.
//
//   TrendPlot::Data d;
//   d.xLength = 6;                              // a week: 0 today .. 6 days ago
//   d.points = {{0, 128, 84}, {1, 131, 86}};    // x counts back from today
//   d.targetHigh = 180; d.targetLow = 60;
//   d.xLabels = {{6, "06/09"}, {0, "06/15"}};   // optional, drawn with axisLabels
//   TrendPlot plot(d);
//   plot.render(painter, QRectF(40, 300, 500, 220));   // QPdfWriter, QImage, ...
//
// render() draws the value and date labels inside the rectangle; graph()
// gives the bare graph for a GraphHostingView whose screen places its own labels.
// A QApplication must exist (Qt Charts draws with Qt Widgets' scene).

#include <QColor>
#include <QFont>
#include <QRectF>
#include <QString>

#include <memory>
#include <utility>
#include <vector>

class QPainter;

namespace tonara {

class XYGraph;
struct PlotRange;

class TrendPlot {
public:
    static constexpr double kYTop = 300;

    struct Point {
        double x;
        double sys;
        double dia;
    };
    struct Data {
        std::vector<Point> points; // joined in this order
        double xLength = 6;        // x runs 0 (right edge) .. xLength (left edge)
        double xGridInterval = 1;
        int targetHigh = 180;
        int targetLow = 60;
        std::vector<std::pair<double, QString>> xLabels;
        QFont labelFont = QFont(QStringLiteral("Arial Rounded MT Bold"), 9);
    };

    static QColor systolicColor() { return QColor(147, 1, 222); }
    static QColor diastolicColor() { return QColor(24, 130, 198); }
    static QString systolicIdentifier() { return QStringLiteral("Blue Plot"); }
    static QString diastolicIdentifier() { return QStringLiteral("R Plot"); }

    // The y ranges left without ticks so that only the targets keep theirs.
    // Targets closer than 2 still get both lines (one when equal).
    static std::vector<PlotRange> targetExclusionRanges(int high, int low);

    explicit TrendPlot(Data data);
    const Data &data() const { return data_; }

    // A new graph of the data: y 0..300, mirrored, the two plots.
    std::unique_ptr<XYGraph> graph(bool axisLabels = false) const;
    void render(QPainter &painter, const QRectF &target) const;

private:
    Data data_;
};

} // namespace tonara
