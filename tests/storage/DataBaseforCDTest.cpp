#include "StorageTestSupport.h"

#include "storage/DataBaseforCD.h"
#include "storage/StorageTexts.h"

namespace tonara::test {

namespace {

class UsersStore : public StorageTest {
protected:
    void addUser(int number, const std::string &name, const std::string &photo = "")
    {
        ASSERT_TRUE(store.insertDataBase_user_table(number, "", "", name, "", photo, 0, ""));
    }
    void addReading(int user, const std::string &date, int sys, int trivId = 0)
    {
        SqlStatement st(conn(), "INSERT INTO tonaradock_table (triv_id,date,time,sys,dia,pulse,diary,is_triv,"
                                "is_manual,is_pad,user_id) VALUES(?,?,'08:00:00',?,80,70,'',?,0,0,?)");
        st.bind(1, trivId).bind(2, date).bind(3, sys).bind(4, trivId ? 1 : 0).bind(5, user);
        ASSERT_TRUE(st.run()) << st.status().message;
        if (trivId) {
            for (int t = 1; t <= 3; ++t)
                ASSERT_TRUE(SqlStatement(conn(), "INSERT INTO triv_table VALUES(" + std::to_string(trivId) +
                                                     "," + std::to_string(t) + ",1,1,1,'" + date + "')")
                                .run());
        }
        SqlStatement avg(conn(), "INSERT INTO day_average VALUES(?,?,?,80,70,'08:00:00')");
        avg.bind(1, user).bind(2, date).bind(3, sys);
        ASSERT_TRUE(avg.run());
    }
    std::vector<std::string> usersOf(const std::string &table, const std::string &column = "user_id")
    {
        return column == "user" ? tonara::test::column(conn(), "SELECT user || ':' || lastname FROM " +
                                                                   table + " ORDER BY user")
                                : tonara::test::column(conn(), "SELECT " + column + " || ':' || sys FROM " +
                                                                   table + " ORDER BY " + column);
    }

