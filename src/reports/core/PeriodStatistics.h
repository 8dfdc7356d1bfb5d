#pragma once

// The figures of one user's readings over a period, as a report shows them.
//
//   PeriodStatistics s = PeriodStatistics::compute(db, user, ReportPeriod::ofCode(3, today));
//   if (s.count == 0) ...                       // "no readings in this period"
//   s.sys.mean, s.sys.sd, s.sys.min, s.sys.max; // likewise dia, pulse
//   s.meanPulsePressure;
//   s.morning.count, s.morning.sys;             // 04:00-11:59; evening 18:00-23:59
//   s.whoShare(WHOClassification::kGrade1);     // percent of the readings
//   s.padCount;                                 // readings flagged PAD (also in every figure)
//
// One bound query reads the period's rows once and every figure is summed
// from that pass (several aggregate queries scanned 100,000 rows again each).
// The standard deviation is the sample one (n - 1), computed exactly from
// integer sums; with a single reading it is 0.

#include "reports/core/ReportPeriod.h"

#include <array>
#include <string>

namespace tonara {

class DBHelper;

class PeriodStatistics {
public:
    struct Values {
        double mean = 0;
        double sd = 0;
        int min = 0;
        int max = 0;
    };
    struct Window {
        int count = 0;
        double sys = 0; // means
        double dia = 0;
        double pulse = 0;
    };

    static PeriodStatistics compute(DBHelper &db, int user, const ReportPeriod &period);

    int count = 0;
    Values sys;
    Values dia;
    Values pulse;
    double meanPulsePressure = 0;
    Window morning;
    Window evening;
    int padCount = 0;
    int trivCount = 0;
    int manualCount = 0;
    std::string firstDate; // of the readings found, "yyyy-MM-dd"
    std::string lastDate;

    // Readings per WHO class, index 1 (optimal) .. 6 (grade 3 hypertension); 0 unused.
    std::array<int, 7> whoCount{};
    // The class's share of all readings in percent (0 without readings).
    double whoShare(int category) const;

    // The windows' edges, as "HH:mm" texts compared with the stored times.
    static constexpr const char *kMorningFrom = "04:00";
    static constexpr const char *kMorningUntil = "12:00"; // exclusive
    static constexpr const char *kEveningFrom = "18:00";
    static constexpr const char *kEveningUntil = "24:00"; // exclusive

private:
    void readAll(DBHelper &db, int user, const ReportPeriod &period);
};

} // namespace tonara
