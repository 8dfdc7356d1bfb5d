#pragma once

#include "base/NotificationCenter.h"
#include "base/Scheduler.h"
#include "measurement/MeasurementContext.h"
#include "measurement/core/MeasurementSession.h"

#include <QPointer>
#include <QWidget>

#include <memory>
#include <vector>

class QLabel;

namespace tonara {

class BPAccessory;
class CommentView;
class DBHelper;
class InstructionPages;
class ModeChoicePanel;
class NotConnectedPanel;
class Oscilloscope;
class SingleLivePanel;
class SingleResultPanel;
class TrivLivePanel;
class TrivResultPanel;
class WhoLegendView;

// The measurement tab. Owns the device engine for its whole life and turns the
// engine's notifications into panels: mode choice, not connected, instruction
// pages, live views with the pulse trace, results, the TRIV pause and the
// device's errors; it ends a measurement on the stop buttons, a phone call,
// undocking and going to the background. Results are stored with their
// comment through the reading store, never with SQL of its own.
class instruction_screen : public QWidget {
    Q_OBJECT
public:
    explicit instruction_screen(const MeasurementContext &ctx, QWidget *parent = nullptr);
    ~instruction_screen() override;

    // 0 idle, 1 the device asked to start, 2 measuring, 3 a result is on show
    // and not yet saved, cancelled or left.
    int HardwareButton() const { return HardwareButton_; }
    void setHardwareButton(int value) { HardwareButton_ = value; }

    // Stops the pause and sends the device the stop command.
    void ForceDisconnect();
    // The application went to the background: a running measurement, a TRIV
    // series in its pause included, stops.
    void enterBackground();

    QWidget *start_tonaradock() const;
    QWidget *device_not_connected() const;
    QWidget *measuring_window() const;
    QWidget *measuring_window_result() const;
    QWidget *triv3_measuring_window() const;
    QWidget *triv3_measuring_window_result() const;
    QWidget *WHOview() const;
    CommentView *add_comments_view() const { return commentView_; }
    // The saved indicator and the ticks it has been on show.
    QWidget *save_image() const { return save_image_; }
    int saveImageTicks() const { return saveImageTicks_; }
    BPAccessory *engine() const { return engine_.get(); }

    // The panels with their controls, for the shell and UI tests.
    ModeChoicePanel *modeChoicePanel() const { return modeChoice_; }
    NotConnectedPanel *notConnectedPanel() const { return notConnected_; }
    InstructionPages *instructionPages() const { return pages_; }
    SingleLivePanel *singleLivePanel() const { return singleLive_; }
    SingleResultPanel *singleResultPanel() const { return singleResult_; }
    TrivLivePanel *trivLivePanel() const { return trivLive_; }
    TrivResultPanel *trivResultPanel() const { return trivResult_; }
    WhoLegendView *whoLegendView() const { return whoView_; }
    Oscilloscope *oscilloscope() const;
    QLabel *batteryIcon() const { return batteryIcon_; }
    // The panel a person sees: the topmost one showing.
    QWidget *frontPanel() const;

    int device_yes_no() const { return device_yes_no_; }
    int Low_battery_Warning() const { return Low_battery_Warning_; }
    int Low_battery() const { return Low_battery_; }
    int TRIV3_chack() const { return TRIV3_chack_; }
    int triv3_count() const { return session_.pause().count(); }
    bool triv3_go() const { return session_.pause().go(); }
    // What is running or waiting to be saved: what every interruption asks.
    const MeasurementSession &session() const { return session_; }
    int is_pad_db() const { return is_pad_db_; }
    int sys_db() const { return sys_db_; }
    int dia_db() const { return dia_db_; }
    int pulse_db() const { return pulse_db_; }
    // Series number of the last TRIV reading stored from this screen; 0 after
    // a single save.
    int triv_id_db() const { return triv_id_db_; }

