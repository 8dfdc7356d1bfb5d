#include "StorageTestSupport.h"

#include "base/Clock.h"
#include "measurement/core/ReadingStore.h"
#include "storage/DataBaseforCD.h"
#include "storage/Schema.h"
#include "storage/StorageTexts.h"

#include <cctype>
#include <fstream>
#include <iterator>

namespace tonara::test {

namespace {

std::string fileBytes(const std::string &path)
{
    std::ifstream in(path, std::ios::binary);
    return {std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
}

// "name type" of every column, in the table's order.
std::vector<std::string> tableColumns(sqlite3 *db, const std::string &table)
{
    std::vector<std::string> out;
    SqlStatement st(db, "PRAGMA table_info(" + table + ")");
    while (st.next()) {
        std::string type = st.columnText(2);
        for (char &c : type)
            c = static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
        out.push_back(st.columnText(1) + " " + type);
    }
    return out;
}

} // namespace

TEST(DBHelperFile, FirstStartMakesTheFileAndLaterStartsKeepIt)
{
    TempDir dir;
    RecordingAlerts alerts;
    const std::string path = dir.path() + "/TonaraDock.sqlite";
    {
        LogCapture log;
        DBHelper first(dir.path(), &alerts);
        EXPECT_EQ(first.getDatabaseFullPath(), path);
        first.openDatabase();
        ASSERT_NE(first.database(), nullptr);
        EXPECT_TRUE(log.contains("Database file copied from bundle to " + path));
        EXPECT_EQ(scalar(first.database(), "PRAGMA user_version"), Schema::kUserVersion);
        ASSERT_TRUE(
            SqlStatement(first.database(), "INSERT INTO tonaradock_table (date) VALUES ('2013-03-03')")
                .run());
    }
    {
        LogCapture log;
        DBHelper later(dir.path(), &alerts);
        later.openDatabase();
        EXPECT_TRUE(log.contains("Database file found at path " + path));
        EXPECT_FALSE(log.contains("Database file copied from bundle to " + path));
        EXPECT_EQ(column(later.database(), "SELECT date FROM tonaradock_table"),
                  std::vector<std::string>{"2013-03-03"});
    }
    EXPECT_TRUE(alerts.alerts.empty());
}

TEST(DBHelperFile, FiveTablesHaveTheirColumnsInOrder)
{
    TempDir dir;
    RecordingAlerts alerts;
    DBHelper db(dir.path(), &alerts);
    db.openDatabase();
    DataBaseforCD(db, alerts).check_database();

    using V = std::vector<std::string>;
    EXPECT_EQ(tableColumns(db.database(), "tonaradock_table"),
              (V{"triv_id integer", "date text", "time text", "sys integer", "dia integer", "pulse integer",
                 "diary text", "is_triv integer", "is_manual integer", "user_id integer", "is_pad integer"}));
    EXPECT_EQ(tableColumns(db.database(), "triv_table"),
              (V{"id integer", "times integer", "sys integer", "dia integer", "pulse integer", "date text"}));
    EXPECT_EQ(tableColumns(db.database(), "day_average"), (V{"user_id integer", "date text", "sys integer",
                                                             "dia integer", "pulse integer", "time text"}));
    EXPECT_EQ(tableColumns(db.database(), "setting_table"),
              (V{"user_id integer", "high integer", "low integer"}));
    EXPECT_EQ(tableColumns(db.database(), "users_table_new"),
              (V{"user integer", "date text", "time text", "lastname text", "firstname text", "photo text",
                 "phone integer", "email text"}));
}

TEST(DBHelperFile, ConnectionStaysUsableAfterCloseDatabase)
{
    TempDir dir;
    RecordingAlerts alerts;
    DBHelper db(dir.path(), &alerts);
    db.openDatabase();
    sqlite3 *handle = db.database();
    db.closeDatabase();
    db.closeDatabase();
    db.openDatabase();
    EXPECT_EQ(db.database(), handle);
    EXPECT_EQ(db.openCount(), 1);
    EXPECT_TRUE(db.executeQuery("INSERT INTO day_average (user_id) VALUES (3)").run());
    db.closeDatabase();
    EXPECT_EQ(scalar(db.database(), "SELECT user_id FROM day_average"), 3);
}

// The only test that touches the process's shared instance.
TEST(DBHelperShared, AnyNumberOfNewInstanceCallsGiveOneInstanceOpenedOnce)
{
    static TempDir dir; // outlives the shared connection
    RecordingAlerts alerts;
    ASSERT_TRUE(DBHelper::configure(dir.path(), &alerts));
    DBHelper &first = DBHelper::newInstance();
    DBHelper &second = DBHelper::newInstance();
    EXPECT_EQ(&first, &second);
    EXPECT_EQ(first.openCount(), 1);
    EXPECT_EQ(first.getDatabaseFullPath(), dir.path() + "/TonaraDock.sqlite");
    EXPECT_FALSE(DBHelper::configure("/elsewhere", nullptr)) << "a running instance keeps its folder";
    first.closeDatabase();
    EXPECT_NE(DBHelper::newInstance().database(), nullptr);
}

TEST(DBHelperUnusableFile, GarbageAtThePathIsLeftUntouchedReportedOnceAndSavesFail)
{
    TempDir dir;
    const std::string path = dir.path() + "/TonaraDock.sqlite";
    std::string garbage = "These are someone's notes, not a database.\n";
    for (int i = 0; i < 200; ++i)
        garbage += "line " + std::to_string(i) + " of text that must survive\n";
    std::ofstream(path, std::ios::binary) << garbage;

    RecordingAlerts alerts;
    DBHelper db(dir.path(), &alerts);
    db.openDatabase();
    db.openDatabase();
    EXPECT_TRUE(db.unusable());
    ASSERT_EQ(alerts.alerts.size(), 1u) << "reported once";
    EXPECT_NE(alerts.alerts[0].message.find(path), std::string::npos) << "names the file";

    // Everything the app then does on start-up and on a save keeps its hands off the file.
    DataBaseforCD store(db, alerts);
    store.check_database();
    store.ReadDataBase_user_table();
    EXPECT_TRUE(store.aArray_user_user.empty());
    EXPECT_FALSE(store.insertDataBase_user_table(0, "", "", "User", "", "", 0, ""));
    ASSERT_EQ(alerts.alerts.size(), 2u);
    EXPECT_EQ(alerts.alerts[1].message.rfind("Db error ", 0), 0u) << alerts.alerts[1].message;
    alerts.alerts.clear();

    ManualClock clock({2013, 3, 3, 9, 5, 7});
    ReadingStore readings(db, alerts, clock);
    const auto saved = readings.saveSingle(120, 80, 70, "", false);
    EXPECT_FALSE(saved.stored);
    ASSERT_FALSE(alerts.alerts.empty());
    EXPECT_EQ(alerts.alerts[0].message, StorageTexts::kDatabaseFull);
    EXPECT_EQ(alerts.alerts[0].buttons, std::vector<std::string>{"OK"});

    EXPECT_EQ(fileBytes(path), garbage);
    EXPECT_EQ(std::distance(std::filesystem::directory_iterator(dir.path()), {}), 1) << "no side files";
}

TEST(DBHelperUnusableFile, UnopenablePathIsReportedAndNothingCrashes)
{
    TempDir dir;
    const std::string path = dir.path() + "/TonaraDock.sqlite";
    std::filesystem::create_directory(path); // something that is no file at all
    RecordingAlerts alerts;
    DBHelper db(dir.path(), &alerts);
    db.openDatabase();
    EXPECT_EQ(db.database(), nullptr);
    ASSERT_EQ(alerts.alerts.size(), 1u);
    EXPECT_NE(alerts.alerts[0].message.find(path), std::string::npos);

    SqlStatement st = db.executeQuery("SELECT * FROM tonaradock_table");
    EXPECT_FALSE(st.prepared());
    EXPECT_FALSE(st.next());
    EXPECT_FALSE(st.status().message.empty());
    EXPECT_TRUE(std::filesystem::is_directory(path));
}

TEST(DBHelperUnusableFile, MissingFolderIsReportedAndNothingIsCreated)
{
    TempDir dir;
    RecordingAlerts alerts;
    const std::string folder = dir.path() + "/not-there";
    LogCapture log;
    DBHelper db(folder, &alerts);
    db.openDatabase();
    EXPECT_EQ(db.database(), nullptr);
    EXPECT_FALSE(log.contains("Database file copied from bundle to " + db.getDatabaseFullPath()))
        << "no file was made";
    ASSERT_FALSE(log.lines.empty());
    EXPECT_EQ(log.lines.front().rfind("Could not create " + db.getDatabaseFullPath(), 0), 0u)
        << "says why instead";
    EXPECT_FALSE(std::filesystem::exists(folder));
    EXPECT_FALSE(db.ensureDatabaseFileExists());
    EXPECT_EQ(alerts.alerts.size(), 1u);
}

} // namespace tonara::test
