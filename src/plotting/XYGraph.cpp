#include "plotting/XYGraph.h"

#include "plotting/Plot.h"

#include <QCategoryAxis>
#include <QChart>
#include <QFontMetricsF>
#include <QGraphicsLayout>
#include <QGraphicsScene>
#include <QLineSeries>
#include <QPainter>
#include <QValueAxis>

#include <algorithm>

namespace tonara {

XYGraph::XYGraph() : chart_(new QChart)
{
    chart_->setGeometry(QRectF(0, 0, 0, 0)); // a zero frame until a host or a render sizes it
    applyTheme(Theme::PlainWhite);
}

XYGraph::~XYGraph()
{
    plots_.clear();
    delete chart_;
}

void XYGraph::applyTheme(Theme)
{
    chart_->setTheme(QChart::ChartThemeLight);
    chart_->setBackgroundBrush(Qt::white);
    chart_->setBackgroundPen(Qt::NoPen);
    chart_->setBackgroundRoundness(0);
    chart_->setDropShadowEnabled(false);
    chart_->setPlotAreaBackgroundVisible(false);
    chart_->legend()->hide();
    chart_->setAnimationOptions(QChart::NoAnimation);
}

Plot *XYGraph::addPlot(std::unique_ptr<Plot> plot)
{
    plots_.push_back(std::move(plot));
    Plot *p = plots_.back().get();
    if (built_)
        p->attach(chart_, qtX_, qtY_);
    return p;
}

Plot *XYGraph::plotWithIdentifier(const QString &identifier) const
{
    for (const auto &p : plots_)
        if (p->identifier() == identifier)
            return p.get();
    return nullptr;
}

void XYGraph::build()
{
    if (built_)
        return;
    built_ = true;
    chart_->setMargins(QMargins(0, 0, 0, 0));
    chart_->layout()->setContentsMargins(paddings_.left(), paddings_.top(), paddings_.right(),
                                         paddings_.bottom());
    addAxes();
    for (const auto &p : plots_)
        p->attach(chart_, qtX_, qtY_);
}

void XYGraph::reloadData()
{
    for (const auto &p : plots_)
        p->reloadData();
}

namespace {

QValueAxis *coordinateAxis(PlotRange range, bool reverse)
{
    auto *a = new QValueAxis;
    a->setRange(range.minimum(), range.maximum());
    a->setReverse(reverse);
    a->setLabelsVisible(false);
    a->setGridLineVisible(false);
    a->setMinorGridLineVisible(false);
    a->setLineVisible(false);
    a->setShadesVisible(false);
    a->setTickCount(2);
    return a;
}

// The labels of an axis at their values, the only ones drawn.
QCategoryAxis *labelAxis(const PlotAxis &axis, PlotRange range, bool reverse)
{
    std::vector<std::pair<double, QString>> labels = axis.customLabels;
    if (labels.empty())
        for (double v : axis.visibleTicks(range))
            labels.emplace_back(v, axis.labelFor(v));
    std::sort(labels.begin(), labels.end(), [](const auto &a, const auto &b) { return a.first < b.first; });
    auto *a = new QCategoryAxis;
    a->setLabelsPosition(QCategoryAxis::AxisLabelsPositionOnValue);
    // Just below the range, so a label at its very start still has a category.
    const double span = std::max(1e-9, range.maximum() - range.minimum());
    a->setStartValue(range.minimum() - span * 1e-6);
    // A label at the very end is kept inside, where the axis still draws it.
    for (const auto &[value, text] : labels)
        if (range.contains(value))
            a->append(text, std::min(value, range.maximum() - span * 1e-6));
    a->setRange(range.minimum(), range.maximum());
    a->setReverse(reverse);
    a->setGridLineVisible(false);
    a->setMinorGridLineVisible(false);
    a->setShadesVisible(false);
    a->setLineVisible(false);
    a->setLabelsFont(axis.labelFont);
    a->setLabelsColor(axis.labelColor);
    if (!axis.title.isEmpty()) {
        a->setTitleText(axis.title);
        QFont f = axis.labelFont;
        a->setTitleFont(f);
        a->setTitleBrush(axis.labelColor);
    }
    return a;
}

} // namespace

void XYGraph::addAxes()
{
    auto *x = coordinateAxis(space_.xRange, mirrored_);
    auto *y = coordinateAxis(space_.yRange, false);
    chart_->addAxis(x, Qt::AlignBottom);
    // The y axis crosses x at its orthogonal coordinate: on the side of the
    // plot area nearer to it, as seen after mirroring.
    const double span = std::max(1e-9, space_.xRange.maximum() - space_.xRange.minimum());
    double at = (y_.orthogonalCoordinate - space_.xRange.minimum()) / span;
    if (mirrored_)
        at = 1 - at;
    const Qt::Alignment ySide = at <= 0.5 ? Qt::AlignLeft : Qt::AlignRight;
    chart_->addAxis(y, ySide);
    qtX_ = x;
    qtY_ = y;
    // Chosen labels under x are drawn by render() (the category axis loses
    // the one at the far end of a reversed range); room is left for them.
    if (x_.labelsVisible && x_.customLabels.empty())
        chart_->addAxis(labelAxis(x_, space_.xRange, mirrored_), Qt::AlignBottom);
    else if (x_.labelsVisible) {
        QMarginsF m = paddings_;
        m.setBottom(m.bottom() + QFontMetricsF(x_.labelFont).height() + 4);
        chart_->layout()->setContentsMargins(m.left(), m.top(), m.right(), m.bottom());
    }
    if (y_.labelsVisible)
        chart_->addAxis(labelAxis(y_, space_.yRange, false), ySide);
    addTickLines(x_, true, x, y);
    addTickLines(y_, false, x, y);
    // The axis lines, where the axes cross.
    anchor_ = new QLineSeries; // maps values to positions for render()
    chart_->addSeries(anchor_);
    anchor_->attachAxis(x);
    anchor_->attachAxis(y);
    auto line = [&](QPointF a, QPointF b, const QPen &pen) {
        auto *s = new QLineSeries;
        s->setPen(pen);
        s->append(a);
        s->append(b);
        chart_->addSeries(s);
        s->attachAxis(x);
        s->attachAxis(y);
    };
    const PlotRange xr = space_.xRange, yr = space_.yRange;
    if (yr.contains(x_.orthogonalCoordinate) && x_.axisLineStyle.style() != Qt::NoPen)
        line({xr.minimum(), x_.orthogonalCoordinate}, {xr.maximum(), x_.orthogonalCoordinate},
             x_.axisLineStyle);
    if (xr.contains(y_.orthogonalCoordinate) && y_.axisLineStyle.style() != Qt::NoPen)
        line({y_.orthogonalCoordinate, yr.minimum()}, {y_.orthogonalCoordinate, yr.maximum()},
             y_.axisLineStyle);
}

void XYGraph::addTickLines(const PlotAxis &axis, bool vertical, QAbstractAxis *xAxis, QAbstractAxis *yAxis)
{
    if (!axis.majorGridLines)
        return;
    const PlotRange along = vertical ? space_.xRange : space_.yRange;
    const PlotRange across = vertical ? space_.yRange : space_.xRange;
    for (double v : axis.visibleTicks(along)) {
        auto *s = new QLineSeries;
        s->setPen(axis.majorTickLineStyle);
        if (vertical)
            s->replace({QPointF(v, across.minimum()), QPointF(v, across.maximum())});
        else
            s->replace({QPointF(across.minimum(), v), QPointF(across.maximum(), v)});
        chart_->addSeries(s);
        s->attachAxis(xAxis);
        s->attachAxis(yAxis);
    }
}

void XYGraph::render(QPainter &painter, const QRectF &target)
{
    build();
    QGraphicsScene scene;
    const bool ownScene = chart_->scene() == nullptr;
    if (ownScene)
        scene.addItem(chart_);
    chart_->resize(target.size());
    chart_->layout()->activate();
    QGraphicsScene *on = chart_->scene();
    on->render(&painter, target, QRectF(chart_->pos(), target.size()));
    if (x_.labelsVisible && !x_.customLabels.empty()) {
        painter.save();
        painter.setFont(x_.labelFont);
        painter.setPen(x_.labelColor);
        const QFontMetricsF fm(x_.labelFont);
        const QRectF area = chart_->plotArea();
        for (const auto &[value, text] : x_.customLabels) {
            if (!space_.xRange.contains(value))
                continue;
            const double at = chart_->mapToPosition(QPointF(value, space_.yRange.minimum()), anchor_).x();
            const double w = fm.horizontalAdvance(text);
            // Kept inside the picture at both ends.
            const double left = std::clamp(at - w / 2, 0.0, target.width() - w);
            painter.drawText(QPointF(target.left() + left, target.top() + area.bottom() + 2 + fm.ascent()),
                             text);
        }
        painter.restore();
    }
    if (ownScene)
        scene.removeItem(chart_);
}

} // namespace tonara
