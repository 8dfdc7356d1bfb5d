#include "reports/core/ReportRequest.h"

#include "base/Clock.h"

namespace tonara {

ReportRequest ReportRequest::month(int year, int month)
{
    ReportRequest r(Kind::Month);
    r.year_ = year;
    r.month_ = month;
    return r;
}

ReportRequest ReportRequest::chartPeriod(int code)
{
    ReportRequest r(Kind::ChartPeriod);
    r.month_ = code;
    return r;
}

ReportRequest ReportRequest::dates(const CivilDate &from, const CivilDate &to)
{
    ReportRequest r(Kind::Dates);
    r.from_ = from;
    r.to_ = to;
    return r;
}

ReportRequest ReportRequest::latestWeek()
{
    return ReportRequest(Kind::LatestWeek);
}

std::optional<ReportContent> ReportRequest::gather(DBHelper &db, AlertSink &alerts, int user,
                                                   const Clock &clock) const
{
    switch (kind_) {
    case Kind::Month: {
        const CivilDate first(year_, month_, 1);
        const CivilDate last = CivilDate(year_ + month_ / 12, month_ % 12 + 1, 1).plusDays(-1);
        return ReportContent::gather(db, alerts, user, *ReportPeriod::between(first, last), clock);
    }
    case Kind::ChartPeriod:
        return ReportContent::gather(db, alerts, user,
                                     ReportPeriod::ofCode(month_, CivilDate::of(clock.localNow())), clock);
    case Kind::Dates:
        if (std::optional<ReportPeriod> p = ReportPeriod::between(from_, to_))
            return ReportContent::gather(db, alerts, user, *p, clock);
        return std::nullopt;
    case Kind::LatestWeek:
        if (std::optional<WeekEvaluation> w = evaluateLatestWeek(db, user, clock))
            return ReportContent::forWeek(db, alerts, user, *w, clock);
        return std::nullopt;
    }
    return std::nullopt;
}

} // namespace tonara
