#include "charts/core/PeriodQueries.h"

#include "base/Clock.h"
#include "charts/core/CivilDate.h"
#include "storage/DBHelper.h"
#include "storage/DataBaseforCD.h"
#include "storage/SqlStatement.h"

#include <cstdio>
#include <cstdlib>

namespace tonara {

namespace {

// The windows of the day-based periods: N calendar days up to today.
int windowDays(int code)
{
    switch (code) {
    case PeriodQueries::kWeek:
        return 7;
    case PeriodQueries::kMonth:
        return 31;
    case PeriodQueries::kThreeMonths:
        return 61;
    default:
        return 0;
    }
}

std::string yearText(int year)
{
    char buf[8];
    std::snprintf(buf, sizeof buf, "%04d", year);
    return buf;
}

} // namespace

PeriodQueries::PeriodQueries(DBHelper &db, AlertSink &alerts, const Clock &clock)
    : db_(db), alerts_(alerts), clock_(clock)
{}

int PeriodQueries::activeUser()
{
    DataBaseforCD settings(db_, alerts_);
    return settings.activeUser();
}

int PeriodQueries::chackSQL_line(int code)
{
    aArray_date_avg.clear();
    aArray_time_avg.clear();
    aArray_sys_avg.clear();
    aArray_dia_avg.clear();
    aArray_pulse_avg.clear();

    const int user = activeUser();
    const CivilDate today = CivilDate::of(clock_.localNow());
    const bool readings = code == kDay;
    SqlStatement rows = [&] {
        if (readings) {
            SqlStatement st = db_.executeQuery(
                "select * from tonaradock_table WHERE date = ? and user_id = ? ORDER BY date desc,time desc");
            st.bind(1, today.text()).bind(2, user);
            return st;
        }
        if (const int days = windowDays(code)) {
            SqlStatement st = db_.executeQuery("SELECT * FROM day_average WHERE (date <= ? AND date > ?) and "
                                               "(user_id = ?) ORDER BY date desc");
            st.bind(1, today.text()).bind(2, today.plusDays(-days).text()).bind(3, user);
            return st;
        }
        if (code == kYear) {
            SqlStatement st = db_.executeQuery("SELECT * FROM day_average WHERE (strftime('%Y',date) = ? OR "
                                               "strftime('%Y',date) = ?) and user_id = ? ORDER BY date desc");
            st.bind(1, yearText(today.year())).bind(2, yearText(today.year() - 1)).bind(3, user);
            return st;
        }
        SqlStatement st = db_.executeQuery("SELECT * FROM day_average WHERE user_id = ? order by date desc");
        st.bind(1, user);
        return st;
    }();

    while (rows.next()) {
        aArray_date_avg.push_back(rows.columnText(1));
        aArray_time_avg.push_back(rows.columnText(readings ? 2 : 5));
        aArray_sys_avg.push_back(rows.columnInt(readings ? 3 : 2));
        aArray_dia_avg.push_back(rows.columnInt(readings ? 4 : 3));
        aArray_pulse_avg.push_back(rows.columnInt(readings ? 5 : 4));
    }
    return static_cast<int>(aArray_date_avg.size());
}

int PeriodQueries::SQL_Avg(int count, int kind) const
{
    const std::vector<int> *list = kind == 1 ? &aArray_sys_avg : kind == 2 ? &aArray_dia_avg : nullptr;
    if (!list || count <= 0)
        return 0;
    long long sum = 0;
    for (int v : *list)
        sum += v;
    return static_cast<int>(sum / count);
}

std::vector<PeriodQueries::Reading> PeriodQueries::distributionReadings(int code)
{
    const int user = activeUser();
    const CivilDate today = CivilDate::of(clock_.localNow());
    SqlStatement rows = [&] {
        if (code == kDay) {
            SqlStatement st = db_.executeQuery(
                "SELECT * FROM tonaradock_table WHERE date = ? and user_id = ? ORDER BY date desc,time desc");
            st.bind(1, today.text()).bind(2, user);
            return st;
        }
        if (const int days = windowDays(code)) {
            SqlStatement st =
                db_.executeQuery("SELECT * FROM tonaradock_table WHERE date <= ? AND date > ? and "
                                 "user_id = ? ORDER BY date desc");
            st.bind(1, today.text()).bind(2, today.plusDays(-days).text()).bind(3, user);
            return st;
        }
        if (code == kYear) {
            SqlStatement st = db_.executeQuery("SELECT * FROM tonaradock_table WHERE strftime('%Y',date) == "
                                               "? and user_id = ? ORDER BY date desc");
            st.bind(1, yearText(today.year())).bind(2, user);
            return st;
        }
        SqlStatement st =
            db_.executeQuery("SELECT * FROM tonaradock_table where user_id = ? order by date desc");
        st.bind(1, user);
        return st;
    }();

    std::vector<Reading> out;
    while (rows.next())
        out.push_back({rows.columnInt(3), rows.columnInt(4), rows.columnText(1)});
    return out;
}

int PeriodQueries::displayType(int code) const
{
    if (code >= kDay && code <= kYear)
        return code;
    if (aArray_date_avg.empty())
        return kDay;
    const auto newest = CivilDate::parse(aArray_date_avg.front());
    const auto oldest = CivilDate::parse(aArray_date_avg.back());
    const long long days = newest && oldest ? oldest->daysTo(*newest) : 0;
    if (days < 1)
        return kDay;
    if (days < 8)
        return kWeek;
    if (days < 31)
        return kMonth;
    if (days < 91)
        return kThreeMonths;
    return kYear;
}

int PeriodQueries::CatchStartPoint_date(const std::string &date, int type, const std::string &time) const
{
    if (type == kDay)
        return std::atoi(time.c_str());
    const auto day = CivilDate::parse(date);
    if (!day)
        return 0;
    const LocalDateTime now = clock_.localNow();
    // Seconds from now to that date's local midnight: negative for past dates.
    const long long s = CivilDate::of(now).daysTo(*day) * 86400 -
                        (static_cast<long long>(now.hour) * 3600 + now.minute * 60 + now.second);
    const long long d = s / 86400;
    return static_cast<int>(s < -86399 ? -d : d);
}

} // namespace tonara
