#include "reports/core/ReportPeriod.h"

#include "charts/core/PeriodQueries.h"
#include "storage/SqlStatement.h"

namespace tonara {

ReportPeriod ReportPeriod::ofCode(int code, const CivilDate &today)
{
    ReportPeriod p;
    p.code_ = code;
    p.to_ = today;
    switch (code) {
    case PeriodQueries::kDay:
        p.from_ = today;
        break;
    case PeriodQueries::kWeek:
        p.from_ = today.plusDays(-6);
        break;
    case PeriodQueries::kMonth:
        p.from_ = today.plusDays(-30);
        break;
    case PeriodQueries::kThreeMonths:
        p.from_ = today.plusDays(-60);
        break;
    case PeriodQueries::kYear:
        // This calendar year only, to its last day: the distribution chart's window.
        p.from_ = CivilDate(today.year(), 1, 1);
        p.to_ = CivilDate(today.year(), 12, 31);
        break;
    default:
        p = allReadings();
        p.code_ = PeriodQueries::kAll;
        break;
    }
    return p;
}

std::optional<ReportPeriod> ReportPeriod::between(const CivilDate &from, const CivilDate &to)
{
    if (from.daysTo(to) < 0)
        return std::nullopt;
    ReportPeriod p;
    p.from_ = from;
    p.to_ = to;
    return p;
}

ReportPeriod ReportPeriod::allReadings()
{
    return ReportPeriod();
}

std::string ReportPeriod::fromText() const
{
    return from_ ? from_->text() : std::string();
}

std::string ReportPeriod::toText() const
{
    return to_ ? to_->text() : std::string();
}

std::string ReportPeriod::rowCondition() const
{
    return isAll() ? "user_id = ?" : "user_id = ? AND date >= ? AND date <= ?";
}

void ReportPeriod::bindRowCondition(SqlStatement &q, int first, int user) const
{
    q.bind(first, user);
    if (!isAll())
        q.bind(first + 1, from_->text()).bind(first + 2, to_->text());
}

} // namespace tonara
