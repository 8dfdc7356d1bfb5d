#pragma once

#include "platform/FormFactor.h"

#include <QScrollArea>
#include <QWidget>

class QLabel;
class QPushButton;

namespace tonara {

// WHO_imageView: the legend picture, redrawn from its vector source at
// whatever size zooming gives it, so text stays sharp at 5x.
class WhoLegendPicture : public QWidget {
    Q_OBJECT
public:
    WhoLegendPicture(const QString &artwork, QWidget *parent = nullptr);
    QString artwork() const { return artwork_; }

protected:
    void paintEvent(QPaintEvent *event) override;

private:
    QString artwork_;
};

// whoscrollView: pans the legend and zooms it between 1x and 5x with a pinch
// or Ctrl+wheel (Ctrl+plus and Ctrl+minus too).
class WhoScrollView : public QScrollArea {
    Q_OBJECT
public:
    static constexpr double kMinZoom = 1.0;
    static constexpr double kMaxZoom = 5.0;

    // natural: the picture's own proportions; at zoom 1 it fits the view whole.
    WhoScrollView(QWidget *picture, QSize natural, QWidget *parent = nullptr);
    double zoomScale() const { return zoom_; }
    // Clamped to 1..5; keeps the point under anchor (viewport coordinates) still.
    void setZoomScale(double zoom, QPointF anchor = QPointF(-1, -1));
    // The widget zoomed in this scroll view, or nullptr when asked about another.
    QWidget *viewForZoomingInScrollView(const QScrollArea *scrollView) const;

    // The picture's size at zoom 1.
    QSize contentSize() const { return content_; }

protected:
    bool viewportEvent(QEvent *event) override;
    void keyPressEvent(QKeyEvent *event) override;
    void resizeEvent(QResizeEvent *event) override;

private:
    QWidget *picture_;
    QSize natural_;
    QSize content_;
    double zoom_ = 1.0;
    double pinchStart_ = 1.0;
};

// WHOview: the legend over a result window, with its back button.
class WhoLegendView : public QWidget {
    Q_OBJECT
public:
    WhoLegendView(FormFactor form, QWidget *parent = nullptr);

    // Builds the zooming view around the legend picture (again at each opening,
    // so every opening starts unzoomed).
    void imageviewINIT();

    WhoScrollView *whoscrollView = nullptr;
    WhoLegendPicture *WHO_imageView = nullptr;
    QPushButton *WHO_Back_Touch = nullptr;

protected:
    void resizeEvent(QResizeEvent *event) override;

private:
    void placeScrollView();
    FormFactor form_;
    QLabel *title_ = nullptr;
};

} // namespace tonara
