// Single and TRIV measurements from start to result, the device's errors and
// every way a measurement ends early.

#include "ScreenRig.h"

#include "measurement/CommentView.h"
#include "measurement/DeviceErrorTable.h"
#include "measurement/core/WHOClassification.h"

#include <QLineEdit>

using namespace tonara;
using namespace screentest;

namespace {

QString text(QLabel *l)
{
    return l->text();
}

} // namespace

TEST(SingleMeasurement, FromStartToResultWithTheWhoIcon)
{
    ScreenRig rig;
    rig.sim.setPatient({152, 96, 71, false});
    const int reports = rig.singleReports;
    rig.start(false);
    EXPECT_EQ(rig.front(), rig.screen->measuring_window());
    EXPECT_EQ(text(rig.screen->singleLivePanel()->labelPressure), "0");

    ASSERT_TRUE(rig.untilMeasuring());
    EXPECT_TRUE(rig.lock.isInhibited()) << "the screen stays on while measuring";
    bool sawBeat = false;
    int maxPressure = 0;
    ASSERT_TRUE(rig.until([&] {
        sawBeat = sawBeat || rig.screen->singleLivePanel()->Heart->isVisibleTo(rig.screen.get());
        maxPressure = std::max(maxPressure, text(rig.screen->singleLivePanel()->labelPressure).toInt());
        return rig.screen->HardwareButton() != 2;
    }));
    EXPECT_TRUE(sawBeat);
    EXPECT_GT(maxPressure, 152) << "the cuff went above systolic";
    EXPECT_GT(rig.screen->oscilloscope()->signal().size(), 100u);
    ASSERT_TRUE(rig.untilSingleResult(reports));

    EXPECT_EQ(rig.front(), rig.screen->measuring_window_result());
    auto *result = rig.screen->singleResultPanel();
    EXPECT_EQ(text(result->labelSys), "152");
    EXPECT_EQ(text(result->labelDia), "96");
    EXPECT_EQ(text(result->labelHR), "71");
    EXPECT_EQ(text(result->labelTime), "2026/03/14");
    EXPECT_EQ(text(result->measurement_time), "PM 03:09");
    EXPECT_EQ(result->WHO_bt->property("artwork").toString(),
              QString::fromStdString(WHOClassification::iconName(WHOClassification::kGrade1)));
    EXPECT_FALSE(result->PAD_bt->isVisibleTo(result));
    EXPECT_EQ(rig.screen->sys_db(), 152);
    EXPECT_EQ(rig.screen->pulse_db(), 71);
    EXPECT_EQ(rig.screen->HardwareButton(), 3) << "an unsaved result on show";
    EXPECT_FALSE(rig.lock.isInhibited()) << "released when the measurement ends";
    EXPECT_TRUE(rig.takeAlerts().empty());

    // The legend opens over the result and its back button closes it.
    result->WHO_bt->click();
    EXPECT_EQ(rig.front(), rig.screen->WHOview());
    rig.screen->WHO_Back_Touch();
    EXPECT_EQ(rig.front(), rig.screen->measuring_window_result());
}

TEST(SingleMeasurement, PhoneAndTabletFeedTheTraceTheirOwnScale)
{
    for (FormFactor form : {FormFactor::Phone480, FormFactor::Tablet}) {
        ScreenRig rig(form);
        rig.start(false);
        ASSERT_TRUE(rig.untilMeasuring());
        const int pulse = rig.engine().pulse();
        const float sample = rig.screen->oscilloscope()->signal().newest(0);
        if (isTablet(form)) {
            EXPECT_EQ(sample, float(pulse - 200));
            EXPECT_EQ(rig.screen->oscilloscope()->width(), 661);
        } else {
            EXPECT_EQ(sample, float(pulse / 10 - 20));
            EXPECT_EQ(rig.screen->oscilloscope()->width(), 280);
        }
        rig.screen->measurement_stop();
    }
}

TEST(SingleMeasurement, ErrorTwoReturnsToTheModeChoiceAndKeepsTheLastResult)
{
    ScreenRig rig;
    rig.sim.setPatient({118, 76, 64, false});
    rig.start(false);
    ASSERT_TRUE(rig.untilSingleResult());
    ASSERT_EQ(text(rig.screen->singleResultPanel()->labelSys), "118");

    rig.sim.setPatient({170, 105, 90, false});
    rig.sim.injectError(2);
    rig.start(false);
    ASSERT_TRUE(rig.untilSingleResult());
    const auto shown = rig.takeAlerts();
    ASSERT_EQ(shown.size(), 1u);
    EXPECT_EQ(shown[0].title, "Arm movement");
    EXPECT_EQ(rig.front(), rig.screen->start_tonaradock());
    EXPECT_FALSE(rig.screen->singleResultPanel()->isVisible());
    EXPECT_EQ(text(rig.screen->singleResultPanel()->labelSys), "118");
    EXPECT_EQ(rig.screen->sys_db(), 118);
    EXPECT_EQ(rig.screen->HardwareButton(), 0);
}

