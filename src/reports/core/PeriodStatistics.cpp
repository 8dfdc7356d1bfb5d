#include "reports/core/PeriodStatistics.h"

#include "measurement/core/WHOClassification.h"
#include "storage/DBHelper.h"
#include "storage/SqlStatement.h"

#include <cmath>

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

long long int64At(const SqlStatement &q, int col)
{
    return static_cast<long long>(sqlite3_column_int64(q.handle(), col));
}

} // namespace

PeriodStatistics PeriodStatistics::compute(DBHelper &db, int user, const ReportPeriod &period)
{
    PeriodStatistics s;
    s.readTotals(db, user, period);
    if (s.count > 0) {
        s.readWindows(db, user, period);
        s.readClasses(db, user, period);
    }
    db.closeDatabase();
    return s;
}

void PeriodStatistics::readTotals(DBHelper &db, int user, const ReportPeriod &period)
{
    SqlStatement q =
        db.executeQuery("SELECT COUNT(*), "
                        "SUM(sys), SUM(sys * sys), MIN(sys), MAX(sys), "
                        "SUM(dia), SUM(dia * dia), MIN(dia), MAX(dia), "
                        "SUM(pulse), SUM(pulse * pulse), MIN(pulse), MAX(pulse), "
                        "SUM(is_pad = ?), SUM(is_triv = ?), SUM(is_manual = ?), MIN(date), MAX(date) "
                        "FROM tonaradock_table WHERE " +
                        period.rowCondition());
    q.bind(1, 1).bind(2, 1).bind(3, 1);
    period.bindRowCondition(q, 4, user);
    if (!q.next())
        return;
    count = q.columnInt(0);
    if (count == 0)
        return;
    auto values = [&](int col) {
        Values v;
        const long long sum = int64At(q, col);
        v.mean = static_cast<double>(sum) / count;
        v.sd = sampleSd(count, sum, int64At(q, col + 1));
        v.min = q.columnInt(col + 2);
        v.max = q.columnInt(col + 3);
        return v;
    };
    sys = values(1);
    dia = values(5);
    pulse = values(9);
    meanPulsePressure = static_cast<double>(int64At(q, 1) - int64At(q, 5)) / count;
    padCount = q.columnInt(13);
    trivCount = q.columnInt(14);
    manualCount = q.columnInt(15);
    firstDate = q.columnText(16);
    lastDate = q.columnText(17);
}

void PeriodStatistics::readWindows(DBHelper &db, int user, const ReportPeriod &period)
{
    // Times are "HH:mm:ss", so a text comparison with "HH:mm" edges puts
    // 11:59:59 in the morning and 12:00:00 outside it.
    SqlStatement q =
        db.executeQuery("SELECT time >= ? AND time < ?, COUNT(*), SUM(sys), SUM(dia), SUM(pulse) "
                        "FROM tonaradock_table WHERE ((time >= ? AND time < ?) OR "
                        "(time >= ? AND time < ?)) AND " +
                        period.rowCondition() + " GROUP BY 1");
    q.bind(1, kMorningFrom).bind(2, kMorningUntil);
    q.bind(3, kMorningFrom).bind(4, kMorningUntil).bind(5, kEveningFrom).bind(6, kEveningUntil);
    period.bindRowCondition(q, 7, user);
    while (q.next()) {
        Window &w = q.columnInt(0) == 1 ? morning : evening;
        w.count = q.columnInt(1);
        if (w.count == 0)
            continue;
        w.sys = static_cast<double>(int64At(q, 2)) / w.count;
        w.dia = static_cast<double>(int64At(q, 3)) / w.count;
        w.pulse = static_cast<double>(int64At(q, 4)) / w.count;
    }
}

void PeriodStatistics::readClasses(DBHelper &db, int user, const ReportPeriod &period)
{
    // The class rule lives in one place (WHOClassification); the query only
    // groups equal pairs so a long series costs a few hundred lookups.
    SqlStatement q = db.executeQuery("SELECT sys, dia, COUNT(*) FROM tonaradock_table WHERE " +
                                     period.rowCondition() + " GROUP BY sys, dia");
    period.bindRowCondition(q, 1, user);
    while (q.next()) {
        const int c = WHOClassification::category(q.columnInt(0), q.columnInt(1));
        if (c >= 1 && c <= 6)
            whoCount[c] += q.columnInt(2);
    }
}

double PeriodStatistics::whoShare(int category) const
{
    if (count == 0 || category < 1 || category > 6)
        return 0;
    return 100.0 * whoCount[category] / count;
}

} // namespace tonara
