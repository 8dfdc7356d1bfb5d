#pragma once

// The active user's readings of one month, newest first, as the history
// screen's column arrays, plus the day-average text and a TRIV series.
//
//   MonthHistory month(DBHelper::newInstance(), alertSink);
//   int n = month.SQLlite_Month(2013, 5);       // every aArray_ has n elements...
//   month.aArray_date.back();                   // ...but aArray_date n + 1: "0000-00-00"
//   month.OneDayAvgdata("2013-05-03");          // "128/84"
//   month.SQLtriv_Search_more(month.aArray_triv_id[i]);
//
// The user is the settings row's (0 without one). Every value reaches SQL as a
// bound parameter. A query that cannot be prepared reads as an empty month.

#include <string>
#include <vector>

namespace tonara {

class AlertSink;
class DBHelper;

class MonthHistory {
public:
    static constexpr const char *kSentinel = "0000-00-00";

    MonthHistory(DBHelper &db, AlertSink &alerts);

    // Replaces every month array (and empties aArray_times); returns n.
    int SQLlite_Month(int year, int month);
    // The user whose month was read last.
    int user() const { return user_; }
    // "sys/dia" of the active user's readings of the date, truncating averages;
    // empty text when the user has none that day.
    std::string OneDayAvgdata(const std::string &date);
    // The triv_table rows of a series in stored order into the four TRIV arrays.
    int SQLtriv_Search_more(int series);
    // The WHO picture of reading i of the month.
    std::string WHO_chack(std::size_t i) const;
    int count() const { return static_cast<int>(aArray_time.size()); }

    std::vector<int> aArray_triv_id;
    std::vector<std::string> aArray_date; // n + 1 elements: the sentinel closes it
    std::vector<std::string> aArray_time;
    std::vector<int> aArray_sys;
    std::vector<int> aArray_dia;
    std::vector<int> aArray_pulse;
    std::vector<std::string> aArray_diary;
    std::vector<int> aArray_is_triv;
    std::vector<int> aArray_is_manual;
    std::vector<int> aArray_user_id;
    std::vector<int> aArray_is_pad;
    // The row each reading came from, so that deleting it touches that row only.
    std::vector<long long> aArray_rowid;

    std::vector<int> aArray_times;
    std::vector<int> aArray_sys_triv;
    std::vector<int> aArray_dia_triv;
    std::vector<int> aArray_pulse_triv;

private:
    DBHelper &db_;
    AlertSink &alerts_;
    int user_ = 0;
    std::string monthPrefix_; // "yyyy-MM" of the month in the arrays
};

} // namespace tonara