TEST(SingleMeasurement, ErrorFourIsSilentButEndsTheMeasurementWithoutShowingTheLastResult)
{
    ScreenRig rig;
    rig.sim.setPatient({124, 79, 60, false});
    rig.start(false);
    ASSERT_TRUE(rig.untilSingleResult());
    rig.clock.set(LocalDateTime{2026, 3, 15, 8, 30, 0});
    rig.sim.injectError(4);
    rig.start(false);
    ASSERT_TRUE(rig.untilMeasuring());
    ASSERT_TRUE(rig.untilSingleResult());
    EXPECT_TRUE(rig.takeAlerts().empty());
    EXPECT_EQ(rig.screen->HardwareButton(), 0);
    EXPECT_FALSE(rig.lock.isInhibited());
    // The earlier reading is not offered again as this one.
    EXPECT_TRUE(rig.screen->measuring_window_result()->isHidden());
    EXPECT_EQ(rig.front(), rig.screen->start_tonaradock());
    EXPECT_EQ(rig.screen->sys_db(), 124);
}

TEST(SingleMeasurement, LowBatteryErrorShownOnceUntilDockedAgain)
{
    ScreenRig rig;
    // Started from the device's button, as choosing a mode again would
    // itself clear the low-battery note.
    auto measureWithError12 = [&] {
        rig.sim.injectError(12);
        rig.sim.pressSingleButton();
        rig.settle(20ms);
        rig.screen->go_measuring();
        EXPECT_TRUE(rig.untilSingleResult());
        return rig.takeAlerts();
    };
    auto first = measureWithError12();
    ASSERT_EQ(first.size(), 1u);
    EXPECT_EQ(first[0].title, "Low battery");
    EXPECT_EQ(rig.front(), rig.screen->start_tonaradock());
    EXPECT_EQ(rig.screen->Low_battery(), 1);

    EXPECT_TRUE(measureWithError12().empty()) << "not again while docked";

    rig.sim.undock();
    rig.settle(100ms);
    rig.sim.dock();
    ASSERT_TRUE(rig.until([&] { return rig.screen->device_yes_no() == 1; }, 5s));
    rig.takeAlerts();
    auto again = measureWithError12();
    ASSERT_EQ(again.size(), 1u);
    EXPECT_EQ(again[0].title, "Low battery");

    // Choosing a mode while docked clears it as well.
    EXPECT_TRUE(measureWithError12().empty());
    rig.screen->one_tonara();
    rig.screen->go_measuring();
    rig.sim.injectError(12);
    ASSERT_TRUE(rig.untilSingleResult());
    EXPECT_EQ(rig.takeAlerts().size(), 1u);
}

TEST(SingleMeasurement, FailedBatteryIsReportedAfterTheResult)
{
    ScreenRig rig;
    rig.setBattery(60, false, /*failed=*/true);
    EXPECT_TRUE(rig.takeAlerts().empty()) << "the idle poll says nothing";
    rig.start(false);
    ASSERT_TRUE(rig.untilSingleResult());
    const auto shown = rig.takeAlerts();
    ASSERT_EQ(shown.size(), 1u);
    EXPECT_EQ(shown[0].title, "battery malfunction");
    EXPECT_EQ(rig.front(), rig.screen->measuring_window_result()) << "the result itself stands";
}

