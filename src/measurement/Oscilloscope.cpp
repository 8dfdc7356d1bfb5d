#include "measurement/Oscilloscope.h"

#include <QPainter>
#include <QPainterPath>

namespace tonara {

Oscilloscope::Oscilloscope(const QRect &frame, QWidget *parent) : QWidget(parent)
{
    setGeometry(frame);
    setFixedSize(frame.size());
    setAutoFillBackground(true);
    QPalette pal = palette();
    pal.setColor(QPalette::Window, Qt::white);
    setPalette(pal);
    setAttribute(Qt::WA_OpaquePaintEvent);
    initSignalBufferSize(unsigned(frame.width() < 0 ? 0 : frame.width()));
    setObjectName(QStringLiteral("oscilloscope"));
    setAccessibleDescription(QStringLiteral("oscilloscope"));
    setAccessibleName(tr("Pulse wave trace"));
}

void Oscilloscope::initSignalBufferSize(unsigned count)
{
    bufferSize_ = count;
    signal_.reset(count);
}

void Oscilloscope::addSignalData(float sample)
{
    signal_.add(sample);
}

void Oscilloscope::setLineColor(const QColor &color)
{
    lineColor_ = color;
    update();
}

void Oscilloscope::setLineWidth(float width)
{
    lineWidth_ = width;
    update();
}

void Oscilloscope::setLineCap(int cap)
{
    lineCap_ = cap;
    update();
}

void Oscilloscope::setOffset(float reference)
{
    reference_ = reference;
    update();
}

QPolygonF Oscilloscope::tracePolyline() const
{
    QPolygonF line;
    const std::size_t n = signal_.size();
    if (n == 0)
        return line;
    const double w = width();
    const double mid = double(reference_) + height() / 2.0;
    line.reserve(qsizetype(n));
    for (std::size_t i = 0; i < n; ++i)
        line.append(
            QPointF(w - double(resolution_) * double(i), mid - double(signal_.newest(i)) * multiple_));
    return line;
}

void Oscilloscope::paintGrid(QPainter &p) const
{
    // Faint divisions like a monitor's screen; they do not move with the trace.
    QColor grid = palette().color(QPalette::Window).lighter(118);
    grid.setAlpha(110);
    p.setPen(QPen(grid, 1));
    const int step = height() >= 150 ? 30 : 20;
    for (int x = width() - 1; x >= 0; x -= step)
        p.drawLine(QPointF(x + 0.5, 0), QPointF(x + 0.5, height()));
    for (int y = height() / 2 % step; y < height(); y += step)
        p.drawLine(QPointF(0, y + 0.5), QPointF(width(), y + 0.5));
}

void Oscilloscope::paintEvent(QPaintEvent *)
{
    QPainter p(this);
    p.fillRect(rect(), palette().color(QPalette::Window));
    paintGrid(p);
    if (!lineColor_.isValid() || signal_.empty())
        return;
    p.setRenderHint(QPainter::Antialiasing);
    QPen pen(lineColor_, lineWidth_);
    pen.setCapStyle(lineCap_ == 0 ? Qt::FlatCap : lineCap_ == 2 ? Qt::SquareCap : Qt::RoundCap);
    pen.setJoinStyle(Qt::RoundJoin);
    p.setPen(pen);
    p.drawPolyline(tracePolyline());
}

} // namespace tonara
