#include "reports/ReportWeekText.h"

#include "reports/core/WeekEvaluation.h"

namespace tonara {

namespace {

QString pair(int sys, int dia)
{
    return QStringLiteral("%1/%2").arg(sys).arg(dia);
}

QString dateText(const CivilDate &d)
{
    return QString::fromStdString(d.text());
}

} // namespace

QString ReportWeekText::comparison(const WeekEvaluation &w)
{
    const QString mean = pair(w.meanSys, w.meanDia);
    const QString limit = pair(w.threshold.sys(), w.threshold.dia());
    if (!w.atOrAbove)
        return tr("Your home average %1 is below the home threshold %2 your doctor uses.").arg(mean, limit);
    if (w.meanSys > w.threshold.sys() || w.meanDia > w.threshold.dia())
        return tr("Your home average %1 is above the home threshold %2 your doctor uses. Show this report to "
                  "your doctor.")
            .arg(mean, limit);
    return tr("Your home average %1 reaches the home threshold %2 your doctor uses. Show this report to your "
              "doctor.")
        .arg(mean, limit);
}

QStringList ReportWeekText::sentences(const WeekEvaluation &w)
{
    QStringList out;
    out << tr("Home-monitoring week from %1 to %2; day 1 is practice and not counted.")
               .arg(dateText(w.start), dateText(w.lastDate()));
    if (!w.hasResult) {
        out << tr("The week is not finished yet: %1 of %2 measuring times done, %3 days left.")
                   .arg(w.slotsDone)
                   .arg(WeekEvaluation::kSlots)
                   .arg(w.daysLeft);
        out << tr("Its result comes after day 7, or as soon as 12 readings of days 2 to 7 exist (now %1).")
                   .arg(w.readingsUsed);
        return out;
    }
    if (w.readingsUsed == 0) {
        out << tr(
            "No morning or evening readings were taken on days 2 to 7, so the week has no home average.");
        return out;
    }
    out << comparison(w);
    out << (w.readingsUsed == 1
                ? tr("The average is made of 1 reading of days 2 to 7 (mean pulse %1).").arg(w.meanPulse)
                : tr("The average is made of %1 readings of days 2 to 7 (mean pulse %2).")
                      .arg(w.readingsUsed)
                      .arg(w.meanPulse));
    if (!w.enoughReadings)
        out << tr("A reliable home average needs at least %1 readings; take the missing ones in another "
                  "week.")
                   .arg(WeekEvaluation::kReadingsNeeded);
    return out;
}

} // namespace tonara
