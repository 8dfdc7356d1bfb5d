#pragma once

#include "platform/FormFactor.h"
#include "platform/Orientation.h"

#include <QPointer>
#include <QWidget>

#include <functional>

namespace tonara {

class StatusBar;

// A phone or tablet drawn on the desktop: the body with its bezel and home
// button around a display of the form factor's size in points (320 × 480,
// 320 × 568, 768 × 1024). The display holds the status bar and one root widget.
// Ctrl+Left and Ctrl+Right turn the device a quarter left or right; the
// orientation policy (the root controller) says which way the display may be
// shown, and the device is drawn turned only when the display turns with it.
// The pixels per point come from the process-wide scale factor (--scale).
class DeviceFrame : public QWidget {
    Q_OBJECT
public:
    // Given the way the device is held, the orientations the interface allows.
    using OrientationPolicy = std::function<OrientationMask(Orientation device)>;

    explicit DeviceFrame(FormFactor formFactor, QWidget *parent = nullptr);

    FormFactor formFactor() const { return formFactor_; }
    // The display: host of the status bar, the root widget and in-window sheets.
    QWidget *display() const { return display_; }
    StatusBar *statusBar() const { return statusBar_; }

    // The root widget fills the display below the status bar. Taken over.
    void setRootWidget(QWidget *root);
    QWidget *rootWidget() const { return root_; }

    void setStatusBarHidden(bool hidden);
    bool isStatusBarHidden() const { return statusBarHidden_; }

    void setOrientationPolicy(OrientationPolicy policy) { policy_ = std::move(policy); }
    Orientation deviceOrientation() const { return device_; }
    Orientation interfaceOrientation() const { return interface_; }
    // The display's size in points in the current interface orientation.
    QSize displayPoints() const;

    // Turns the device; the display follows when the policy allows it,
    // otherwise the device goes back to the way the display is shown.
    void setDeviceOrientation(Orientation o);
    void turnLeft();
    void turnRight();
    // Asks the policy again (the screen on show changed); an orientation the
    // interface no longer allows gives way to portrait.
    void attemptRotationToDeviceOrientation();

    QSize sizeHint() const override;

signals:
    void interfaceOrientationChanged(Orientation orientation);

protected:
    void paintEvent(QPaintEvent *event) override;

private:
    QMargins bezel() const;
    void relayout();

    FormFactor formFactor_;
    Orientation device_ = Orientation::Portrait;
    Orientation interface_ = Orientation::Portrait;
    OrientationPolicy policy_;
    QWidget *display_ = nullptr;
    StatusBar *statusBar_ = nullptr;
    QPointer<QWidget> root_;
    bool statusBarHidden_ = false;
};

} // namespace tonara
