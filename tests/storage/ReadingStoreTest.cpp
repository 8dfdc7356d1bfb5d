#include "StorageTestSupport.h"

#include "base/Clock.h"
#include "measurement/core/ReadingStore.h"
#include "storage/DataBaseforCD.h"
#include "storage/StorageTexts.h"

#include "storage/SqlConnection.h"

#include <atomic>
#include <thread>

namespace tonara::test {

namespace {

// The default file system of SQLite with its sleep watched: a connection that
// waits for a lock sleeps between its tries, so the flag says it is waiting.
struct WatchedSleep {
    WatchedSleep()
    {
        original = sqlite3_vfs_find(nullptr);
        vfs = *original; // pAppData stays: the default file system reads its own from it
        vfs.zName = "watched-sleep";
        current = this;
        vfs.xSleep = [](sqlite3_vfs *, int micros) {
            current->slept = true;
            return current->original->xSleep(current->original, micros);
        };
        sqlite3_vfs_register(&vfs, 1);
    }
    ~WatchedSleep()
    {
        sqlite3_vfs_register(original, 1);
        sqlite3_vfs_unregister(&vfs);
    }
    static inline WatchedSleep *current = nullptr;
    sqlite3_vfs *original = nullptr;
    sqlite3_vfs vfs{};
    std::atomic<bool> slept{false};
};

class Readings : public StorageTest {
protected:
    Readings() { users.check_database(); }

    std::vector<Reading> stored()
    {
        std::vector<Reading> out;
        SqlStatement st(conn(), "SELECT * FROM tonaradock_table");
        while (st.next())
            out.push_back({st.columnInt(0), st.columnText(1), st.columnText(2), st.columnInt(3),
                           st.columnInt(4), st.columnInt(5), st.columnText(6), st.columnInt(7),
                           st.columnInt(8), st.columnInt(9), st.columnInt(10)});
        return out;
    }
    int saveTriv()
    {
        return store.saveTriv(130, 85, 70, {{{131, 86, 71}, {129, 84, 69}, {130, 85, 70}}}, "", false)
            .reading.triv_id;
    }

