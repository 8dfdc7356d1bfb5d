// The automatic backups' folder: names, the ten newest kept, the list.

#include "BackupTestSupport.h"

#include "base/Clock.h"
#include "data/core/AutoBackups.h"

namespace tonara::test {
namespace {

TEST(BackupAutoBackupsTest, KeepsTheTenNewestAndNothingElseOfThePersons)
{
    TempFolder tmp;
    DataFolder home(tmp / "home");
    ManualClock clock{LocalDateTime{2026, 12, 31, 23, 55, 0}};
    AutoBackups backups(*home.db, clock);
    fs::create_directories(backups.folder());
    writeBytes(fs::path(backups.folder()) / "my own copy.tonarabackup", "mine");

    std::vector<std::string> made;
    for (int i = 0; i < 12; ++i) {
        // Across midnight and the new year: the order is by moment, not by name.
        const bool next = i >= 6;
        clock.set(LocalDateTime{2026 + next, next ? 1 : 12, next ? 1 : 31, next ? 0 : 23, (i * 2) % 60, 0});
        BackupMessage why;
        made.push_back(backups.take(i % 2 ? AutoBackups::kResetData : AutoBackups::kDeleteProfile, &why));
        ASSERT_FALSE(made.back().empty()) << why.english();
    }
    const auto list = backups.list();
    ASSERT_EQ(list.size(), 10u);
    for (std::size_t i = 0; i < 10; ++i)
        EXPECT_EQ(list[i].path, made[11 - i]);
    EXPECT_FALSE(fs::exists(made[0]));
    EXPECT_FALSE(fs::exists(made[1]));
    EXPECT_EQ(list[0].operation, AutoBackups::kResetData);
    EXPECT_EQ(list[0].at, (LocalDateTime{2027, 1, 1, 0, 22, 0}));
    EXPECT_GT(list[0].size, 0u);
    EXPECT_TRUE(fs::exists(fs::path(backups.folder()) / "my own copy.tonarabackup"));

    // Two in the same second get their own names; a clock set back still keeps the new one.
    BackupMessage why;
    const std::string again = backups.take(AutoBackups::kResetData, &why);
    EXPECT_TRUE(again.ends_with("-002200-reset-data-2.tonarabackup")) << again;
    // Whatever the operations, the last one taken in a second is the newest.
    backups.take(AutoBackups::kRestore, &why);
    const std::string last = backups.take(AutoBackups::kDeleteProfile, &why);
    EXPECT_TRUE(last.ends_with("-002200-delete-profile-4.tonarabackup")) << last;
    EXPECT_EQ(backups.list().front().path, last);
    clock.set(LocalDateTime{2020, 5, 5, 5, 5, 5});
    const std::string past = backups.take(AutoBackups::kRestore, &why);
    EXPECT_TRUE(fs::exists(past));
    EXPECT_EQ(backups.list().size(), 10u);
    EXPECT_EQ(backups.list().back().path, past);
}

TEST(BackupAutoBackupsTest, AFailedBackupSaysWhyAndLeavesNoFile)
{
    TempFolder tmp;
    DataFolder home(tmp / "home");
    ManualClock clock;
    writeBytes(home.file("Backups"), "a file where the folder should be");
    AutoBackups backups(*home.db, clock);
    BackupMessage why;
    EXPECT_TRUE(backups.take(AutoBackups::kResetData, &why).empty());
    EXPECT_NE(why.english().find("could not be made"), std::string::npos) << why.english();
    EXPECT_EQ(readBytes(home.file("Backups")), "a file where the folder should be");

    // A diary file that is no database says so in words, once, and stays as it was.
    DataFolder damaged(tmp / "damaged");
    const std::string garbage(8192, 'g');
    writeBytes(damaged.file("TonaraDock.sqlite"), garbage);
    EXPECT_TRUE(AutoBackups(*damaged.db, clock).take(AutoBackups::kResetData, &why).empty());
    const std::string text = why.english();
    EXPECT_NE(text.find("damaged or is not a Tonara+ database"), std::string::npos) << text;
    EXPECT_EQ(text.find("copied: the database could not be copied"), std::string::npos) << text;
    EXPECT_EQ(readBytes(damaged.file("TonaraDock.sqlite")), garbage);
    EXPECT_TRUE(AutoBackups(*damaged.db, clock).list().empty());
}

} // namespace
} // namespace tonara::test
