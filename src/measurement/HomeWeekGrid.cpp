#include "measurement/HomeWeekGrid.h"

#include "measurement/MeasurementUi.h"
#include "measurement/texts/HomeWeekTexts.h"

#include <QGridLayout>
#include <QLabel>
#include <QStyle>

namespace tonara {

HomeWeekGrid::HomeWeekGrid(FormFactor form, bool compact, const QString &objectName, QWidget *parent)
    : QWidget(parent), compact_(compact)
{
    MeasurementUi::name(this, objectName, tr("Slots of the week"));
    const double s = MeasurementUi::scale(form);
    // Full size, the squares share the width left beside the row labels (up
    // to a comfortable size), so the week fits the 320-point phone as well.
    const int cellMin = compact ? qRound(9 * s) : qRound(22 * s);
    const int cellMax = compact ? cellMin : qRound(40 * s);
    const int cellH = compact ? cellMin : qRound(28 * s);
    const int gap = compact ? qRound(2 * s) : qRound(4 * s);
    setStyleSheet(
        QStringLiteral(
            "QLabel[slot] { border-radius: %1px; border: 1px solid #C9D4DE; background: #FFFFFF;"
            " color: #FFFFFF; font-weight: bold; font-size: %2px; }"
            "QLabel[slot=\"done\"] { background: #14A44D; border-color: #14A44D; }"
            "QLabel[slot=\"half\"] { background: #BFE6CC; border-color: #14A44D; color: #0E7A39; }"
            "QLabel[slot=\"missed\"] { background: #E3E8ED; border-color: #E3E8ED; color: #8A98A6; }"
            "QLabel[slot=\"now\"] { border: 2px solid #1F8FD6; }"
            "QLabel[today=\"true\"] { color: #1F8FD6; }")
            .arg(compact ? qRound(2 * s) : qRound(6 * s))
            .arg(qRound(12 * s)));

    auto *grid = new QGridLayout(this);
    grid->setContentsMargins(0, 0, 0, 0);
    grid->setHorizontalSpacing(gap);
    grid->setVerticalSpacing(gap);
    const int firstCol = compact ? 0 : 1;
    const int firstRow = compact ? 0 : 1;
    if (!compact) {
        for (SlotPeriod p : {SlotPeriod::Morning, SlotPeriod::Evening}) {
            const bool morning = p == SlotPeriod::Morning;
            QLabel *head = MeasurementUi::label(
                this, objectName + (morning ? QStringLiteral("_morning") : QStringLiteral("_evening")),
                HomeWeekTexts::periodName(p), QStringLiteral("rowhead"));
            head->setAccessibleName(morning ? tr("Morning, 04:00 to 11:59") : tr("Evening, 18:00 to 23:59"));
            grid->addWidget(head, morning ? 1 : 2, 0);
        }
        for (int d = 1; d <= WeekEvaluation::kDays; ++d) {
            QLabel *head = MeasurementUi::label(this, objectName + QStringLiteral("_day_%1").arg(d),
                                                QString::number(d), QStringLiteral("rowhead"));
            head->setAlignment(Qt::AlignCenter);
            days_[d - 1] = head;
            grid->addWidget(head, 0, d);
        }
    }
    for (int d = 1; d <= WeekEvaluation::kDays; ++d) {
        for (SlotPeriod p : {SlotPeriod::Morning, SlotPeriod::Evening}) {
            const QString name =
                QStringLiteral("home_week_slot_%1_%2")
                    .arg(d)
                    .arg(p == SlotPeriod::Morning ? QStringLiteral("morning") : QStringLiteral("evening"));
            QLabel *c = MeasurementUi::label(this, compact ? objectName + QLatin1Char('_') + name : name, {});
            c->setProperty("slot", QStringLiteral("todo"));
            c->setMinimumSize(cellMin, cellH);
            c->setMaximumSize(cellMax, cellH);
            c->setSizePolicy(compact ? QSizePolicy::Fixed : QSizePolicy::Expanding, QSizePolicy::Fixed);
            c->setAlignment(Qt::AlignCenter);
            cells_[WeekEvaluation::slotIndex(d, p)] = c;
            grid->addWidget(c, firstRow + (p == SlotPeriod::Evening), firstCol + d - 1);
        }
        if (!compact)
            grid->setColumnStretch(firstCol + d - 1, 1);
    }
    if (!compact)
        setMaximumWidth(qRound(90 * s) + WeekEvaluation::kDays * (cellMax + gap));
}

void HomeWeekGrid::showWeek(const WeekEvaluation &w)
{
    for (const WeekSlot &slot : w.weekSlots) {
        QLabel *c = cells_[WeekEvaluation::slotIndex(slot.day, slot.period)];
        const bool past = HomeWeekTexts::isPast(w, slot);
        const bool isNow = w.dueNow && *w.dueNow == WeekEvaluation::slotIndex(slot.day, slot.period);
        QString state = slot.done            ? QStringLiteral("done")
                        : slot.readings == 1 ? QStringLiteral("half")
                        : past               ? QStringLiteral("missed")
                        : isNow              ? QStringLiteral("now")
                                             : QStringLiteral("todo");
        c->setProperty("slot", state);
        if (!compact_)
            c->setText(slot.done            ? QStringLiteral("\u2713")
                       : slot.readings == 1 ? QStringLiteral("1")
                                            : QString());
        c->setAccessibleName(HomeWeekTexts::slotHeard(w, slot));
        c->setToolTip(c->accessibleName());
        c->style()->unpolish(c);
        c->style()->polish(c);
    }
    for (int d = 1; d <= WeekEvaluation::kDays && !compact_; ++d) {
        QLabel *head = days_[d - 1];
        head->setText(HomeWeekTexts::dayLabel(w, d).replace(QLatin1Char(' '), QLatin1Char('\n')));
        head->setAccessibleName(tr("Day %1, %2").arg(d).arg(HomeWeekTexts::dayLabel(w, d)));
        head->setProperty("today", w.phase == WeekPhase::Running && d == w.today);
        head->style()->unpolish(head);
        head->style()->polish(head);
    }
    setAccessibleName(tr("%1 of %2 slots done").arg(w.slotsDone).arg(WeekEvaluation::kSlots));
}

} // namespace tonara