TEST(TrivMeasurement, FirstReportFillsTheFirstRowAndThePauseResumesTheSeries)
{
    ScreenRig rig;
    rig.sim.setPatient({128, 84, 66, false});
    rig.start(true);
    auto *live = rig.screen->trivLivePanel();
    EXPECT_EQ(rig.front(), rig.screen->triv3_measuring_window());
    EXPECT_EQ(text(live->label3triv_chak), "1st");
    EXPECT_TRUE(live->image_1st->isVisibleTo(live));
    EXPECT_FALSE(live->image_2nd->isVisibleTo(live));

    ASSERT_TRUE(rig.until([&] { return rig.screen->TRIV3_chack() == 2; }));
    auto *result = rig.screen->trivResultPanel();
    EXPECT_NEAR(text(result->sys[0]).toInt(), 128, 4);
    EXPECT_NEAR(text(result->dia[0]).toInt(), 84, 3);
    EXPECT_EQ(text(result->sys[1]), "0");
    EXPECT_EQ(text(live->label3triv_chak), "2nd");
    EXPECT_TRUE(live->image_2nd->isVisibleTo(live));
    EXPECT_EQ(rig.screen->triv3_count(), 16);
    EXPECT_TRUE(rig.screen->triv3_go());
    EXPECT_EQ(rig.front(), rig.screen->triv3_measuring_window()) << "the live view stays for the pause";
    EXPECT_EQ(rig.screen->oscilloscope()->signal().size(), 0u) << "a fresh trace for the next reading";
    EXPECT_TRUE(rig.takeAlerts().empty());

    // 16 ticks show 15 .. 0 in seconds; the engine waits meanwhile.
    for (int shown = 15; shown >= 0; --shown) {
        rig.nextTick();
        EXPECT_EQ(text(live->labelPressure_3triv), QString::number(shown));
        EXPECT_EQ(text(live->triv3_mmhg_measurement), "Sec");
        EXPECT_TRUE(live->Pleassewait_lable->isVisibleTo(live));
        EXPECT_EQ(rig.engine().BPState(), 4) << "engine waits in TRIV mode";
    }
    rig.nextTick();
    EXPECT_EQ(rig.engine().BPState(), 5) << "told to continue on the 17th tick";
    EXPECT_EQ(rig.screen->triv3_count(), 17);
    EXPECT_EQ(text(live->triv3_mmhg_measurement), "mmHg");
    EXPECT_FALSE(live->Pleassewait_lable->isVisibleTo(live));

    // Second reading, pause, third reading with the averages.
    ASSERT_TRUE(rig.until([&] { return rig.screen->TRIV3_chack() == 3; }));
    EXPECT_EQ(text(live->label3triv_chak), "3rd");
    ASSERT_TRUE(rig.untilTrivResult());
    EXPECT_EQ(rig.front(), rig.screen->triv3_measuring_window_result());
    const int sysAvg = text(result->triv3_sysavg).toInt();
    const int diaAvg = text(result->triv3_diaavg).toInt();
    int sum = 0;
    for (QLabel *l : result->sys)
        sum += text(l).toInt();
    EXPECT_EQ(sysAvg, sum / 3) << "the device's average of the three rows shown";
    EXPECT_EQ(result->WHO_bt_triv3->property("artwork").toString(),
              QString::fromStdString(WHOClassification::WHO_chack(sysAvg, diaAvg)));
    EXPECT_EQ(text(result->triv3_date_result), "2026/03/14");
    EXPECT_FALSE(rig.lock.isInhibited());
    EXPECT_TRUE(rig.takeAlerts().empty());

    // Back on the tab later the unsaved result is still there to save; once
    // saved, a new choice leads to the instructions.
    rig.screen->hide();
    rig.screen->show();
    EXPECT_EQ(rig.front(), rig.screen->triv3_measuring_window_result());
    EXPECT_EQ(rig.screen->HardwareButton(), 3);
    rig.screen->triv3_result_save();
    EXPECT_EQ(rig.front(), rig.screen->start_tonaradock());
    rig.screen->one_tonara();
    EXPECT_EQ(rig.front(), rig.screen->instructionPages());
}

TEST(TrivMeasurement, ADeviceErrorShowsItsOwnAlertAndNoPause)
{
    ScreenRig rig;
    rig.sim.injectError(1);
    rig.start(true);
    ASSERT_TRUE(rig.until([&] { return !rig.screen->trivLivePanel()->isVisible(); }));
    // A device error is not a stop: it reads as in the single mode.
    const auto shown = rig.takeAlerts();
    ASSERT_EQ(shown.size(), 1u);
    EXPECT_EQ(shown[0].title, "Signal too weak");
    EXPECT_EQ(rig.front(), rig.screen->start_tonaradock());
    EXPECT_EQ(rig.screen->TRIV3_chack(), 1);

    rig.settle(20s);
    EXPECT_EQ(rig.screen->triv3_count(), 17) << "no countdown";
    EXPECT_FALSE(rig.deviceMeasuring()) << "no next reading";
    EXPECT_EQ(rig.engine().BPState(), 10) << "device stopped, battery poll back";
    EXPECT_TRUE(rig.takeAlerts().empty());
}

TEST(PadFinding, ResetAtEachStartAndCombinedOverTheTrivReadings)
{
    ScreenRig rig;
    rig.sim.setPatient({125, 82, 70, true});
    rig.start(false);
    ASSERT_TRUE(rig.untilSingleResult());
    EXPECT_EQ(rig.screen->is_pad_db(), 1);
    EXPECT_TRUE(rig.screen->singleResultPanel()->PAD_bt->isVisibleTo(rig.screen->singleResultPanel()));

    // A TRIV series without PAD after a single result with it.
    rig.sim.setPatient({125, 82, 70, false});
    rig.start(true);
    auto *result = rig.screen->trivResultPanel();
    ASSERT_TRUE(rig.untilTrivResult());
    EXPECT_EQ(rig.screen->is_pad_db(), 0);
    EXPECT_FALSE(result->PAD_bt_triv3->isVisibleTo(result));

    // PAD only on the first reading still marks the series.
    rig.sim.setPatient({125, 82, 70, true});
    rig.start(true);
    ASSERT_TRUE(rig.until([&] { return rig.screen->TRIV3_chack() == 2; }));
    rig.sim.setPatient({125, 82, 70, false});
    ASSERT_TRUE(rig.untilTrivResult());
    EXPECT_FALSE(rig.engine().PADFlag());
    EXPECT_EQ(rig.screen->is_pad_db(), 1);
    EXPECT_TRUE(result->PAD_bt_triv3->isVisibleTo(result));
}

