#pragma once

#include "base/Scheduler.h"
#include "measurement/MeasurementContext.h"
#include "reports/core/HomeWeekStore.h"
#include "reports/core/WeekEvaluation.h"

#include <QPointer>
#include <QWidget>

#include <optional>
#include <string>

class QFrame;
class QLabel;
class QPushButton;

namespace tonara {

class DBHelper;
class HomeWeekCard;
class HomeWeekGrid;
class instruction_screen;

// home_week_panel: the home-monitoring week of the active user on the
// measurement tab. The mode choice's week card opens it; without a running
// week it explains the week and starts one with the chosen threshold (two
// taps from the mode choice), with one it shows the 14 slots, what is due
// now, the days left and, once there is one, the result in plain words. The
// week is ended (or, before its result, abandoned) after a confirmation.
//
//   HomeWeekPanel *week = HomeWeekPanel::attach(screen, ctx);  // card on the mode choice
//
// It lies over its host, hidden until the card is tapped. It reads the week
// again whenever the host comes into view (another user may be active by
// then), after every saved reading, and when the clock passes into another
// window or day. All storage goes through HomeWeekStore and evaluateWeek.
class HomeWeekPanel : public QWidget {
    Q_OBJECT
public:
    HomeWeekPanel(const MeasurementContext &ctx, QWidget *host, HomeWeekCard *card);
    ~HomeWeekPanel() override;

    // The card on the screen's mode choice and the panel over the screen.
    static HomeWeekPanel *attach(instruction_screen *screen, const MeasurementContext &ctx);

    // The running week of the active user, as last read.
    const std::optional<WeekEvaluation> &evaluation() const { return evaluation_; }
    int user() const { return user_; }

    HomeWeekCard *card() const { return card_; }
    HomeWeekGrid *grid() const { return grid_; }
    QPushButton *home_week_back = nullptr;
    QPushButton *home_week_start_standard = nullptr;  // 135/85
    QPushButton *home_week_start_high_risk = nullptr; // 130/80
    QPushButton *home_week_end = nullptr;
    QPushButton *home_week_report = nullptr; // with the result: the doctor's report of the week
    QLabel *progress = nullptr;
    QLabel *due = nullptr;
    QLabel *threshold = nullptr;
    QLabel *resultTitle = nullptr;
    QLabel *result = nullptr;
    QLabel *basis = nullptr;

public slots:
    // Reads the active user's running week and shows it.
    void refresh();
    void openPanel();
    void closePanel();
    void startWeek(HomeThreshold t);
    // Asks first; ends the week (or abandons one without its result) on yes.
    void askEnd();

signals:
    void weekChanged();
    // The person asked for the doctor's report of this week.
    void reportRequested();

protected:
    bool eventFilter(QObject *watched, QEvent *event) override;

private:
    DBHelper &database() const;
    void showEvaluation();
    void endAnswered(bool withResult, int user);
    // The day and the window (night, morning, afternoon, evening) of now.
    std::string clockBucket() const;

    MeasurementContext ctx_;
    QPointer<QWidget> host_;
    HomeWeekCard *card_ = nullptr;
    HomeWeekGrid *grid_ = nullptr;
    QWidget *startBox_ = nullptr;
    QWidget *weekBox_ = nullptr;
    QFrame *resultBox_ = nullptr;
    std::optional<WeekEvaluation> evaluation_;
    int user_ = 0;
    std::string lastBucket_;
    Scheduler::TimerId ticker_ = 0;
};

} // namespace tonara
