#pragma once

#include "app/MeasurementTab.h"
#include "app/OrvelAppDelegate.h"
#include "storage/DBHelper.h"

#include <QTemporaryDir>
#include <QWidget>

#include <memory>

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

// One started application on a fresh data folder and database, animations off.
class ShellHarness {
public:
    struct Setup {
        FormFactor formFactor = FormFactor::Phone480;
        bool standInScreen = true; // false: the real measurement screen
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
    // Lets queued work (the background step, deferred deletes) run.
    static void settle();

private:
    QTemporaryDir dir_;
    std::unique_ptr<DBHelper> db_;
    StandInMeasurementScreen *standIn_ = nullptr;
    std::unique_ptr<OrvelAppDelegate> app_;
};

} // namespace tonara::test
