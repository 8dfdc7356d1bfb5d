#include "StorageTestSupport.h"

#include "base/Clock.h"
#include "measurement/core/ReadingStore.h"
#include "storage/DataBaseforCD.h"
#include "storage/SqlTransaction.h"
#include "storage/StorageTexts.h"

namespace tonara::test {

namespace {

const ReadingStore::TrivSingles kSingles{{{131, 86, 71}, {129, 84, 69}, {130, 85, 70}}};

// What a save may have left in the file, as one line per table.
struct FileContents {
    int readings = 0;
    int details = 0;
    std::vector<std::string> averages;
    bool operator==(const FileContents &) const = default;
};

void PrintTo(const FileContents &c, std::ostream *os)
{
    *os << c.readings << " readings, " << c.details << " details, averages:";
    for (const auto &a : c.averages)
        *os << " " << a;
}

class WholeSaves : public StorageTest {
protected:
    WholeSaves() { users.check_database(); }

    FileContents contents()
    {
        return {scalar(conn(), "SELECT count(*) FROM tonaradock_table"),
                scalar(conn(), "SELECT count(*) FROM triv_table"),
                column(conn(), "SELECT date || ' ' || sys || '/' || dia || '/' || pulse FROM day_average")};
    }
    void exec(const std::string &sql) { ASSERT_TRUE(SqlStatement::exec(conn(), sql).ok()) << sql; }
    ManualClock clock{{2013, 3, 3, 9, 5, 7}};
    DataBaseforCD users{db, alerts};
    ReadingStore store{db, alerts, clock};
};

} // namespace

TEST_F(WholeSaves, AMissingDetailTableShowsItsAlertsAndKeepsNothing)
{
    exec("DROP TABLE triv_table");
    const auto triv = store.saveTriv(140, 90, 80, kSingles, "", false);
    EXPECT_FALSE(triv.stored);
    EXPECT_EQ(scalar(conn(), "SELECT count(*) FROM tonaradock_table"), 0);
    EXPECT_EQ(scalar(conn(), "SELECT count(*) FROM day_average"), 0);
    ASSERT_EQ(alerts.alerts.size(), 3u) << "one per detail insert that cannot be prepared";
    for (const auto &a : alerts.alerts)
        EXPECT_EQ(a.message, StorageTexts::kDatabaseFull);
}

TEST_F(WholeSaves, AFileThatFillsUpHalfWayKeepsNothingOfTheSave)
{
    // The file may not grow: fill the detail table until it is full, then
    // free room for exactly one more detail row.
    ASSERT_TRUE(store.saveSingle(120, 80, 70, "", false).stored);
    exec("PRAGMA max_page_count = " + std::to_string(scalar(conn(), "PRAGMA page_count")));
    int fillers = 0;
    for (;; ++fillers) {
        SqlStatement filler(conn(), "INSERT INTO triv_table (id,times,sys,dia,pulse,date) "
                                    "VALUES (1000,1,131,86,71,'2013-03-01')");
        if (!filler.run()) {
            ASSERT_EQ(filler.status().code, SQLITE_FULL);
            break;
        }
        ASSERT_LT(fillers, 100000);
    }
    exec("DELETE FROM triv_table WHERE rowid = (SELECT max(rowid) FROM triv_table)");
    const FileContents before = contents();

    // The reading and its first detail fit, the second does not: SQLite then
    // ends the whole transaction itself.
    LogCapture log;
    EXPECT_FALSE(store.saveTriv(140, 90, 80, kSingles, "", false).stored);
    EXPECT_EQ(contents(), before);
    EXPECT_EQ(scalar(conn(), "SELECT count(*) FROM triv_table WHERE id <> 1000"), 0)
        << "no details under a number no reading has";
    ASSERT_EQ(alerts.alerts.size(), 1u);
    EXPECT_EQ(alerts.alerts[0].title, StorageTexts::kNotSavedTitle);
    EXPECT_NE(alerts.alerts[0].message.find("full"), std::string::npos) << alerts.alerts[0].message;
}

TEST_F(WholeSaves, ARefusedCommitKeepsNothingAndIsTold)
{
    sqlite3_commit_hook(
        conn(), [](void *) { return 1; }, nullptr);
    LogCapture log;
    EXPECT_FALSE(store.saveTriv(140, 90, 80, kSingles, "", false).stored);
    sqlite3_commit_hook(conn(), nullptr, nullptr);
    EXPECT_EQ(contents(), FileContents{});
    ASSERT_EQ(alerts.alerts.size(), 1u);
    EXPECT_EQ(alerts.alerts[0].title, StorageTexts::kNotSavedTitle);
    EXPECT_EQ(log.lines.size() > 0 && log.lines.back().rfind("Db error ", 0) == 0, true);
}

TEST_F(WholeSaves, AStatementWithAValueItCouldNotBindDoesNotRun)
{
    sqlite3_limit(conn(), SQLITE_LIMIT_LENGTH, 100);
    SqlStatement insert(conn(), "INSERT INTO tonaradock_table (sys,diary) VALUES (?,?)");
    insert.bind(1, 120).bind(2, std::string(140, 'x'));
    EXPECT_FALSE(insert.run());
    EXPECT_EQ(insert.status().code, SQLITE_TOOBIG);
    insert.reset();
    EXPECT_FALSE(insert.run()) << "not after a reset either: the value is still missing";
    EXPECT_EQ(scalar(conn(), "SELECT count(*) FROM tonaradock_table"), 0);
}

TEST_F(WholeSaves, ASaveInsideAnOpenTransactionUndoesOnlyItself)
{
    SqlTransaction outer(conn());
    ASSERT_TRUE(outer.begun());
    ASSERT_TRUE(store.saveSingle(120, 80, 70, "", false).stored);
    exec("CREATE TRIGGER no_details BEFORE INSERT ON triv_table BEGIN SELECT RAISE(ABORT, 'no'); END");
    EXPECT_FALSE(store.saveTriv(140, 90, 80, kSingles, "", false).stored);
    EXPECT_TRUE(outer.intact());
    ASSERT_TRUE(outer.commit().ok());
    EXPECT_EQ(contents(), (FileContents{1, 0, {"2013-03-03 120/80/70"}}));
}

} // namespace tonara::test
