#pragma once

#include "platform/FormFactor.h"
#include "platform/Orientation.h"

#include <QList>
#include <QPointer>
#include <QWidget>

#include <functional>

namespace tonara {

class DeviceFrame;
class TabBar;

// The root of the screen: the four tab screens, one shown at a time, over the
// tab bar. Each screen names its own tab with its window title and icon.
// Decides the orientations: only the history tab may turn to landscape, where
// the landscape chart view covers the whole screen while the status and tab
// bars are hidden.
class TonaraTabBarController : public QWidget {
    Q_OBJECT
public:
    static constexpr int kHistoryTab = 1;

    // Builds the landscape chart view of the given size for this controller
    // (its report controller). Without one an empty blue view stands in.
    using ChartViewFactory = std::function<QWidget *(TonaraTabBarController *controller, QWidget *parent)>;

    explicit TonaraTabBarController(FormFactor formFactor, QWidget *parent = nullptr);

    // The screens in tab order; taken over.
    void setViewControllers(const QList<QWidget *> &screens);
    int count() const { return int(screens_.size()); }
    QWidget *viewController(int index) const;

    int selectedIndex() const { return selected_; }
public slots:
    void setSelectedIndex(int index);
    // A screen hides the status bar (a mail composer closing over the landscape
    // chart) or shows it again.
    void setStatusBarHidden(bool hidden);

public:
    TabBar *tabBar() const { return tabBar_; }
    // The frame whose status bar and turning this controller governs.
    void setDeviceFrame(DeviceFrame *frame);
    void setChartViewFactory(ChartViewFactory factory) { chartFactory_ = std::move(factory); }

    // Asked whenever the device turns: arranges the screen for the way the
    // device is held and answers which orientations the interface may take.
    OrientationMask supportedInterfaceOrientations(Orientation device);

    // The landscape chart view while it is shown, else nullptr.
    QWidget *LineBarChart_View() const { return lineBarChartView_; }
    bool isStatusBarHidden() const { return statusBarHidden_; }
    // A screen hides or shows the tab bar; the screens take its room while it
    // is hidden, and turning the device does not bring it back meanwhile.
    void setTabBarHidden(bool hidden);
    bool isTabBarHidden() const { return tabBarHidden_; }

signals:
    void selectedIndexChanged(int index);

protected:
    bool eventFilter(QObject *watched, QEvent *event) override;
    void resizeEvent(QResizeEvent *event) override;

private:
    void applyTabBarHidden(bool hidden);
    void removeChartView();
    void relayout();

    FormFactor formFactor_;
    TabBar *tabBar_ = nullptr;
    QList<QPointer<QWidget>> screens_;
    int selected_ = -1;
    QPointer<DeviceFrame> frame_;
    QPointer<QWidget> lineBarChartView_;
    ChartViewFactory chartFactory_;
    bool statusBarHidden_ = false;
    bool tabBarHidden_ = false;
    bool screenHidesTabBar_ = false;
};

} // namespace tonara
