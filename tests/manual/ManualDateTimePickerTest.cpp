#include "measurement/ManualDateTimePicker.h"

#include <gtest/gtest.h>

#include <QAbstractButton>
#include <QAbstractSpinBox>
#include <QAccessible>
#include <QCalendarWidget>
#include <QPushButton>
#include <QSignalSpy>
#include <QTimeEdit>

namespace tonara {
namespace {

class ManualDateTimePickerTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        picker.setMaximumDate(now);
        picker.setDate(now);
    }
    const LocalDateTime now{2026, 3, 10, 9, 15, 42};
    ManualDateTimePicker picker{FormFactor::Phone480};
};

TEST_F(ManualDateTimePickerTest, NoPartCanMovePastTheLatestMoment)
{
    picker.setDate({2026, 3, 11, 8, 0, 0});
    EXPECT_EQ(picker.date(), now);

    // The calendar refuses tomorrow.
    picker.calendar()->setSelectedDate(QDate(2026, 3, 11));
    EXPECT_EQ(picker.date(), now);

    // Later today: the time is pulled back to now.
    picker.timeEdit()->setTime(QTime(22, 0));
    EXPECT_EQ(picker.date(), now);

    // From an evening yesterday to today: the evening is not kept.
    picker.calendar()->setSelectedDate(QDate(2026, 3, 9));
    picker.timeEdit()->setTime(QTime(23, 30));
    EXPECT_EQ(picker.date(), (LocalDateTime{2026, 3, 9, 23, 30, 42}));
    picker.calendar()->setSelectedDate(QDate(2026, 3, 10));
    EXPECT_EQ(picker.date(), now);
    EXPECT_EQ(picker.timeEdit()->time(), QTime(9, 15, 42));
}

TEST_F(ManualDateTimePickerTest, LaterButtonStopsAtNowAndEarlierStepsTheMinute)
{
    picker.laterButton()->click();
    EXPECT_EQ(picker.date(), now);
    picker.earlierButton()->click();
    picker.earlierButton()->click();
    EXPECT_EQ(picker.date(), (LocalDateTime{2026, 3, 10, 9, 13, 42}));
    picker.laterButton()->click();
    picker.laterButton()->click();
    picker.laterButton()->click();
    EXPECT_EQ(picker.date(), now);
}

TEST_F(ManualDateTimePickerTest, EarlierMomentsKeepTheSecondsAndAnnounceTheChange)
{
    QSignalSpy changed(&picker, &ManualDateTimePicker::dateChanged);
    picker.calendar()->setSelectedDate(QDate(2025, 12, 31));
    ASSERT_EQ(changed.count(), 1);
    picker.timeEdit()->setTime(QTime(0, 5));
    EXPECT_EQ(changed.count(), 2);
    EXPECT_EQ(picker.date(), (LocalDateTime{2025, 12, 31, 0, 5, 42}));
    // Setting what is already shown is no change.
    picker.setDate(picker.date());
    EXPECT_EQ(changed.count(), 2);
}

TEST_F(ManualDateTimePickerTest, ALowerLatestMomentPullsTheValueBack)
{
    const LocalDateTime earlier{2026, 3, 1, 7, 0, 0};
    picker.setMaximumDate(earlier);
    EXPECT_EQ(picker.date(), earlier);
    EXPECT_EQ(picker.calendar()->maximumDate(), QDate(2026, 3, 1));
}

} // namespace
} // namespace tonara

namespace tonara {
namespace {

// Every control of the picker a person can reach (the calendar's own month
// buttons and year field included) has a name a screen reader can say.
TEST_F(ManualDateTimePickerTest, EveryControlHasANameToBeHeard)
{
    picker.show();
    auto unnamedControls = [&](int *controls) {
        QStringList unnamed;
        for (QWidget *w : picker.findChildren<QWidget *>()) {
            const bool control = qobject_cast<QAbstractButton *>(w) || qobject_cast<QAbstractSpinBox *>(w);
            if (!control || !w->isVisibleTo(&picker))
                continue;
            ++*controls;
            QAccessibleInterface *a = QAccessible::queryAccessibleInterface(w);
            if (!a || a->text(QAccessible::Name).trimmed().isEmpty())
                unnamed << w->objectName();
            else if (w->accessibleDescription().isEmpty())
                unnamed << w->objectName() + QStringLiteral(" (no description)");
        }
        return unnamed;
    };
    int controls = 0;
    QStringList unnamed = unnamedControls(&controls);
    EXPECT_GE(controls, 6) << "month buttons, month and year, the time and its two buttons";
    EXPECT_TRUE(unnamed.isEmpty()) << unnamed.join(QStringLiteral(", ")).toStdString();
    // The year becomes a field once its button is pressed.
    auto *year = picker.calendar()->findChild<QAbstractButton *>(QStringLiteral("qt_calendar_yearbutton"));
    ASSERT_NE(year, nullptr);
    year->click();
    controls = 0;
    unnamed = unnamedControls(&controls);
    EXPECT_TRUE(unnamed.isEmpty()) << unnamed.join(QStringLiteral(", ")).toStdString();
}

} // namespace
} // namespace tonara
