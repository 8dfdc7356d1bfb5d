#pragma once

// The data behind the landscape charts: for a period code (1 day, 2 week,
// 3 month, 4 three months, 5 year, 6 all) the active user's readings or day
// averages, newest first, in five parallel lists.
//
//   PeriodQueries periods(DBHelper::newInstance(), alerts, clock);
//   int n = periods.chackSQL_line(PeriodQueries::kWeek);  // 0: "no data"
//   int sys = periods.SQL_Avg(n, 1), dia = periods.SQL_Avg(n, 2);
//   int type = periods.displayType(PeriodQueries::kWeek);
//   int x = periods.CatchStartPoint_date(periods.aArray_date_avg[0], type, periods.aArray_time_avg[0]);
//
// Every window is computed from the local date of the clock and bound, so just
// after local midnight "today" is already the new day whatever the UTC date.
// Nothing is cached: each call runs its query again.

#include <string>
#include <vector>

namespace tonara {

class AlertSink;
class Clock;
class DBHelper;

class PeriodQueries {
public:
    static constexpr int kDay = 1;
    static constexpr int kWeek = 2;
    static constexpr int kMonth = 3;
    static constexpr int kThreeMonths = 4;
    static constexpr int kYear = 5;
    static constexpr int kAll = 6;

    struct Reading {
        int sys = 0;
        int dia = 0;
        std::string date; // "yyyy-MM-dd"
    };

    PeriodQueries(DBHelper &db, AlertSink &alerts, const Clock &clock);

    // Replaces the five lists with the trend rows of the code (a code outside
    // 1..6 counts as "all") and returns their number.
    int chackSQL_line(int code);
    // Kind 1: mean systolic, kind 2: mean diastolic of the lists, truncated;
    // 0 for any other kind or a count of 0 or less.
    int SQL_Avg(int count, int kind) const;
    // The single readings that the distribution chart counts for the code.
    std::vector<Reading> distributionReadings(int code);
    // The code itself for 1..5; for "all" the type that the span of the loaded
    // dates calls for (under 1 day: 1, under 8: 2, under 31: 3, under 91: 4, else 5).
    int displayType(int code) const;
    // Type 1: the hour of the time text. Otherwise whole days from the date to
    // today: 0 today and tomorrow, 1 yesterday, ...; a date further ahead
    // counts its whole days ahead (1 for the day after tomorrow).
    int CatchStartPoint_date(const std::string &date, int type, const std::string &time) const;

    std::vector<std::string> aArray_date_avg; // "yyyy-MM-dd"
    std::vector<std::string> aArray_time_avg; // "HH:mm:ss"
    std::vector<int> aArray_sys_avg;
    std::vector<int> aArray_dia_avg;
    std::vector<int> aArray_pulse_avg;

private:
    int activeUser();

    DBHelper &db_;
    AlertSink &alerts_;
    const Clock &clock_;
};

} // namespace tonara