    ManualClock clock{{2013, 3, 3, 9, 5, 7}};
    DataBaseforCD users{db, alerts};
    ReadingStore store{db, alerts, clock};
};

} // namespace

TEST_F(Readings, EveryKindOfSaveWritesItsWholeRow)
{
    ASSERT_TRUE(store.saveSingle(128, 84, 70, "after coffee", true).stored);
    ASSERT_TRUE(users.insertDataBase_setting_table(2, -1, -1));
    clock.set({2013, 12, 31, 23, 59, 59});
    ASSERT_TRUE(store.saveManual(118, 76, 70, "", "2013-12-30", "07:08:09").stored);
    const auto triv = store.saveTriv(130, 85, 70, {{{131, 86, 71}, {129, 84, 69}, {130, 85, 70}}}, "", true);
    ASSERT_TRUE(triv.stored);

    const std::vector<Reading> expected = {
        {0, "2013-03-03", "09:05:07", 128, 84, 70, "after coffee", 0, 0, 0, 1},
        {0, "2013-12-30", "07:08:09", 118, 76, 70, "", 0, 1, 2, 0},
        {1, "2013-12-31", "23:59:59", 130, 85, 70, "", 1, 0, 2, 1},
    };
    EXPECT_EQ(stored(), expected);
    EXPECT_EQ(column(conn(),
                     "SELECT id || ':' || times || ':' || sys || '/' || dia || '/' || pulse || ':' || date "
                     "FROM triv_table"),
              (std::vector<std::string>{"1:1:131/86/71:2013-12-31", "1:2:129/84/69:2013-12-31",
                                        "1:3:130/85/70:2013-12-31"}));
    EXPECT_EQ(scalar(conn(), "SELECT typeof(diary) = 'text' FROM tonaradock_table WHERE is_manual = 1"), 1)
        << "an empty comment is empty text, not NULL";
}

TEST_F(Readings, CommentsAreStoredWholeAndVerbatim)
{
    const std::vector<std::string> comments = {
        "Kopfschmerzen, müde – 頭痛", "it's \"fine\"'); DROP TABLE x;--", std::string(140, 'x') + "é"};
    for (const auto &c : comments)
        ASSERT_TRUE(store.saveSingle(120, 80, 70, c, false).stored);
    EXPECT_EQ(column(conn(), "SELECT diary FROM tonaradock_table"), comments);
}

TEST_F(Readings, SeriesNumbersNeverMeetLeftoverDetails)
{
    EXPECT_EQ(saveTriv(), 1) << "first series ever";
    ASSERT_TRUE(users.insertDataBase_setting_table(3, -1, -1));
    EXPECT_EQ(saveTriv(), 2) << "counted over all users";
    store.saveSingle(120, 80, 70, "", false);
    EXPECT_EQ(saveTriv(), 3) << "single readings in between change nothing";

    // The history deletes readings but leaves their details behind.
    ASSERT_TRUE(SqlStatement(conn(), "DELETE FROM tonaradock_table WHERE triv_id >= 2").run());
    EXPECT_EQ(saveTriv(), 4);
    EXPECT_EQ(scalar(conn(), "SELECT count(*) FROM triv_table WHERE id = 4"), 3) << "three rows, not six";

    // A later series in insertion order with a lower number must not pull the count back.
    ASSERT_TRUE(
        SqlStatement(conn(), "INSERT INTO tonaradock_table (triv_id,is_triv) VALUES (7,1),(5,1)").run());
    EXPECT_EQ(saveTriv(), 8);
}

TEST_F(Readings, TheLargestPossibleSeriesNumberDoesNotOverflow)
{
    // A file from elsewhere may carry any number; there is none above the
    // largest, so the new series takes a free one below it.
    ASSERT_TRUE(
        SqlStatement(conn(), "INSERT INTO tonaradock_table (triv_id,is_triv) VALUES (1,1),(2147483647,1)")
            .run());
    ASSERT_TRUE(SqlStatement(conn(), "INSERT INTO triv_table (id,times) VALUES (2,1),(3,1)").run());
    const int series = saveTriv();
    EXPECT_EQ(series, 4);
    EXPECT_EQ(scalar(conn(), "SELECT count(*) FROM triv_table WHERE id = 4"), 3);
    EXPECT_EQ(saveTriv(), 5);
}

TEST_F(Readings, TheLocalDateIsUsedJustAfterMidnight)
{
    // 00:05 local: in any zone east of UTC, SQLite's 'now' still says yesterday.
    // The clock is years away from the real date, so any use of SQLite's date shows.
    clock.set({2031, 1, 1, 0, 5, 0});
    const auto triv = store.saveTriv(130, 85, 70, {{{131, 86, 71}, {129, 84, 69}, {130, 85, 70}}}, "", false);
    ASSERT_TRUE(triv.stored);
    EXPECT_EQ(column(conn(), "SELECT DISTINCT date FROM tonaradock_table"),
              std::vector<std::string>{"2031-01-01"});
    EXPECT_EQ(column(conn(), "SELECT DISTINCT date FROM triv_table"), std::vector<std::string>{"2031-01-01"});
    EXPECT_EQ(column(conn(), "SELECT date || ' ' || time FROM day_average"),
              std::vector<std::string>{"2031-01-01 00:05:00"});
}

TEST_F(Readings, MissingReadingTableShowsTheFullAlertAndTheSaveGoesOn)
{
    ASSERT_TRUE(SqlStatement(conn(), "DROP TABLE tonaradock_table").run());
    ASSERT_TRUE(SqlStatement(conn(), "DROP TABLE triv_table").run());
    LogCapture log;
    const auto triv = store.saveTriv(130, 85, 70, {}, "", false);
    EXPECT_FALSE(triv.stored);
    ASSERT_EQ(alerts.alerts.size(), 4u) << "one alert per insert that cannot be prepared";
    for (const auto &a : alerts.alerts) {
        EXPECT_EQ(a.title, "");
        EXPECT_EQ(a.message, StorageTexts::kDatabaseFull);
    }
    EXPECT_TRUE(log.contains("Db error no such table: tonaradock_table"));
}

TEST_F(Readings, AReadingThatCannotBeInsertedTouchesNoDayAverage)
{
    ASSERT_TRUE(SqlStatement(conn(), "DROP TABLE tonaradock_table").run());
    int averageStatements = 0;
    sqlite3_trace_v2(
        conn(), SQLITE_TRACE_STMT,
        [](unsigned, void *count, void *, void *sql) {
            if (std::string(static_cast<const char *>(sql)).find("day_average") != std::string::npos)
                ++*static_cast<int *>(count);
            return 0;
        },
        &averageStatements);
    const auto single = store.saveSingle(120, 80, 70, "", false);
    sqlite3_trace_v2(conn(), 0, nullptr, nullptr);
    EXPECT_FALSE(single.stored);
    ASSERT_EQ(alerts.alerts.size(), 1u);
    EXPECT_EQ(alerts.alerts[0].message, StorageTexts::kDatabaseFull);
    EXPECT_EQ(averageStatements, 0) << "no day average of a reading that is not there";
}

TEST_F(Readings, AnInsertThatFailsAfterPreparingIsNotPassedOverInSilence)
{
    // A locked or read-only file or a full disk fails at the step, not at
    // the prepare; the person must still be told the reading was not kept.
    ASSERT_TRUE(SqlStatement(conn(), "CREATE TRIGGER no_readings BEFORE INSERT ON tonaradock_table "
                                     "BEGIN SELECT RAISE(ABORT, 'disk is full'); END")
                    .run());
    LogCapture log;
    EXPECT_FALSE(store.saveSingle(120, 80, 70, "", false).stored);
    ASSERT_EQ(alerts.alerts.size(), 1u);
    EXPECT_EQ(alerts.alerts[0].title, StorageTexts::kNotSavedTitle);
    EXPECT_NE(alerts.alerts[0].message.find("disk is full"), std::string::npos);
    EXPECT_TRUE(log.contains("Db error disk is full"));
    EXPECT_TRUE(stored().empty());

    // The series' three details failing together give one alert, not three.
    ASSERT_TRUE(SqlStatement(conn(), "DROP TRIGGER no_readings").run());
    ASSERT_TRUE(SqlStatement(conn(), "CREATE TRIGGER no_details BEFORE INSERT ON triv_table "
                                     "BEGIN SELECT RAISE(ABORT, 'disk is full'); END")
                    .run());
    alerts.alerts.clear();
    saveTriv();
    EXPECT_EQ(alerts.alerts.size(), 1u);
    EXPECT_TRUE(stored().empty()) << "a TRIV reading goes in with its details or not at all";
}

// A save that fails part way leaves the file as it was: no reading without its
// details or its day average, no details under a number no reading has.
TEST_F(Readings, ASaveIsStoredWholeOrNotAtAll)
{
    ASSERT_TRUE(store.saveSingle(120, 80, 70, "", false).stored);
    const auto before = [this] {
        return column(conn(), "SELECT (SELECT count(*) FROM tonaradock_table) || '/' || "
                              "(SELECT count(*) FROM triv_table) || '/' || "
                              "(SELECT group_concat(sys || ',' || dia || ',' || pulse) FROM day_average)");
    };
    const auto untouched = before();

    // The second detail row is refused after the reading and the first detail went in.
    ASSERT_TRUE(SqlStatement(conn(), "CREATE TRIGGER second_detail BEFORE INSERT ON triv_table "
                                     "WHEN NEW.times = 2 BEGIN SELECT RAISE(ABORT, 'disk is full'); END")
                    .run());
    {
        LogCapture log;
        EXPECT_FALSE(store.saveTriv(140, 90, 80, {}, "", false).stored);
        EXPECT_TRUE(log.contains("Db error disk is full"));
    }
    EXPECT_EQ(before(), untouched);
    ASSERT_FALSE(alerts.alerts.empty());
    EXPECT_EQ(alerts.alerts[0].title, StorageTexts::kNotSavedTitle);
    ASSERT_TRUE(SqlStatement(conn(), "DROP TRIGGER second_detail").run());

    // The day average of the reading cannot be written: the reading goes too,
    // and the person is told.
    ASSERT_TRUE(SqlStatement(conn(), "CREATE TRIGGER no_average BEFORE UPDATE ON day_average "
                                     "BEGIN SELECT RAISE(ABORT, 'disk is full'); END")
                    .run());
    alerts.alerts.clear();
    for (const bool triv : {false, true}) {
        const auto saved = triv ? store.saveTriv(140, 90, 80, {}, "", false)
                                : store.saveManual(140, 90, 80, "", "2013-03-03", "10:00:00");
        EXPECT_FALSE(saved.stored);
        EXPECT_EQ(before(), untouched);
    }
    ASSERT_EQ(alerts.alerts.size(), 2u) << "one alert per failed save";
    EXPECT_EQ(alerts.alerts[1].title, StorageTexts::kNotSavedTitle);

    // Without the faults the same saves go in whole, and the file stays usable.
    ASSERT_TRUE(SqlStatement(conn(), "DROP TRIGGER no_average").run());
    EXPECT_TRUE(store.saveTriv(140, 90, 80, {}, "", false).stored);
    EXPECT_EQ(before(), std::vector<std::string>{"2/3/130,85,75"});
}

TEST_F(Readings, ASaveWaitsForAnotherProgramsWriteInsteadOfFailing)
{
    // Another program (an import from the command line) holds the write lock
    // and lets go only once the save is waiting for it.
    SqlStatus status;
    SqlConnection other = SqlConnection::open(db.getDatabaseFullPath(), SQLITE_OPEN_READWRITE, status);
    ASSERT_TRUE(other);
    ASSERT_TRUE(SqlStatement::exec(other.get(), "BEGIN IMMEDIATE").ok());
    bool saved = false;
    {
        WatchedSleep watch;
        DBHelper app(dir.path(), &alerts); // its connection opens through the watched file system
        app.openDatabase();
        ReadingStore appStore(app, alerts, clock);
        std::atomic<bool> done{false};
        std::thread importer([&] {
            while (!watch.slept && !done)
                std::this_thread::yield();
            SqlStatement::exec(other.get(), "COMMIT");
        });
        saved = appStore.saveSingle(131, 83, 70, "", false).stored;
        done = true;
        importer.join();
        EXPECT_TRUE(watch.slept) << "the save did not wait";
    }
    EXPECT_TRUE(saved);
    EXPECT_TRUE(alerts.alerts.empty());
    EXPECT_EQ(stored().size(), 1u);
}

TEST_F(Readings, ACommentSQLiteCannotTakeIsNotSavedAsAnEmptyOne)
{
    // SQLite refuses to bind text over its length limit; the reading must not go in without it.
    sqlite3_limit(conn(), SQLITE_LIMIT_LENGTH, 4000);
    const std::string comment(5000, 'c');
    LogCapture log;
    for (const bool triv : {false, true}) {
        alerts.alerts.clear();
        const auto saved = triv ? store.saveTriv(130, 85, 70, {}, comment, false)
                                : store.saveSingle(130, 85, 70, comment, false);
        EXPECT_FALSE(saved.stored);
        ASSERT_EQ(alerts.alerts.size(), 1u);
        EXPECT_EQ(alerts.alerts[0].title, StorageTexts::kNotSavedTitle);
        EXPECT_NE(alerts.alerts[0].message.find("too big"), std::string::npos) << alerts.alerts[0].message;
    }
    EXPECT_TRUE(stored().empty());
    EXPECT_EQ(scalar(conn(), "SELECT count(*) FROM triv_table") +
                  scalar(conn(), "SELECT count(*) FROM day_average"),
              0);
}

} // namespace tonara::test
