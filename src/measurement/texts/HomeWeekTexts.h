#pragma once

// What a person reads about a home-monitoring week, in plain words and
// without a diagnosis. The measurement tab and the doctor's report use the
// same sentences.
//
//   const WeekEvaluation w = evaluateWeek(db, user, start, threshold, clock);
//   if (w.hasResult) {
//       page.write(HomeWeekTexts::resultSentence(w));   // "Your home average 138/86 is above ..."
//       page.write(HomeWeekTexts::basisSentence(w));    // "Based on 24 readings of days 2 to 7."
//   }

#include "reports/core/WeekEvaluation.h"

#include <QCoreApplication>
#include <QString>

namespace tonara {

class HomeWeekTexts {
    Q_DECLARE_TR_FUNCTIONS(HomeWeekTexts)
public:
    // "135/85"
    static QString pair(int sys, int dia);
    static QString thresholdName(HomeThreshold t);
    // The week's result against its threshold; a sentence that says so when
    // no reading of days 2 to 7 lies in a window.
    static QString resultSentence(const WeekEvaluation &w);
    // How many readings the result rests on, and a word when they are too few.
    static QString basisSentence(const WeekEvaluation &w);
    // "Day 3 of 7 · 5 days left", "Starts on ...", "The week is over".
    static QString progressLine(const WeekEvaluation &w);
    // What to measure now, or when the next readings are due.
    static QString dueSentence(const WeekEvaluation &w);
    // The same in a few words, for the mode choice: "Now: 2 morning readings".
    static QString dueShort(const WeekEvaluation &w);
    // The week in a few words for the mode choice's card: its title
    // ("Home week · day 4 of 7") and the line under it (what is due, or the
    // average once the week is over).
    static QString cardTitle(const WeekEvaluation &w);
    static QString cardDetail(const WeekEvaluation &w);
    // "Morning" or "Evening".
    static QString periodName(SlotPeriod p);
    // The slot's window has closed (it can no longer be filled).
    static bool isPast(const WeekEvaluation &w, const WeekSlot &s);
    // "Day 3 morning: done", as a screen reader says a slot.
    static QString slotHeard(const WeekEvaluation &w, const WeekSlot &s);
    // The short date of a day of the week, "Tue 1".
    static QString dayLabel(const WeekEvaluation &w, int day);
};

} // namespace tonara
