#include "app/TonaraTabBarController.h"

#include "history/Historyandreports.h"
#include "platform/DeviceFrame.h"
#include "platform/TabBar.h"
#include "platform/TabBarItem.h"

#include <QEvent>

namespace tonara {

TonaraTabBarController::TonaraTabBarController(FormFactor formFactor, QWidget *parent)
    : QWidget(parent), formFactor_(formFactor)
{
    setObjectName(QStringLiteral("TonaraTabBarController"));
    setAccessibleDescription(objectName());
    tabBar_ = new TabBar(this);
    connect(tabBar_, &TabBar::tabTapped, this, &TonaraTabBarController::setSelectedIndex);
}

void TonaraTabBarController::setViewControllers(const QList<QWidget *> &screens)
{
    for (const QPointer<QWidget> &old : screens_)
        delete old.data();
    screens_.clear();
    delete tabBar_; // rebuilt for the new screens
    tabBar_ = new TabBar(this);
    connect(tabBar_, &TabBar::tabTapped, this, &TonaraTabBarController::setSelectedIndex);
    for (QWidget *screen : screens) {
        screen->setParent(this);
        screen->hide();
        screen->installEventFilter(this);
        screens_.append(screen);
        tabBar_->addTab(screen->windowTitle(), screen->windowIcon());
    }
    tabBar_->setVisible(!tabBarHidden_);
    selected_ = -1;
    setSelectedIndex(0);
}

QWidget *TonaraTabBarController::viewController(int index) const
{
    return index >= 0 && index < screens_.size() ? screens_.at(index).data() : nullptr;
}

void TonaraTabBarController::setSelectedIndex(int index)
{
    if (!viewController(index) || index == selected_)
        return;
    if (QWidget *old = viewController(selected_))
        old->hide();
    selected_ = index;
    tabBar_->setCurrentIndex(index);
    QWidget *now = viewController(index);
    relayout();
    now->show();
    now->raise();
    if (lineBarChartView_)
        lineBarChartView_->raise();
    emit selectedIndexChanged(index);
    // The screen on show decides afresh which ways the device may be turned.
    if (frame_)
        frame_->attemptRotationToDeviceOrientation();
}

void TonaraTabBarController::setDeviceFrame(DeviceFrame *frame)
{
    frame_ = frame;
    if (frame_) {
        frame_->setStatusBarHidden(statusBarHidden_);
        frame_->setOrientationPolicy([this](Orientation o) { return supportedInterfaceOrientations(o); });
    }
}

OrientationMask TonaraTabBarController::supportedInterfaceOrientations(Orientation device)
{
    if (selected_ == kHistoryTab && isLandscape(device)) {
        removeChartView();
        // An open mail composer keeps the status bar as it is; closing it
        // hides the bar then, since the chart will be up.
        if (Historyandreports::mail_state != 0)
            Historyandreports::mail_state = 2;
        else
            setStatusBarHidden(true);
        applyTabBarHidden(true);
        const QSize portrait = portraitPoints(formFactor_);
        // The chart lies over the tab screens, which keep their portrait frame.
        for (const QPointer<QWidget> &screen : screens_)
            if (screen && screen->height() != portrait.height())
                screen->setGeometry(QRect(QPoint(0, 0), portrait));
        QWidget *chart = chartFactory_ ? chartFactory_(this, this) : nullptr;
        if (!chart) {
            // Stands in until the chart view exists.
            chart = new QWidget(this);
            chart->setAccessibleName(tr("Charts"));
            chart->setAccessibleDescription(QStringLiteral("LineBarChart_View"));
        }
        // Named after the field that holds it, whatever view it is.
        chart->setObjectName(QStringLiteral("LineBarChart_View"));
        chart->setParent(this);
        chart->setAutoFillBackground(true);
        QPalette pal = chart->palette();
        pal.setColor(QPalette::Window, QColor(0x1f, 0x5f, 0xbf));
        chart->setPalette(pal);
        chart->setGeometry(QRect(QPoint(0, 0), portrait.transposed()));
        chart->show();
        chart->raise();
        lineBarChartView_ = chart;
        return kAllOrientations;
    }
    if (selected_ == kHistoryTab) {
        // An open composer shows the bar when it closes.
        if (Historyandreports::mail_state != 0) {
            if (lineBarChartView_)
                Historyandreports::mail_state = 1;
        } else {
            setStatusBarHidden(false);
        }
        applyTabBarHidden(false);
        removeChartView();
        return kAllOrientations;
    }
    applyTabBarHidden(false);
    removeChartView();
    setStatusBarHidden(false);
    return kPortraitOnly;
}

void TonaraTabBarController::removeChartView()
{
    if (!lineBarChartView_)
        return;
    lineBarChartView_->hide();
    lineBarChartView_->deleteLater();
    lineBarChartView_ = nullptr;
    relayout();
}

void TonaraTabBarController::setStatusBarHidden(bool hidden)
{
    statusBarHidden_ = hidden;
    if (frame_)
        frame_->setStatusBarHidden(hidden);
}

void TonaraTabBarController::setTabBarHidden(bool hidden)
{
    screenHidesTabBar_ = hidden;
    applyTabBarHidden(hidden);
}

void TonaraTabBarController::applyTabBarHidden(bool hidden)
{
    tabBarHidden_ = hidden || screenHidesTabBar_;
    tabBar_->setVisible(!tabBarHidden_);
    relayout();
}

void TonaraTabBarController::resizeEvent(QResizeEvent *)
{
    relayout();
}

void TonaraTabBarController::relayout()
{
    const int barHeight = tabBarHidden_ ? 0 : TabBar::kHeight;
    tabBar_->setGeometry(0, height() - TabBar::kHeight, width(), TabBar::kHeight);
    tabBar_->raise();
    if (lineBarChartView_) {
        lineBarChartView_->setGeometry(rect());
        return; // the screens underneath keep their portrait frame
    }
    const QRect content(0, 0, width(), height() - barHeight);
    for (const QPointer<QWidget> &screen : screens_)
        if (screen)
            screen->setGeometry(content);
}

bool TonaraTabBarController::eventFilter(QObject *watched, QEvent *event)
{
    if (event->type() == QEvent::WindowTitleChange || event->type() == QEvent::WindowIconChange) {
        for (int i = 0; i < screens_.size(); ++i)
            if (screens_.at(i) == watched) {
                tabBar_->setTabTitle(i, screens_.at(i)->windowTitle());
                tabBar_->setTabIcon(i, screens_.at(i)->windowIcon());
            }
    }
    return QWidget::eventFilter(watched, event);
}

} // namespace tonara
