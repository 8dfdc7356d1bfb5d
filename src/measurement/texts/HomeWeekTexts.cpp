#include "measurement/texts/HomeWeekTexts.h"

#include "reports/core/HomeMonitoringWeek.h"

#include <QDate>
#include <QLocale>

namespace tonara {

QString HomeWeekTexts::pair(int sys, int dia)
{
    return QStringLiteral("%1/%2").arg(sys).arg(dia);
}

QString HomeWeekTexts::thresholdName(HomeThreshold t)
{
    return pair(t.sys(), t.dia());
}

QString HomeWeekTexts::resultSentence(const WeekEvaluation &w)
{
    if (w.readingsUsed == 0)
        return tr("No readings were taken in the morning or evening of days 2 to 7, so there is no home "
                  "average yet.");
    const QString average = pair(w.meanSys, w.meanDia);
    const QString limit = thresholdName(w.threshold);
    if (w.meanSys > w.threshold.sys() || w.meanDia > w.threshold.dia())
        return tr("Your home average %1 is above the home threshold %2 your doctor uses. Show this report to "
                  "your doctor.")
            .arg(average, limit);
    if (w.atOrAbove)
        return tr("Your home average %1 reaches the home threshold %2 your doctor uses. Show this report to "
                  "your doctor.")
            .arg(average, limit);
    return tr("Your home average %1 is below the home threshold %2 your doctor uses. Keep measuring as your "
              "doctor advised and bring this report to your next visit.")
        .arg(average, limit);
}

QString HomeWeekTexts::basisSentence(const WeekEvaluation &w)
{
    if (w.readingsUsed == 0)
        return tr("Measure twice each morning and each evening; day 1 is practice.");
    const QString based =
        (w.readingsUsed == 1 ? tr("Based on 1 reading of days 2 to 7.")
                             : tr("Based on %1 readings of days 2 to 7.").arg(w.readingsUsed));
    if (w.enoughReadings)
        return based;
    return based + QLatin1Char(' ') +
           tr("At least %1 are needed for a reliable average.").arg(WeekEvaluation::kReadingsNeeded);
}

QString HomeWeekTexts::progressLine(const WeekEvaluation &w)
{
    switch (w.phase) {
    case WeekPhase::NotStarted:
        return tr("Starts on %1").arg(dayLabel(w, 1));
    case WeekPhase::Over:
        return tr("The week is over");
    case WeekPhase::Running:
        break;
    }
    return tr("Day %1 of %2").arg(w.today).arg(WeekEvaluation::kDays) + QStringLiteral(" \u00B7 ") +
           (w.daysLeft == 1 ? tr("last day") : tr("%1 days left").arg(w.daysLeft));
}

QString HomeWeekTexts::periodName(SlotPeriod p)
{
    return p == SlotPeriod::Morning ? tr("Morning") : tr("Evening");
}

QString HomeWeekTexts::dueSentence(const WeekEvaluation &w)
{
    if (w.phase == WeekPhase::Over)
        return tr("No more readings are needed.");
    if (w.dueNow) {
        const WeekSlot &s = w.weekSlots[*w.dueNow];
        const bool morning = s.period == SlotPeriod::Morning;
        if (s.readings > 0)
            return morning ? tr("Now: one more morning reading.") : tr("Now: one more evening reading.");
        return morning ? tr("Now: two morning readings, a minute or two apart (or one TRIV measurement).")
                       : tr("Now: two evening readings, a minute or two apart (or one TRIV measurement).");
    }
    if (!w.nextSlot)
        return tr("No more readings are due this week.");
    const WeekSlot &next = w.weekSlots[*w.nextSlot];
    if (w.phase == WeekPhase::NotStarted)
        return tr("First readings: the morning of %1, from 04:00.").arg(dayLabel(w, next.day));
    if (next.day > w.today)
        return tr("Next: tomorrow morning, from 04:00.");
    return next.period == SlotPeriod::Morning ? tr("Next: this morning, from 04:00.")
                                              : tr("Next: this evening, from 18:00.");
}

QString HomeWeekTexts::dueShort(const WeekEvaluation &w)
{
    if (w.phase == WeekPhase::Over)
        return tr("The week is over");
    if (w.dueNow) {
        const WeekSlot &s = w.weekSlots[*w.dueNow];
        const int more = w.dueReadings;
        if (more == 1)
            return s.period == SlotPeriod::Morning ? tr("Now: 1 more morning reading")
                                                   : tr("Now: 1 more evening reading");
        return s.period == SlotPeriod::Morning ? tr("Now: 2 morning readings")
                                               : tr("Now: 2 evening readings");
    }
    if (!w.nextSlot)
        return tr("All readings are in");
    const WeekSlot &next = w.weekSlots[*w.nextSlot];
    if (w.phase == WeekPhase::NotStarted || next.day > w.today)
        return tr("Next: morning of %1").arg(dayLabel(w, next.day));
    return next.period == SlotPeriod::Morning ? tr("Next: this morning from 04:00")
                                              : tr("Next: this evening from 18:00");
}

QString HomeWeekTexts::cardTitle(const WeekEvaluation &w)
{
    switch (w.phase) {
    case WeekPhase::NotStarted:
        return tr("Home week \u00B7 starts %1").arg(dayLabel(w, 1));
    case WeekPhase::Over:
        return tr("Home week: result ready");
    case WeekPhase::Running:
        break;
    }
    return tr("Home week \u00B7 day %1 of %2").arg(w.today).arg(WeekEvaluation::kDays);
}

QString HomeWeekTexts::cardDetail(const WeekEvaluation &w)
{
    if (w.phase != WeekPhase::Over)
        return dueShort(w);
    if (w.readingsUsed == 0)
        return tr("No readings of days 2 to 7");
    return tr("Average %1 (threshold %2)").arg(pair(w.meanSys, w.meanDia), thresholdName(w.threshold));
}

bool HomeWeekTexts::isPast(const WeekEvaluation &w, const WeekSlot &s)
{
    if (w.phase != WeekPhase::Running)
        return w.phase == WeekPhase::Over;
    // Slots run in time order: those before the open one (or the next one to
    // open) are over; with neither, the last window of the week has closed.
    const std::optional<int> current = w.dueNow ? w.dueNow : w.nextSlot;
    return !current || WeekEvaluation::slotIndex(s.day, s.period) < *current;
}

QString HomeWeekTexts::slotHeard(const WeekEvaluation &w, const WeekSlot &s)
{
    QString state;
    if (s.done)
        state = tr("done");
    else if (s.readings == 1)
        state = tr("one reading, one more needed");
    else if (isPast(w, s))
        state = tr("missed");
    else
        state = tr("to do");
    const QString when =
        s.period == SlotPeriod::Morning ? tr("Day %1 morning").arg(s.day) : tr("Day %1 evening").arg(s.day);
    return when + QStringLiteral(": ") + state;
}

QString HomeWeekTexts::dayLabel(const WeekEvaluation &w, int day)
{
    const CivilDate d = w.dateOf(day);
    return QLocale().toString(QDate(d.year(), d.month(), d.day()), QStringLiteral("ddd d"));
}

} // namespace tonara
