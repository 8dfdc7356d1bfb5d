#include "UsersScreenFixture.h"

#include "measurement/ManualNumberField.h"
#include "users/core/BloodPressureTarget.h"
#include "users/core/DataSafetyNet.h"
#include "users/setting.h"

#include <QLabel>
#include <QPushButton>
#include <QTableWidget>

namespace tonara::test {
namespace {

class SettingScreen : public UsersScreenTest {
protected:
    void SetUp() override
    {
        UsersScreenTest::SetUp();
        screen = new setting(ctx, &host);
        screen->resize(host.size());
        host.show();
    }
    void clickRow(int row)
    {
        QTableWidget *t = screen->Setting_table_view();
        QTest::mouseClick(t->viewport(), Qt::LeftButton, {}, t->visualItemRect(t->item(row, 0)).center());
    }
    void enterTarget(const char *sys, const char *dia)
    {
        clickRow(0);
        QTest::keyClicks(screen->SysTextField(), QString::fromLatin1(sys));
        QTest::keyClicks(screen->DiastolicTextField(), QString::fromLatin1(dia));
        screen->saveButton()->click();
    }

    setting *screen = nullptr;
};

TEST_F(SettingScreen, TableHasItsTwoRowsAndTheVersionFooter)
{
    EXPECT_EQ(screen->windowTitle(), "Setting");
    QTableWidget *t = screen->Setting_table_view();
    ASSERT_EQ(t->rowCount(), 2);
    EXPECT_EQ(t->item(0, 0)->text(), "Blood pressure target");
    EXPECT_EQ(t->item(1, 0)->text(), "Reset data");
    auto *footer = screen->findChild<QLabel *>("footer");
    ASSERT_NE(footer, nullptr);
    EXPECT_EQ(footer->text(), "Version: 2.2 6.0RC");
    EXPECT_EQ(t->accessibleDescription(), "Setting_table_view");
}

TEST_F(SettingScreen, TheTargetPanelRefusesOutOfRangeValuesAndKeepsWhatIsAccepted)
{
    clickRow(0);
    EXPECT_TRUE(screen->BloodPressureView()->isVisible());
    EXPECT_EQ(screen->focusWidget(), screen->SysTextField());

    for (auto [sys, dia] : {std::pair{"0", "80"}, {"301", "80"}, {"120", "0"}, {"120", "301"}}) {
        SCOPED_TRACE(std::string(sys) + "/" + dia);
        screen->SysTextField()->setText(QString::fromLatin1(sys));
        screen->DiastolicTextField()->setText(QString::fromLatin1(dia));
        screen->saveButton()->click();
        ASSERT_TRUE(alerts.hasAlert());
        EXPECT_EQ(alerts.currentTitle(), "Number out of range");
        EXPECT_EQ(alerts.currentMessage(), "Please enter a number within the range of 1~300");
        alerts.answer(0);
        EXPECT_TRUE(screen->BloodPressureView()->isVisible()) << "the panel stays";
        EXPECT_EQ(screen->target_high(), 180);
        EXPECT_EQ(screen->target_low(), 60);
    }
    screen->SysTextField()->setText("300");
    screen->DiastolicTextField()->setText("1");
    screen->saveButton()->click();
    EXPECT_FALSE(alerts.hasAlert());
    EXPECT_FALSE(screen->BloodPressureView()->isVisible());
    EXPECT_EQ(screen->target_high(), 300);
    EXPECT_EQ(screen->target_low(), 1);

    // Back leaves the target as it was; the fields start empty next time.
    clickRow(0);
    EXPECT_EQ(screen->SysTextField()->text(), "");
    QTest::keyClicks(screen->SysTextField(), "99");
    screen->backButton()->click();
    EXPECT_EQ(screen->target_high(), 300);
}

TEST_F(SettingScreen, AFourthDigitIsRefusedButTypingOverASelectionWorks)
{
    clickRow(0);
    ManualNumberField *f = screen->SysTextField();
    QTest::keyClicks(f, "1234");
    EXPECT_EQ(f->text(), "123");
    f->selectAll();
    QTest::keyClicks(f, "9");
    EXPECT_EQ(f->text(), "9");
    QTest::keyClicks(f, "a.-");
    EXPECT_EQ(f->text(), "9");
}

TEST_F(SettingScreen, TheTarget120Over80SurvivesARestartForTheChart)
{
    enterTarget("120", "80");
    EXPECT_EQ(screen->target_high(), 120);
    delete screen;
    DBHelper again(dir.path().toStdString(), &alerts);
    again.openDatabase();
    UsersContext restarted = ctx;
    restarted.db = &again;
    setting fresh(restarted);
    EXPECT_EQ(fresh.target_high(), 120);
    EXPECT_EQ(fresh.target_low(), 80);
    // The chart reads it the same way.
    DataBaseforCD chartStore(again, alerts);
    BloodPressureTarget chart(chartStore);
    chart.load();
    EXPECT_EQ(chart.target_high(), 120);
    EXPECT_EQ(chart.target_low(), 80);
}

TEST_F(SettingScreen, ResetAsksTwiceThenDeletesByItsCutOff)
{
    // Today, 100 and 200 days ago, and one dated tomorrow.
    for (const char *date : {"2026-03-10", "2025-11-30", "2025-08-22", "2026-03-11"}) {
        reading(0, date);
        dayAverage(0, date);
    }
    auto choose = [&](int sheetButton, int confirm) {
        clickRow(1);
        ASSERT_TRUE(alerts.currentIsActionSheet());
        EXPECT_EQ(alerts.currentTitle(),
                  "You can keep the most recent\n 6 month or 1 year data and\ndelete the "
                  "rest. Or you can\ndelete all data.");
        EXPECT_EQ(alerts.currentButtons(),
                  (QStringList{"Six months", "One year", "Delete all data", "Cancel"}));
        alerts.answer(sheetButton);
        if (sheetButton == 3) {
            EXPECT_FALSE(alerts.hasAlert());
            return;
        }
        EXPECT_EQ(screen->Monthdata(), sheetButton);
        EXPECT_EQ(alerts.currentTitle(), "Abort the reading");
        EXPECT_EQ(alerts.currentMessage(), "Are you sure you want to \n  delete the data?");
        EXPECT_EQ(alerts.currentButtons(), (QStringList{"Yes", "Cancel"}));
        alerts.answer(confirm);
    };
    choose(3, 0);
    choose(2, 1); // "Delete all data", then Cancel
    EXPECT_EQ(scalar("SELECT count(*) FROM tonaradock_table"), 4);
    choose(1, 0);
    EXPECT_EQ(scalar("SELECT count(*) FROM tonaradock_table"), 4);
    choose(0, 0);
    EXPECT_EQ(scalar("SELECT count(*) FROM tonaradock_table"), 3);
    EXPECT_EQ(scalar("SELECT count(*) FROM day_average WHERE date = '2025-08-22'"), 0);
    choose(2, 0);
    EXPECT_EQ(scalar("SELECT count(*) FROM tonaradock_table"), 0);
    EXPECT_EQ(scalar("SELECT count(*) FROM day_average"), 0);
}

TEST_F(SettingScreen, AFailedDeletionIsReportedAndChangesNothing)
{
    reading(0, "2025-08-22");
    dayAverage(0, "2025-08-22");
    exec("CREATE TRIGGER keep BEFORE DELETE ON day_average BEGIN SELECT RAISE(ABORT, 'locked'); END");
    clickRow(1);
    alerts.answer(0);
    alerts.answer(0);
    ASSERT_TRUE(alerts.hasAlert());
    EXPECT_EQ(alerts.currentTitle(), "Data not deleted");
    EXPECT_TRUE(alerts.currentMessage().contains("locked"));
    EXPECT_EQ(scalar("SELECT count(*) FROM tonaradock_table"), 1);
}

// A safety net whose backups always fail, as on a full disk.
class BrokenSafetyNet final : public DataSafetyNet {
public:
    std::string backUpBefore(Operation, std::string *why) override
    {
        *why = "The disk is full.";
        return {};
    }
    bool undo(const std::string &, std::string *) override { return false; }
};

class SettingWithoutBackup : public SettingScreen {
protected:
    void SetUp() override
    {
        ctx.safetyNet = &broken;
        SettingScreen::SetUp();
    }
    BrokenSafetyNet broken;
};

TEST_F(SettingWithoutBackup, NothingIsDeletedWithoutABackupUnlessThePersonSaysSo)
{
    reading(0, "2025-08-22");
    auto resetAll = [&](int answer) {
        clickRow(1);
        alerts.answer(2); // "Delete all data"
        alerts.answer(0); // "Yes"
        ASSERT_TRUE(alerts.hasAlert());
        EXPECT_EQ(alerts.currentTitle(), "No backup made");
        EXPECT_TRUE(alerts.currentMessage().contains("The disk is full."))
            << alerts.currentMessage().toStdString();
        EXPECT_EQ(alerts.currentButtons(), (QStringList{"Delete anyway", "Cancel"}));
        alerts.answer(answer);
    };
    resetAll(1);
    EXPECT_EQ(scalar("SELECT count(*) FROM tonaradock_table"), 1) << "Cancel keeps the readings";
    resetAll(0);
    EXPECT_EQ(scalar("SELECT count(*) FROM tonaradock_table"), 0);
}

} // namespace
} // namespace tonara::test
