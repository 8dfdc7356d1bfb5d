#pragma once

// The simulator's header names a member emit(); it has to be read before
// Qt defines emit as a macro.
#include "simulator/SimulatedAccessoryManager.h"
#include "simulator/TonaraSimulator.h"

#include "base/Clock.h"
#include "base/NotificationCenter.h"
#include "base/VirtualScheduler.h"
#include "device/BPAccessory.h"
#include "device/BPAccessoryNotifications.h"
#include "measurement/InstructionPages.h"
#include "measurement/MeasurementMode.h"
#include "measurement/ModeChoicePanel.h"
#include "measurement/Oscilloscope.h"
#include "measurement/PageControl.h"
#include "measurement/SingleLivePanel.h"
#include "measurement/SingleResultPanel.h"
#include "measurement/TrivLivePanel.h"
#include "measurement/TrivResultPanel.h"
#include "measurement/instruction_screen.h"
#include "platform/AlertPresenter.h"
#include "platform/CallCenter.h"
#include "platform/ScreenLockInhibitor.h"
#include "storage/DBHelper.h"

#include <QApplication>
#include <QLabel>
#include <QPushButton>
#include <QTemporaryDir>

#include <gtest/gtest.h>

#include <functional>
#include <memory>

namespace screentest {

using namespace std::chrono_literals;

struct Alert {
    QString title;
    QString message;
};

// The measurement tab on the in-process simulator in virtual time: nothing
// moves until the test advances the clock.
class ScreenRig {
public:
    tonara::VirtualScheduler sched;
    tonara::ManualClock clock{tonara::LocalDateTime{2026, 3, 14, 15, 9, 26}};
    tonara::NotificationCenter center;
    tonara::TonaraSimulator sim{sched, 5};
    tonara::SimulatedAccessoryManager manager{sim, sched, center};
    tonara::AlertPresenter alerts;
    tonara::CallCenter calls;
    tonara::ScreenLockInhibitor lock;
    // Readings go to a database file of the rig's own.
    QTemporaryDir dataDir;
    std::unique_ptr<tonara::DBHelper> db;
    std::unique_ptr<tonara::instruction_screen> screen;
    int tabRequests = 0;
    int singleReports = 0;
    int trivReports = 0;
    int trivSeries = 0; // TRIV reports that completed a series

    explicit ScreenRig(tonara::FormFactor form = tonara::FormFactor::Phone480, bool docked = true)
    {
        tonara::MeasurementMode::reset();
        sim.setSpeed(25);
        if (!docked)
            sim.undock();
        db = std::make_unique<tonara::DBHelper>(dataDir.path().toStdString(), &alerts);
        db->openDatabase();
        tonara::MeasurementContext ctx;
        ctx.db = db.get();
        ctx.accessories = &manager;
        ctx.scheduler = &sched;
        ctx.clock = &clock;
        ctx.center = &center;
        ctx.alerts = &alerts;
        ctx.calls = &calls;
        ctx.screenLock = &lock;
        ctx.formFactor = form;
        ctx.animations = false;
        center.addObserver(tonara::kBPaccessoryUModeReportNotification,
                           [this](const std::string &, const void *) { ++singleReports; });
        center.addObserver(tonara::kBPaccessoryMModeReportNotification,
                           [this](const std::string &, const void *sender) {
                               ++trivReports;
                               if (static_cast<const tonara::BPAccessory *>(sender)->measureCompleteFlag())
                                   ++trivSeries;
                           });
        screen = std::make_unique<tonara::instruction_screen>(ctx);
        QObject::connect(screen.get(), &tonara::instruction_screen::selectTabRequested,
                         [this](int) { ++tabRequests; });
        const QSize full = tonara::portraitPoints(form);
        screen->resize(full.width(), full.height() - 20 - 49); // below the status bar, above the tab bar
        screen->show();
        settle(200ms);
    }

    ~ScreenRig()
    {
        screen.reset();
        tonara::MeasurementMode::reset();
    }

    void settle(std::chrono::milliseconds d)
    {
        sched.advance(d);
        QApplication::processEvents();
    }
    bool until(const std::function<bool()> &pred, std::chrono::milliseconds limit = 60s)
    {
        const bool ok = sched.advanceUntil(pred, limit, 2ms);
        QApplication::processEvents();
        return ok;
    }
    // To the moment the screen's 1-second tick fires next.
    void nextTick()
    {
        const auto now = sched.elapsed().count();
        sched.advance(std::chrono::milliseconds(1000 - now % 1000));
    }

    tonara::BPAccessory &engine() { return *screen->engine(); }
    QWidget *front() const { return screen->frontPanel(); }

    // Every alert waiting, oldest first, each answered with its first button.
    std::vector<Alert> takeAlerts()
    {
        std::vector<Alert> out;
        while (alerts.hasAlert()) {
            out.push_back({alerts.currentTitle(), alerts.currentMessage()});
            alerts.answer(0);
        }
        return out;
    }

    void setBattery(int level, bool charging = false, bool failed = false)
    {
        sim.setBattery({level, charging, failed});
        // One poll of the battery every three seconds.
        settle(3100ms);
    }

    // From the mode choice to the live view of the mode.
    void start(bool triv)
    {
        if (triv)
            screen->mem_tonara();
        else
            screen->one_tonara();
        screen->go_measuring();
    }
    bool untilMeasuring()
    {
        return until([this] { return screen->HardwareButton() == 2; });
    }
    // The next single result has been shown and the engine is back to its
    // battery poll.
    bool untilSingleResult(int since = -1)
    {
        const int before = since < 0 ? singleReports : since;
        return until([this, before] { return singleReports > before && engine().BPState() == 10; });
    }
    // The next TRIV series has completed and its result is shown.
    bool untilTrivResult()
    {
        const int before = trivSeries;
        return until([this, before] { return trivSeries > before && engine().BPState() == 10; }, 120s);
    }
    bool deviceMeasuring() const
    {
        const auto phase = sim.phase();
        return phase == tonara::TonaraSimulator::Phase::Inflating ||
               phase == tonara::TonaraSimulator::Phase::Deflating;
    }
};

inline std::vector<QString> titles(const std::vector<Alert> &alerts)
{
    std::vector<QString> t;
    for (const auto &a : alerts)
        t.push_back(a.title);
    return t;
}

} // namespace screentest
