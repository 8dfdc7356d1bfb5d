#pragma once

#include "platform/FormFactor.h"
#include "reports/core/WeekEvaluation.h"

#include <QPushButton>

#include <optional>

class QLabel;

namespace tonara {

class HomeWeekGrid;

// home_week: the home-monitoring week's line on the mode choice. Without a
// week it offers one; with one it shows the day, what is due and the slots in
// small, or the result once there is one. A tap opens the week's panel.
class HomeWeekCard : public QPushButton {
    Q_OBJECT
public:
    HomeWeekCard(FormFactor form, QWidget *parent = nullptr);

    // No week (nothing), or the running week's evaluation.
    void showWeek(const std::optional<WeekEvaluation> &w);

    // As tall as its wrapped lines need at the width it gets.
    QSize sizeHint() const override;
    QSize minimumSizeHint() const override { return sizeHint(); }
    bool hasHeightForWidth() const override { return true; }
    int heightForWidth(int width) const override;

    QLabel *title() const { return title_; }
    QLabel *detail() const { return detail_; }
    HomeWeekGrid *grid() const { return grid_; }

private:
    QLabel *title_ = nullptr;
    QLabel *detail_ = nullptr;
    HomeWeekGrid *grid_ = nullptr;
};

} // namespace tonara
