#pragma once

// The home-monitoring week in plain sentences for the report: where the
// week stands or what its average is next to the threshold, with no
// diagnosis in them.
//
//   for (const QString &s : ReportWeekText::sentences(evaluation)) draw(s);
//   // "Your home average 138/86 is above the home threshold 135/85 your doctor uses.
//   //  Show this report to your doctor."

#include <QCoreApplication>
#include <QStringList>

namespace tonara {

struct WeekEvaluation;

class ReportWeekText {
    Q_DECLARE_TR_FUNCTIONS(ReportWeekText)
public:
    // The comparison with the threshold (only for a week with a result and readings).
    static QString comparison(const WeekEvaluation &week);
    // Every sentence the report shows about the week, in order.
    static QStringList sentences(const WeekEvaluation &week);
};

} // namespace tonara