    DataBaseforCD store{db, alerts};
};

} // namespace

TEST_F(UsersStore, UsersListComeHighestNumberFirstWithAllEightLists)
{
    store.ReadDataBase_user_table();
    EXPECT_TRUE(store.aArray_user_user.empty());
    EXPECT_TRUE(store.aArray_lastname_user.empty());
    EXPECT_TRUE(store.aArray_email_user.empty());

    addUser(0, "User");
    addUser(1, "Mother", "/data/no1.png");
    addUser(2, "Father");
    store.ReadDataBase_user_table();
    EXPECT_EQ(store.aArray_user_user, (std::vector<int>{2, 1, 0}));
    EXPECT_EQ(store.aArray_lastname_user, (std::vector<std::string>{"Father", "Mother", "User"}));
    EXPECT_EQ(store.aArray_photo_user, (std::vector<std::string>{"", "/data/no1.png", ""}));
    for (const auto *list : {&store.aArray_date_user, &store.aArray_time_user, &store.aArray_firstname_user,
                             &store.aArray_email_user})
        EXPECT_EQ(*list, (std::vector<std::string>{"", "", ""}));
    EXPECT_EQ(store.aArray_phone_user, (std::vector<int>{0, 0, 0}));
}

TEST_F(UsersStore, SettingsRowIsInsertedOnceThenUpdatedByCase)
{
    LogCapture log;
    EXPECT_EQ(store.activeUser(), 0) << "no row yet";
    ASSERT_TRUE(store.insertDataBase_setting_table(2, -1, -1));
    EXPECT_TRUE(log.contains("checkSQL_havedata: 0"));
    store.ReadDataBase_setting_table();
    EXPECT_EQ(store.aArray_user_id_setting, std::vector<int>{2});
    EXPECT_EQ(store.aArray_high_setting, std::vector<float>{-1});
    EXPECT_EQ(store.aArray_low_setting, std::vector<float>{-1});

    // Both targets -1: only the user changes.
    ASSERT_TRUE(store.insertDataBase_setting_table(0, -1, -1));
    EXPECT_TRUE(log.contains("checkSQL_havedata: 1"));
    EXPECT_TRUE(log.contains("check high and low"));
    // User -1: only the targets change.
    ASSERT_TRUE(store.insertDataBase_setting_table(-1, 150, 70));
    store.ReadDataBase_setting_table();
    EXPECT_EQ(store.aArray_user_id_setting, std::vector<int>{0});
    EXPECT_EQ(store.aArray_high_setting, std::vector<float>{150});
    EXPECT_EQ(store.aArray_low_setting, std::vector<float>{70});

    ASSERT_TRUE(store.insertDataBase_setting_table(3, -1, -1));
    EXPECT_EQ(store.activeUser(), 3);
    EXPECT_EQ(scalar(conn(), "SELECT count(*) FROM setting_table"), 1) << "never more than one row";
}

TEST_F(UsersStore, CheckDatabaseCreatesTheTwoTablesOnlyOnce)
{
    LogCapture log;
    store.check_database();
    store.check_database();
    std::vector<std::string> expected = {"createNewTable BOOL = YES", "createNewTable BOOL = YES",
                                         "createNewTable BOOL = NO", "createNewTable BOOL = NO"};
    EXPECT_EQ(log.lines, expected);
}

TEST_F(UsersStore, DeletingUserOneMovesHigherProfilesAndTheirDataDown)
{
    for (int u = 0; u <= 3; ++u)
        addUser(u, "P" + std::to_string(u));
    addReading(0, "2013-03-01", 100);
    addReading(1, "2013-03-01", 111, /*trivId=*/1);
    addReading(2, "2013-03-02", 122, /*trivId=*/2);
    addReading(3, "2013-03-03", 133);
    ASSERT_TRUE(store.insertDataBase_setting_table(3, -1, -1));

    ASSERT_TRUE(store.Delete_User_table(1));
    // The profile screens follow with the renumbering call; it must not move anyone twice.
    ASSERT_TRUE(store.User_table_sort_by(1));

    EXPECT_EQ(usersOf("users_table_new", "user"), (std::vector<std::string>{"0:P0", "1:P2", "2:P3"}));
    EXPECT_EQ(usersOf("tonaradock_table"), (std::vector<std::string>{"0:100", "1:122", "2:133"}));
    EXPECT_EQ(usersOf("day_average"), (std::vector<std::string>{"0:100", "1:122", "2:133"}));
    EXPECT_EQ(column(conn(), "SELECT DISTINCT id FROM triv_table"), std::vector<std::string>{"2"})
        << "the deleted user's TRIV details go, the others stay";
    EXPECT_EQ(store.activeUser(), 2) << "the active profile keeps being the same person";
}

TEST_F(UsersStore, DeletingTheActiveUserMakesTheFirstProfileActive)
{
    for (int u = 0; u <= 2; ++u)
        addUser(u, "P" + std::to_string(u));
    ASSERT_TRUE(store.insertDataBase_setting_table(1, -1, -1));
    ASSERT_TRUE(store.Delete_User_table(1));
    EXPECT_EQ(store.activeUser(), 0);
}

TEST_F(UsersStore, ATrivSeriesNumberSharedWithAnotherUserKeepsItsDetails)
{
    addUser(0, "A");
    addUser(1, "B");
    addReading(0, "2013-03-01", 100, /*trivId=*/4);
    // A file written while numbers could be reused: user 1's reading has number 4 too.
    SqlStatement(conn(), "INSERT INTO tonaradock_table (triv_id,date,time,sys,is_triv,user_id) "
                         "VALUES(4,'2013-03-02','08:00:00',120,1,1)")
        .run();
    ASSERT_TRUE(store.Delete_User_table(1));
    EXPECT_EQ(scalar(conn(), "SELECT count(*) FROM triv_table WHERE id = 4"), 3);
}

TEST_F(UsersStore, AFailedStepLeavesEverythingAsItWas)
{
    for (int u = 0; u <= 2; ++u)
        addUser(u, "P" + std::to_string(u));
    addReading(2, "2013-03-02", 122);
    // Without day_average the moving of the higher profiles' averages cannot run.
    ASSERT_TRUE(SqlStatement(conn(), "DROP TABLE day_average").run());
    LogCapture log;
    EXPECT_FALSE(store.Delete_User_table(1));
    EXPECT_FALSE(log.lines.empty());
    EXPECT_EQ(usersOf("users_table_new", "user"), (std::vector<std::string>{"0:P0", "1:P1", "2:P2"}));
    EXPECT_EQ(usersOf("tonaradock_table"), std::vector<std::string>{"2:122"});
}

TEST_F(UsersStore, NamesAreStoredWholeAndVerbatim)
{
    const std::vector<std::string> names = {
        "Zoë Ångström-Müller",     "李小龙", "Ольга", "O'Brien", "Robert'); DROP TABLE users_table_new;--",
        "50% \"quoted\" %s %@ \\n"};
    for (std::size_t i = 0; i < names.size(); ++i)
        addUser(static_cast<int>(i), names[i]);
    store.ReadDataBase_user_table();
    std::vector<std::string> read(store.aArray_lastname_user.rbegin(), store.aArray_lastname_user.rend());
    EXPECT_EQ(read, names);

    const std::string renamed = "Ģirts 'the' \"Ģ\"; DELETE FROM users_table_new";
    const std::string photo = "/home/o'neil/Documents/no1.png";
    ASSERT_TRUE(store.updataDataBase_forUser_table(1, renamed, photo));
    store.ReadDataBase_user_table();
    ASSERT_EQ(store.aArray_user_user.size(), names.size());
    const std::size_t row = names.size() - 1 - 1;
    EXPECT_EQ(store.aArray_lastname_user[row], renamed);
    EXPECT_EQ(store.aArray_photo_user[row], photo);
    EXPECT_EQ(store.aArray_lastname_user[row + 1], names[0]) << "only user 1 changed";
}

} // namespace tonara::test
