#pragma once

// The simulator's header names a member emit(); it has to be read before
// Qt defines emit as a macro.
#include "simulator/SimulatedAccessoryManager.h"
#include "simulator/TonaraSimulator.h"

#include "app/MeasurementTab.h"
#include "app/OrvelAppDelegate.h"
#include "base/AlertSink.h"
#include "base/Clock.h"
#include "base/NotificationCenter.h"
#include "base/VirtualScheduler.h"
#include "storage/DBHelper.h"

#include <QTemporaryDir>
#include <QWidget>

#include <chrono>
#include <functional>
#include <memory>

namespace tonara {
class instruction_screen;
}

namespace tonara::test {

// A measurement screen with the panels the shell touches and a settable
// HardwareButton, counting the stop commands it is given.
class StandInMeasurementScreen : public QWidget {
public:
    StandInMeasurementScreen();
    MeasurementTab tab();

    QWidget *panel(const char *name) const;
    int hardwareButton = 0;
    int forceDisconnects = 0;
};

// The real measurement screen on a simulated monitor of its own in virtual
// time, put into the shell in place of the one the shell would build: the
// shell's alerts, calls, screen lock and background step, the screen's own
// clock. Nothing on the screen moves until the test advances the time.
struct VirtualMeasurement {
    VirtualScheduler sched;
    ManualClock clock{LocalDateTime{2026, 3, 14, 15, 9, 26}};
    NotificationCenter center;
    TonaraSimulator sim{sched, 9};
    SimulatedAccessoryManager manager{sim, sched, center};
    instruction_screen *screen = nullptr;

    VirtualMeasurement() { sim.setSpeed(25); }
    MeasurementTab tab(const MeasurementContext &shell);
    // Advances in 2 ms steps until pred() holds or the limit passes.
    bool until(const std::function<bool()> &pred, std::chrono::milliseconds limit = std::chrono::seconds(60));
    void settle(std::chrono::milliseconds d);
};

// One started application on a fresh data folder and database, animations off.
class ShellHarness {
public:
    struct Setup {
        FormFactor formFactor = FormFactor::Phone480;
        bool standInScreen = true; // false: the real measurement screen
        bool virtualTime = false;  // the real screen on virtual time (VirtualMeasurement)
        QString device;            // a serial device instead of the built-in simulator
        // Runs on the fresh database before the application starts.
        std::function<void(DBHelper &)> seed;
    };

    static Setup on(FormFactor f)
    {
        Setup s;
        s.formFactor = f;
        return s;
    }
    static Setup seeded(std::function<void(DBHelper &)> seed)
    {
        Setup s;
        s.seed = std::move(seed);
        return s;
    }

    explicit ShellHarness(Setup setup);
    ShellHarness() : ShellHarness(Setup{}) {}
    ~ShellHarness();

    OrvelAppDelegate &app() { return *app_; }
    StandInMeasurementScreen *standIn() const { return standIn_; }
    VirtualMeasurement *measurement() const { return virtual_.get(); }
    // Lets queued work (the background step, deferred deletes) run.
    static void settle();

private:
    QTemporaryDir dir_;
    std::unique_ptr<DBHelper> db_;
    StandInMeasurementScreen *standIn_ = nullptr;
    std::unique_ptr<VirtualMeasurement> virtual_;
    std::unique_ptr<OrvelAppDelegate> app_;
};

// Shows nothing and answers nothing: for the stores that seed a database.
class QuietAlerts final : public AlertSink {
public:
    void showAlert(const std::string &, const std::string &, const std::vector<std::string> &,
                   Completion) override
    {}
};

// "phone480", "phone568", "tablet": the form factor as picture names spell it.
QString formName(FormFactor f);

// A picture of the shell for people to look at: the window fitted to its
// content, settled, and saved as NAME.png in $TONARA_SCREENSHOT_DIR
// (./screenshots when unset). Fails the calling test when the picture cannot
// be saved or is a single colour (a picture of nothing).
void saveScreenshot(ShellHarness &h, const QString &name);

} // namespace tonara::test
