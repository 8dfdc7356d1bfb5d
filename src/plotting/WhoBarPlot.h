#pragma once

// The share of readings in each WHO (2003) class as six coloured bars, from
// optimal at the left to grade 3 hypertension at the right, with a line every
// 10 %. Feed it the whole percentages; no database, no window.
//
//   WhoBarPlot::Data d;
//   d.percent = {0, 0, 16, 16, 33, 33};   // bar 0 grade 3 .. bar 5 optimal
//   WhoBarPlot(d).render(painter, QRectF(40, 300, 500, 220));
//
// render() draws the percentage labels inside the rectangle; graph() gives
// the bare graph for a GraphHostingView. A QApplication must exist.

#include <QColor>
#include <QFont>
#include <QRectF>
#include <QString>

#include <array>
#include <memory>

class QPainter;

namespace tonara {

class XYGraph;

class WhoBarPlot {
public:
    static constexpr int kBars = 6;

    struct Data {
        std::array<int, kBars> percent{}; // whole percent, bar 0 (grade 3) .. bar 5 (optimal)
        QFont labelFont = QFont(QStringLiteral("Arial Rounded MT Bold"), 9);
    };

    // Bar i stands at x i: with the mirrored x axis bar 5 (optimal) is at the left.
    static QColor barColor(int bar);
    static QString identifier(int bar); // "Bar Plot 1" .. "Bar Plot 6"

    explicit WhoBarPlot(Data data);
    const Data &data() const { return data_; }

    std::unique_ptr<XYGraph> graph(bool axisLabels = false) const;
    void render(QPainter &painter, const QRectF &target) const;

private:
    Data data_;
};

} // namespace tonara
