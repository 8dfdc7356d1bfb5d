#include "reports/core/ReportContent.h"

#include "reports/core/HomeWeekStore.h"
#include "storage/DBHelper.h"
#include "storage/DataBaseforCD.h"
#include "storage/SqlStatement.h"

namespace tonara {

ReportContent ReportContent::read(DBHelper &db, AlertSink &alerts, int user, const ReportPeriod &period,
                                  const Clock &clock)
{
    ReportContent c;
    c.user = user;
    c.name = userName(db, alerts, user);
    c.period = period;
    c.madeAt = clock.localNow();
    c.stats = PeriodStatistics::compute(db, user, period);
    c.rows = readRows(db, user, period);
    return c;
}

ReportContent ReportContent::gather(DBHelper &db, AlertSink &alerts, int user, const ReportPeriod &period,
                                    const Clock &clock)
{
    ReportContent c = read(db, alerts, user, period, clock);
    if (std::optional<WeekEvaluation> w = evaluateLatestWeek(db, user, clock)) {
        const bool inside =
            period.isAll() || (period.from().daysTo(w->start) >= 0 && w->lastDate().daysTo(period.to()) >= 0);
        if (inside)
            c.week = *w;
    }
    return c;
}

ReportContent ReportContent::forWeek(DBHelper &db, AlertSink &alerts, int user, const WeekEvaluation &week,
                                     const Clock &clock)
{
    ReportContent c = read(db, alerts, user, *ReportPeriod::between(week.start, week.lastDate()), clock);
    c.week = week;
    return c;
}

std::string ReportContent::userName(DBHelper &db, AlertSink &alerts, int user)
{
    DataBaseforCD users(db, alerts);
    users.ReadDataBase_user_table();
    for (std::size_t i = 0; i < users.aArray_user_user.size() && i < users.aArray_lastname_user.size(); ++i)
        if (users.aArray_user_user[i] == user && !users.aArray_lastname_user[i].empty())
            return users.aArray_lastname_user[i];
    return user == 0 ? "User" : "User " + std::to_string(user);
}

bool ReportContent::userExists(DBHelper &db, AlertSink &alerts, int user)
{
    DataBaseforCD users(db, alerts);
    users.ReadDataBase_user_table();
    for (int u : users.aArray_user_user)
        if (u == user)
            return true;
    return false;
}

std::vector<ReportRow> ReportContent::readRows(DBHelper &db, int user, const ReportPeriod &period)
{
    std::vector<ReportRow> rows;
    SqlStatement q =
        db.executeQuery("SELECT date, time, sys, dia, pulse, is_pad, is_triv, is_manual, diary FROM "
                        "tonaradock_table WHERE " +
                        period.rowCondition() + " ORDER BY date, time, rowid");
    period.bindRowCondition(q, 1, user);
    while (q.next())
        rows.push_back({q.columnText(0), q.columnText(1), q.columnInt(2), q.columnInt(3), q.columnInt(4),
                        q.columnInt(5) == 1, q.columnInt(6) == 1, q.columnInt(7) == 1, q.columnText(8)});
    db.closeDatabase();
    return rows;
}

} // namespace tonara
