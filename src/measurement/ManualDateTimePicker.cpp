#include "measurement/ManualDateTimePicker.h"

#include "measurement/MeasurementUi.h"
#include "measurement/core/ManualEntryRules.h"

#include <QCalendarWidget>
#include <QDate>
#include <QHBoxLayout>
#include <QPainter>
#include <QPainterPath>
#include <QPushButton>
#include <QTextCharFormat>
#include <QTime>
#include <QTimeEdit>
#include <QToolButton>
#include <QVBoxLayout>

namespace tonara {

namespace {

QDate dateOf(const LocalDateTime &t)
{
    return QDate(t.year, t.month, t.day);
}

// The month arrows drawn white on the calendar's blue bar.
QIcon chevron(bool left, int size)
{
    QPixmap pm(size * 2, size * 2);
    pm.setDevicePixelRatio(2);
    pm.fill(Qt::transparent);
    QPainter p(&pm);
    p.setRenderHint(QPainter::Antialiasing);
    p.setPen(QPen(Qt::white, size / 7.0, Qt::SolidLine, Qt::RoundCap, Qt::RoundJoin));
    const double x0 = size * (left ? 0.62 : 0.38), x1 = size * (left ? 0.38 : 0.62);
    QPainterPath path;
    path.moveTo(x0, size * 0.25);
    path.lineTo(x1, size * 0.5);
    path.lineTo(x0, size * 0.75);
    p.drawPath(path);
    return QIcon(pm);
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

    // The hour, minute or AM/PM part the cursor is in moves with the two
    // buttons, the arrow keys or the wheel.
    auto *row = new QHBoxLayout;
    row->setSpacing(qRound(8 * s));
    earlier_ = MeasurementUi::button(this, QStringLiteral("datePicker_earlier"), QStringLiteral("\u2212"),
                                     QStringLiteral("secondary"));
    earlier_->setAccessibleName(tr("Earlier"));
    later_ = MeasurementUi::button(this, QStringLiteral("datePicker_later"), QStringLiteral("+"),
                                   QStringLiteral("secondary"));
    later_->setAccessibleName(tr("Later"));
    for (QPushButton *b : {earlier_, later_}) {
        b->setFixedSize(qRound(44 * s), qRound(36 * s));
        b->setFocusPolicy(Qt::NoFocus);
    }
    time_ = new QTimeEdit(this);
    MeasurementUi::name(time_, QStringLiteral("datePicker_time"), tr("Time of the reading"));
    time_->setLocale(QLocale(QLocale::English, QLocale::UnitedStates));
    time_->setDisplayFormat(QStringLiteral("hh:mm AP"));
    time_->setAlignment(Qt::AlignCenter);
    time_->setWrapping(false);
    time_->setSizePolicy(QSizePolicy::Expanding, QSizePolicy::Fixed);
    time_->setMinimumHeight(qRound(36 * s));
    time_->setButtonSymbols(QAbstractSpinBox::NoButtons);
    time_->setCurrentSection(QDateTimeEdit::MinuteSection);
    row->addWidget(earlier_);
    row->addWidget(time_, 1);
    row->addWidget(later_);
    col->addLayout(row);
    connect(earlier_, &QPushButton::clicked, time_, [this] { time_->stepBy(-1); });
    connect(later_, &QPushButton::clicked, time_, [this] { time_->stepBy(1); });

    const int arrow = qRound(18 * s);
    if (auto *prev = calendar_->findChild<QToolButton *>(QStringLiteral("qt_calendar_prevmonth"))) {
        prev->setIcon(chevron(true, arrow));
        prev->setIconSize(QSize(arrow, arrow));
    }
    if (auto *next = calendar_->findChild<QToolButton *>(QStringLiteral("qt_calendar_nextmonth"))) {
        next->setIcon(chevron(false, arrow));
        next->setIconSize(QSize(arrow, arrow));
    }

    // The calendar's own controls: Qt's names stay (it finds them by name),
    // a screen reader gets words for them. The month and year buttons are
    // heard by the month and year they show.
    const std::pair<const char *, QString> calendarControls[] = {
        {"qt_calendar_prevmonth", tr("Previous month")},
        {"qt_calendar_nextmonth", tr("Next month")},
        {"qt_calendar_monthbutton", {}},
        {"qt_calendar_yearbutton", {}},
        {"qt_calendar_yearedit", tr("Year")},
    };
    for (const auto &[name, heard] : calendarControls)
        if (auto *w = calendar_->findChild<QWidget *>(QLatin1String(name))) {
            if (!heard.isEmpty())
                w->setAccessibleName(heard);
            w->setAccessibleDescription(w->objectName());
        }

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
    if (calendar_->maximumDate() != dateOf(latest_)) {
        calendar_->setMaximumDate(dateOf(latest_));
        // Days after the latest one cannot be chosen; show them so.
        calendar_->setDateTextFormat(QDate(), QTextCharFormat());
        QTextCharFormat beyond;
        beyond.setForeground(QColor(0xB8, 0xC4, 0xCF));
        for (int i = 1; i <= 42; ++i)
            calendar_->setDateTextFormat(dateOf(latest_).addDays(i), beyond);
    }
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
