#include "measurement/instruction_screen.h"

#include "base/Clock.h"
#include "device/BPAccessory.h"
#include "device/BPAccessoryNotifications.h"
#include "measurement/BatteryGauge.h"
#include "measurement/CommentEditor.h"
#include "measurement/CommentView.h"
#include "measurement/DeviceErrorTable.h"
#include "measurement/InstructionPages.h"
#include "measurement/MeasurementMode.h"
#include "measurement/MeasurementUi.h"
#include "measurement/ModeChoicePanel.h"
#include "measurement/NotConnectedPanel.h"
#include "measurement/Oscilloscope.h"
#include "measurement/ResultWidgets.h"
#include "measurement/SingleLivePanel.h"
#include "measurement/SingleResultPanel.h"
#include "measurement/TrivLivePanel.h"
#include "measurement/TrivResultPanel.h"
#include "measurement/WhoLegendView.h"
#include "measurement/core/ManualEntryRules.h"
#include "measurement/core/ReadingStore.h"
#include "measurement/core/WHOClassification.h"
#include "platform/AlertPresenter.h"
#include "platform/CallCenter.h"
#include "platform/ScreenLockInhibitor.h"
#include "storage/DBHelper.h"

#include <QAccessible>
#include <QFrame>
#include <QLabel>
#include <QLayout>
#include <QLineEdit>
#include <QMetaMethod>
#include <QPropertyAnimation>
#include <QPushButton>
#include <QShowEvent>
#include <QVBoxLayout>

