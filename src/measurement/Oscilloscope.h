#pragma once

#include "measurement/SignalBuffer.h"

#include <QColor>
#include <QPolygonF>
#include <QWidget>

namespace tonara {

// The live pulse trace: the newest sample at the right edge, older ones one
// Resolution step further left each, scaled by Multiple about the centre line
// moved by Reference. The owner feeds samples and asks for the redraw.
class Oscilloscope : public QWidget {
    Q_OBJECT
public:
    // Buffer capacity is the frame's width in points.
    explicit Oscilloscope(const QRect &frame, QWidget *parent = nullptr);

    // A new, empty buffer of that capacity.
    void initSignalBufferSize(unsigned count);
    // Appends without redrawing.
    void addSignalData(float sample);

    void setLineColor(const QColor &color);
    void setLineWidth(float width);
    // 0 butt, 1 round, 2 square.
    void setLineCap(int cap);
    void setOffset(float reference);

    float Reference() const { return reference_; }
    void setReference(float v) { reference_ = v; }
    float Resolution() const { return resolution_; }
    void setResolution(float v) { resolution_ = v; }
    float Multiple() const { return multiple_; }
    void setMultiple(float v) { multiple_ = v; }

    unsigned BufferSize() const { return bufferSize_; }
    const SignalBuffer &signal() const { return signal_; }
    QColor LineColor() const { return lineColor_; }
    float LineWidth() const { return lineWidth_; }
    int LineCap() const { return lineCap_; }

    // The line as drawn, newest point first, in the view's coordinates.
    QPolygonF tracePolyline() const;

protected:
    void paintEvent(QPaintEvent *event) override;

private:
    void paintGrid(class QPainter &p) const;

    SignalBuffer signal_;
    unsigned bufferSize_ = 0;
    float reference_ = 0;
    float resolution_ = 1;
    float multiple_ = 1;
    QColor lineColor_; // invalid until set: nothing is stroked
    float lineWidth_ = 1;
    int lineCap_ = 1;
};

} // namespace tonara
