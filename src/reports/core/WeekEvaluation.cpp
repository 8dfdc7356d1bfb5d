#include "reports/core/WeekEvaluation.h"

#include "base/Clock.h"
#include "reports/core/HomeMonitoringWeek.h"
#include "reports/core/HomeWeekStore.h"
#include "storage/DBHelper.h"
#include "storage/SqlStatement.h"

namespace tonara {

WeekEvaluation evaluateWeek(DBHelper &db, int user, const CivilDate &start, HomeThreshold threshold,
                            const Clock &clock)
{
    std::vector<WeekReading> readings;
    SqlStatement q = db.executeQuery("SELECT date, time, sys, dia, pulse, is_triv FROM tonaradock_table "
                                     "WHERE user_id = ? AND date >= ? AND date <= ? ORDER BY date, time");
    q.bind(1, user).bind(2, start.text()).bind(3, start.plusDays(WeekEvaluation::kDays - 1).text());
    while (q.next())
        readings.push_back({q.columnText(0), q.columnText(1), q.columnInt(2), q.columnInt(3), q.columnInt(4),
                            q.columnInt(5) == 1});
    db.closeDatabase();
    return HomeMonitoringWeek(start, threshold).evaluate(readings, clock.localNow());
}

std::optional<WeekEvaluation> evaluateLatestWeek(DBHelper &db, int user, const Clock &clock)
{
    const std::optional<HomeWeek> week = HomeWeekStore(db).latestWeek(user);
    if (!week)
        return std::nullopt;
    return evaluateWeek(db, user, week->start, week->threshold, clock);
}

} // namespace tonara
