#pragma once

#include "platform/FormFactor.h"
#include "reports/core/WeekEvaluation.h"

#include <QWidget>

#include <array>

class QLabel;

namespace tonara {

// The 14 slots of a home-monitoring week, days across and morning over
// evening: done, half done, missed or still to come. Compact, it is a row of
// small squares on the mode choice; full size, it has the days and the two
// windows written beside it.
class HomeWeekGrid : public QWidget {
    Q_OBJECT
public:
    HomeWeekGrid(FormFactor form, bool compact, const QString &objectName, QWidget *parent = nullptr);

    void showWeek(const WeekEvaluation &w);
    // A slot's square: "home_week_slot_3_evening" and the like.
    QLabel *cell(int day, SlotPeriod period) const { return cells_[WeekEvaluation::slotIndex(day, period)]; }

private:
    bool compact_;
    std::array<QLabel *, WeekEvaluation::kSlots> cells_{};
    std::array<QLabel *, WeekEvaluation::kDays> days_{};
};

} // namespace tonara
