#pragma once

// The measurement tab with the home-monitoring week attached, on the rig's
// database and virtual clock. Readings go in through the reading store at the
// rig's clock, as the tab stores them, and the tab is told.

#include "ScreenRig.h"

#include "measurement/HomeWeekCard.h"
#include "measurement/HomeWeekGrid.h"
#include "measurement/HomeWeekPanel.h"
#include "measurement/core/ReadingStore.h"
#include "storage/DataBaseforCD.h"

namespace screentest {

struct WeekRig {
    static constexpr tonara::LocalDateTime kMonday{2026, 3, 16, 7, 10, 0}; // day 1

    explicit WeekRig(tonara::FormFactor form = tonara::FormFactor::Phone480) : form(form), rig(form)
    {
        tonara::DataBaseforCD(*rig.db, rig.alerts).check_database();
        rig.clock.set(kMonday);
        week = tonara::HomeWeekPanel::attach(rig.screen.get(), context());
    }
    tonara::MeasurementContext context()
    {
        tonara::MeasurementContext ctx;
        ctx.db = rig.db.get();
        ctx.scheduler = &rig.sched;
        ctx.clock = &rig.clock;
        ctx.alerts = &rig.alerts;
        ctx.formFactor = form;
        ctx.animations = false;
        return ctx;
    }
    void at(int day, int hour)
    {
        const tonara::CivilDate d = tonara::CivilDate::of(kMonday).plusDays(day - 1);
        rig.clock.set({d.year(), d.month(), d.day(), hour, 5, 0});
    }
    // n readings (or one TRIV reading) at day hh:05; the saved indicator
    // shows and is gone again.
    void measure(int day, int hour, int n, int sys, int dia, bool triv = false)
    {
        at(day, hour);
        tonara::ReadingStore store(*rig.db, rig.alerts, rig.clock);
        for (int i = 0; i < n; ++i)
            EXPECT_TRUE((triv ? store.saveTriv(sys, dia, 70,
                                               {{{sys, dia, 70}, {sys, dia, 70}, {sys, dia, 70}}}, "", false)
                              : store.saveSingle(sys, dia, 70, "", false))
                            .stored);
        rig.screen->showSavedIndicator();
        rig.settle(std::chrono::milliseconds(3100));
    }
    void tapStart(bool highRisk = false)
    {
        week->card()->click();
        (highRisk ? week->home_week_start_high_risk : week->home_week_start_standard)->click();
    }
    void comeBack() // away from the tab and back, as the tab bar does
    {
        rig.screen->hide();
        rig.screen->show();
        QApplication::processEvents();
    }
    QString cellState(int day, tonara::SlotPeriod p) const
    {
        return week->grid()->cell(day, p)->property("slot").toString();
    }

    tonara::FormFactor form;
    ScreenRig rig;
    tonara::HomeWeekPanel *week = nullptr;
};

} // namespace screentest