TEST(Interruptions, UndockingMidMeasurementStopsAndAsksToDock)
{
    ScreenRig rig;
    rig.start(false);
    ASSERT_TRUE(rig.untilMeasuring());
    rig.sim.undock();
    rig.settle(100ms);
    const auto shown = rig.takeAlerts();
    ASSERT_EQ(shown.size(), 1u);
    EXPECT_EQ(shown[0].title, "Measurement Stop");
    EXPECT_EQ(shown[0].message, DeviceErrorTable::kStoppedMessage);
    EXPECT_EQ(rig.screen->HardwareButton(), 0);
    EXPECT_EQ(rig.screen->device_yes_no(), 0);
    EXPECT_EQ(rig.front(), rig.screen->device_not_connected());
    EXPECT_FALSE(rig.lock.isInhibited());
}

TEST(Interruptions, UndockingDuringTheTrivPauseEndsThePause)
{
    ScreenRig rig;
    rig.start(true);
    ASSERT_TRUE(rig.until([&] { return rig.screen->TRIV3_chack() == 2; }));
    EXPECT_TRUE(rig.lock.isInhibited()) << "the screen stays on through the pause";
    rig.sim.undock();
    rig.settle(20s);
    EXPECT_FALSE(rig.screen->triv3_go());
    EXPECT_EQ(rig.screen->triv3_count(), 17);
    EXPECT_EQ(rig.front(), rig.screen->device_not_connected());
    EXPECT_FALSE(rig.lock.isInhibited()) << "the series is over, the screen may lock again";
}

TEST(Interruptions, ASingleMeasurementDuringTheTrivPauseEndsTheSeries)
{
    // Asked for by the monitor's single button, or chosen on the tab after
    // going elsewhere and coming back.
    for (bool fromDevice : {true, false}) {
        SCOPED_TRACE(fromDevice ? "monitor's button" : "mode choice");
        ScreenRig rig;
        rig.start(true);
        ASSERT_TRUE(rig.until([&] { return rig.screen->TRIV3_chack() == 2; }));
        ASSERT_TRUE(rig.screen->triv3_go());
        rig.nextTick();
        ASSERT_EQ(rig.screen->triv3_count(), 15);
        const int trivReports = rig.trivReports;
        if (fromDevice) {
            rig.sim.pressSingleButton();
            rig.settle(50ms);
            EXPECT_EQ(rig.front(), rig.screen->instructionPages());
        } else {
            rig.screen->hide();
            rig.screen->show();
            rig.screen->one_tonara();
        }
        EXPECT_FALSE(rig.screen->triv3_go()) << "the pause stops with the series";
        EXPECT_EQ(rig.screen->triv3_count(), 17);
        EXPECT_FALSE(rig.lock.isInhibited());
        rig.screen->go_measuring();
        ASSERT_TRUE(rig.untilSingleResult());
        // Long past where the pause would have resumed the series.
        rig.settle(25s);
        EXPECT_EQ(rig.trivReports, trivReports) << "no TRIV reading after the single one";
        EXPECT_EQ(rig.front(), rig.screen->measuring_window_result());
        EXPECT_EQ(rig.screen->HardwareButton(), 3);
        EXPECT_EQ(rig.engine().BPState(), 10) << "the engine was never told to continue";
        EXPECT_EQ(rig.screen->TRIV3_chack(), 1);
        EXPECT_TRUE(rig.takeAlerts().empty());
    }
}

TEST(Interruptions, TheMonitorsTrivButtonDuringThePauseStartsTheSeriesAfresh)
{
    ScreenRig rig;
    rig.sim.setPatient({146, 92, 75, false});
    rig.start(true);
    ASSERT_TRUE(rig.until([&] { return rig.screen->TRIV3_chack() == 2; }));
    const int trivReports = rig.trivReports;
    rig.sim.pressTrivButton();
    rig.settle(50ms);
    ASSERT_EQ(rig.front(), rig.screen->instructionPages());
    EXPECT_FALSE(rig.screen->triv3_go());
    EXPECT_FALSE(rig.lock.isInhibited());
    // Reading the instructions for longer than the pause: the old series
    // is not resumed meanwhile.
    rig.settle(25s);
    EXPECT_EQ(rig.trivReports, trivReports);
    EXPECT_FALSE(rig.deviceMeasuring());
    EXPECT_EQ(rig.screen->triv3_count(), 17);

    rig.sim.setPatient({114, 73, 61, false});
    rig.screen->go_measuring();
    EXPECT_EQ(rig.screen->TRIV3_chack(), 1);
    EXPECT_EQ(text(rig.screen->trivLivePanel()->label3triv_chak), "1st");
    ASSERT_TRUE(rig.until([&] { return rig.trivReports == trivReports + 1; }));
    EXPECT_NEAR(text(rig.screen->trivResultPanel()->sys[0]).toInt(), 114, 4);
    EXPECT_TRUE(rig.takeAlerts().empty());
}

