#pragma once

#include "measurement/MeasurementContext.h"

#include <QPointer>
#include <QWidget>

class QAbstractAnimation;
class QLabel;

namespace tonara {

class ManualDateTimePicker;
class ManualNumberField;
class ManualResultPanel;
class ManualStepView;
class WhoLegendView;
class instruction_screen;

// The manual entry wizard of the measurement tab: systolic, diastolic, pulse,
// then date and time, each checked before the next step, and a result window
// that stores the reading as typed in by hand for the picked moment, with the
// day average of that day.
//
// It lies over its host (the measurement screen) and is hidden while no entry
// is under way; the host's own start view shows through when it ends.
//
//   auto *manual = ManualEntryController::attach(screen, ctx); // manual button, start view
//   QObject::connect(manual, &ManualEntryController::selectTabRequested,
//                    tabs, &TonaraTabBarController::setSelectedIndex);
//   QObject::connect(manual, &ManualEntryController::tabBarHiddenRequested,
//                    shell, [](bool hidden) { /* hide or show the tab bar */ });
//   QObject::connect(manual, &ManualEntryController::readingSaved,
//                    screen, [] { /* show the saved indicator */ });
//
// When ManualFromHistory::manual_from_history is 1 as the host comes into view,
// the wizard starts by itself and hands back to the history tab when it ends.
// The context must carry a clock and an alert presenter; without a database
// the shared DBHelper::newInstance() is used.
class ManualEntryController : public QWidget {
    Q_OBJECT
public:
    static constexpr int kHistoryTab = 1;

    ManualEntryController(const MeasurementContext &ctx, QWidget *host);
    ~ManualEntryController() override;

    // Makes the wizard for the measurement screen: its manual button starts it,
    // and the end of the wizard puts the screen's mode choice back on top.
    static ManualEntryController *attach(instruction_screen *screen, const MeasurementContext &ctx);

    // An entry is under way (a step or the result is on show).
    bool isActive() const { return active_; }
    // The step view or result window on show; nullptr when no entry is under way.
    QWidget *currentView() const { return active_ ? current_.data() : nullptr; }

    ManualStepView *manual_step1_4() const { return steps_[0]; }
    ManualStepView *manual_step2_4() const { return steps_[1]; }
    ManualStepView *manual_step3_4() const { return steps_[2]; }
    ManualStepView *manual_step4_4() const { return steps_[3]; }
    ManualResultPanel *manual_result() const { return result_; }
    ManualNumberField *step1_4_test() const { return sysField_; }
    ManualNumberField *step2_4_text() const { return diaField_; }
    ManualNumberField *step3_4_test() const { return pulseField_; }
    ManualDateTimePicker *datePicker() const { return picker_; }
    QLabel *datepicker_label() const { return pickerLabel_; }
    // The measurement screen's own legend when the host is that screen.
    WhoLegendView *WHOview() const { return whoView_; }

    // Drops an entry under way without storing anything (the device asked
    // for a measurement, or the screen came back into view).
    void abandon();
    // Puts the result window back on top, after the screen's comment editor
    // covered it; setComment first when the comment was saved.
    void showResult();

    // The measurement screen disables them when the device goes away.
    void setNumberFieldsEnabled(bool enabled);
    // Starts the wizard (without animation) when the history screen asked for
    // it; true when it did. Also done by itself when the host comes into view.
    bool startIfRequestedFromHistory();

public slots:
    void maual_tonara();
    void manual_step1_4_back();
    void manual_step1_4_next();
    void manual_step2_4_back();
    void manual_step2_4_next();
    void manual_step3_4_back();
    void manual_step3_4_next();
    void manual_step4_4_back();
    void manual_step4_4_next();
    void changeDateInLabel();
    void manual_result_save();
    void manul_result_cencel();
    void Manual_whoTouch();
    void WHO_Back_Touch();
    // The comment editor's text, once it is saved there.
    void setComment(const QString &comment);

signals:
    // The wizard began: the other comment fields of the screen are to be emptied.
    void started();
    // The wizard ended (saved, abandoned or left from step 1): the start view
    // start_tonaradock is to be on top again.
    void returnToStart();
    // Switch the tab bar to this tab (the history tab when the entry came from there).
    void selectTabRequested(int index);
    // Hide (step 4) or show the tab bar again.
    void tabBarHiddenRequested(bool hidden);
    // A reading was stored: the saved indicator is to be shown.
    void readingSaved();
    // The comment field of the result was tapped: open the comment editor.
    void commentRequested();

protected:
    bool eventFilter(QObject *watched, QEvent *event) override;

private:
    void start(bool animated);
    void finish(bool forward);
    QList<QWidget *> pages() const;
    void show(QWidget *to, bool forward);
    void slide(QWidget *in, QWidget *out, bool forward);
    // Ends a transition at once: only the current page shows, in place.
    void settle();
    bool checkField(int step);
    void setTabBarHidden(bool hidden);
    void clearFields();
    bool animate() const;

    MeasurementContext ctx_;
    QWidget *host_;
    ManualStepView *steps_[4] = {};
    ManualResultPanel *result_ = nullptr;
    ManualNumberField *sysField_ = nullptr;
    ManualNumberField *diaField_ = nullptr;
    ManualNumberField *pulseField_ = nullptr;
    ManualDateTimePicker *picker_ = nullptr;
    QLabel *pickerLabel_ = nullptr;
    WhoLegendView *whoView_ = nullptr;
    QPointer<QWidget> current_;
    QPointer<QAbstractAnimation> transition_;
    bool active_ = false;
    bool tabBarHidden_ = false;
    int modeBefore_ = 0;
    // Answers to a cancel confirmation belong to the entry that asked.
    int entry_ = 0;
};

} // namespace tonara
