// The automatic backups and Undo inside the whole application: "Reset data"
// and deleting a profile each take a backup first, and Undo brings back every
// row while the screen stays open.

#include "app/AppTestSupport.h"

#include "app/TonaraTabBarController.h"
#include "data/BackupAndDataPanel.h"
#include "data/FhirExportPanel.h"
#include "platform/AlertPresenter.h"
#include "platform/NavigationController.h"
#include "storage/DataBaseforCD.h"
#include "storage/SqlStatement.h"
#include "users/UndoBar.h"
#include "users/User_Edit_Detail.h"
#include "users/User_editViewController.h"
#include "users/setting.h"

#include <gtest/gtest.h>

#include <QApplication>
#include <QDir>
#include <QFile>
#include <QLabel>
#include <QListWidget>
#include <QPushButton>
#include <QTableWidget>
#include <QTemporaryDir>

#include <map>

namespace tonara {
namespace {

using test::ShellHarness;

void seedFamily(DBHelper &db)
{
    test::QuietAlerts quiet;
    DataBaseforCD store(db, quiet);
    store.check_database();
    for (int i = 0; i < 3; ++i)
        store.insertDataBase_user_table(i, "", "",
                                        i == 0   ? "User"
                                        : i == 1 ? "Mother"
                                                 : "Father",
                                        "", "", 0, "");
    store.insertDataBase_setting_table(2, -1, -1);
    for (const char *sql :
         {"INSERT INTO tonaradock_table VALUES(0,'2026-01-05','08:00:00',121,79,66,'morning',0,0,1,0)",
          "INSERT INTO tonaradock_table VALUES(1,'2026-11-02','09:05:07',135,88,71,'',1,0,2,1)",
          "INSERT INTO triv_table VALUES(1,1,131,88,71,'2026-11-02')",
          "INSERT INTO triv_table VALUES(1,2,132,88,71,'2026-11-02')",
          "INSERT INTO triv_table VALUES(1,3,133,88,71,'2026-11-02')",
          "INSERT INTO day_average VALUES(1,'2026-01-05',121,79,66,'08:00:00')",
          "INSERT INTO day_average VALUES(2,'2026-11-02',135,88,71,'09:05:07')"})
        ASSERT_TRUE(SqlStatement::exec(db.database(), sql).ok()) << sql;
}

// Every row of the five tables.
std::map<std::string, std::vector<std::string>> allRows(DBHelper &db)
{
    std::map<std::string, std::vector<std::string>> out;
    for (const char *table :
         {"tonaradock_table", "triv_table", "day_average", "setting_table", "users_table_new"}) {
        SqlStatement st(db.database(), std::string("SELECT * FROM ") + table);
        while (st.next()) {
            std::string row;
            for (int c = 0; c < st.columnCount(); ++c)
                row += st.columnText(c) + "|";
            out[table].push_back(row);
        }
    }
    return out;
}

TEST(BackupInTheApp, ResetDataThenUndoGivesBackEveryRowWhileTheScreenIsOpen)
{
    ShellHarness h(ShellHarness::seeded(seedFamily));
    DBHelper &db = *h.app().database();
    const auto before = allRows(db);
    TonaraTabBarController *tabs = h.app().tabBarController();
    tabs->setSelectedIndex(OrvelAppDelegate::kSettingTab);
    auto *screen = qobject_cast<setting *>(tabs->viewController(OrvelAppDelegate::kSettingTab));
    ASSERT_NE(screen, nullptr);
    AlertPresenter *alerts = h.app().alerts();
    ASSERT_EQ(screen->Setting_table_view()->rowCount(), 3);
    EXPECT_EQ(screen->Setting_table_view()->item(2, 0)->text(), "Backup and data");

    auto resetAll = [&] {
        screen->didSelectRow(1);
        ASSERT_TRUE(alerts->answer(QStringLiteral("Delete all data")));
        ASSERT_TRUE(alerts->answer(QStringLiteral("Yes")));
        ASSERT_FALSE(alerts->hasAlert()) << alerts->currentMessage().toStdString();
    };
    resetAll();
    EXPECT_TRUE(allRows(db)["tonaradock_table"].empty());
    ASSERT_TRUE(screen->undoBar()->isVisible());
    EXPECT_EQ(screen->undoBar()->undoButton()->accessibleDescription(), "undoButton");
    screen->undoBar()->undoButton()->click();
    EXPECT_FALSE(alerts->hasAlert()) << alerts->currentMessage().toStdString();
    EXPECT_EQ(allRows(db), before);
    EXPECT_FALSE(screen->undoBar()->isVisible());

    // Leaving the screen ends the offer; the backups list still has it.
    resetAll();
    tabs->setSelectedIndex(OrvelAppDelegate::kHistoryTab);
    tabs->setSelectedIndex(OrvelAppDelegate::kSettingTab);
    EXPECT_FALSE(screen->undoBar()->offering());
    screen->didSelectRow(2);
    BackupAndDataPanel *panel = h.app().backupAndDataPanel();
    ASSERT_TRUE(panel->isVisible());
    ASSERT_GE(panel->backupsList()->count(), 3);
    EXPECT_TRUE(panel->backupsList()->item(0)->text().endsWith("Before Reset data"));
    panel->backupsList()->setCurrentRow(0);
    panel->undoButton()->click();
    ASSERT_TRUE(alerts->answer(QStringLiteral("Restore")));
    ASSERT_TRUE(alerts->answer(QStringLiteral("OK")));
    EXPECT_EQ(allRows(db), before);
}

TEST(BackupInTheApp, DeletingAProfileCanBeUndoneFromTheEditList)
{
    ShellHarness h(ShellHarness::seeded(seedFamily));
    DBHelper &db = *h.app().database();
    const auto before = allRows(db);
    TonaraTabBarController *tabs = h.app().tabBarController();
    tabs->setSelectedIndex(OrvelAppDelegate::kUsersTab);
    auto *nav = qobject_cast<NavigationController *>(tabs->viewController(OrvelAppDelegate::kUsersTab));
    ASSERT_NE(nav, nullptr);
    nav->findChild<QPushButton *>(QStringLiteral("EditButton"))->click();
    auto *edit = qobject_cast<User_editViewController *>(nav->topWidget());
    ASSERT_NE(edit, nullptr);
    edit->didSelectRow(1); // Mother
    auto *detail = qobject_cast<User_Edit_Detail *>(nav->topWidget());
    ASSERT_NE(detail, nullptr);
    detail->deleteButton()->click();
    ASSERT_TRUE(h.app().alerts()->answer(QStringLiteral("Yes")));
    ShellHarness::settle();
    ASSERT_EQ(nav->topWidget(), edit);
    EXPECT_EQ(edit->listData(), (QStringList{"Father", "User"}));
    ASSERT_TRUE(edit->undoBar()->isVisible());
    EXPECT_EQ(edit->undoBar()->textLabel()->text(), "Profile deleted.");

    edit->undoBar()->undoButton()->click();
    EXPECT_FALSE(h.app().alerts()->hasAlert()) << h.app().alerts()->currentMessage().toStdString();
    EXPECT_EQ(edit->listData(), (QStringList{"Father", "Mother", "User"}));
    EXPECT_EQ(allRows(db), before);
    // The users tab names the active user of the data that is back.
    EXPECT_EQ(h.app().usersScreen()->windowTitle(), "Father");
}

TEST(BackupInTheApp, TheFhirExportButtonExportsTheActiveUsersReadings)
{
    ShellHarness h(ShellHarness::seeded(seedFamily));
    DBHelper &db = *h.app().database();
    test::QuietAlerts quiet;
    const int active = DataBaseforCD(db, quiet).activeUser();
    SqlStatement own(db.database(), "SELECT count(*) FROM tonaradock_table WHERE user_id = ?");
    own.bind(1, active);
    ASSERT_TRUE(own.next());
    const int readings = own.columnInt(0);
    ASSERT_GT(readings, 0);

    h.app().tabBarController()->setSelectedIndex(OrvelAppDelegate::kSettingTab);
    h.app().backupAndDataPanel()->fhirExportButton()->click();
    FhirExportPanel *panel = nullptr;
    for (QWidget *top : QApplication::topLevelWidgets())
        if (!panel)
            panel = top->findChild<FhirExportPanel *>();
    ASSERT_NE(panel, nullptr);
    EXPECT_EQ(panel->readingCount(), readings);
    QTemporaryDir out;
    const QString file = out.filePath(QStringLiteral("bundle.json"));
    ASSERT_TRUE(panel->saveTo(file));
    QFile saved(file);
    ASSERT_TRUE(saved.open(QIODevice::ReadOnly));
    EXPECT_TRUE(saved.readAll().contains("Father")) << "the active profile's name";
}

} // namespace
} // namespace tonara
