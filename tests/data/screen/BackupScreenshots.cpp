// Pictures of the backup-and-data panel for people to look at, inside the
// whole application on a phone and a tablet. Written to
// $TONARA_SCREENSHOT_DIR (or ./screenshots) as backup_<form>_<view>.png.

#include "app/AppTestSupport.h"

#include "app/TonaraTabBarController.h"
#include "data/BackupAndDataPanel.h"
#include "platform/AlertPresenter.h"
#include "storage/DataBaseforCD.h"
#include "storage/SqlStatement.h"
#include "users/setting.h"

#include <gtest/gtest.h>

#include <QDir>
#include <QFile>
#include <QMainWindow>
#include <QTemporaryDir>

namespace tonara {
namespace {

using test::ShellHarness;

void seed(DBHelper &db)
{
    test::QuietAlerts quiet;
    DataBaseforCD store(db, quiet);
    store.check_database();
    store.insertDataBase_user_table(0, "", "", "User", "", "", 0, "");
    store.insertDataBase_user_table(1, "", "", "Mother", "", "", 0, "");
    store.insertDataBase_setting_table(1, -1, -1);
    for (int d = 1; d <= 9; ++d)
        SqlStatement::exec(db.database(), "INSERT INTO tonaradock_table VALUES(0,'2026-11-0" +
                                              std::to_string(d) + "','08:00:00',12" + std::to_string(d) +
                                              ",80,66,'',0,0,1,0)");
}

class BackupScreenshots : public ::testing::TestWithParam<FormFactor> {
protected:
    void shoot(ShellHarness &h, const char *view)
    {
        test::saveScreenshot(
            h, QStringLiteral("backup_%1_%2").arg(test::formName(GetParam()), QLatin1String(view)));
    }

    QTemporaryDir files;
};

TEST_P(BackupScreenshots, PanelConfirmationAndRefusal)
{
    ShellHarness::Setup setup = ShellHarness::on(GetParam());
    setup.seed = seed;
    ShellHarness h(setup);
    TonaraTabBarController *tabs = h.app().tabBarController();
    tabs->setSelectedIndex(OrvelAppDelegate::kSettingTab);
    auto *screen = qobject_cast<setting *>(tabs->viewController(OrvelAppDelegate::kSettingTab));
    ASSERT_NE(screen, nullptr);
    AlertPresenter *alerts = h.app().alerts();

    // One automatic backup in the list, and the Undo offer it leaves.
    screen->didSelectRow(1);
    alerts->answer(QStringLiteral("Six months"));
    alerts->answer(QStringLiteral("Yes"));
    shoot(h, "1_undo_after_reset");

    QString chosen = files.filePath(QStringLiteral("Tonara-backup-2026-12-09-0841.tonarabackup"));
    BackupAndDataPanel *panel = h.app().backupAndDataPanel();
    panel->setFileChoosers([&](QWidget *, const QString &) { return chosen; },
                           [&](QWidget *, const QString &) { return chosen; });
    panel->backUpNow();
    alerts->answer(0);
    screen->didSelectRow(2);
    shoot(h, "2_panel");

    panel->restoreFromFile();
    ASSERT_EQ(alerts->currentTitle(), "Replace all data?");
    shoot(h, "3_restore_confirmation");
    alerts->answer(QStringLiteral("Cancel"));

    chosen = files.filePath(QStringLiteral("holiday.tonarabackup"));
    QFile cut(chosen);
    ASSERT_TRUE(cut.open(QIODevice::WriteOnly));
    QFile whole(files.filePath(QStringLiteral("Tonara-backup-2026-12-09-0841.tonarabackup")));
    ASSERT_TRUE(whole.open(QIODevice::ReadOnly));
    cut.write(whole.readAll().left(int(whole.size() / 2)));
    cut.close();
    panel->restoreFromFile();
    ASSERT_EQ(alerts->currentTitle(), "Backup not restored");
    shoot(h, "4_refused_archive");
    alerts->answer(0);
}

INSTANTIATE_TEST_SUITE_P(FormFactors, BackupScreenshots,
                         ::testing::Values(FormFactor::Phone480, FormFactor::Tablet));

} // namespace
} // namespace tonara