TEST(Interruptions, ANewStartStopsTheMeasurementStillRunning)
{
    // A single measurement runs on behind the mode choice after a tab change;
    // a TRIV series started then begins clean with its own first reading.
    ScreenRig rig;
    rig.sim.setPatient({168, 102, 88, false});
    rig.start(false);
    ASSERT_TRUE(rig.untilMeasuring());
    rig.settle(200ms);
    ASSERT_TRUE(rig.deviceMeasuring());
    rig.screen->hide();
    rig.screen->show();
    ASSERT_EQ(rig.front(), rig.screen->start_tonaradock());
    const int singles = rig.singleReports;
    rig.sim.setPatient({112, 71, 58, false});
    int releases = 0;
    QObject::connect(&rig.lock, &ScreenLockInhibitor::inhibitedChanged,
                     [&](bool on) { releases += on ? 0 : 1; });
    rig.start(true);
    EXPECT_EQ(releases, 1) << "the running measurement ended before the new one began";
    EXPECT_EQ(rig.screen->HardwareButton(), 0) << "not measuring until the new one's waves";
    EXPECT_EQ(rig.front(), rig.screen->triv3_measuring_window());
    ASSERT_TRUE(rig.untilMeasuring());
    EXPECT_TRUE(rig.lock.isInhibited());
    ASSERT_TRUE(rig.until([&] { return rig.trivReports == 1; }));
    auto *result = rig.screen->trivResultPanel();
    EXPECT_NEAR(text(result->sys[0]).toInt(), 112, 4) << "the 1st row is the series' own reading";
    EXPECT_NEAR(text(result->dia[0]).toInt(), 71, 3);
    EXPECT_EQ(rig.singleReports, singles);
    EXPECT_EQ(text(rig.screen->trivLivePanel()->label3triv_chak), "2nd");
    EXPECT_TRUE(rig.screen->triv3_go());
    EXPECT_TRUE(rig.takeAlerts().empty());
}

TEST(Interruptions, StopButtonsStopTheDevice)
{
    ScreenRig rig;
    rig.start(false);
    ASSERT_TRUE(rig.untilMeasuring());
    rig.screen->singleLivePanel()->measurement_stop->click();
    EXPECT_EQ(rig.engine().BPState(), 8) << "stop command sent";
    auto shown = rig.takeAlerts();
    ASSERT_EQ(shown.size(), 1u);
    EXPECT_EQ(shown[0].message, DeviceErrorTable::kStoppedByButtonMessage);
    EXPECT_EQ(rig.front(), rig.screen->start_tonaradock());
    EXPECT_FALSE(rig.lock.isInhibited());
    rig.settle(2s);
    EXPECT_FALSE(rig.deviceMeasuring());

    rig.start(true);
    ASSERT_TRUE(rig.untilMeasuring());
    rig.screen->trivLivePanel()->triv_measurement_back->click();
    EXPECT_EQ(rig.engine().BPState(), 8);
    EXPECT_EQ(rig.takeAlerts().size(), 1u);
    EXPECT_EQ(rig.front(), rig.screen->start_tonaradock());
    EXPECT_EQ(rig.screen->HardwareButton(), 0);
}

TEST(Interruptions, BackgroundStopsOnlyARunningMeasurement)
{
    ScreenRig rig;
    rig.start(false);
    ASSERT_TRUE(rig.untilSingleResult());
    ASSERT_EQ(rig.screen->HardwareButton(), 3);
    const int stateOnResult = rig.engine().BPState();
    rig.screen->enterBackground();
    EXPECT_TRUE(rig.takeAlerts().empty());
    EXPECT_EQ(rig.engine().BPState(), stateOnResult);
    EXPECT_EQ(rig.screen->HardwareButton(), 3);
    EXPECT_EQ(rig.front(), rig.screen->measuring_window_result());

    rig.start(false);
    ASSERT_TRUE(rig.untilMeasuring());
    rig.screen->enterBackground();
    EXPECT_EQ(rig.engine().BPState(), 8);
    const auto shown = rig.takeAlerts();
    ASSERT_EQ(shown.size(), 1u);
    EXPECT_EQ(shown[0].title, "Measurement Stop");
    EXPECT_EQ(shown[0].message, DeviceErrorTable::kStoppedMessage);
    EXPECT_EQ(rig.front(), rig.screen->start_tonaradock());
    for (QWidget *w : {rig.screen->measuring_window(), rig.screen->measuring_window_result(),
                       rig.screen->triv3_measuring_window(), rig.screen->triv3_measuring_window_result()})
        EXPECT_TRUE(w->isHidden());
    EXPECT_EQ(rig.screen->HardwareButton(), 0);
    EXPECT_FALSE(rig.lock.isInhibited());
}

