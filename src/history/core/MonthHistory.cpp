#include "history/core/MonthHistory.h"

#include "measurement/core/WHOClassification.h"
#include "storage/DBHelper.h"
#include "storage/DataBaseforCD.h"
#include "storage/SqlStatement.h"

#include <cstdint>
#include <cstdio>

namespace tonara {

MonthHistory::MonthHistory(DBHelper &db, AlertSink &alerts) : db_(db), alerts_(alerts) {}

int MonthHistory::SQLlite_Month(int year, int month)
{
    aArray_triv_id.clear();
    aArray_date.clear();
    aArray_time.clear();
    aArray_sys.clear();
    aArray_dia.clear();
    aArray_pulse.clear();
    aArray_diary.clear();
    aArray_is_triv.clear();
    aArray_is_manual.clear();
    aArray_user_id.clear();
    aArray_is_pad.clear();
    aArray_rowid.clear();
    aArray_times.clear();
    monthPrefix_.clear();

    db_.ensureDatabaseFileExists();
    DataBaseforCD settings(db_, alerts_);
    user_ = settings.activeUser();

    char first[32];
    std::snprintf(first, sizeof first, "%d-%02d-01", year, month);
    SqlStatement q = db_.executeQuery(
        "SELECT *, rowid FROM tonaradock_table where user_id = ? and date > date(?,'start of month','+0 "
        "month','-1 day') and date < date(?,'start of month','+1 month') ORDER BY date desc,time desc ");
    q.bind(1, user_).bind(2, first).bind(3, first);
    monthPrefix_ = q.prepared() ? std::string(first, 7) : std::string();
    while (q.next()) {
        aArray_triv_id.push_back(q.columnInt(0));
        aArray_date.push_back(q.columnText(1));
        aArray_time.push_back(q.columnText(2));
        aArray_sys.push_back(q.columnInt(3));
        aArray_dia.push_back(q.columnInt(4));
        aArray_pulse.push_back(q.columnInt(5));
        aArray_diary.push_back(q.columnText(6));
        aArray_is_triv.push_back(q.columnInt(7));
        aArray_is_manual.push_back(q.columnInt(8));
        aArray_user_id.push_back(q.columnInt(9));
        aArray_is_pad.push_back(q.columnInt(10));
        aArray_rowid.push_back(sqlite3_column_int64(q.handle(), 11));
    }
    aArray_date.push_back(kSentinel);
    db_.closeDatabase();
    return count();
}

std::string MonthHistory::OneDayAvgdata(const std::string &date)
{
    // A day of the month just read: all its readings of the user are in the
    // arrays already, so the list's headers cost no query.
    if (!monthPrefix_.empty() && date.size() == 10 && date.compare(0, 7, monthPrefix_) == 0) {
        std::int64_t sys = 0, dia = 0;
        int n = 0;
        for (std::size_t i = 0; i < aArray_time.size(); ++i)
            if (aArray_date[i] == date) {
                sys += aArray_sys[i];
                dia += aArray_dia[i];
                ++n;
            }
        if (n == 0)
            return {};
        return std::to_string(sys / n) + "/" + std::to_string(dia / n);
    }
    db_.ensureDatabaseFileExists();
    SqlStatement q = db_.executeQuery(
        "SELECT * FROM tonaradock_table where date = ? and user_id = ? ORDER BY date desc,time desc ");
    q.bind(1, date).bind(2, user_);
    std::int64_t sys = 0, dia = 0;
    int n = 0;
    while (q.next()) {
        sys += q.columnInt(3);
        dia += q.columnInt(4);
        ++n;
    }
    db_.closeDatabase();
    if (n == 0)
        return {};
    return std::to_string(sys / n) + "/" + std::to_string(dia / n);
}

int MonthHistory::SQLtriv_Search_more(int series)
{
    aArray_times.clear();
    aArray_sys_triv.clear();
    aArray_dia_triv.clear();
    aArray_pulse_triv.clear();
    db_.ensureDatabaseFileExists();
    SqlStatement q = db_.executeQuery("SELECT * FROM triv_table WHERE id = ?");
    q.bind(1, series);
    while (q.next()) {
        aArray_times.push_back(q.columnInt(1));
        aArray_sys_triv.push_back(q.columnInt(2));
        aArray_dia_triv.push_back(q.columnInt(3));
        aArray_pulse_triv.push_back(q.columnInt(4));
    }
    db_.closeDatabase();
    return static_cast<int>(aArray_sys_triv.size());
}

std::string MonthHistory::WHO_chack(std::size_t i) const
{
    if (i >= aArray_sys.size())
        return WHOClassification::iconName(WHOClassification::kOptimal);
    return WHOClassification::WHO_chack(aArray_sys[i], aArray_dia[i]);
}

} // namespace tonara
