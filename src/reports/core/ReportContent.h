#pragma once

// Everything a doctor's report shows, read from the file in one go: whose it
// is, the period, the statistics, every reading, and a home-monitoring week's
// evaluation when the report has one.
//
//   ReportContent c = ReportContent::gather(db, alerts, user, period, clock);
//   // with the latest week when it lies inside the period
//   ReportContent w = ReportContent::forWeek(db, alerts, user, evaluation, clock);
//   if (c.isEmpty()) ...                   // the report says so in words
//   for (const ReportRow &r : c.rows) ...  // oldest first
//
// Nothing here draws; the PDF layer (ReportPdf) turns it into pages.

#include "base/Clock.h"
#include "reports/core/PeriodStatistics.h"
#include "reports/core/ReportPeriod.h"
#include "reports/core/WeekEvaluation.h"

#include <optional>
#include <string>
#include <vector>

namespace tonara {

class AlertSink;
class DBHelper;

struct ReportRow {
    std::string date; // "yyyy-MM-dd"
    std::string time; // "HH:mm:ss"
    int sys = 0;
    int dia = 0;
    int pulse = 0;
    bool pad = false;
    bool triv = false;
    bool manual = false;
    std::string comment;
};

class ReportContent {
public:
    // The user's readings in the period, with the evaluation of the user's
    // latest started week when all of its seven days lie inside the period.
    static ReportContent gather(DBHelper &db, AlertSink &alerts, int user, const ReportPeriod &period,
                                const Clock &clock);
    // The seven days of an evaluated week (started in the app or not).
    static ReportContent forWeek(DBHelper &db, AlertSink &alerts, int user, const WeekEvaluation &week,
                                 const Clock &clock);

    // The name on the user's profile; "User" / "User N" without one.
    static std::string userName(DBHelper &db, AlertSink &alerts, int user);
    // A profile row exists for the number.
    static bool userExists(DBHelper &db, AlertSink &alerts, int user);

    bool isEmpty() const { return rows.empty(); }

    int user = 0;
    std::string name;
    ReportPeriod period = ReportPeriod::allReadings();
    LocalDateTime madeAt;
    PeriodStatistics stats;
    std::vector<ReportRow> rows; // oldest first
    std::optional<WeekEvaluation> week;

private:
    static std::vector<ReportRow> readRows(DBHelper &db, int user, const ReportPeriod &period);
    static ReportContent read(DBHelper &db, AlertSink &alerts, int user, const ReportPeriod &period,
                              const Clock &clock);
};

} // namespace tonara