TEST(Interruptions, PhoneCallsStopOnlyARunningMeasurement)
{
    ScreenRig rig;
    rig.start(false);
    ASSERT_TRUE(rig.untilSingleResult());
    // Long after the measurement: the result stays and nothing is said.
    rig.calls.simulateIncomingCall();
    QApplication::processEvents();
    EXPECT_TRUE(rig.takeAlerts().empty());
    EXPECT_EQ(rig.front(), rig.screen->measuring_window_result());

    rig.start(true);
    ASSERT_TRUE(rig.untilMeasuring());
    rig.calls.simulateIncomingCall();
    QApplication::processEvents();
    const auto shown = rig.takeAlerts();
    ASSERT_EQ(shown.size(), 1u);
    EXPECT_EQ(shown[0].message, DeviceErrorTable::kPhoneCallMessage);
    EXPECT_EQ(rig.engine().BPState(), 8);
    EXPECT_EQ(rig.front(), rig.screen->start_tonaradock());
    EXPECT_FALSE(rig.lock.isInhibited());
    rig.calls.simulateIncomingCall();
    QApplication::processEvents();
    EXPECT_TRUE(rig.takeAlerts().empty()) << "a second call finds nothing running";
}

TEST(StartRequests, DeviceButtonsAgainstIdleAndAShownResult)
{
    ScreenRig rig;
    rig.sim.pressSingleButton();
    rig.settle(50ms);
    EXPECT_EQ(rig.screen->HardwareButton(), 1);
    EXPECT_EQ(rig.tabRequests, 1);
    EXPECT_EQ(rig.front(), rig.screen->instructionPages());
    EXPECT_EQ(MeasurementMode::measure_mode, MeasurementMode::kSingle);

    rig.screen->go_measuring();
    ASSERT_TRUE(rig.untilSingleResult());
    ASSERT_EQ(rig.screen->HardwareButton(), 3);
    rig.sim.pressTrivButton();
    rig.settle(50ms);
    EXPECT_EQ(rig.front(), rig.screen->measuring_window_result()) << "TRIV request ignored over a result";
    EXPECT_EQ(rig.tabRequests, 1);

    // Nor does the single button start over an unsaved result.
    rig.sim.pressSingleButton();
    rig.settle(50ms);
    EXPECT_EQ(rig.screen->HardwareButton(), 3);
    EXPECT_EQ(rig.front(), rig.screen->measuring_window_result());
    EXPECT_EQ(rig.tabRequests, 1);

    // Saved, the result no longer holds the buttons back.
    rig.screen->measurement_save();
    EXPECT_EQ(rig.screen->HardwareButton(), 0);
    rig.sim.pressTrivButton();
    rig.settle(50ms);
    EXPECT_EQ(rig.screen->HardwareButton(), 1);
    EXPECT_EQ(MeasurementMode::measure_mode, MeasurementMode::kTriv);
    rig.screen->go_measuring();
    EXPECT_EQ(rig.front(), rig.screen->triv3_measuring_window());
    EXPECT_EQ(rig.screen->TRIV3_chack(), 1);
}

TEST(StartRequests, SingleRequestIgnoredOnLowBattery)
{
    ScreenRig rig;
    rig.setBattery(8);
    rig.sim.pressSingleButton();
    rig.settle(50ms);
    EXPECT_EQ(rig.screen->HardwareButton(), 0);
    EXPECT_EQ(rig.front(), rig.screen->start_tonaradock());
}

TEST(ResultCancel, AbortConfirmation)
{
    ScreenRig rig;
    rig.start(false);
    ASSERT_TRUE(rig.untilSingleResult());
    rig.screen->singleResultPanel()->comments_text->setText("after coffee");
    rig.screen->singleResultPanel()->measurement_canael->click();
    ASSERT_TRUE(rig.alerts.hasAlert());
    EXPECT_EQ(rig.alerts.currentTitle(), "Abort the reading");
    EXPECT_EQ(rig.alerts.currentButtons(), (QStringList{"OK", "Cancel"}));
    rig.alerts.answer(1);
    EXPECT_EQ(rig.front(), rig.screen->measuring_window_result());
    EXPECT_EQ(rig.screen->singleResultPanel()->comments_text->text(), "after coffee");

    rig.screen->singleResultPanel()->measurement_canael->click();
    rig.alerts.answer(0);
    EXPECT_EQ(rig.front(), rig.screen->start_tonaradock());
    EXPECT_TRUE(rig.screen->singleResultPanel()->comments_text->text().isEmpty());
    EXPECT_EQ(rig.screen->HardwareButton(), 0);
}

