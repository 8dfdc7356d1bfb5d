#pragma once

// The landscape chart view: two pages side by side in a paging area. Page 1
// shows the active user's trend of systolic and diastolic values for a day, a
// week, a month, three months, a year or all time with the two target lines;
// page 2 the share of readings in each WHO class. Either page goes out as a
// picture by e-mail.
//
//   auto *view = new HorizontalView(context, parent);      // starts on the week
//   view->setComposerFactory(presentComposer);             // the mail composer, if any
//   connect(view, &HorizontalView::statusBarHiddenRequested, tabs,
//   &TonaraTabBarController::setStatusBarHidden);

#include "base/Scheduler.h"
#include "charts/ChartContext.h"
#include "charts/core/PeriodQueries.h"
#include "charts/core/WhoDistribution.h"
#include "charts/showWHOlist.h"
#include "history/Historyandreports.h"
#include "plotting/TrendPlot.h"

#include <QList>
#include <QPointer>
#include <QWidget>

#include <memory>

class QLabel;
class QPushButton;
class QScrollArea;

namespace tonara {

class GraphHostingView;
class PageControl;

class HorizontalView : public QWidget, public showWHOlistDelegate {
    Q_OBJECT
public:
    static constexpr int kButtonsPerPage = 7; // entries 1..6 are the period codes
    static constexpr int kFlipMillis = 2000;
    static constexpr int kPageTickMillis = 100;

    HorizontalView(const ChartContext &context, QWidget *parent = nullptr);
    ~HorizontalView() override;

    // Presents a composer for the chart mail; false when none can be made.
    void setComposerFactory(Historyandreports::ComposerFactory f) { composer_ = std::move(f); }
    // The screen that presents the composer; the view only remembers it.
    void setReportController(QWidget *controller) { reportController_ = controller; }
    QWidget *reportController() const { return reportController_; }

    // Period codes as shown: the selected button of each page.
    int trendCode() const { return trendCode_; }
    int distributionCode() const { return distributionCode_; }
    int displayType() const { return displayType_; }
    int currentPage() const;
    const WhoDistribution &who() const { return who_; }
    // The records the trend chart was built with (x, systolic, diastolic).
    const std::vector<TrendPlot::Point> &dataForPlot() const { return dataForPlot_; }
    int targetHigh() const { return targetHigh_; }
    int targetLow() const { return targetLow_; }
    QWidget *noDataPanel(int page) const;
    showWHOlist *whoList() const { return _showWHOlist; }
    bool isFlipping() const { return !AnimationStop; }

    QScrollArea *scrollview_line = nullptr;
    PageControl *pageControl = nullptr;
    QList<QPushButton *> buttonArray;
    QList<QPushButton *> buttonArray2;
    QList<QLabel *> labelArray;
    QLabel *Avg_data_label1 = nullptr;
    GraphHostingView *hostingView = nullptr;
    GraphHostingView *hostingView_bar_chart = nullptr;
    QPushButton *mailButton = nullptr;
    QPushButton *mailButton2 = nullptr;
    QPushButton *infoButton = nullptr;
    int lin_bar_chart = 0;
    bool AnimationStop = true;

    // The text heard for the period code (and display type of the trend).
    static QString periodName(int code);

public slots:
    void d1_button_touch(int code);
    void d2_button_touch(int code);
    void mail_button_touch();
    void mail_button_touch2();
    void i_button_touch();
    // Turns to the page (0 or 1), as a swipe would.
    void scrollToPage(int page);
    // The paging area's call when a swipe starts: page 2 shows the week again.
    void scrollViewWillBeginDragging();
    // 0 cancelled, 1 saved, 2 sent, 3 failed (with the error's words).
    void mailComposeController_didFinishWithResult(int result, const QString &error = {});

signals:
    void statusBarHiddenRequested(bool hidden);

protected:
    bool eventFilter(QObject *watched, QEvent *event) override;
    void keyPressEvent(QKeyEvent *event) override;
    void resizeEvent(QResizeEvent *event) override;

private:
    void showWho() override;
    void releaseview() override;
    void ShowWHOAnimationStop();

    void line_init();
    void buildPage1(QWidget *page);
    void buildPage2(QWidget *page);
    QPushButton *periodButton(QWidget *page, int code, int pageNumber);
    void setButtons(const QList<QPushButton *> &buttons, int code);
    void SQLNoData(int page);
    // The display type of the loaded rows; places its x labels.
    int Picture_Date(int code);
    void core_plot(int type);
    void panit_y_lable_Line(int x, int yHigh, int yLow);
    int yaxis_the_relative_seat(int value) const;
    void SQL_Horizontal_Barchart(int code);
    void bar_chart();
    void updata_page_timer();
    void e_mail(int page);
    void loadTarget();
    void describeTrend(int rows, int avgSys, int avgDia);
    void describeDistribution();

    // Phone points (480 × 320 page) to this form factor's pixels in a page.
    QRect r(double x, double y, double w, double h) const;
    int font(int phonePoints) const;

    ChartContext ctx_;
    PeriodQueries periods_;
    WhoDistribution who_;
    double s_ = 1;   // 2 on a tablet
    QPoint origin_;  // where the phone layout starts inside a page
    QSize pageSize_; // one page
    QWidget *pages_ = nullptr;
    QWidget *page1_ = nullptr;
    QWidget *page2_ = nullptr;
    QLabel *noData1_ = nullptr;
    QLabel *noData2_ = nullptr;
    QLabel *highLabel_ = nullptr;
    QLabel *lowLabel_ = nullptr;
    QList<QLabel *> faces_;
    QList<QLabel *> percentLabels_;
    std::vector<TrendPlot::Point> dataForPlot_;
    int trendCode_ = PeriodQueries::kWeek;
    int distributionCode_ = PeriodQueries::kWeek;
    int displayType_ = PeriodQueries::kWeek;
    int targetHigh_ = 180;
    int targetLow_ = 60;
    int trendRows_ = 0;
    int avgSys_ = 0;
    int avgDia_ = 0;
    Scheduler::TimerId updata_page = 0;
    Scheduler::TimerId flip_ = 0;
    QPointer<showWHOlist> _showWHOlist;
    QPointer<QWidget> reportController_;
    Historyandreports::ComposerFactory composer_;
    QPoint pressAt_;
    int pressOffset_ = 0;
    bool pressed_ = false;
    bool dragging_ = false;
};

} // namespace tonara
