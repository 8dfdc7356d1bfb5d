#pragma once

// What a report made in the app covers, as the person chose it: a calendar
// month (the one the Report tab shows), a chart period counted back from
// today, two dates, or the latest home-monitoring week.
//
//   ReportRequest r = ReportRequest::chartPeriod(PeriodQueries::kWeek);
//   if (std::optional<ReportContent> c = r.gather(db, alerts, user, clock)) ...
//   // nothing: the dates run backwards, or no week was started

#include "charts/core/CivilDate.h"
#include "reports/core/ReportContent.h"

#include <optional>

namespace tonara {

class AlertSink;
class Clock;
class DBHelper;

class ReportRequest {
public:
    enum class Kind { Month, ChartPeriod, Dates, LatestWeek };

    static ReportRequest month(int year, int month);
    static ReportRequest chartPeriod(int code);
    static ReportRequest dates(const CivilDate &from, const CivilDate &to);
    static ReportRequest latestWeek();

    Kind kind() const { return kind_; }

    // The period's readings and figures (a month or a chart period also carry
    // the latest week when it lies inside them); for the week its seven days.
    std::optional<ReportContent> gather(DBHelper &db, AlertSink &alerts, int user, const Clock &clock) const;

private:
    explicit ReportRequest(Kind kind) : kind_(kind) {}

    Kind kind_;
    int year_ = 0;
    int month_ = 0; // the month's number, or the chart period's code
    CivilDate from_{2000, 1, 1};
    CivilDate to_{2000, 1, 1};
};

} // namespace tonara
