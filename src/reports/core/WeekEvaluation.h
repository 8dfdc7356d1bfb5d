#pragma once

// Where a home-monitoring week stands: its 14 morning and evening slots, what
// is due now, the days left, and (once there is one) its result.
//
//   ManualClock clock(...);                       // or the app's SystemClock
//   WeekEvaluation w = evaluateWeek(db, user, *CivilDate::parse("2026-12-01"),
//                                   HomeThreshold::standard(), clock);
//   if (w.hasResult)
//       show(w.meanSys, w.meanDia, w.readingsUsed, w.atOrAbove, w.enoughReadings);
//   for (const WeekSlot &s : w.weekSlots) drawCell(s.day, s.period, s.done);
//
//   // The latest week a person started in the app (what `--week` reports):
//   if (std::optional<WeekEvaluation> last = evaluateLatestWeek(db, user, clock)) ...
//
// The rules, in short: the week is the 7 local dates from its start; the
// morning window is 04:00-11:59, the evening one 18:00-23:59; a slot is done
// by two readings in its window or one TRIV reading; day 1 is only practice.
// The result is the mean of the readings of days 2-7 that lie in a window,
// each stored reading counting once (a TRIV reading is the device's average
// of its three and counts as one). It exists once day 7 is over, or earlier
// once 12 such readings exist. Means are rounded to the nearest mmHg, halves
// up, and the rounded values are compared with the threshold, so the numbers
// shown and the words "at or above" always agree.

#include "charts/core/CivilDate.h"
#include "reports/core/HomeThreshold.h"

#include <array>
#include <optional>

namespace tonara {

class Clock;
class DBHelper;

enum class SlotPeriod { Morning, Evening };

struct WeekSlot {
    int day = 1; // 1..7
    SlotPeriod period = SlotPeriod::Morning;
    int readings = 0;  // readings of the user in this slot's window that day
    bool triv = false; // one of them is a TRIV reading
    bool done = false;
};

enum class WeekPhase {
    NotStarted, // today is before the first day
    Running,    // today is one of the 7 days
    Over        // day 7 has ended
};

struct WeekEvaluation {
    static constexpr int kDays = 7;
    static constexpr int kSlots = 2 * kDays;
    static constexpr int kReadingsNeeded = 12;

    CivilDate start{2000, 1, 1};
    HomeThreshold threshold = HomeThreshold::standard();

    WeekPhase phase = WeekPhase::NotStarted;
    int today = 0;    // the day number of today: 1..7 while running, 0 before, 8 after
    int daysLeft = 0; // days of the week from today on, today included (7 before, 0 after)

    // Day by day, morning before evening: slot (day, period) is at index 2 * (day - 1) + (evening ? 1 : 0).
    std::array<WeekSlot, kSlots> weekSlots{};
    int slotsDone = 0;

    // The slot whose window is open now and still wants readings, and how many.
    std::optional<int> dueNow;
    int dueReadings = 0;
    // The next slot whose window opens after now, inside the week.
    std::optional<int> nextSlot;

    // Readings of days 2-7 inside a window: the ones the result is made of.
    int readingsUsed = 0;
    bool hasResult = false;      // day 7 is over, or readingsUsed >= 12
    bool enoughReadings = false; // readingsUsed >= 12
    int meanSys = 0;             // rounded means of those readings (0 when there are none)
    int meanDia = 0;
    int meanPulse = 0;
    bool atOrAbove = false; // the rounded means reach the threshold (systolic or diastolic)

    static int slotIndex(int day, SlotPeriod period)
    {
        return 2 * (day - 1) + (period == SlotPeriod::Evening);
    }
    CivilDate dateOf(int day) const { return start.plusDays(day - 1); }
    CivilDate lastDate() const { return start.plusDays(kDays - 1); }
};

// Evaluates the seven days from start for the user, whether or not a week was
// started in the app. The readings come from tonaradock_table; "now" from the clock.
WeekEvaluation evaluateWeek(DBHelper &db, int user, const CivilDate &start, HomeThreshold threshold,
                            const Clock &clock);

// The user's latest week started in the app (running or ended, not abandoned),
// evaluated; nothing when the user never started one.
std::optional<WeekEvaluation> evaluateLatestWeek(DBHelper &db, int user, const Clock &clock);

} // namespace tonara
