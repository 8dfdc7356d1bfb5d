#pragma once

// The rules of a home-monitoring week, over readings already read from the
// file (see WeekEvaluation.h for the rules themselves and for evaluateWeek,
// which reads the readings and calls this).
//
//   HomeMonitoringWeek week(*CivilDate::parse("2026-12-01"), HomeThreshold::standard());
//   WeekEvaluation w = week.evaluate({{"2026-12-02", "07:10:00", 128, 82, 70, false}, ...},
//                                    clock.localNow());

#include "reports/core/WeekEvaluation.h"

#include <optional>
#include <string>
#include <vector>

namespace tonara {

struct LocalDateTime;

struct WeekReading {
    std::string date; // "yyyy-MM-dd", local
    std::string time; // "HH:mm:ss", local
    int sys = 0;
    int dia = 0;
    int pulse = 0;
    bool triv = false;
};

class HomeMonitoringWeek {
public:
    HomeMonitoringWeek(const CivilDate &start, HomeThreshold threshold);

    // The window a time of day lies in: 04:00-11:59 morning, 18:00-23:59
    // evening; none for any other time or a text that is no time.
    static std::optional<SlotPeriod> windowOf(const std::string &time);
    static std::optional<SlotPeriod> windowOfHour(int hour);

    // Readings outside the seven days or outside both windows are ignored.
    WeekEvaluation evaluate(const std::vector<WeekReading> &readings, const LocalDateTime &now) const;

private:
    void placeNow(WeekEvaluation &w, const LocalDateTime &now) const;

    CivilDate start_;
    HomeThreshold threshold_;
};

} // namespace tonara
