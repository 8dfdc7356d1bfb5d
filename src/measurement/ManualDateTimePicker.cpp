#include "measurement/ManualDateTimePicker.h"

#include "measurement/MeasurementUi.h"
#include "measurement/core/ManualEntryRules.h"

#include <QCalendarWidget>
#include <QDate>
#include <QTextCharFormat>
#include <QTime>
#include <QTimeEdit>
#include <QVBoxLayout>

namespace tonara {

namespace {

QDate dateOf(const LocalDateTime &t)
{
    return QDate(t.year, t.month, t.day);
}

} // namespace

ManualDateTimePicker::ManualDateTimePicker(FormFactor form, QWidget *parent) : QWidget(parent)
{
    MeasurementUi::name(this, QStringLiteral("datePicker"), tr("Date and time of the reading"));
    const double s = MeasurementUi::scale(form);

    auto *col = new QVBoxLayout(this);
    col->setContentsMargins(0, 0, 0, 0);
    col->setSpacing(qRound(8 * s));

    calendar_ = new QCalendarWidget(this);
    MeasurementUi::name(calendar_, QStringLiteral("datePicker_day"), tr("Day of the reading"));
    calendar_->setLocale(QLocale(QLocale::English, QLocale::UnitedStates));
    calendar_->setFirstDayOfWeek(Qt::Monday);
    calendar_->setVerticalHeaderFormat(QCalendarWidget::NoVerticalHeader);
    calendar_->setHorizontalHeaderFormat(QCalendarWidget::SingleLetterDayNames);
    calendar_->setGridVisible(false);
    QTextCharFormat weekend;
    weekend.setForeground(QColor(0x2B, 0x3A, 0x4A));
    calendar_->setWeekdayTextFormat(Qt::Saturday, weekend);
    calendar_->setWeekdayTextFormat(Qt::Sunday, weekend);
    calendar_->setSizePolicy(QSizePolicy::Expanding, QSizePolicy::Expanding);
    col->addWidget(calendar_, 1);

    time_ = new QTimeEdit(this);
    MeasurementUi::name(time_, QStringLiteral("datePicker_time"), tr("Time of the reading"));
    time_->setLocale(QLocale(QLocale::English, QLocale::UnitedStates));
    time_->setDisplayFormat(QStringLiteral("hh:mm AP"));
    time_->setAlignment(Qt::AlignCenter);
    time_->setWrapping(false);
    time_->setSizePolicy(QSizePolicy::Expanding, QSizePolicy::Fixed);
    time_->setMinimumHeight(qRound(34 * s));
    col->addWidget(time_);

    connect(calendar_, &QCalendarWidget::selectionChanged, this, &ManualDateTimePicker::partsChanged);
    connect(time_, &QTimeEdit::timeChanged, this, &ManualDateTimePicker::partsChanged);
    showValue();
}

void ManualDateTimePicker::setDate(const LocalDateTime &at)
{
    const LocalDateTime before = value_;
    value_ = ManualEntryRules::clampToLatest(at, latest_);
    showValue();
    if (!(value_ == before))
        emit dateChanged();
}

void ManualDateTimePicker::setMaximumDate(const LocalDateTime &latest)
{
    latest_ = latest;
    setDate(value_);
}

void ManualDateTimePicker::showValue()
{
    updating_ = true;
    calendar_->setMaximumDate(dateOf(latest_));
    calendar_->setSelectedDate(dateOf(value_));
    // The wheel stops at the latest minute only on the latest day.
    const bool lastDay = dateOf(value_) == dateOf(latest_);
    time_->setMaximumTime(lastDay ? QTime(latest_.hour, latest_.minute, 59) : QTime(23, 59, 59, 999));
    time_->setTime(QTime(value_.hour, value_.minute, value_.second));
    updating_ = false;
}

void ManualDateTimePicker::partsChanged()
{
    if (updating_)
        return;
    const QDate day = calendar_->selectedDate();
    const QTime t = time_->time();
    LocalDateTime picked = value_;
    picked.year = day.year();
    picked.month = day.month();
    picked.day = day.day();
    picked.hour = t.hour();
    picked.minute = t.minute();
    // The seconds stay those the picker was set with.
    setDate(picked);
}

} // namespace tonara
