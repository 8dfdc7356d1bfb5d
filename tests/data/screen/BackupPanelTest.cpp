// The backup-and-data panel driven offscreen on a database of its own: a
// backup to a chosen file, the restore's confirmation and refusals, the
// automatic backups' list with Undo, and the two buttons that only ask.

#include "base/AlertSink.h"
#include "base/Clock.h"
#include "data/BackupAndDataPanel.h"
#include "data/core/AutoBackups.h"
#include "platform/AlertPresenter.h"
#include "storage/DBHelper.h"
#include "storage/DataBaseforCD.h"
#include "storage/SqlStatement.h"

#include <gtest/gtest.h>

#include <QDir>
#include <QFile>
#include <QListWidget>
#include <QPushButton>
#include <QSignalSpy>
#include <QTemporaryDir>

namespace tonara {
namespace {

class BackupPanelTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        db = std::make_unique<DBHelper>(dir.filePath("home").toStdString());
        QDir().mkpath(dir.filePath("home"));
        db->openDatabase();
        DataBaseforCD(*db, alerts).check_database();
        exec("INSERT INTO users_table_new VALUES(0,'','','User','','',0,'')");
        for (int i = 0; i < 4; ++i)
            exec("INSERT INTO tonaradock_table VALUES(0,'2026-11-0" + std::to_string(i + 1) +
                 "','08:00:00',121,79,66,'',0,0,0,0)");
        panel = std::make_unique<BackupAndDataPanel>(BackupAndDataPanel::Context{db.get(), &alerts, &clock});
        panel->setFileChoosers(
            [this](QWidget *, const QString &suggested) {
                suggestedSave = suggested;
                return chosen;
            },
            [this](QWidget *, const QString &) { return chosen; });
    }
    void exec(const std::string &sql) { ASSERT_TRUE(SqlStatement::exec(db->database(), sql).ok()) << sql; }
    int readings()
    {
        SqlStatement st(db->database(), "SELECT count(*) FROM tonaradock_table");
        return st.next() ? st.columnInt(0) : -1;
    }

    QTemporaryDir dir;
    ManualClock clock{LocalDateTime{2026, 12, 9, 8, 41, 7}};
    AlertPresenter alerts;
    std::unique_ptr<DBHelper> db;
    std::unique_ptr<BackupAndDataPanel> panel;
    QString chosen;
    QString suggestedSave;
};

TEST_F(BackupPanelTest, ABackupToAChosenFileRestoresAfterAConfirmationThatSaysWhatIsReplaced)
{
    EXPECT_EQ(panel->backUpNowButton()->accessibleDescription(), "backUpNowButton");
    EXPECT_EQ(panel->backUpNowButton()->accessibleName(), "Back up all data to a file");
    chosen = dir.filePath("stick/mine.tonarabackup");
    QDir().mkpath(dir.filePath("stick"));
    panel->backUpNowButton()->click();
    EXPECT_TRUE(suggestedSave.endsWith("Tonara-backup-2026-12-09-0841.tonarabackup"))
        << suggestedSave.toStdString();
    ASSERT_TRUE(alerts.hasAlert());
    EXPECT_EQ(alerts.currentTitle(), "Backup saved");
    EXPECT_TRUE(alerts.currentMessage().contains("mine.tonarabackup"));
    alerts.answer(0);

    exec("DELETE FROM tonaradock_table WHERE date > '2026-11-02'");
    QSignalSpy restored(panel.get(), &BackupAndDataPanel::dataRestored);
    panel->restoreFromFileButton()->click();
    ASSERT_TRUE(alerts.hasAlert());
    EXPECT_EQ(alerts.currentTitle(), "Replace all data?");
    const QString message = alerts.currentMessage();
    EXPECT_TRUE(message.contains("All data on this device (2 readings, 1 profiles,"))
        << message.toStdString();
    EXPECT_TRUE(message.contains("by the backup of 9 Dec 2026, 08:41 (4 readings, 1 profiles)"))
        << message.toStdString();
    EXPECT_EQ(alerts.currentButtons(), (QStringList{"Restore", "Cancel"}));

    alerts.answer(1); // Cancel changes nothing
    EXPECT_EQ(readings(), 2);
    EXPECT_EQ(restored.count(), 0);

    panel->restoreFromFileButton()->click();
    alerts.answer(0);
    EXPECT_EQ(readings(), 4);
    EXPECT_EQ(restored.count(), 1);
    ASSERT_TRUE(alerts.hasAlert());
    EXPECT_EQ(alerts.currentTitle(), "Backup restored");
    alerts.answer(0);
    // What it replaced heads the list, and Undo brings it back.
    ASSERT_EQ(panel->backupsList()->count(), 1);
    EXPECT_EQ(panel->backupsList()->item(0)->text(), "9 Dec 2026, 08:41 — Before a restore");
    EXPECT_FALSE(panel->undoButton()->isEnabled());
    panel->backupsList()->setCurrentRow(0);
    ASSERT_TRUE(panel->undoButton()->isEnabled());
    panel->undoButton()->click();
    EXPECT_TRUE(alerts.currentMessage().contains("(2 readings, 1 profiles)"))
        << alerts.currentMessage().toStdString();
    alerts.answer(0);
    EXPECT_EQ(readings(), 2);
    EXPECT_EQ(restored.count(), 2);
}

