#pragma once

// The Report tab: the active user's readings month by month under their day
// averages, edit mode with deletion, the TRIV detail, the WHO legend, the
// banner, the readings sent as "data.csv" by e-mail, and the doctor's report.
//
//   auto *report = new Historyandreports(context);
//   connect(report, &Historyandreports::selectTabRequested, tabs, &TonaraTabBarController::setSelectedIndex);
//   connect(report, &Historyandreports::mailComposeRequested, ...);   // the composer, when there is one

#include "base/Scheduler.h"
#include "history/HistoryContext.h"
#include "history/core/MonthHistory.h"
#include "history/core/ShownMonth.h"
#include "reports/core/ReportRequest.h"

#include <QPointer>
#include <QWidget>

#include <functional>

class QLabel;
class QPushButton;

namespace tonara {

class MonthBar;
class MonthListView;
class ReportChoicePanel;
class TrivDetailView;
class WhoLegendView;

class Historyandreports : public QWidget {
    Q_OBJECT
public:
    static constexpr int kMeasurementTab = 0;

    struct Mail {
        QString subject;
        QString recipient;
        QString body;
        QByteArray attachment; // the CSV, UTF-8
        QString mimeType;
        QString fileName;
    };
    // Presents the composer for the mail; false when it cannot be made (no
    // composer on this system). Its result comes back through
    // mailComposeController_didFinishWithResult.
    using ComposerFactory = std::function<bool(const Mail &mail)>;

    explicit Historyandreports(const HistoryContext &context, QWidget *parent = nullptr);
    ~Historyandreports() override;

    void setComposerFactory(ComposerFactory f) { composer_ = std::move(f); }
    // Asks where the report PDF goes (a suggested path in, the chosen one out,
    // empty when the person cancels); a save dialog unless set.
    using ReportFileChooser = std::function<QString(const QString &suggested)>;
    void setReportFileChooser(ReportFileChooser f) { reportFile_ = std::move(f); }

    // Month state and model.
    int show_year() const { return shown_.show_year; }
    int show_month() const { return shown_.show_month; }
    const MonthHistory &month() const { return history_; }
    MonthListView *scrollview() const { return scrollview_; }
    MonthBar *segmentedControl() const { return segmentedControl_; }
    TrivDetailView *Detail_view() const { return detail_; }
    WhoLegendView *WHOview() const { return who_; }
    ReportChoicePanel *reportPanel() const { return reportPanel_; }
    QWidget *Edit_view() const { return editView_; }
    QLabel *show_turn_Image() const { return banner_; }
    int y_show_trun() const { return y_show_trun_; }

    bool Slide_Press = false;
    bool edit_press = false;
    bool who_press = false;
    bool detail_press = false;
    int delete_button_tag = 0;
    // 0 no composer, 1 composer over the portrait screen, 2 over the landscape chart.
    static inline int mail_state = 0;

    static QString emptyMonthText();

public slots:
    void Month_plus1();
    void Month_Reduce1();
    void move_ll();
    void move_rr();
    void edit_chack();
    void edit_done();
    void deit_add();
    void delete_button_touch(int index);
    void more_button_touch(int index);
    void Detail_view_back();
    void who_button_touch();
    void DetailView_WHObutton();
    void whoview_back();
    void share_bt();
    // The doctor's report panel, the choice of that kind first (the month on screen by default).
    void openReport(ReportRequest::Kind first = ReportRequest::Kind::Month);
    // 0 cancelled, 1 saved, 2 sent, 3 failed (with the error's words).
    void mailComposeController_didFinishWithResult(int result, const QString &error = {});
    // Re-runs the month query and redraws the list.
    void refresh();

signals:
    void selectTabRequested(int index);
    void statusBarHiddenRequested(bool hidden);

protected:
    void showEvent(QShowEvent *event) override;
    void resizeEvent(QResizeEvent *event) override;
    bool eventFilter(QObject *watched, QEvent *event) override;

private:
    void viewWillAppear();
    void redraw(bool editFlag);
    void Month_moving(int m);
    void moved();
    void placeList();
    void e_mail(const QString &subject, const QString &recipient, const QString &bodyStart, int mode);
    void shareChosen(int index);
    void deliverReport(bool send);
    void deleteAnswered(int index);
    void no_show_turn();
    void placeBanner();
    void raiseOverlay(QWidget *overlay);

    HistoryContext ctx_;
    DBHelper &db_;
    ShownMonth shown_;
    MonthHistory history_;
    double s_;
    QWidget *topBar_ = nullptr;
    QWidget *editView_ = nullptr;
    MonthListView *scrollview_ = nullptr;
    MonthBar *segmentedControl_ = nullptr;
    QPushButton *titlebar_buttonL_ = nullptr;
    QPushButton *titlebar_buttonR_ = nullptr;
    QLabel *yearLabel_ = nullptr;
    TrivDetailView *detail_ = nullptr;
    WhoLegendView *who_ = nullptr;
    ReportChoicePanel *reportPanel_ = nullptr;
    QLabel *banner_ = nullptr;
    Scheduler::TimerId show_trun_ = 0;
    int y_show_trun_ = 320;
    int no_show_turn_i_ = 0;
    QPoint pressAt_;
    bool pressed_ = false;
    ComposerFactory composer_;
    ReportFileChooser reportFile_;
};

} // namespace tonara
