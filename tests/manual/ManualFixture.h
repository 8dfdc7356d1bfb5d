#pragma once

#include "base/Clock.h"
#include "measurement/ManualDateTimePicker.h"
#include "measurement/ManualEntryController.h"
#include "measurement/ManualFromHistory.h"
#include "measurement/ManualNumberField.h"
#include "measurement/ManualResultPanel.h"
#include "measurement/ManualStepView.h"
#include "measurement/MeasurementMode.h"
#include "platform/AlertPresenter.h"
#include "storage/DBHelper.h"
#include "storage/Reading.h"
#include "storage/SqlStatement.h"
#include "support/StoredReadings.h"

#include <gtest/gtest.h>

#include <QApplication>
#include <QCalendarWidget>
#include <QLabel>
#include <QPushButton>
#include <QTemporaryDir>
#include <QTest>
#include <QTimeEdit>

#include <memory>
#include <ostream>
#include <vector>

namespace tonara {
inline void PrintTo(const LocalDateTime &t, std::ostream *os)
{
    *os << t.dateText() << ' ' << t.timeText();
}
} // namespace tonara

namespace tonara::test {

// The wizard over a plain host the size of a phone's tab, on a database file
// of its own, with the clock standing at a chosen moment.
class ManualFixture : public ::testing::Test {
protected:
    void SetUp() override
    {
        MeasurementMode::reset();
        ManualFromHistory::manual_from_history = 0;
        ASSERT_TRUE(dir.isValid());
        db = std::make_unique<DBHelper>(dir.path().toStdString(), &alerts);
        db->openDatabase();
        ctx.clock = &clock;
        ctx.alerts = &alerts;
        ctx.db = db.get();
        ctx.animations = false;
        host.resize(320, 411);
        manual = new ManualEntryController(ctx, &host);
        host.show();
    }

    void TearDown() override
    {
        MeasurementMode::reset();
        ManualFromHistory::manual_from_history = 0;
    }

    static void type(QWidget *field, const char *text) { QTest::keyClicks(field, QString::fromUtf8(text)); }
    static void clear(QLineEdit *field) { field->clear(); }

    // From the start view to the result window with these values and, when
    // given, the picked day and time.
    void enter(const char *sys, const char *dia, const char *pulse)
    {
        manual->maual_tonara();
        type(manual->step1_4_test(), sys);
        manual->manual_step1_4()->next->click();
        type(manual->step2_4_text(), dia);
        manual->manual_step2_4()->next->click();
        type(manual->step3_4_test(), pulse);
        manual->manual_step3_4()->next->click();
    }

    void pick(int year, int month, int day, int hour, int minute)
    {
        manual->datePicker()->calendar()->setSelectedDate(QDate(year, month, day));
        manual->datePicker()->timeEdit()->setTime(QTime(hour, minute));
    }

    std::vector<Reading> readings() { return storedReadings(*db); }

    struct DayRow {
        int user = 0;
        std::string date;
        int sys = 0, dia = 0, pulse = 0;
        std::string time;
    };
    std::vector<DayRow> dayAverages()
    {
        std::vector<DayRow> out;
        SqlStatement q =
            db->executeQuery("SELECT user_id,date,sys,dia,pulse,time FROM day_average ORDER BY date");
        while (q.next())
            out.push_back({q.columnInt(0), q.columnText(1), q.columnInt(2), q.columnInt(3), q.columnInt(4),
                           q.columnText(5)});
        return out;
    }

    QTemporaryDir dir;
    AlertPresenter alerts;
    ManualClock clock{LocalDateTime{2026, 3, 10, 9, 15, 42}};
    std::unique_ptr<DBHelper> db;
    MeasurementContext ctx;
    QWidget host;
    ManualEntryController *manual = nullptr;
};

} // namespace tonara::test
