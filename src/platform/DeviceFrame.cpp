#include "platform/DeviceFrame.h"

#include "platform/StatusBar.h"

#include <QGuiApplication>
#include <QLinearGradient>
#include <QPainter>
#include <QPainterPath>
#include <QScreen>
#include <QShortcut>

namespace tonara {

namespace {

// Bezel of the device held in portrait: left, top, right, bottom.
QMargins portraitBezel(FormFactor f)
{
    return isTablet(f) ? QMargins(34, 62, 34, 62) : QMargins(18, 78, 18, 78);
}

Orientation fromScreen(Qt::ScreenOrientation o)
{
    switch (o) {
    case Qt::LandscapeOrientation:
        return Orientation::LandscapeLeft;
    case Qt::InvertedLandscapeOrientation:
        return Orientation::LandscapeRight;
    case Qt::InvertedPortraitOrientation:
        return Orientation::PortraitUpsideDown;
    default:
        return Orientation::Portrait;
    }
}

} // namespace

DeviceFrame::DeviceFrame(FormFactor formFactor, QWidget *parent) : QWidget(parent), formFactor_(formFactor)
{
    setObjectName(QStringLiteral("deviceFrame"));
    setAccessibleName(isTablet(formFactor) ? tr("Tablet") : tr("Phone"));
    setAccessibleDescription(objectName());

    display_ = new QWidget(this);
    display_->setObjectName(QStringLiteral("display"));
    display_->setAccessibleName(tr("Screen"));
    display_->setAccessibleDescription(display_->objectName());
    // The glass under the display is painted by the frame; the display keeps
    // the ordinary palette so the screens inside inherit light colours.

    statusBar_ = new StatusBar(display_);

    auto *left = new QShortcut(QKeySequence(Qt::CTRL | Qt::Key_Left), this);
    left->setContext(Qt::WindowShortcut);
    connect(left, &QShortcut::activated, this, &DeviceFrame::turnLeft);
    auto *right = new QShortcut(QKeySequence(Qt::CTRL | Qt::Key_Right), this);
    right->setContext(Qt::WindowShortcut);
    connect(right, &QShortcut::activated, this, &DeviceFrame::turnRight);

    // A real screen that reports turning (a convertible, a tablet) turns us too.
    if (QScreen *screen = QGuiApplication::primaryScreen())
        connect(screen, &QScreen::orientationChanged, this,
                [this](Qt::ScreenOrientation o) { setDeviceOrientation(fromScreen(o)); });

    relayout();
}

QMargins DeviceFrame::bezel() const
{
    const QMargins b = portraitBezel(formFactor_);
    switch (interface_) {
    case Orientation::LandscapeLeft: // home button on the right
        return {b.top(), b.left(), b.bottom(), b.right()};
    case Orientation::LandscapeRight: // home button on the left
        return {b.bottom(), b.right(), b.top(), b.left()};
    case Orientation::PortraitUpsideDown:
        return {b.right(), b.bottom(), b.left(), b.top()};
    case Orientation::Portrait:
        break;
    }
    return b;
}

QSize DeviceFrame::displayPoints() const
{
    const QSize p = portraitPoints(formFactor_);
    return isLandscape(interface_) ? p.transposed() : p;
}

QSize DeviceFrame::sizeHint() const
{
    const QMargins b = bezel();
    return displayPoints() + QSize(b.left() + b.right(), b.top() + b.bottom());
}

void DeviceFrame::setRootWidget(QWidget *root)
{
    if (root_ == root)
        return;
    if (root_)
        root_->hide();
    root_ = root;
    if (root_) {
        root_->setParent(display_);
        root_->show();
    }
    relayout();
}

void DeviceFrame::setStatusBarHidden(bool hidden)
{
    if (statusBarHidden_ == hidden)
        return;
    statusBarHidden_ = hidden;
    relayout();
}

void DeviceFrame::setDeviceOrientation(Orientation o)
{
    device_ = o;
    const OrientationMask allowed = policy_ ? policy_(o) : kPortraitOnly;
    Orientation target = interface_;
    if (allowed & maskOf(o))
        target = o;
    else if (!(allowed & maskOf(interface_)))
        target = Orientation::Portrait;
    // On a desktop nobody keeps holding the device sideways: when the display
    // does not follow, the device goes back to the way the display is shown.
    device_ = target;
    if (target != interface_) {
        interface_ = target;
        relayout();
        emit interfaceOrientationChanged(target);
    }
}

void DeviceFrame::attemptRotationToDeviceOrientation()
{
    setDeviceOrientation(device_);
}

void DeviceFrame::turnLeft()
{
    switch (device_) {
    case Orientation::Portrait:
        setDeviceOrientation(Orientation::LandscapeLeft);
        break;
    case Orientation::LandscapeLeft:
        setDeviceOrientation(Orientation::PortraitUpsideDown);
        break;
    case Orientation::PortraitUpsideDown:
        setDeviceOrientation(Orientation::LandscapeRight);
        break;
    case Orientation::LandscapeRight:
        setDeviceOrientation(Orientation::Portrait);
        break;
    }
}

void DeviceFrame::turnRight()
{
    switch (device_) {
    case Orientation::Portrait:
        setDeviceOrientation(Orientation::LandscapeRight);
        break;
    case Orientation::LandscapeRight:
        setDeviceOrientation(Orientation::PortraitUpsideDown);
        break;
    case Orientation::PortraitUpsideDown:
        setDeviceOrientation(Orientation::LandscapeLeft);
        break;
    case Orientation::LandscapeLeft:
        setDeviceOrientation(Orientation::Portrait);
        break;
    }
}

void DeviceFrame::relayout()
{
    const QMargins b = bezel();
    const QSize points = displayPoints();
    setFixedSize(sizeHint());
    display_->setGeometry(QRect(QPoint(b.left(), b.top()), points));
    statusBar_->setVisible(!statusBarHidden_);
    statusBar_->setGeometry(0, 0, points.width(), StatusBar::kHeight);
    const int top = statusBarHidden_ ? 0 : StatusBar::kHeight;
    if (root_)
        root_->setGeometry(0, top, points.width(), points.height() - top);
    update();
}

void DeviceFrame::paintEvent(QPaintEvent *)
{
    QPainter p(this);
    p.setRenderHint(QPainter::Antialiasing);
    const QRectF body = QRectF(rect()).adjusted(1, 1, -1, -1);
    const qreal radius = isTablet(formFactor_) ? 38 : 42;

    // Body: dark graphite with a soft light edge.
    QLinearGradient shade(body.topLeft(), body.bottomRight());
    shade.setColorAt(0, QColor(0x3a, 0x3b, 0x40));
    shade.setColorAt(1, QColor(0x17, 0x17, 0x1a));
    p.setPen(QPen(QColor(0x8d, 0x8f, 0x96), 1.5));
    p.setBrush(shade);
    p.drawRoundedRect(body, radius, radius);
    p.setPen(QPen(QColor(0, 0, 0, 160), 1));
    p.setBrush(Qt::NoBrush);
    p.drawRoundedRect(body.adjusted(3, 3, -3, -3), radius - 3, radius - 3);

    // Glass edge around the display.
    const QRectF glass = QRectF(display_->geometry()).adjusted(-2, -2, 2, 2);
    p.setPen(Qt::NoPen);
    p.setBrush(Qt::black);
    p.drawRect(glass);

    // Home button and earpiece sit on the short sides, across from each other.
    const QMargins b = bezel();
    const QRectF d = display_->geometry();
    QPointF home;
    QPointF ear;
    bool earHorizontal = true;
    switch (interface_) {
    case Orientation::Portrait:
        home = {d.center().x(), d.bottom() + b.bottom() / 2.0};
        ear = {d.center().x(), d.top() - b.top() / 2.0};
        break;
    case Orientation::PortraitUpsideDown:
        home = {d.center().x(), d.top() - b.top() / 2.0};
        ear = {d.center().x(), d.bottom() + b.bottom() / 2.0};
        break;
    case Orientation::LandscapeLeft:
        home = {d.right() + b.right() / 2.0, d.center().y()};
        ear = {d.left() - b.left() / 2.0, d.center().y()};
        earHorizontal = false;
        break;
    case Orientation::LandscapeRight:
        home = {d.left() - b.left() / 2.0, d.center().y()};
        ear = {d.right() + b.right() / 2.0, d.center().y()};
        earHorizontal = false;
        break;
    }
    const qreal r = isTablet(formFactor_) ? 19 : 22;
    QRadialGradient button(home, r);
    button.setColorAt(0, QColor(0x22, 0x22, 0x25));
    button.setColorAt(1, QColor(0x0c, 0x0c, 0x0e));
    p.setBrush(button);
    p.setPen(QPen(QColor(0x55, 0x56, 0x5c), 1.2));
    p.drawEllipse(home, r, r);
    p.setBrush(Qt::NoBrush);
    p.setPen(QPen(QColor(0x8a, 0x8b, 0x90), 1.2));
    p.drawRoundedRect(QRectF(home.x() - r * 0.33, home.y() - r * 0.33, r * 0.66, r * 0.66), 2.5, 2.5);

    const QSizeF slot = earHorizontal ? QSizeF(46, 6) : QSizeF(6, 46);
    p.setBrush(QColor(0x0a, 0x0a, 0x0c));
    p.setPen(QPen(QColor(0x4a, 0x4b, 0x50), 1));
    p.drawRoundedRect(QRectF(ear - QPointF(slot.width() / 2, slot.height() / 2), slot), 3, 3);
    const QPointF camera = earHorizontal ? ear - QPointF(0, 16) : ear - QPointF(16, 0);
    p.setBrush(QColor(0x10, 0x14, 0x22));
    p.drawEllipse(camera, 3.5, 3.5);
}

} // namespace tonara
