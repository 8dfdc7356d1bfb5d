#pragma once

// The measurement tab with the home-monitoring week attached, on the rig's
// own database and virtual clock. Readings go in through the reading store at
// the rig's clock, the way the tab stores them, and the tab is told.

#include "ScreenRig.h"

#include "measurement/HomeWeekCard.h"
#include "measurement/HomeWeekGrid.h"
#include "measurement/HomeWeekPanel.h"
#include "measurement/core/ReadingStore.h"
#include "storage/DataBaseforCD.h"

namespace screentest {

struct WeekRig {
    // The week's first day, a Monday.
    static constexpr tonara::LocalDateTime kMonday{2026, 3, 16, 7, 10, 0};

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
    // The clock to day (1 = the Monday) at hh:mm.
    void at(int day, int hour, int minute = 0)
    {
        const tonara::CivilDate d = tonara::CivilDate::of(kMonday).plusDays(day - 1);
        rig.clock.set({d.year(), d.month(), d.day(), hour, minute, 0});
    }
    // n single readings at day hh:mm (or one TRIV reading), then the saved
    // indicator as the tab shows it, gone again after its two ticks.
    void measure(int day, int hour, int n, int sys, int dia, bool triv = false)
    {
        at(day, hour, 5);
        tonara::ReadingStore store(*rig.db, rig.alerts, rig.clock);
        for (int i = 0; i < n; ++i) {
            const bool stored =
                triv ? store
                           .saveTriv(sys, dia, 70, {{{sys, dia, 70}, {sys, dia, 70}, {sys, dia, 70}}}, "",
                                     false)
                           .stored
                     : store.saveSingle(sys, dia, 70, "", false).stored;
            EXPECT_TRUE(stored);
        }
        rig.screen->showSavedIndicator();
        rig.settle(std::chrono::milliseconds(3100));
    }
    void tapStart(bool highRisk = false)
    {
        week->card()->click();
        (highRisk ? week->home_week_start_high_risk : week->home_week_start_standard)->click();
    }
    // Away from the tab and back, as the tab bar does.
    void comeBack()
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