TEST_F(BackupPanelTest, ADamagedDiaryIsReplacedByTheBackupAndKeptAsItWas)
{
    chosen = dir.filePath("mine.tonarabackup");
    panel->backUpNowButton()->click();
    alerts.answer(0);
    // Another device whose diary was damaged.
    QDir().mkpath(dir.filePath("broken"));
    QFile garbage(dir.filePath("broken/TonaraDock.sqlite"));
    ASSERT_TRUE(garbage.open(QIODevice::WriteOnly));
    garbage.write(QByteArray(8192, '\x5a'));
    garbage.close();
    DBHelper broken(dir.filePath("broken").toStdString());
    broken.openDatabase();
    BackupAndDataPanel there(BackupAndDataPanel::Context{&broken, &alerts, &clock});
    there.setFileChoosers([this](QWidget *, const QString &) { return chosen; },
                          [this](QWidget *, const QString &) { return chosen; });

    there.restoreFromFileButton()->click();
    ASSERT_EQ(alerts.currentTitle(), "Replace all data?");
    EXPECT_TRUE(alerts.currentMessage().startsWith("The data on this device cannot be read"))
        << alerts.currentMessage().toStdString();
    alerts.answer(0);
    ASSERT_EQ(alerts.currentTitle(), "Backup restored");
    EXPECT_TRUE(alerts.currentMessage().contains("The unreadable database they replaced is kept as"))
        << alerts.currentMessage().toStdString();
    alerts.answer(0);
    SqlStatement st(broken.database(), "SELECT count(*) FROM tonaradock_table");
    ASSERT_TRUE(st.next());
    EXPECT_EQ(st.columnInt(0), 4);
}

TEST_F(BackupPanelTest, ARefusedArchiveIsExplainedAndNothingChanges)
{
    chosen = dir.filePath("notes.tonarabackup");
    QFile f(chosen);
    ASSERT_TRUE(f.open(QIODevice::WriteOnly));
    f.write("shopping list\n");
    f.close();
    panel->restoreFromFileButton()->click();
    ASSERT_TRUE(alerts.hasAlert());
    EXPECT_EQ(alerts.currentTitle(), "Backup not restored");
    EXPECT_TRUE(
        alerts.currentMessage().startsWith("The file \"notes.tonarabackup\" is not a Tonara+ backup"));
    EXPECT_TRUE(alerts.currentMessage().endsWith("Nothing was changed."));
    EXPECT_EQ(alerts.currentButtons(), QStringList{"OK"});
    alerts.answer(0);
    EXPECT_FALSE(alerts.hasAlert());
    EXPECT_EQ(readings(), 4);
    EXPECT_FALSE(QDir(dir.filePath("home/Backups")).exists());

    // A chooser that was cancelled does nothing at all.
    chosen.clear();
    panel->restoreFromFileButton()->click();
    panel->backUpNowButton()->click();
    EXPECT_FALSE(alerts.hasAlert());
}

TEST_F(BackupPanelTest, ImportAndFhirExportOnlyAskAndBackCloses)
{
    QSignalSpy import(panel.get(), &BackupAndDataPanel::importRequested);
    QSignalSpy fhir(panel.get(), &BackupAndDataPanel::fhirExportRequested);
    panel->show();
    panel->importButton()->click();
    panel->fhirExportButton()->click();
    EXPECT_EQ(import.count(), 1);
    EXPECT_EQ(fhir.count(), 1);
    EXPECT_EQ(panel->importButton()->text(), "Import readings…");
    EXPECT_EQ(panel->fhirExportButton()->text(), "Export (FHIR)…");
    EXPECT_FALSE(alerts.hasAlert());
    panel->backButton()->click();
    EXPECT_FALSE(panel->isVisible());
}

} // namespace
} // namespace tonara
