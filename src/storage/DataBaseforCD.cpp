#include "storage/DataBaseforCD.h"

#include "base/AlertSink.h"
#include "base/Log.h"
#include "storage/DBHelper.h"
#include "storage/Schema.h"
#include "storage/SqlStatement.h"
#include "storage/SqlTransaction.h"
#include "storage/StorageTexts.h"

namespace tonara {

namespace {

using namespace StorageTexts;

void log(const std::string &line)
{
    Log::write(kLogCategory, line);
}

// One statement of a multi-step change: SQL with a single user number bound at ?1.
struct UserStep {
    const char *sql;
    int user;
};

} // namespace

DataBaseforCD::DataBaseforCD(DBHelper &db, AlertSink &alerts) : db_(db), alerts_(alerts) {}

bool DataBaseforCD::createNewTable(const std::string &table, const std::string &row)
{
    db_.ensureDatabaseFileExists();
    // Table and column list are the store's own constants, never user input.
    SqlStatement create = db_.executeQuery("create table " + table + "(" + row + ")");
    if (!create.prepared())
        return false; // already there
    const bool made = create.run();
    db_.closeDatabase();
    return made;
}

void DataBaseforCD::check_database()
{
    db_.ensureDatabaseFileExists();
    const bool setting = createNewTable(Schema::kSettingTable, Schema::kSettingColumns);
    log(std::string("createNewTable BOOL = ") + (setting ? "YES" : "NO"));
    const bool users = createNewTable(Schema::kUsersTable, Schema::kUsersColumns);
    log(std::string("createNewTable BOOL = ") + (users ? "YES" : "NO"));
}

void DataBaseforCD::ReadDataBase_user_table()
{
    check_database();
    aArray_user_user.clear();
    aArray_date_user.clear();
    aArray_time_user.clear();
    aArray_lastname_user.clear();
    aArray_firstname_user.clear();
    aArray_photo_user.clear();
    aArray_phone_user.clear();
    aArray_email_user.clear();
    SqlStatement rows = db_.executeQuery("SELECT * FROM users_table_new ORDER BY user desc");
    while (rows.next()) {
        aArray_user_user.push_back(rows.columnInt(0));
        aArray_date_user.push_back(rows.columnText(1));
        aArray_time_user.push_back(rows.columnText(2));
        aArray_lastname_user.push_back(rows.columnText(3));
        aArray_firstname_user.push_back(rows.columnText(4));
        aArray_photo_user.push_back(rows.columnText(5));
        aArray_phone_user.push_back(rows.columnInt(6));
        aArray_email_user.push_back(rows.columnText(7));
    }
    db_.closeDatabase();
}

void DataBaseforCD::ReadDataBase_setting_table()
{
    check_database();
    aArray_user_id_setting.clear();
    aArray_high_setting.clear();
    aArray_low_setting.clear();
    SqlStatement rows = db_.executeQuery("SELECT * FROM setting_table");
    while (rows.next()) {
        aArray_user_id_setting.push_back(rows.columnInt(0));
        aArray_high_setting.push_back(static_cast<float>(rows.columnDouble(1)));
        aArray_low_setting.push_back(static_cast<float>(rows.columnDouble(2)));
    }
    db_.closeDatabase();
}

int DataBaseforCD::activeUser()
{
    ReadDataBase_setting_table();
    return aArray_user_id_setting.empty() ? 0 : aArray_user_id_setting.back();
}

bool DataBaseforCD::insertDataBase_user_table(int user, const std::string &date, const std::string &time,
                                              const std::string &lastname, const std::string &firstname,
                                              const std::string &photo, int phone, const std::string &email)
{
    check_database();
    SqlStatement insert = db_.executeQuery(std::string("INSERT INTO ") + "users_table_new" + " (" +
                                           "user, date, time, lastname, firstname, photo, phone, email" +
                                           ") VALUES(" + "?,?,?,?,?,?,?,?" + ")");
    if (!insert.prepared()) {
        const std::string text = fill(kDbError, insert.status().message);
        log(text);
        alerts_.showAlert("", text, {kOk});
        return false;
    }
    insert.bind(1, user).bind(2, date).bind(3, time).bind(4, lastname).bind(5, firstname).bind(6, photo);
    insert.bind(7, phone).bind(8, email);
    const bool done = insert.run();
    if (!done)
        log(fill(kDbError, insert.status().message));
    db_.closeDatabase();
    return done;
}

bool DataBaseforCD::insertDataBase_setting_table(int user, float high, float low)
{
    check_database();
    bool haveRow = false;
    {
        SqlStatement rows = db_.executeQuery("SELECT * FROM setting_table ");
        haveRow = rows.next();
    }
    log("checkSQL_havedata: " + std::to_string(haveRow ? 1 : 0));

    if (!haveRow) {
        SqlStatement insert = db_.executeQuery(std::string("INSERT INTO ") + "setting_table" + " (" +
                                               "user_id , high , low" + ") VALUES(" + "?,?,?" + ")");
        if (!insert.prepared()) {
            log(fill(kDbError, insert.status().message));
            alerts_.showAlert("", kDatabaseFull, {kOk});
            return false;
        }
        insert.bind(1, user).bind(2, static_cast<double>(high)).bind(3, static_cast<double>(low));
        const bool done = insert.run();
        if (!done)
            log(fill(kDbError, insert.status().message));
        db_.closeDatabase();
        return done;
    }

    // The table holds one row, so the updates need no condition.
    SqlStatement update;
    if (high == -1 && low == -1) {
        log("check high and low");
        update = db_.executeQuery("UPDATE setting_table SET user_id = ? ");
        update.bind(1, user);
    } else if (user == -1) {
        update = db_.executeQuery("UPDATE setting_table SET high = ? , low = ? ");
        update.bind(1, static_cast<double>(high)).bind(2, static_cast<double>(low));
    } else {
        update = db_.executeQuery("UPDATE setting_table SET user_id = ? , high = ? , low = ? ");
        update.bind(1, user).bind(2, static_cast<double>(high)).bind(3, static_cast<double>(low));
    }
    if (!update.prepared()) {
        log(fill(kUpdatePrepareFailed, update.status().message));
        return false;
    }
    const bool done = update.run();
    if (!done)
        log(fill(kUpdateStepFailed, update.status().message));
    update.reset();
    db_.closeDatabase();
    return done;
}

bool DataBaseforCD::updataDataBase_forUser_table(int user, const std::string &name, const std::string &photo)
{
    check_database();
    log("user_ddddddd " + std::to_string(user) + "    " + photo + " ");
    SqlStatement update =
        db_.executeQuery("UPDATE users_table_new SET lastname = ? , photo = ?  WHERE user = ?  ");
    if (!update.prepared()) {
        log(fill(kUpdatePrepareFailed, update.status().message));
        return false;
    }
    update.bind(1, name).bind(2, photo).bind(3, user);
    const bool done = update.run();
    if (!done)
        log(fill(kUpdateStepFailed, update.status().message));
    update.reset();
    db_.closeDatabase();
    return done;
}

namespace {

// Runs the steps as one unit: all of them, or none when one fails.
bool runAll(DBHelper &db, const std::vector<UserStep> &steps)
{
    sqlite3 *conn = db.database();
    SqlTransaction tx(conn);
    if (!tx.begun()) {
        log(tx.status().message);
        return false;
    }
    for (const UserStep &step : steps) {
        SqlStatement st(conn, step.sql);
        if (!st.prepared()) {
            log(st.status().message);
        } else {
            st.bind(1, step.user);
            if (st.run())
                continue;
            log(fill(kUpdateStepFailed, st.status().message));
        }
        tx.rollback();
        return false;
    }
    const SqlStatus commit = tx.commit();
    if (!commit.ok()) {
        log(commit.message);
        return false;
    }
    return true;
}

// Everything that carries a user number moves down with its profile.
void appendMoveDown(std::vector<UserStep> &steps, int user)
{
    steps.push_back({"UPDATE users_table_new SET user = user - 1 WHERE user > ?1", user});
    steps.push_back({"UPDATE tonaradock_table SET user_id = user_id - 1 WHERE user_id > ?1", user});
    steps.push_back({"UPDATE day_average SET user_id = user_id - 1 WHERE user_id > ?1", user});
    steps.push_back({"UPDATE setting_table SET user_id = user_id - 1 WHERE user_id > ?1", user});
}

} // namespace

bool DataBaseforCD::Delete_User_table(int user)
{
    // A number carried by two profiles (never made by this app) leaves no gap to close.
    bool shared = false;
    {
        SqlStatement count = db_.executeQuery("SELECT count(*) FROM users_table_new WHERE user = ?");
        count.bind(1, user);
        shared = count.next() && count.columnInt(0) > 1;
    }
    std::vector<UserStep> steps = {
        {"DELETE FROM  users_table_new   WHERE user = ?1  ", user},
        // A series number still used by someone else's reading (possible in files
        // written while numbers could be reused) keeps its rows.
        {"DELETE FROM triv_table WHERE id IN (SELECT triv_id FROM tonaradock_table WHERE user_id = ?1 AND "
         "is_triv = 1 AND triv_id <> 0) AND id NOT IN (SELECT triv_id FROM tonaradock_table WHERE user_id <> "
         "?1 "
         "AND is_triv = 1)",
         user},
        {"DELETE FROM  tonaradock_table   WHERE user_id = ?1  ", user},
        {"DELETE FROM day_average WHERE user_id = ?1", user},
    };
    if (!shared) {
        // Nobody is left under the deleted number; the first profile takes over.
        steps.push_back({"UPDATE setting_table SET user_id = 0 WHERE user_id = ?1", user});
        appendMoveDown(steps, user);
    }
    const bool done = runAll(db_, steps);
    db_.closeDatabase();
    return done;
}

bool DataBaseforCD::moveHigherUsersDown(int user)
{
    std::vector<UserStep> steps;
    appendMoveDown(steps, user);
    return runAll(db_, steps);
}

bool DataBaseforCD::User_table_sort_by(int user)
{
    bool gap = false;
    {
        SqlStatement count = db_.executeQuery("SELECT count(*) FROM users_table_new WHERE user = ?");
        count.bind(1, user);
        gap = count.next() && count.columnInt(0) == 0;
    }
    const bool done = !gap || moveHigherUsersDown(user);
    db_.closeDatabase();
    return done;
}

} // namespace tonara
