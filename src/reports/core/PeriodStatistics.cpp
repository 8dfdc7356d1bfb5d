#include "reports/core/PeriodStatistics.h"

#include "measurement/core/WHOClassification.h"
#include "storage/DBHelper.h"
#include "storage/SqlStatement.h"

#include <cmath>
#include <cstring>

namespace tonara {

namespace {

// The sample standard deviation from the exact integer sums: n * sum(x^2) - sum(x)^2
// stays exact for any realistic file (100,000 readings of 300 mmHg are about 1e15).
double sampleSd(long long n, long long sum, long long sumSquares)
{
    if (n < 2)
        return 0;
    const long double spread = static_cast<long double>(n) * sumSquares - static_cast<long double>(sum) * sum;
    if (spread <= 0)
        return 0;
    return static_cast<double>(std::sqrt(spread / (static_cast<long double>(n) * (n - 1))));
}

// One value's running sums over the pass.
struct Sums {
    long long sum = 0;
    long long squares = 0;
    int min = 0;
    int max = 0;

    void add(int v, bool first)
    {
        sum += v;
        squares += static_cast<long long>(v) * v;
        if (first || v < min)
            min = v;
        if (first || v > max)
            max = v;
    }
    PeriodStatistics::Values values(int n) const
    {
        PeriodStatistics::Values v;
        v.mean = static_cast<double>(sum) / n;
        v.sd = sampleSd(n, sum, squares);
        v.min = min;
        v.max = max;
        return v;
    }
};

struct WindowSums {
    int count = 0;
    long long sys = 0;
    long long dia = 0;
    long long pulse = 0;

    void add(int s, int d, int p)
    {
        ++count;
        sys += s;
        dia += d;
        pulse += p;
    }
    PeriodStatistics::Window window() const
    {
        PeriodStatistics::Window w;
        w.count = count;
        if (count > 0) {
            w.sys = static_cast<double>(sys) / count;
            w.dia = static_cast<double>(dia) / count;
            w.pulse = static_cast<double>(pulse) / count;
        }
        return w;
    }
};

// Times are "HH:mm:ss", so comparing the first five characters with the
// "HH:mm" edges puts 11:59:59 in the morning and 12:00:00 outside it.
bool inWindow(const char *time, const char *from, const char *until)
{
    return std::strncmp(time, from, 5) >= 0 && std::strncmp(time, until, 5) < 0;
}

} // namespace

PeriodStatistics PeriodStatistics::compute(DBHelper &db, int user, const ReportPeriod &period)
{
    PeriodStatistics s;
    s.readAll(db, user, period);
    db.closeDatabase();
    return s;
}

void PeriodStatistics::readAll(DBHelper &db, int user, const ReportPeriod &period)
{
    // One pass over the period's rows: every figure is summed here rather than
    // in several aggregate queries, which each scanned the rows again (and the
    // class count sorted them).
    SqlStatement q = db.executeQuery("SELECT sys, dia, pulse, time, is_pad, is_triv, is_manual, date "
                                     "FROM tonaradock_table WHERE " +
                                     period.rowCondition());
    period.bindRowCondition(q, 1, user);
    sqlite3_stmt *st = q.handle();
    Sums sysSums, diaSums, pulseSums;
    WindowSums morningSums, eveningSums;
    while (q.next()) {
        const int s = sqlite3_column_int(st, 0);
        const int d = sqlite3_column_int(st, 1);
        const int p = sqlite3_column_int(st, 2);
        const bool first = count == 0;
        ++count;
        sysSums.add(s, first);
        diaSums.add(d, first);
        pulseSums.add(p, first);

        const auto *time = reinterpret_cast<const char *>(sqlite3_column_text(st, 3));
        if (time && std::strlen(time) >= 5) {
            if (inWindow(time, kMorningFrom, kMorningUntil))
                morningSums.add(s, d, p);
            else if (inWindow(time, kEveningFrom, kEveningUntil))
                eveningSums.add(s, d, p);
        }
        padCount += sqlite3_column_int(st, 4) == 1;
        trivCount += sqlite3_column_int(st, 5) == 1;
        manualCount += sqlite3_column_int(st, 6) == 1;

        const auto *date = reinterpret_cast<const char *>(sqlite3_column_text(st, 7));
        if (date) {
            if (first || firstDate.compare(date) > 0)
                firstDate = date;
            if (first || lastDate.compare(date) < 0)
                lastDate = date;
        }

        const int c = WHOClassification::category(s, d);
        if (c >= 1 && c <= 6)
            ++whoCount[c];
    }
    if (count == 0)
        return;
    sys = sysSums.values(count);
    dia = diaSums.values(count);
    pulse = pulseSums.values(count);
    meanPulsePressure = static_cast<double>(sysSums.sum - diaSums.sum) / count;
    morning = morningSums.window();
    evening = eveningSums.window();
}

double PeriodStatistics::whoShare(int category) const
{
    if (count == 0 || category < 1 || category > 6)
        return 0;
    return 100.0 * whoCount[category] / count;
}

} // namespace tonara