TEST(StartRequests, AShownResultIsGuardedUntilSavedCancelledOrLeft)
{
    ScreenRig rig;
    auto trivRequestIgnored = [&](QWidget *result) {
        const int tabs = rig.tabRequests;
        rig.sim.pressTrivButton();
        rig.settle(50ms);
        EXPECT_EQ(rig.front(), result);
        EXPECT_EQ(rig.tabRequests, tabs);
        EXPECT_EQ(rig.screen->HardwareButton(), 3);
    };

    // A completed TRIV series until it is saved.
    rig.sim.setPatient({131, 83, 67, false});
    rig.start(true);
    ASSERT_TRUE(rig.untilTrivResult());
    ASSERT_EQ(rig.front(), rig.screen->triv3_measuring_window_result());
    trivRequestIgnored(rig.screen->triv3_measuring_window_result());
    // The legend and the comment editor over it are still the result.
    rig.screen->TRIV_whoTouch();
    rig.screen->WHO_Back_Touch();
    rig.screen->add_comments();
    rig.screen->comments_cancel();
    trivRequestIgnored(rig.screen->triv3_measuring_window_result());
    // Keeping it at the abort question keeps it guarded.
    rig.screen->triv3_result_cencel();
    rig.alerts.answer(1);
    trivRequestIgnored(rig.screen->triv3_measuring_window_result());
    rig.screen->triv3_result_save();
    EXPECT_EQ(rig.screen->HardwareButton(), 0);

    // A single result until it is cancelled.
    rig.start(false);
    ASSERT_TRUE(rig.untilSingleResult());
    trivRequestIgnored(rig.screen->measuring_window_result());
    rig.screen->measurement_canael();
    rig.alerts.answer(1);
    trivRequestIgnored(rig.screen->measuring_window_result());
    rig.screen->measurement_canael();
    rig.alerts.answer(0);
    EXPECT_EQ(rig.screen->HardwareButton(), 0);

    // Leaving the tab and coming back keeps a single result, still guarded.
    rig.start(false);
    ASSERT_TRUE(rig.untilSingleResult());
    ASSERT_EQ(rig.screen->HardwareButton(), 3);
    rig.screen->hide();
    rig.screen->show();
    trivRequestIgnored(rig.screen->measuring_window_result());
    rig.screen->measurement_save();
    EXPECT_EQ(rig.screen->HardwareButton(), 0);
    rig.sim.pressTrivButton();
    rig.settle(50ms);
    EXPECT_EQ(rig.screen->HardwareButton(), 1);
    EXPECT_EQ(rig.front(), rig.screen->instructionPages());
    EXPECT_TRUE(rig.takeAlerts().empty());
}

namespace screentest {
namespace {

// A TRIV series in its pause is running: the next reading would inflate the
// cuff. A call, the background and undocking stop it as they stop a reading
// whose waves arrive, at any moment of the pause.
TEST(Interruptions, ACallTheBackgroundOrUndockingDuringTheTrivPauseStopsTheSeries)
{
    enum class Cause { Call, Background, Undock };
    for (Cause cause : {Cause::Call, Cause::Background, Cause::Undock}) {
        for (bool afterContinue : {false, true}) {
            SCOPED_TRACE(int(cause));
            SCOPED_TRACE(afterContinue ? "just after the pause" : "in the countdown");
            ScreenRig rig;
            rig.start(true);
            ASSERT_TRUE(rig.until([&] { return rig.screen->TRIV3_chack() == 2; }));
            if (afterContinue)
                ASSERT_TRUE(rig.until([&] { return rig.screen->triv3_count() == 17; }, 20s));
            else
                rig.nextTick();
            ASSERT_NE(rig.screen->HardwareButton(), 2) << "no waves: the old check saw nothing running";
            const int trivReports = rig.trivReports;
            switch (cause) {
            case Cause::Call:
                rig.calls.simulateIncomingCall();
                break;
            case Cause::Background:
                rig.screen->enterBackground();
                break;
            case Cause::Undock:
                rig.sim.undock();
                break;
            }
            rig.settle(100ms);
            const auto shown = rig.takeAlerts();
            ASSERT_EQ(shown.size(), 1u);
            EXPECT_EQ(shown[0].title, "Measurement Stop");
            EXPECT_EQ(shown[0].message, cause == Cause::Call ? DeviceErrorTable::kPhoneCallMessage
                                                             : DeviceErrorTable::kStoppedMessage);
            EXPECT_EQ(rig.front(), cause == Cause::Undock ? rig.screen->device_not_connected()
                                                          : rig.screen->start_tonaradock());
            EXPECT_FALSE(rig.screen->session().measurementRunning());
            EXPECT_FALSE(rig.lock.isInhibited());
            // Long past where the series would have gone on: the cuff stays down.
            rig.settle(40s);
            EXPECT_FALSE(rig.deviceMeasuring());
            EXPECT_EQ(rig.trivReports, trivReports);
            EXPECT_EQ(rig.screen->TRIV3_chack(), 1);
            EXPECT_TRUE(rig.takeAlerts().empty());
        }
    }
}

// A result needs no monitor to be saved: a connect notification sent again
// leaves it, and its open comment editor, where they are.
TEST(Interruptions, AConnectNotificationSentAgainKeepsAnUnsavedResultAndItsEditor)
{
    ScreenRig rig;
    rig.sim.setPatient({121, 79, 64, false});
    rig.start(false);
    ASSERT_TRUE(rig.untilSingleResult());
    rig.center.post(kBPaccessoryDidConnectNotification, rig.screen->engine());
    QApplication::processEvents();
    EXPECT_EQ(rig.front(), rig.screen->measuring_window_result());
    EXPECT_EQ(rig.screen->HardwareButton(), 3);

    rig.screen->add_comments();
    rig.center.post(kBPaccessoryDidConnectNotification, rig.screen->engine());
    QApplication::processEvents();
    EXPECT_EQ(rig.front(), static_cast<QWidget *>(rig.screen->add_comments_view()));
    rig.screen->comments_cancel();
    EXPECT_EQ(rig.front(), rig.screen->measuring_window_result()) << "the editor comes back to its result";

    // Undocked, cancelling the notice shows the result again, still savable.
    rig.sim.undock();
    rig.settle(100ms);
    EXPECT_TRUE(rig.takeAlerts().empty());
    rig.screen->device_not_connected_cancel();
    EXPECT_EQ(rig.front(), rig.screen->measuring_window_result());
    rig.screen->measurement_save();
    EXPECT_EQ(rig.screen->HardwareButton(), 0);
    EXPECT_FALSE(rig.screen->save_image()->isHidden()) << "saved without the monitor";
}

TEST(TrivMeasurement, SilentCodesSayNothingAndTheMonitorsStopSaysItWasAStop)
{
    {
        ScreenRig rig;
        rig.sim.injectError(4);
        rig.start(true);
        ASSERT_TRUE(rig.until([&] { return rig.trivReports == 1; }));
        rig.settle(100ms);
        EXPECT_TRUE(rig.takeAlerts().empty());
        EXPECT_EQ(rig.front(), rig.screen->start_tonaradock());
    }
    {
        ScreenRig rig;
        rig.sim.injectError(11);
        rig.start(true);
        ASSERT_TRUE(rig.until([&] { return rig.trivReports == 1; }));
        rig.settle(100ms);
        const auto shown = rig.takeAlerts();
        ASSERT_EQ(shown.size(), 2u);
        EXPECT_EQ(shown[0].title, "Measurement Stop");
        EXPECT_EQ(shown[1].title, "Measurement error");
        EXPECT_EQ(shown[1].message, DeviceErrorTable::kStoppedByButtonMessage);
    }
}

} // namespace
} // namespace screentest

