#include "plotting/GraphHostingView.h"

#include "plotting/XYGraph.h"

#include <QChart>

namespace tonara {

GraphHostingView::GraphHostingView(QWidget *parent) : QChartView(parent)
{
    setRenderHint(QPainter::Antialiasing);
    setFrameShape(QFrame::NoFrame);
    setContentsMargins(0, 0, 0, 0);
    setStyleSheet(QStringLiteral("background: transparent"));
}

GraphHostingView::~GraphHostingView()
{
    // The view deletes the chart it shows: hand it a blank one so that the
    // graph can delete its own.
    if (graph_)
        setChart(new QChart);
}

void GraphHostingView::setHostedGraph(std::unique_ptr<XYGraph> graph)
{
    graph->setMirrored(mirrored_);
    graph->build();
    QChart *previous = chart();
    setChart(graph->chart()); // releases the previous chart
    // The old graph deletes its own chart; the blank one the view started
    // with belongs to no graph, and nobody else would free it.
    if (!graph_)
        delete previous;
    graph_ = std::move(graph);
}

} // namespace tonara