namespace tonara {

namespace {

const QColor kTraceBackground(0x33, 0x3F, 0x4C);
const QColor kTraceLine(0x3D, 0xDC, 0x84);

QString number(int v)
{
    return QString::asprintf("%d", v);
}

// The integer a result label shows; 0 for anything that is not a number.
int labelValue(const QLabel *label)
{
    return ManualEntryRules::intValue(label->text().trimmed().toStdString());
}

// Stands in for the alert presenter where a screen is built without one.
class SilentAlerts : public AlertSink {
public:
    void showAlert(const std::string &, const std::string &, const std::vector<std::string> &,
                   Completion) override
    {}
};

} // namespace

instruction_screen::instruction_screen(const MeasurementContext &ctx, QWidget *parent)
    : QWidget(parent), ctx_(ctx)
{
    MeasurementUi::name(this, QStringLiteral("instruction_screen"), tr("Measurement"));
    setWindowTitle(tr("Measurement"));
    setStyleSheet(MeasurementUi::styleSheet(ctx_.formFactor));
    const FormFactor form = ctx_.formFactor;

    // The panels, bottom to top; the instruction pages are the ground the
    // others are put on and taken off.
    pages_ = new InstructionPages(form, ctx_.animations, this);
    modeChoice_ = new ModeChoicePanel(form, this);
    notConnected_ = new NotConnectedPanel(form, this);
    singleLive_ = new SingleLivePanel(form, this);
    singleResult_ = new SingleResultPanel(form, this);
    trivLive_ = new TrivLivePanel(form, this);
    trivResult_ = new TrivResultPanel(form, this);
    whoView_ = new WhoLegendView(form, this);
    whoView_->hide();
    commentView_ = new CommentView(form, this);
    commentView_->hide();
    panels_ = {pages_,    modeChoice_, notConnected_, singleLive_, singleResult_,
               trivLive_, trivResult_, whoView_,      commentView_};
    // Above every panel, including the manual entry's, and never in the way of a tap.
    const double s = MeasurementUi::scale(form);
    auto *saved = new QFrame(this);
    MeasurementUi::name(saved, QStringLiteral("save_image"), tr("Reading saved"));
    saved->setStyleSheet(
        QStringLiteral("QFrame#save_image { background: rgba(34, 45, 56, 225); border-radius: %1px; }"
                       "QFrame#save_image QLabel { color: white; font-size: %2px; font-weight: bold; "
                       "background: transparent; }")
            .arg(qRound(14 * s))
            .arg(qRound(15 * s)));
    auto *savedLayout = new QVBoxLayout(saved);
    savedLayout->setContentsMargins(qRound(18 * s), qRound(16 * s), qRound(18 * s), qRound(12 * s));
    savedLayout->setSpacing(qRound(8 * s));
    const int icon = qRound(48 * s);
    savedLayout->addWidget(MeasurementUi::picture(saved, QStringLiteral("save_icon"),
                                                  QStringLiteral("save_icon.png"), QSize(icon, icon),
                                                  tr("Saved")),
                           0, Qt::AlignHCenter);
    savedLayout->addWidget(MeasurementUi::label(saved, QStringLiteral("save_caption"), tr("Saved")), 0,
                           Qt::AlignHCenter);
    saved->setFixedSize(qRound(120 * s), qRound(112 * s));
    saved->setAttribute(Qt::WA_TransparentForMouseEvents);
    save_image_ = saved;
    save_image_->hide();

    connect(modeChoice_->one_tonara, &QPushButton::clicked, this, &instruction_screen::one_tonara);
    connect(modeChoice_->mem_tonara, &QPushButton::clicked, this, &instruction_screen::mem_tonara);
    connect(modeChoice_->maual_tonara, &QPushButton::clicked, this, &instruction_screen::maual_tonara);
    connect(notConnected_->device_not_connected_cancel, &QPushButton::clicked, this,
            &instruction_screen::device_not_connected_cancel);
    connect(pages_->go_measuring, &QPushButton::clicked, this, &instruction_screen::go_measuring);
    connect(pages_->go_back_strat, &QPushButton::clicked, this, &instruction_screen::go_back_strat);
    connect(singleLive_->measurement_stop, &QPushButton::clicked, this,
            &instruction_screen::measurement_stop);
    connect(trivLive_->triv_measurement_back, &QPushButton::clicked, this,
            &instruction_screen::triv_measurement_back);
    connect(singleResult_->WHO_bt, &QPushButton::clicked, this, &instruction_screen::ONE_whoTouch);
    connect(trivResult_->WHO_bt_triv3, &QPushButton::clicked, this, &instruction_screen::TRIV_whoTouch);
    connect(whoView_->WHO_Back_Touch, &QPushButton::clicked, this, &instruction_screen::WHO_Back_Touch);
    connect(singleResult_->measurement_save, &QPushButton::clicked, this,
            &instruction_screen::measurement_save);
    connect(singleResult_->measurement_canael, &QPushButton::clicked, this,
            &instruction_screen::measurement_canael);
    connect(trivResult_->triv3_result_save, &QPushButton::clicked, this,
            &instruction_screen::triv3_result_save);
    connect(trivResult_->triv3_result_cencel, &QPushButton::clicked, this,
            &instruction_screen::triv3_result_cencel);
    connect(singleResult_, &SingleResultPanel::commentTapped, this, &instruction_screen::add_comments);
    connect(trivResult_, &TrivResultPanel::commentTapped, this, &instruction_screen::add_comments);
    connect(commentView_->comments_save, &QPushButton::clicked, this, &instruction_screen::comments_save);
    connect(commentView_->comments_cancel, &QPushButton::clicked, this, &instruction_screen::comments_cancel);

    // Set-up, in the order the screen has always done it.
    is_pad_db_ = 0;
    // One watcher for the screen's life; the handler itself checks that a
    // measurement is running, so calls after it has ended are left alone.
    if (ctx_.calls)
        connect(ctx_.calls, &CallCenter::incomingCall, this, &instruction_screen::incomingCall);
    batteryIcon_ = MeasurementUi::picture(modeChoice_, QStringLiteral("battery_icon"), {},
                                          isTablet(form) ? QSize(36, 17) : QSize(21, 10), tr("Battery"));
    batteryIcon_->hide();
    TRIV3_chack_ = 1;
    session_.ended();
    HardwareButton_ = 0;

    trivLive_->Pleassewait_lable->hide();
    putOnTop(modeChoice_);
    myTicker_triv3_ = ctx_.scheduler->repeating(Millis(1000), [this] { triv3_cont(); });
    Ticker_saveimage_ = ctx_.scheduler->repeating(Millis(1000), [this] { save_imagemove(); });
    pages_->restartAtFirstPage();
    hideMeasurementWindows();
    newTrace(singleLive_->traceHost, isTablet(form) ? QSize(661, 183) : QSize(280, 80));

    engine_ = std::make_unique<BPAccessory>(*ctx_.accessories, *ctx_.scheduler, *ctx_.clock, *ctx_.center);
    if (engine_->eas()) {
        if (MeasurementMode::mode_chosen == 1) {
            modeChoice_->hide();
            notConnected_->hide();
        } else {
            notConnected_->hide();
            putOnTop(modeChoice_);
        }
        device_yes_no_ = 1;
    } else {
        notConnected_->hide();
    }

    const void *sender = engine_.get();
    auto observe = [&](const char *name, void (instruction_screen::*handler)()) {
        observers_.push_back(ctx_.center->addObserver(
            name, [this, handler](const std::string &, const void *) { (this->*handler)(); }, sender));
    };
    observe(kBPaccessorySendWaveNotification, &instruction_screen::BPAccessorySendWave);
    observe(kBPaccessoryUModeReportNotification, &instruction_screen::BPAccessoryUModeReport);
    observe(kBPaccessoryMModeReportNotification, &instruction_screen::BPAccessoryMModeReport);
    observe(kBPaccessoryReceiveStartNotification, &instruction_screen::BPAccessoryReceiveStart);
    observe(kBPaccessoryReceive3TRIVNotification, &instruction_screen::BPAccessoryReceive3TRIVN);
    observe(kBPaccessoryDidDisconnectNotification, &instruction_screen::BPAccessoryDisconnect);
    observe(kBPaccessoryDidConnectNotification, &instruction_screen::BPAccessoryConnect);
    observe(kBPaccessorySendBatteryPowerNotification, &instruction_screen::BPAccessorySendBattery);

    ctx_.accessories->registerForLocalNotifications();
}

instruction_screen::~instruction_screen()
{
    for (auto token : observers_)
        ctx_.center->removeObserver(token);
    ctx_.scheduler->cancel(myTicker_triv3_);
    ctx_.scheduler->cancel(Ticker_saveimage_);
    if (ctx_.screenLock && session_.measurementRunning())
        ctx_.screenLock->release();
    engine_.reset();
}

QWidget *instruction_screen::start_tonaradock() const
{
    return modeChoice_;
}
QWidget *instruction_screen::device_not_connected() const
{
    return notConnected_;
}
QWidget *instruction_screen::measuring_window() const
{
    return singleLive_;
}
QWidget *instruction_screen::measuring_window_result() const
{
    return singleResult_;
}
QWidget *instruction_screen::triv3_measuring_window() const
{
    return trivLive_;
}
QWidget *instruction_screen::triv3_measuring_window_result() const
{
    return trivResult_;
}
QWidget *instruction_screen::WHOview() const
{
    return whoView_;
}
Oscilloscope *instruction_screen::oscilloscope() const
{
    return oscilloscope_;
}

QWidget *instruction_screen::frontPanel() const
{
    const QObjectList &kids = children(); // in stacking order, bottom first
    for (auto it = kids.crbegin(); it != kids.crend(); ++it) {
        auto *w = qobject_cast<QWidget *>(*it);
        if (w && !w->isHidden() && std::find(panels_.begin(), panels_.end(), w) != panels_.end())
            return w;
    }
    return nullptr;
}

QString instruction_screen::WHO_chack(int sys, int dia)
{
    return QString::fromStdString(WHOClassification::WHO_chack(sys, dia));
}

// ---- layout and panel stacking

void instruction_screen::resizeEvent(QResizeEvent *)
{
    for (QWidget *p : panels_)
        p->setGeometry(rect());
    save_image_->move((width() - save_image_->width()) / 2, (height() - save_image_->height()) / 2);
}

void instruction_screen::showEvent(QShowEvent *event)
{
    QWidget::showEvent(event);
    // Coming back to the tab starts from the mode choice; a window merely
    // being restored is not coming back.
    if (!event->spontaneous()) {
        // An unsaved reading is the person's until they save or drop it:
        // it stays in front, with its comment editor if that was open.
        if (!session_.resultUnsaved()) {
            putOnTop(modeChoice_);
            leaveResult();
        }
    }
}

void instruction_screen::putOnTop(QWidget *panel)
{
    panel->setGeometry(rect());
    panel->show();
    panel->raise();
}

void instruction_screen::hideMeasurementWindows()
{
    singleLive_->hide();
    singleResult_->hide();
    trivLive_->hide();
    trivResult_->hide();
    whoView_->hide();
    commentView_->hide();
}

void instruction_screen::pushTransition(QWidget *panel)
{
    if (!ctx_.animations || !isVisible())
        return;
    auto *anim = new QPropertyAnimation(panel, "pos", panel);
    anim->setDuration(300);
    anim->setStartValue(QPoint(width(), 0));
    anim->setEndValue(QPoint(0, 0));
    anim->setEasingCurve(QEasingCurve::OutCubic);
    anim->start(QAbstractAnimation::DeleteWhenStopped);
}

void instruction_screen::newTrace(QWidget *host, QSize size)
{
    // Every measurement and every TRIV reading starts with an empty trace.
    delete oscilloscope_;
    auto *trace = new Oscilloscope(QRect(QPoint(0, 0), size), host);
    QPalette pal = trace->palette();
    pal.setColor(QPalette::Window, kTraceBackground);
    trace->setPalette(pal);
    trace->setLineColor(kTraceLine);
    trace->setLineWidth(2);
    trace->setMultiple(-1);
    trace->setReference(-1);
    host->layout()->addWidget(trace);
    trace->show();
    oscilloscope_ = trace;
}

void instruction_screen::alert(const char *title, const char *message)
{
    if (ctx_.alerts)
        ctx_.alerts->alert(tr(title), tr(message), {tr("OK")});
}

void instruction_screen::measurementEnded()
{
    if (ctx_.screenLock)
        ctx_.screenLock->release();
}

void instruction_screen::leaveResult()
{
    if (HardwareButton_ == 3)
        HardwareButton_ = 0;
    if (session_.resultUnsaved())
        session_.ended();
}

void instruction_screen::abandonTrivPause()
{
    // A series waiting between its readings: the device waits in TRIV mode
    // and the screen lock is still off from the last reading's waves.
    if (session_.phase() == MeasurementSession::Phase::BetweenReadings) {
        ForceDisconnect();
        measurementEnded();
        session_.ended();
    }
    TRIV3_chack_ = 1;
}

void instruction_screen::clearComments()
{
    singleResult_->comments_text->clear();
    trivResult_->comments_text_3triv->clear();
    commentView_->add_comments_text_view->setComment({});
}

DBHelper &instruction_screen::database() const
{
    return ctx_.db ? *ctx_.db : DBHelper::newInstance();
}

QString instruction_screen::resultDate() const
{
    const LocalDateTime now = ctx_.clock->localNow();
    return QString::asprintf("%04d/%02d/%02d", now.year, now.month, now.day);
}

QString instruction_screen::resultTime() const
{
    const LocalDateTime now = ctx_.clock->localNow();
    const int h12 = now.hour % 12 == 0 ? 12 : now.hour % 12;
    return QString::asprintf("%s %02d:%02d", now.hour < 12 ? "AM" : "PM", h12, now.minute);
}

// ---- battery

void instruction_screen::battery_Percentage(int level, int x, int y)
{
    Low_battery_Warning_ = BatteryGauge::isLow(level) ? 1 : 0;
    const QString picture = QString::fromStdString(BatteryGauge::pictureFor(level));
    // Said once per bad reading, not again for every poll and wave frame
    // that repeats it.
    if (picture.isEmpty() && level != shownBatteryLevel_)
        alert(DeviceErrorTable::kBatteryErrorTitle, "");
    // Re-rendering the picture on every wave frame would cost more than the
    // frame itself; only a change of picture does.
    if (batteryIcon_->property("artwork").toString() != picture)
        MeasurementUi::setPicture(batteryIcon_, picture, batteryIcon_->size());
    if (level != shownBatteryLevel_) {
        shownBatteryLevel_ = level;
        batteryIcon_->setAccessibleName(picture.isEmpty() ? tr("Battery error")
                                                          : tr("Battery %1 percent").arg(level));
        batteryIcon_->setToolTip(batteryIcon_->accessibleName());
    }
    batteryIcon_->move(x, y);
    batteryIcon_->show();
    batteryIcon_->raise();
}

void instruction_screen::showBatteryIn(QWidget *panel)
{
    // Top right of the panel, clear of the titles.
    if (batteryIcon_->parentWidget() != panel)
        batteryIcon_->setParent(panel);
    const double s = MeasurementUi::scale(ctx_.formFactor);
    const int x = width() - batteryIcon_->width() - qRound(14 * s);
    const int y = qRound(14 * s);
    battery_Percentage(engine_->batteryPower(), x, y);
}

// ---- device notifications

void instruction_screen::BPAccessoryConnect()
{
    showBatteryIn(modeChoice_);
    if (Low_battery_Warning_ == 1) {
        if (engine_->batteryfailed())
            alert(DeviceErrorTable::kBatteryTooLowTitle, DeviceErrorTable::kChargeFirstMessage);
    } else if (MeasurementMode::measure_mode != MeasurementMode::kManual) {
        showBatteryIn(modeChoice_);
        if (MeasurementMode::mode_chosen == 1) {
            modeChoice_->hide();
            notConnected_->hide();
            // A result waiting to be saved, and the editor of its comment,
            // need no device: they stay as they are.
            if (!session_.resultUnsaved())
                singleResult_->hide();
        } else if (session_.resultUnsaved()) {
            notConnected_->hide();
        } else {
            notConnected_->hide();
            putOnTop(modeChoice_);
        }
    }
    device_yes_no_ = 1;
}

void instruction_screen::BPAccessorySendBattery()
{
    showBatteryIn(modeChoice_);
}

void instruction_screen::BPAccessoryDisconnect()
{
    Low_battery_ = 0;
    // The wizard stays for its entry, which needs no monitor; the tab under
    // it learns that the monitor has gone, for when the wizard ends.
    if (MeasurementMode::measure_mode == MeasurementMode::kManual) {
        device_yes_no_ = 0;
        shownBatteryLevel_ = -1;
        batteryIcon_->hide();
        return;
    }
    // A TRIV series between its readings was running too, though its last
    // waves have ended.
    if (session_.measurementRunning()) {
        alert(DeviceErrorTable::kMeasurementStopTitle, DeviceErrorTable::kStoppedMessage);
        session_.ended();
        TRIV3_chack_ = 1;
    }
    if (HardwareButton_ == 2)
        HardwareButton_ = 0;
    // Nothing measures without the device: the screen may lock again.
    measurementEnded();
    // A bad level is reported again when the device comes back with it.
    shownBatteryLevel_ = -1;
    batteryIcon_->hide();
    modeChoice_->hide();
    singleLive_->hide();
    trivLive_->hide();
    // A result still to be saved needs no device: it stays behind the notice,
    // with its comment editor, and comes back on docking or on cancel.
    if (!session_.resultUnsaved()) {
        singleResult_->hide();
        commentView_->hide();
        leaveResult();
    }
    device_yes_no_ = 0;
    putOnTop(notConnected_);
}

void instruction_screen::BPAccessorySendWave()
{
    HardwareButton_ = 2;
    session_.waveArrived();
    if (ctx_.screenLock)
        ctx_.screenLock->inhibit();
    const QString pressure = number(engine_->pressure());
    MeasurementUi::setValue(singleLive_->labelPressure, pressure);
    MeasurementUi::setValue(trivLive_->labelPressure_3triv, pressure);
    if (MeasurementMode::measure_mode == MeasurementMode::kSingle)
        showBatteryIn(singleLive_);
    else
        showBatteryIn(trivLive_);
    const bool beat = engine_->HeartBeatFlag();
    singleLive_->Heart->setVisible(beat);
    singleLive_->Heart_mu->setVisible(beat);
    if (oscilloscope_) {
        const int pulse = engine_->pulse();
        oscilloscope_->addSignalData(isTablet(ctx_.formFactor) ? float(pulse - 200) : float(pulse / 10 - 20));
        oscilloscope_->update();
    }
}

void instruction_screen::BPAccessoryUModeReport()
{
    HardwareButton_ = 3;
    putOnTop(singleResult_);
    ForceDisconnect();
    measurementEnded();
    if (engine_->errCode() == 0) {
        pushTransition(singleResult_);
        MeasurementUi::setValue(singleResult_->labelSys, number(engine_->sys()));
        MeasurementUi::setValue(singleResult_->labelDia, number(engine_->dia()));
        MeasurementUi::setValue(singleResult_->labelHR, number(engine_->HR()));
        singleResult_->PAD_bt->setVisible(engine_->PADFlag());
        is_pad_db_ = engine_->PADFlag() ? 1 : 0;
        ResultWidgets::setWho(singleResult_->WHO_bt, WHO_chack(engine_->sys(), engine_->dia()),
                              WHOClassification::category(engine_->sys(), engine_->dia()), ctx_.formFactor);
        sys_db_ = engine_->sys();
        dia_db_ = engine_->dia();
        pulse_db_ = engine_->HR();
    }
    MeasurementUi::setValue(singleResult_->labelTime, resultDate());
    MeasurementUi::setValue(singleResult_->measurement_time, resultTime());
    DetectErrorMessage(engine_->errCode());
    // A failed reading has no values. Codes without a message would otherwise
    // leave the previous reading on show under the new time, ready to save.
    if (engine_->errCode() != 0) {
        hideMeasurementWindows();
        putOnTop(modeChoice_);
        session_.ended();
    } else {
        // An unsaved result on show: a start request must not drop it.
        HardwareButton_ = 3;
        session_.resultShown();
    }
}

void instruction_screen::BPAccessoryMModeReport()
{
    HardwareButton_ = 3;
    const int err = engine_->errCode();
    DetectErrorMessage(err);
    if (err != 0) {
        // A device error reads as in the single mode, from the error table
        // (nothing for the silent codes); only a stop says it was a stop.
        if (err == DeviceErrorTable::kStopCode)
            alert(DeviceErrorTable::kTrivErrorTitle, DeviceErrorTable::kStoppedByButtonMessage);
        putOnTop(modeChoice_);
        trivLive_->hide();
        TRIV3_chack_ = 1;
        session_.ended();
        // The series is abandoned here, so the device is told to stop too
        // rather than being left waiting in TRIV mode without a battery poll.
        // After the engine has finished with this report: it re-enters TRIV
        // mode right after telling us, which would override an earlier stop.
        ctx_.scheduler->post([guard = QPointer<instruction_screen>(this)] {
            if (guard)
                guard->ForceDisconnect();
        });
        measurementEnded();
        return;
    }

    newTrace(trivLive_->traceHost, isTablet(ctx_.formFactor) ? QSize(661, 183) : QSize(277, 80));
    const std::size_t row = std::size_t(qBound(1, TRIV3_chack_, 3) - 1);
    MeasurementUi::setValue(trivResult_->sys[row], number(engine_->sys()));
    MeasurementUi::setValue(trivResult_->dia[row], number(engine_->dia()));
    MeasurementUi::setValue(trivResult_->pulse[row], number(engine_->HR()));
    if (TRIV3_chack_ >= 3)
        TRIV3_chack_ = 1;
    // PAD on any reading of the series marks the series.
    if (engine_->PADFlag())
        is_pad_db_ = 1;

    if (!engine_->measureCompleteFlag()) {
        const int was = TRIV3_chack_;
        TRIV3_chack_ += 1;
        if (was == 1) {
            MeasurementUi::setValue(trivLive_->label3triv_chak, QStringLiteral("2nd"));
            trivLive_->image_1st->hide();
            trivLive_->image_2nd->show();
            trivLive_->image_3rd->hide();
        } else if (was == 2) {
            MeasurementUi::setValue(trivLive_->label3triv_chak, QStringLiteral("3rd"));
            trivLive_->image_1st->hide();
            trivLive_->image_2nd->hide();
            trivLive_->image_3rd->show();
        }
        session_.readingWithMoreToCome();
        return;
    }

    pushTransition(trivResult_);
    MeasurementUi::setValue(trivResult_->triv3_sysavg, number(engine_->sysAvg()));
    MeasurementUi::setValue(trivResult_->triv3_diaavg, number(engine_->diaAvg()));
    MeasurementUi::setValue(trivResult_->triv3_pulseavg, number(engine_->HRAvg()));
    ForceDisconnect();
    measurementEnded();
    is_pad_db_ = (engine_->PADFlag() || is_pad_db_ == 1) ? 1 : 0;
    trivResult_->PAD_bt_triv3->setVisible(is_pad_db_ == 1);
    ResultWidgets::setWho(trivResult_->WHO_bt_triv3, WHO_chack(engine_->sysAvg(), engine_->diaAvg()),
                          WHOClassification::category(engine_->sysAvg(), engine_->diaAvg()), ctx_.formFactor);
    putOnTop(trivResult_);
    MeasurementUi::setValue(trivResult_->triv3_date_result, resultDate());
    MeasurementUi::setValue(trivResult_->triv3_time_result, resultTime());
    HardwareButton_ = 3;
    session_.resultShown();
}

void instruction_screen::DetectErrorMessage(int errCode)
{
    if (const DeviceErrorTable::Entry *e = DeviceErrorTable::find(errCode)) {
        alert(e->title, e->message);
        TRIV3_chack_ = 1;
        session_.ended();
        putOnTop(modeChoice_);
        hideMeasurementWindows();
    } else if (errCode == DeviceErrorTable::kLowBatteryCode && Low_battery_ == 0) {
        alert(DeviceErrorTable::kLowBatteryTitle, DeviceErrorTable::kChargeFirstMessage);
        putOnTop(modeChoice_);
        hideMeasurementWindows();
        Low_battery_ = 1;
    }
    if (engine_->batteryfailed())
        alert(DeviceErrorTable::kBatteryMalfunctionTitle, DeviceErrorTable::kBatteryMalfunctionMessage);
    HardwareButton_ = 0;
}

void instruction_screen::BPAccessoryReceiveStart()
{
    if (Low_battery_Warning_ == 1)
        return;
    // The monitor's button does not throw away a reading on show: it is
    // saved or cancelled first, as for the TRIV button.
    if (session_.resultUnsaved())
        return;
    if (HardwareButton_ != 2 && HardwareButton_ != 3)
        HardwareButton_ = 1;
    takeDeviceStart();
    MeasurementMode::measure_mode = MeasurementMode::kSingle;
}

void instruction_screen::takeDeviceStart()
{
    endPauseForDeviceRequest();
    emit measurementStartRequested();
    emit selectTabRequested(0);
    modeChoice_->hide();
    notConnected_->hide();
    hideMeasurementWindows();
    // A result left unsaved is dropped: its comment must not go with the next.
    clearComments();
    device_yes_no_ = 1;
}

void instruction_screen::endPauseForDeviceRequest()
{
    // The device left the series for a new start of its own: the pause must
    // not resume the old one while the instructions are read. The device
    // needs no stop command; it has moved on by itself.
    if (session_.phase() != MeasurementSession::Phase::BetweenReadings)
        return;
    session_.ended();
    TRIV3_chack_ = 1;
    measurementEnded();
}

void instruction_screen::BPAccessoryReceive3TRIVN()
{
    if (HardwareButton_ == 2 || HardwareButton_ == 3 || session_.resultUnsaved() ||
        session_.phase() == MeasurementSession::Phase::Measuring)
        return;
    HardwareButton_ = 1;
    takeDeviceStart();
    MeasurementMode::measure_mode = MeasurementMode::kTriv;
}

// ---- the person's choices

void instruction_screen::leaveModeChoice()
{
    MeasurementMode::mode_chosen = 1;
    if (Low_battery_Warning_ == 1) {
        alert(DeviceErrorTable::kBatteryTooLowTitle, engine_->batteryCharging()
                                                         ? DeviceErrorTable::kWhileChargingMessage
                                                         : DeviceErrorTable::kChargeFirstMessage);
    } else if (device_yes_no_ == 1) {
        Low_battery_ = 0;
        notConnected_->hide();
        modeChoice_->hide();
    } else {
        modeChoice_->hide();
        putOnTop(notConnected_);
    }
}

void instruction_screen::one_tonara()
{
    leaveModeChoice();
    // A TRIV series left in its pause would resume in the middle of this one.
    abandonTrivPause();
    leaveResult();
    clearComments();
    // A live view or result left behind the mode choice (after a tab change,
    // say) must not come forward in place of the instructions.
    hideMeasurementWindows();
    pages_->restartAtFirstPage();
    MeasurementMode::measure_mode = MeasurementMode::kSingle;
}

void instruction_screen::mem_tonara()
{
    leaveModeChoice();
    trivLive_->Pleassewait_lable->hide();
    MeasurementUi::setValue(trivLive_->triv3_mmhg_measurement, QStringLiteral("mmHg"));
    abandonTrivPause();
    leaveResult();
    newTrace(trivLive_->traceHost, isTablet(ctx_.formFactor) ? QSize(661, 183) : QSize(273, 86));
    clearComments();
    hideMeasurementWindows();
    pages_->restartAtFirstPage();
    MeasurementMode::measure_mode = MeasurementMode::kTriv;
}

void instruction_screen::maual_tonara()
{
    // Manual entry is a screen of its own; without one listening there is
    // nothing to switch to, and the mode stays as it was.
    if (!isSignalConnected(QMetaMethod::fromSignal(&instruction_screen::manualEntryRequested)))
        return;
    // A measurement still running behind the mode choice (after a tab change)
    // would put its result over the wizard and leave both half done.
    if (HardwareButton_ == 2) {
        ForceDisconnect();
        measurementEnded();
        session_.ended();
        HardwareButton_ = 0;
    }
    abandonTrivPause();
    leaveResult();
    MeasurementMode::measure_mode = MeasurementMode::kManual;
    emit manualEntryRequested();
}

void instruction_screen::device_not_connected_cancel()
{
    notConnected_->hide();
    // Under the notice may wait a result to save; it comes back, not the mode choice.
    if (!session_.resultUnsaved())
        putOnTop(modeChoice_);
}

void instruction_screen::go_back_strat()
{
    putOnTop(modeChoice_);
    leaveResult();
}

void instruction_screen::manualEntryEnded()
{
    go_back_strat();
    // Undocked meanwhile: the tab shows the monitor as gone, as an undock does,
    // not a mode choice that would start a measurement without one.
    if (!engine_->eas() || device_yes_no_ == 0) {
        device_yes_no_ = 0;
        batteryIcon_->hide();
        modeChoice_->hide();
        putOnTop(notConnected_);
    }
}

void instruction_screen::go_measuring()
{
    const bool tablet = isTablet(ctx_.formFactor);
    // One measurement at a time: one still running (behind the mode choice
    // after a tab change) or a TRIV series in its pause is stopped, so the
    // device starts the new one clean and no report or resume of the old
    // one lands in it.
    if (HardwareButton_ == 2 || session_.measurementRunning()) {
        ForceDisconnect();
        measurementEnded();
    }
    // The series starts at its first reading however it was reached (mode
    // button or the device's own TRIV button).
    session_.ended();
    TRIV3_chack_ = 1;
    if (HardwareButton_ == 2 || HardwareButton_ == 3)
        HardwareButton_ = 0;
    // A new measurement carries no finding and no comment of the last one.
    is_pad_db_ = 0;
    clearComments();
    QWidget *live = nullptr;
    if (MeasurementMode::measure_mode != MeasurementMode::kSingle) {
        newTrace(trivLive_->traceHost, tablet ? QSize(661, 183) : QSize(273, 86));
        MeasurementUi::setValue(trivLive_->labelPressure_3triv, QStringLiteral("0"));
        MeasurementUi::setValue(trivLive_->label3triv_chak, QStringLiteral("1st"));
        MeasurementUi::setValue(trivLive_->triv3_mmhg_measurement, QStringLiteral("mmHg"));
        trivLive_->setPauseColours(false);
        trivLive_->Pleassewait_lable->hide();
        trivLive_->image_1st->show();
        trivLive_->image_2nd->hide();
        trivLive_->image_3rd->hide();
        live = trivLive_;
    } else {
        newTrace(singleLive_->traceHost, tablet ? QSize(661, 183) : QSize(280, 80));
        MeasurementUi::setValue(singleLive_->labelPressure, QStringLiteral("0"));
        singleLive_->Heart->hide();
        singleLive_->Heart_mu->hide();
        live = singleLive_;
    }
    if (MeasurementMode::measure_mode == MeasurementMode::kTriv) {
        StartMAN();
        putOnTop(trivLive_);
        pushTransition(live);
    } else if (MeasurementMode::measure_mode == MeasurementMode::kSingle) {
        StartTest();
        putOnTop(singleLive_);
        pushTransition(live);
    }
}

void instruction_screen::StartTest()
{
    if (engine_->eas())
        engine_->UModestart();
}

void instruction_screen::StartMAN()
{
    if (engine_->eas())
        engine_->MModeStart();
}

// ---- the TRIV pause and the ways a measurement ends early

void instruction_screen::triv3_cont()
{
    switch (session_.tick()) {
    case TrivPause::Tick::Nothing:
        return;
    case TrivPause::Tick::Counted:
        MeasurementUi::setValue(trivLive_->triv3_mmhg_measurement, QStringLiteral("Sec"));
        trivLive_->setPauseColours(true);
        trivLive_->image_2nd->hide();
        trivLive_->image_3rd->hide();
        trivLive_->Pleassewait_lable->show();
        MeasurementUi::setValue(trivLive_->labelPressure_3triv, number(session_.pause().count()));
        return;
    case TrivPause::Tick::Continue:
        if (engine_->eas())
            engine_->MModeContinue();
        trivLive_->setPauseColours(false);
        MeasurementUi::setValue(trivLive_->triv3_mmhg_measurement, QStringLiteral("mmHg"));
        trivLive_->Pleassewait_lable->hide();
        if (TRIV3_chack_ == 3) {
            MeasurementUi::setValue(trivLive_->label3triv_chak, QStringLiteral("3rd"));
            trivLive_->image_3rd->show();
        } else if (TRIV3_chack_ == 2) {
            MeasurementUi::setValue(trivLive_->label3triv_chak, QStringLiteral("2nd"));
            trivLive_->image_2nd->show();
        }
        return;
    }
}

void instruction_screen::ForceDisconnect()
{
    session_.haltPause();
    if (engine_->eas())
        engine_->disconnectDevice();
}

void instruction_screen::measurement_stop()
{
    ForceDisconnect();
    HardwareButton_ = 0;
    measurementEnded();
    singleLive_->hide();
    alert(DeviceErrorTable::kMeasurementStopTitle, DeviceErrorTable::kStoppedByButtonMessage);
    TRIV3_chack_ = 1;
    session_.ended();
    putOnTop(modeChoice_);
}

void instruction_screen::triv_measurement_back()
{
    ForceDisconnect();
    HardwareButton_ = 0;
    measurementEnded();
    trivLive_->hide();
    alert(DeviceErrorTable::kMeasurementStopTitle, DeviceErrorTable::kStoppedByButtonMessage);
    session_.ended();
    putOnTop(modeChoice_);
}

void instruction_screen::incomingCall()
{
    // Only a running measurement is interrupted by a call; a TRIV series in
    // its pause runs too: its next reading would inflate the cuff.
    if (!session_.measurementRunning())
        return;
    alert(DeviceErrorTable::kMeasurementStopTitle, DeviceErrorTable::kPhoneCallMessage);
    TRIV3_chack_ = 1;
    putOnTop(modeChoice_);
    hideMeasurementWindows();
    ForceDisconnect();
    session_.ended();
    HardwareButton_ = 0;
    measurementEnded();
}

void instruction_screen::enterBackground()
{
    if (!session_.measurementRunning())
        return;
    ForceDisconnect();
    session_.ended();
    TRIV3_chack_ = 1;
    alert(DeviceErrorTable::kMeasurementStopTitle, DeviceErrorTable::kStoppedMessage);
    putOnTop(modeChoice_);
    hideMeasurementWindows();
    HardwareButton_ = 0;
    measurementEnded();
}

// ---- results: WHO legend, save, comment and cancel

void instruction_screen::ONE_whoTouch()
{
    whoView_->imageviewINIT();
    putOnTop(whoView_);
}

void instruction_screen::TRIV_whoTouch()
{
    whoView_->imageviewINIT();
    putOnTop(whoView_);
}

void instruction_screen::WHO_Back_Touch()
{
    whoView_->hide();
}

void instruction_screen::measurement_save()
{
    HardwareButton_ = 0;
    session_.ended();
    SilentAlerts silent;
    AlertSink &alerts = ctx_.alerts ? static_cast<AlertSink &>(*ctx_.alerts) : silent;
    ReadingStore store(database(), alerts, *ctx_.clock);
    const auto saved = store.saveSingle(sys_db_, dia_db_, pulse_db_,
                                        singleResult_->comments_text->text().toStdString(), is_pad_db_ == 1);
    triv_id_db_ = 0;
    singleLive_->hide();
    backToStartAfterSave(singleResult_);
    // A reading that did not go in has been reported; it is not shown as saved.
    if (saved.stored)
        showSavedIndicator();
}

void instruction_screen::triv3_result_save()
{
    HardwareButton_ = 0;
    session_.ended();
    SilentAlerts silent;
    AlertSink &alerts = ctx_.alerts ? static_cast<AlertSink &>(*ctx_.alerts) : silent;
    ReadingStore store(database(), alerts, *ctx_.clock);
    ReadingStore::TrivSingles singles;
    for (std::size_t i = 0; i < singles.size(); ++i)
        singles[i] = {labelValue(trivResult_->sys[i]), labelValue(trivResult_->dia[i]),
                      labelValue(trivResult_->pulse[i])};
    const auto saved =
        store.saveTriv(labelValue(trivResult_->triv3_sysavg), labelValue(trivResult_->triv3_diaavg),
                       labelValue(trivResult_->triv3_pulseavg), singles,
                       trivResult_->comments_text_3triv->text().toStdString(), is_pad_db_ == 1);
    triv_id_db_ = saved.reading.triv_id;
    singleLive_->hide();
    trivLive_->hide();
    singleResult_->hide();
    backToStartAfterSave(trivResult_);
    if (saved.stored)
        showSavedIndicator();
}

void instruction_screen::backToStartAfterSave(QWidget *resultWindow)
{
    resultWindow->hide();
    commentView_->hide();
    putOnTop(modeChoice_);
    clearComments();
    pushTransition(modeChoice_);
}

void instruction_screen::showSavedIndicator()
{
    saveImageTicks_ = 0;
    save_image_->move((width() - save_image_->width()) / 2, (height() - save_image_->height()) / 2);
    save_image_->show();
    save_image_->raise();
    // Said to a screen reader too: the picture alone is not heard.
    QAccessibleEvent said(save_image_, QAccessible::Alert);
    QAccessible::updateAccessibility(&said);
    emit readingSaved();
}

void instruction_screen::save_imagemove()
{
    if (!save_image_->isHidden() && saveImageTicks_ < 2)
        ++saveImageTicks_;
    if (saveImageTicks_ == 2)
        save_image_->hide();
}

void instruction_screen::add_comments()
{
    editComment(MeasurementMode::measure_mode == MeasurementMode::kTriv
                    ? trivResult_->comments_text_3triv->text()
                    : singleResult_->comments_text->text());
}

void instruction_screen::editComment(const QString &current)
{
    singleResult_->hide();
    trivResult_->hide();
    whoView_->hide();
    CommentEditor *editor = commentView_->add_comments_text_view;
    // Whatever came in is held to the editor's own limit.
    editor->setComment(CommentEditor::visibleCharacters(current) <= CommentEditor::kLimit ? current
                                                                                          : QString());
    putOnTop(commentView_);
    editor->show();
    editor->moveCursor(QTextCursor::End);
    editor->setFocus();
    singleResult_->comments_text->clearFocus();
}

void instruction_screen::closeCommentView()
{
    commentView_->add_comments_text_view->clearFocus();
    commentView_->hide();
    switch (MeasurementMode::measure_mode) {
    case MeasurementMode::kTriv:
        putOnTop(trivResult_);
        break;
    case MeasurementMode::kManual:
        emit commentEditorClosed();
        break;
    default:
        putOnTop(singleResult_);
        break;
    }
}

void instruction_screen::comments_save()
{
    const QString text = commentView_->add_comments_text_view->toPlainText();
    // A long comment reads from its start in the one-line fields.
    for (QLineEdit *field : {singleResult_->comments_text, trivResult_->comments_text_3triv}) {
        field->setText(text);
        field->setCursorPosition(0);
    }
    emit commentSaved(text);
    closeCommentView();
}

void instruction_screen::comments_cancel()
{
    closeCommentView();
}

void instruction_screen::measurement_canael()
{
    askAbort(HardwareButton_);
}

void instruction_screen::triv3_result_cencel()
{
    const int held = HardwareButton_;
    HardwareButton_ = 0;
    askAbort(held);
}

void instruction_screen::askAbort(int held)
{
    const int serial = ++abortSerial_;
    if (ctx_.alerts)
        ctx_.alerts->alert(tr(DeviceErrorTable::kAbortTitle), tr(DeviceErrorTable::kAbortMessage),
                           {tr("OK"), tr("Cancel")},
                           [this, serial, held](int button) { abortAnswered(serial, button, held); });
}

void instruction_screen::abortAnswered(int serial, int button, int held)
{
    if (button == 0) {
        if (serial == abortSerial_)
            clearComments();
        hideMeasurementWindows();
        putOnTop(modeChoice_);
        if (session_.resultUnsaved())
            session_.ended();
    }
    // Kept, the result is still unsaved on show and stays guarded.
    HardwareButton_ = (button != 0 && held == 3) ? 3 : 0;
}

} // namespace tonara
