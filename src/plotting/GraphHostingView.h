#pragma once

#include <QChartView>

#include <memory>

namespace tonara {

class XYGraph;

// Shows one graph at a time; a new graph replaces the old one whole. Mirrored,
// its graphs' x axes grow to the left, so the range's start stands at the
// right edge (labels stay readable: the picture is not flipped).
class GraphHostingView : public QChartView {
    Q_OBJECT
public:
    explicit GraphHostingView(QWidget *parent = nullptr);
    ~GraphHostingView() override;

    void setMirrored(bool mirrored) { mirrored_ = mirrored; }
    bool isMirrored() const { return mirrored_; }
    // Builds the graph (mirrored as this host is) and shows it instead of the last one.
    void setHostedGraph(std::unique_ptr<XYGraph> graph);
    XYGraph *hostedGraph() const { return graph_.get(); }

private:
    std::unique_ptr<XYGraph> graph_;
    bool mirrored_ = false;
};

} // namespace tonara
