#include "reports/core/ReportTrend.h"

#include <cstdio>
#include <map>

namespace tonara {

namespace {

std::string labelOf(const CivilDate &d, bool yearly)
{
    char buf[16];
    if (yearly)
        std::snprintf(buf, sizeof buf, "%04d/%02d", d.year(), d.month());
    else
        std::snprintf(buf, sizeof buf, "%02d/%02d", d.month(), d.day());
    return buf;
}

double hourOf(const std::string &time)
{
    int h = 0, m = 0;
    if (std::sscanf(time.c_str(), "%d:%d", &h, &m) < 1)
        return 0;
    return h + m / 60.0;
}

} // namespace

ReportTrend ReportTrend::of(const std::vector<ReportRow> &rows, const ReportPeriod &period)
{
    ReportTrend t;
    // The dates the chart spans: the period's, or for "all" those of the readings.
    std::optional<CivilDate> first, last;
    if (!period.isAll()) {
        first = period.from();
        last = period.to();
    } else {
        for (const ReportRow &r : rows) {
            const std::optional<CivilDate> d = CivilDate::parse(r.date);
            if (!d)
                continue;
            if (!first || d->daysTo(*first) > 0)
                first = d;
            if (!last || last->daysTo(*d) > 0)
                last = d;
        }
    }
    if (!first || !last)
        return t;

    const long long span = first->daysTo(*last);
    if (span == 0) {
        t.hourly = true;
        t.xLength = 24;
        for (auto it = rows.rbegin(); it != rows.rend(); ++it)
            t.points.push_back({24 - hourOf(it->time), double(it->sys), double(it->dia)});
        for (int h : {0, 6, 12, 18, 24})
            t.labels.push_back({24.0 - h, (h < 10 ? "0" : "") + std::to_string(h) + ":00"});
        return t;
    }

    struct Sum {
        long long sys = 0, dia = 0, n = 0;
    };
    std::map<long long, Sum> days; // by serial day
    for (const ReportRow &r : rows) {
        const std::optional<CivilDate> d = CivilDate::parse(r.date);
        if (!d)
            continue;
        Sum &s = days[d->serial()];
        s.sys += r.sys;
        s.dia += r.dia;
        ++s.n;
    }
    t.xLength = static_cast<double>(span);
    for (auto it = days.rbegin(); it != days.rend(); ++it)
        t.points.push_back({static_cast<double>(last->serial() - it->first),
                            double(it->second.sys) / it->second.n, double(it->second.dia) / it->second.n});
    const bool yearly = span > 92;
    const int steps = span < 4 ? static_cast<int>(span) : 4;
    for (int i = 0; i <= steps; ++i) {
        const long long back = span * i / steps;
        t.labels.push_back({static_cast<double>(back), labelOf(last->plusDays(-back), yearly)});
    }
    return t;
}

} // namespace tonara