    // Icon name of the WHO class of a reading.
    static QString WHO_chack(int sys, int dia);
    // Shows the battery icon for a level at x, y of its current panel.
    void battery_Percentage(int level, int x, int y);
    // Shows the device error of a result.
    void DetectErrorMessage(int errCode);

public slots:
    void one_tonara();
    void mem_tonara();
    void maual_tonara();
    void device_not_connected_cancel();
    void go_back_strat();
    // The manual entry wizard has closed, saved or not.
    void manualEntryEnded();
    void go_measuring();
    void measurement_stop();
    void triv_measurement_back();
    void triv3_cont();
    void ONE_whoTouch();
    void TRIV_whoTouch();
    void WHO_Back_Touch();
    // Store the result on show for the active user, with its day average,
    // and go back to the start view.
    void measurement_save();
    void triv3_result_save();
    // The comment editor over the result of the current mode, starting from
    // that result's comment.
    void add_comments();
    // The same for a result this screen does not own (the manual entry's).
    void editComment(const QString &current);
    void comments_save();
    void comments_cancel();
    // Empties the comment fields and the editor: a new reading starts blank.
    void clearComments();
    // Shows the saved indicator for one to two ticks of the screen's second.
    void showSavedIndicator();
    void save_imagemove();
    // Cancel on a result: asks "Abort the reading".
    void measurement_canael();
    void triv3_result_cencel();

signals:
    // The device asked for a measurement: the shell brings this tab forward.
    void selectTabRequested(int index);
    void manualEntryRequested();
    // The device asked for a measurement: an entry under way elsewhere on
    // the screen (the manual one) is to be dropped.
    void measurementStartRequested();
    // The comment editor closed over the manual result: with the saved text,
    // then in any case, so the result can come back on top.
    void commentSaved(const QString &text);
    void commentEditorClosed();
    // A reading went into the file (single, TRIV or manual).
    void readingSaved();

protected:
    void showEvent(QShowEvent *event) override;
    void resizeEvent(QResizeEvent *event) override;

private:
    // Notification handlers.
    void BPAccessorySendWave();
    void BPAccessoryUModeReport();
    void BPAccessoryMModeReport();
    void BPAccessoryReceiveStart();
    void BPAccessoryReceive3TRIVN();
    void BPAccessoryDisconnect();
    void BPAccessoryConnect();
    void BPAccessorySendBattery();
    void incomingCall();
    void askAbort(int held);
    void abortAnswered(int serial, int button, int held);

    void StartTest();
    void StartMAN();
    void putOnTop(QWidget *panel);
    void hideMeasurementWindows();
    void pushTransition(QWidget *panel);
    void newTrace(QWidget *host, QSize size);
    void measurementEnded();
    // A shown result was left for something else: it is no longer guarded.
    void leaveResult();
    // Stops a TRIV pause that is counting, and the series waiting on it.
    void abandonTrivPause();
    // The same when the device itself asks for a new measurement.
    void endPauseForDeviceRequest();
    // The device's own start button: the tab makes way for its measurement.
    void takeDeviceStart();
    // A mode was chosen: on to its instructions, or warn first.
    void leaveModeChoice();
    void alert(const char *title, const char *message);
    void showBatteryIn(QWidget *panel);
    void closeCommentView();
    void backToStartAfterSave(QWidget *resultWindow);
    DBHelper &database() const;
    QString resultDate() const;
    QString resultTime() const;

    MeasurementContext ctx_;
    std::unique_ptr<BPAccessory> engine_;
    std::vector<NotificationCenter::Token> observers_;
    Scheduler::TimerId myTicker_triv3_ = 0;
    Scheduler::TimerId Ticker_saveimage_ = 0;

    ModeChoicePanel *modeChoice_ = nullptr;
    NotConnectedPanel *notConnected_ = nullptr;
    InstructionPages *pages_ = nullptr;
    SingleLivePanel *singleLive_ = nullptr;
    SingleResultPanel *singleResult_ = nullptr;
    TrivLivePanel *trivLive_ = nullptr;
    TrivResultPanel *trivResult_ = nullptr;
    WhoLegendView *whoView_ = nullptr;
    CommentView *commentView_ = nullptr;
    QWidget *save_image_ = nullptr;
    QPointer<Oscilloscope> oscilloscope_;
    QLabel *batteryIcon_ = nullptr;
    std::vector<QWidget *> panels_;

    int HardwareButton_ = 0;
    int device_yes_no_ = 0;
    int Low_battery_Warning_ = 0;
    int Low_battery_ = 0;
    int TRIV3_chack_ = 1;
    MeasurementSession session_;
    int is_pad_db_ = 0;
    int sys_db_ = 0;
    int dia_db_ = 0;
    int pulse_db_ = 0;
    int triv_id_db_ = 0;
    int saveImageTicks_ = 0;
    int abortSerial_ = 0;
    int shownBatteryLevel_ = -1;
};

} // namespace tonara
