#pragma once

#include "measurement/SignalBuffer.h"

#include <QColor>
#include <QImage>
#include <QPixmap>
#include <QPolygonF>
#include <QWidget>

class QPainter;

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

    // Full redraws of the line since creation; the rest were incremental.
    int fullRedraws() const { return fullRedraws_; }

protected:
    void paintEvent(QPaintEvent *event) override;
    void resizeEvent(QResizeEvent *event) override;
    void changeEvent(QEvent *event) override;

private:
    // What the line layer was drawn with; any change redraws it whole.
    struct LayerKey {
        QSize pixels;
        qreal dpr = 1;
        float reference = 0, resolution = 0, multiple = 0, width = 0;
        int cap = 0;
        QRgb color = 0;
        bool operator==(const LayerKey &) const = default;
    };
    LayerKey currentKey() const;
    void paintGrid(QPainter &p) const;
    void renderBackground();
    void renderLayerWhole();
    bool scrollLayer(std::uint64_t newSamples);
    void strokeNewest(QPainter &p, std::size_t count) const;
    QPen linePen() const;

    QPixmap background_; // fill and grid, redrawn only on resize or palette change
    QImage layer_;       // the line on transparent ground, scrolled as samples arrive
    LayerKey layerKey_;
    std::uint64_t layerAdded_ = 0; // signal_.added() when the layer was last brought up to date
    const void *layerBuffer_ = nullptr;
    int fullRedraws_ = 0;

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
