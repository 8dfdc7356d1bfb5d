#pragma once

#include "base/Clock.h"
#include "platform/FormFactor.h"

#include <QWidget>

class QCalendarWidget;
class QPushButton;
class QTimeEdit;

namespace tonara {

// datePicker: the date and time of a reading typed in by hand, a calendar for
// the day and a wheel-like hour, minute and AM/PM field. Never goes past its
// latest selectable moment (the wizard sets it to "now"), whichever part is
// changed. The seconds are not shown; the picker carries those of the moment
// it was set to.
class ManualDateTimePicker : public QWidget {
    Q_OBJECT
public:
    explicit ManualDateTimePicker(FormFactor form, QWidget *parent = nullptr);

    // The moment on show.
    LocalDateTime date() const { return value_; }
    // Shows the moment, or the latest selectable one when it lies beyond it.
    void setDate(const LocalDateTime &at);
    LocalDateTime maximumDate() const { return latest_; }
    // Also pulls the moment on show back to it when needed.
    void setMaximumDate(const LocalDateTime &latest);

    QCalendarWidget *calendar() const { return calendar_; }
    QTimeEdit *timeEdit() const { return time_; }
    // Move the hour, minute or AM/PM part the cursor is in.
    QPushButton *earlierButton() const { return earlier_; }
    QPushButton *laterButton() const { return later_; }

signals:
    // The moment on show changed (the picker's value-changed action).
    void dateChanged();

private:
    void partsChanged();
    void showValue();

    QCalendarWidget *calendar_ = nullptr;
    QTimeEdit *time_ = nullptr;
    QPushButton *earlier_ = nullptr;
    QPushButton *later_ = nullptr;
    LocalDateTime value_;
    LocalDateTime latest_{9999, 12, 31, 23, 59, 59};
    bool updating_ = false;
};

} // namespace tonara
