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
    setChart(new QChart);
}

void GraphHostingView::setHostedGraph(std::unique_ptr<XYGraph> graph)
{
    graph->setMirrored(mirrored_);
    graph->build();
    QChart *chart = graph->chart();
    setChart(chart); // releases the previous chart, which the old graph deletes
    graph_ = std::move(graph);
}

} // namespace tonara
