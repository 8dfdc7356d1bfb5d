#include "reports/core/HomeMonitoringWeek.h"

#include "base/Clock.h"

#include <algorithm>

namespace tonara {

namespace {

// Nearest whole number, halves up, also for negative sums (which only a
// damaged file could hold).
int roundedMean(long long sum, long long count)
{
    const long long num = 2 * sum + count;
    const long long den = 2 * count;
    long long q = num / den;
    if (num % den != 0 && (num < 0) != (den < 0))
        --q;
    return static_cast<int>(q);
}

} // namespace

HomeMonitoringWeek::HomeMonitoringWeek(const CivilDate &start, HomeThreshold threshold)
    : start_(start), threshold_(threshold)
{}

std::optional<SlotPeriod> HomeMonitoringWeek::windowOfHour(int hour)
{
    if (hour >= 4 && hour <= 11)
        return SlotPeriod::Morning;
    if (hour >= 18 && hour <= 23)
        return SlotPeriod::Evening;
    return std::nullopt;
}

std::optional<SlotPeriod> HomeMonitoringWeek::windowOf(const std::string &time)
{
    // "HH:mm:ss"; the hour alone decides, so 11:59:59 is still morning.
    if (time.size() < 2 || time[0] < '0' || time[0] > '9' || time[1] < '0' || time[1] > '9')
        return std::nullopt;
    if (time.size() > 2 && time[2] != ':')
        return std::nullopt;
    return windowOfHour((time[0] - '0') * 10 + (time[1] - '0'));
}

WeekEvaluation HomeMonitoringWeek::evaluate(const std::vector<WeekReading> &readings,
                                            const LocalDateTime &now) const
{
    WeekEvaluation w;
    w.start = start_;
    w.threshold = threshold_;
    for (int day = 1; day <= WeekEvaluation::kDays; ++day) {
        for (SlotPeriod p : {SlotPeriod::Morning, SlotPeriod::Evening}) {
            WeekSlot &s = w.weekSlots[WeekEvaluation::slotIndex(day, p)];
            s.day = day;
            s.period = p;
        }
    }

    long long sumSys = 0, sumDia = 0, sumPulse = 0;
    for (const WeekReading &r : readings) {
        const std::optional<CivilDate> date = CivilDate::parse(r.date);
        const std::optional<SlotPeriod> window = windowOf(r.time);
        if (!date || !window)
            continue;
        const long long day = start_.daysTo(*date) + 1;
        if (day < 1 || day > WeekEvaluation::kDays)
            continue;
        WeekSlot &s = w.weekSlots[WeekEvaluation::slotIndex(static_cast<int>(day), *window)];
        ++s.readings;
        s.triv = s.triv || r.triv;
        if (day >= 2) {
            sumSys += r.sys;
            sumDia += r.dia;
            sumPulse += r.pulse;
            ++w.readingsUsed;
        }
    }
    for (WeekSlot &s : w.weekSlots) {
        s.done = s.triv || s.readings >= 2;
        w.slotsDone += s.done;
    }

    placeNow(w, now);

    w.enoughReadings = w.readingsUsed >= WeekEvaluation::kReadingsNeeded;
    w.hasResult = w.phase == WeekPhase::Over || w.enoughReadings;
    if (w.readingsUsed > 0) {
        w.meanSys = roundedMean(sumSys, w.readingsUsed);
        w.meanDia = roundedMean(sumDia, w.readingsUsed);
        w.meanPulse = roundedMean(sumPulse, w.readingsUsed);
        w.atOrAbove = threshold_.isAtOrAbove(w.meanSys, w.meanDia);
    }
    return w;
}

void HomeMonitoringWeek::placeNow(WeekEvaluation &w, const LocalDateTime &now) const
{
    const long long day = start_.daysTo(CivilDate::of(now)) + 1;
    if (day < 1) {
        w.phase = WeekPhase::NotStarted;
        w.today = 0;
        w.daysLeft = WeekEvaluation::kDays;
        w.nextSlot = 0;
        return;
    }
    if (day > WeekEvaluation::kDays) {
        w.phase = WeekPhase::Over;
        w.today = WeekEvaluation::kDays + 1;
        w.daysLeft = 0;
        return;
    }
    const int d = static_cast<int>(day);
    w.phase = WeekPhase::Running;
    w.today = d;
    w.daysLeft = WeekEvaluation::kDays + 1 - d;

    if (const std::optional<SlotPeriod> open = windowOfHour(now.hour)) {
        const int idx = WeekEvaluation::slotIndex(d, *open);
        const WeekSlot &s = w.weekSlots[idx];
        if (!s.done) {
            w.dueNow = idx;
            w.dueReadings = std::max(1, 2 - s.readings);
        }
    }
    if (now.hour < 4)
        w.nextSlot = WeekEvaluation::slotIndex(d, SlotPeriod::Morning);
    else if (now.hour < 18)
        w.nextSlot = WeekEvaluation::slotIndex(d, SlotPeriod::Evening);
    else if (d < WeekEvaluation::kDays)
        w.nextSlot = WeekEvaluation::slotIndex(d + 1, SlotPeriod::Morning);
}

} // namespace tonara
