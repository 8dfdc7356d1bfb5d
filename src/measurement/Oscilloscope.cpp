#include "measurement/Oscilloscope.h"

#include <QEvent>
#include <QPainter>
#include <QPainterPath>

#include <cmath>
#include <cstring>

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
    layer_ = QImage(); // a new buffer starts a new line
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

QPen Oscilloscope::linePen() const
{
    QPen pen(lineColor_, lineWidth_);
    pen.setCapStyle(lineCap_ == 0 ? Qt::FlatCap : lineCap_ == 2 ? Qt::SquareCap : Qt::RoundCap);
    pen.setJoinStyle(Qt::RoundJoin);
    return pen;
}

Oscilloscope::LayerKey Oscilloscope::currentKey() const
{
    // Whole pixels per point, so that a sample's step of Resolution points
    // is a whole number of pixels to scroll at fractional screen scales too.
    const qreal dpr = qMax<qreal>(1, std::round(devicePixelRatioF()));
    return LayerKey{(QSizeF(size()) * dpr).toSize(),
                    dpr,
                    reference_,
                    resolution_,
                    multiple_,
                    lineWidth_,
                    lineCap_,
                    lineColor_.isValid() ? lineColor_.rgba() : 0};
}

void Oscilloscope::resizeEvent(QResizeEvent *)
{
    background_ = QPixmap();
}

void Oscilloscope::changeEvent(QEvent *event)
{
    if (event->type() == QEvent::PaletteChange)
        background_ = QPixmap();
    QWidget::changeEvent(event);
}

void Oscilloscope::renderBackground()
{
    const qreal dpr = devicePixelRatioF();
    background_ = QPixmap((QSizeF(size()) * dpr).toSize());
    background_.setDevicePixelRatio(dpr);
    QPainter p(&background_);
    p.fillRect(rect(), palette().color(QPalette::Window));
    paintGrid(p);
}

void Oscilloscope::strokeNewest(QPainter &p, std::size_t count) const
{
    // The newest count samples, as in tracePolyline(), newest first.
    const double w = width();
    const double mid = double(reference_) + height() / 2.0;
    QPolygonF line;
    line.reserve(qsizetype(count));
    for (std::size_t i = 0; i < count; ++i)
        line.append(
            QPointF(w - double(resolution_) * double(i), mid - double(signal_.newest(i)) * multiple_));
    if (line.size() == 1)
        line.append(line.front()); // a single sample still shows as a dot
    p.drawPolyline(line);
}

void Oscilloscope::renderLayerWhole()
{
    layerKey_ = currentKey();
    if (layer_.size() != layerKey_.pixels)
        layer_ = QImage(layerKey_.pixels, QImage::Format_ARGB32_Premultiplied);
    layer_.setDevicePixelRatio(layerKey_.dpr);
    layer_.fill(Qt::transparent);
    layerAdded_ = signal_.added();
    layerBuffer_ = &signal_;
    ++fullRedraws_;
    if (!lineColor_.isValid() || signal_.empty())
        return;
    QPainter p(&layer_);
    p.setRenderHint(QPainter::Antialiasing);
    p.setPen(linePen());
    strokeNewest(p, signal_.size());
}

bool Oscilloscope::scrollLayer(std::uint64_t newSamples)
{
    // Each new sample moves the line Resolution points to the left. Only a
    // whole number of pixels can be scrolled; anything else is redrawn.
    const double shiftPx = double(newSamples) * double(resolution_) * layerKey_.dpr;
    const int shift = int(shiftPx);
    if (shiftPx != double(shift) || shift <= 0 || shift >= layer_.width() || newSamples + 1 > signal_.size())
        return false;
    const qsizetype rowBytes = layer_.bytesPerLine();
    const qsizetype keep = qsizetype(layer_.width() - shift) * 4;
    for (int y = 0; y < layer_.height(); ++y) {
        uchar *row = layer_.scanLine(y);
        std::memmove(row, row + qsizetype(shift) * 4, std::size_t(keep));
        std::memset(row + keep, 0, std::size_t(rowBytes - keep));
    }
    // The exposed strip, plus the segment that reaches into it from the
    // last drawn sample (its end is drawn again, which the round cap hides).
    QPainter p(&layer_);
    p.setRenderHint(QPainter::Antialiasing);
    p.setPen(linePen());
    p.setClipRect(QRectF(width() - shiftPx / layerKey_.dpr - lineWidth_, 0,
                         shiftPx / layerKey_.dpr + lineWidth_, height()));
    strokeNewest(p, std::size_t(newSamples) + 1);
    layerAdded_ = signal_.added();
    return true;
}

void Oscilloscope::paintEvent(QPaintEvent *)
{
    // Redrawing the whole antialiased line for every sample costs about a
    // millisecond on a tablet-sized trace, so the line is kept in a layer
    // that scrolls and gets only the newest segment; the result is the
    // line tracePolyline() describes.
    QPainter p(this);
    if (background_.isNull())
        renderBackground();
    p.drawPixmap(0, 0, background_);
    if (!lineColor_.isValid() || signal_.empty())
        return;
    const LayerKey key = currentKey();
    const std::uint64_t added = signal_.added();
    if (!(key == layerKey_) || layerBuffer_ != &signal_ || added < layerAdded_ || layer_.isNull())
        renderLayerWhole();
    else if (added > layerAdded_ && !scrollLayer(added - layerAdded_))
        renderLayerWhole();
    p.drawImage(QRectF(rect()), layer_);
}

} // namespace tonara