namespace screentest {
namespace {

// What the person reads for every code the monitor can report after a
// single reading, word for word (the monitor manual's typos included).
TEST(DeviceErrors, EveryCodeShowsItsOwnWordsOrNothing)
{
    struct Expected {
        int code;
        const char *title;
        const char *message;
    };
    const Expected shown[] = {
        {1, "Signal too weak",
         "The pulse signals on the cuff are too weak.Re-position the cuff and repeat the measurement."},
        {2, "Arm movement",
         "During the measurement,error signals were detected by the cuff,caused for instance by movement or "
         "muscle tension. Repeat the measurement keeping your arm still."},
        {3, "No pressure in cuff",
         "An adequate pressure cannot be generated in the cuff. A leak may have occurred. Check that the "
         "cuff is correctly connected and is not too loose.Replace the batteries if necessary. Repeat the "
         "measurement."},
        {5, "Abnormal result",
         "The measuring signals are inaccurate and no result can therefore be displayed. Read through the "
         "checklist for performing reliable measurements and then repeat the measurement."},
        {6, "Error in TRIV mode",
         "There were too many errors during the measurement in TRIV mode,making it impossible to obtain a "
         "final result. Read through the checklist for pergorming reliable measurements and then repeat the "
         "measurement."},
        {7, "Pulse or cuff pressure too high",
         "The pressure in the cuff is too high (over 300 mmHg) or the pulse is too high (over 200 beats "
         "perminute). Relax for 5 minutes and repeat the measurement."},
        {11, "Measurement Stop",
         "Measurement stopped.You have\neither pressed the Stop button or\n disconnect the Tonara+ "
         "during\nmeasurement."},
        {12, "Low battery",
         "The battery of Tonara+ is too low. Please charge the Tonara+ before measurements."},
    };
    for (int code = 0; code <= 15; ++code) {
        SCOPED_TRACE(code);
        ScreenRig rig;
        if (code != 0)
            rig.sim.injectError(code);
        rig.start(false);
        ASSERT_TRUE(rig.untilSingleResult());
        const auto alerts = rig.takeAlerts();
        const Expected *want = nullptr;
        for (const Expected &e : shown)
            if (e.code == code)
                want = &e;
        if (!want) {
            EXPECT_TRUE(alerts.empty()) << alerts.front().title.toStdString();
            continue;
        }
        ASSERT_EQ(alerts.size(), 1u);
        EXPECT_EQ(alerts[0].title, QString::fromUtf8(want->title));
        EXPECT_EQ(alerts[0].message, QString::fromUtf8(want->message));
    }
}

} // namespace
} // namespace screentest
