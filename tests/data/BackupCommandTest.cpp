// tonara-data backup and restore, run as a script would run them.

#include "BackupTestSupport.h"

#include "storage/DataFolderLock.h"

#include <sys/wait.h>

#include <cstdio>

namespace tonara::test {
namespace {

std::pair<int, std::string> runTool(const std::string &arguments)
{
    std::string out;
    FILE *pipe = ::popen((std::string(TONARA_DATA_TOOL) + " " + arguments + " 2>&1").c_str(), "r");
    if (!pipe)
        return {-1, out};
    char buf[512];
    while (std::fgets(buf, sizeof buf, pipe))
        out += buf;
    const int raw = ::pclose(pipe);
    return {WIFEXITED(raw) ? WEXITSTATUS(raw) : -1, out};
}

TEST(BackupCommandTest, BackupAndRestoreFromTheCommandLineSayWhatHappened)
{
    TempFolder tmp;
    const std::string archive = (tmp / "family.tonarabackup").string();
    std::map<std::string, std::vector<std::string>> expected;
    {
        DataFolder home(tmp / "home");
        home.seedFamily();
        home.exec("UPDATE users_table_new SET photo = ''");
        expected = home.rows();
    }
    auto [status, out] = runTool("--data-dir '" + (tmp / "home").string() + "' backup '" + archive + "'");
    ASSERT_EQ(status, 0) << out;
    std::tie(status, out) = runTool("--data-dir '" + (tmp / "new").string() + "' restore '" + archive + "'");
    ASSERT_EQ(status, 0) << out;
    EXPECT_NE(out.find("the data it replaced is in"), std::string::npos) << out;
    EXPECT_EQ(DataFolder(tmp / "new").rows(), expected);

    writeBytes(tmp / "notes.tonarabackup", "not a backup");
    std::tie(status, out) = runTool("--data-dir '" + (tmp / "new").string() + "' restore '" +
                                    (tmp / "notes.tonarabackup").string() + "'");
    EXPECT_EQ(status, 1);
    EXPECT_NE(out.find("Restore refused: The file \"notes.tonarabackup\" is not a Tonara+ backup"),
              std::string::npos)
        << out;
    std::tie(status, out) =
        runTool("--data-dir '" + (tmp / "nowhere").string() + "' backup '" + archive + "'");
    EXPECT_EQ(status, 1);
    EXPECT_NE(out.find("Backup failed: there is no data folder"), std::string::npos) << out;
    fs::create_directories(tmp / "empty");
    std::tie(status, out) = runTool("--data-dir '" + (tmp / "empty").string() + "' backup '" + archive + "'");
    EXPECT_EQ(status, 1);
    EXPECT_NE(out.find("holds no TonaraDock.sqlite"), std::string::npos) << out;
    EXPECT_FALSE(fs::exists(tmp / "empty" / "TonaraDock.sqlite")) << "a wrong folder is left as it was";
    EXPECT_EQ(runTool("--data-dir '" + (tmp / "new").string() + "' backup").first, 2);
}

TEST(BackupCommandTest, ARestoreLeavesAFolderTheRunningAppUsesAlone)
{
    TempFolder tmp;
    const std::string archive = (tmp / "family.tonarabackup").string();
    std::map<std::string, std::vector<std::string>> before;
    {
        DataFolder home(tmp / "home");
        home.seedFamily();
        home.exec("UPDATE users_table_new SET photo = ''");
    }
    ASSERT_EQ(runTool("--data-dir '" + (tmp / "home").string() + "' backup '" + archive + "'").first, 0);
    {
        DataFolder other(tmp / "other");
        other.seedFamily();
        other.exec("DELETE FROM tonaradock_table WHERE user_id = 0");
        before = other.rows();
    }
    const std::string restore = "--data-dir '" + (tmp / "other").string() + "' restore '" + archive + "'";
    {
        DataFolderLock app; // the application running on the folder
        ASSERT_TRUE(app.hold((tmp / "other").string()));
        auto [status, out] = runTool(restore);
        EXPECT_EQ(status, 1);
        EXPECT_NE(out.find("the Tonara+ application is running on"), std::string::npos) << out;
        EXPECT_EQ(DataFolder(tmp / "other").rows(), before);
    }
    // Once it has ended (however it ended) the folder is free again.
    EXPECT_FALSE(DataFolderLock::heldElsewhere((tmp / "other").string()));
    EXPECT_EQ(runTool(restore).first, 0);
    EXPECT_NE(DataFolder(tmp / "other").rows(), before);
}

} // namespace
} // namespace tonara::test
