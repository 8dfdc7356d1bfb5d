#pragma once

// The local dates a report covers: one of the six chart periods counted back
// from today (the same windows as the distribution chart), two dates chosen by
// the person, or every reading.
//
//   ReportPeriod p = ReportPeriod::ofCode(PeriodQueries::kMonth, today);   // the last 31 days
//   ReportPeriod q = ReportPeriod::between(from, to);                     // both included
//   ReportPeriod all = ReportPeriod::allReadings();
//   p.fromText(), p.toText();   // the bounds as bound into a query ("yyyy-MM-dd")

#include "charts/core/CivilDate.h"

#include <optional>
#include <string>

namespace tonara {

class SqlStatement;

class ReportPeriod {
public:
    // Day, week (7 days), month (31), three months (61), this calendar year,
    // or all (any other code), up to and including today.
    static ReportPeriod ofCode(int code, const CivilDate &today);
    // The dates from..to, both included; nothing when to lies before from.
    static std::optional<ReportPeriod> between(const CivilDate &from, const CivilDate &to);
    static ReportPeriod allReadings();

    bool isAll() const { return !from_; }
    // Only for a period that is not "all".
    const CivilDate &from() const { return *from_; }
    const CivilDate &to() const { return *to_; }
    int code() const { return code_; } // the chart period's code, 0 for chosen dates

    // "yyyy-MM-dd" of the bounds; empty for "all".
    std::string fromText() const;
    std::string toText() const;

    // The condition on tonaradock_table's rows of one user in the period, with
    // its values bound from position first on; "all" also takes rows whose
    // date is damaged or missing.
    //   SqlStatement q = db.executeQuery("SELECT ... WHERE " + p.rowCondition());
    //   p.bindRowCondition(q, 1, user);
    std::string rowCondition() const;
    void bindRowCondition(SqlStatement &q, int first, int user) const;

private:
    ReportPeriod() = default;

    std::optional<CivilDate> from_;
    std::optional<CivilDate> to_;
    int code_ = 0;
};

} // namespace tonara
