#pragma once

// The users and settings store: makes sure setting_table and users_table_new
// exist, reads them into lists, and changes profiles and the active user.
//
//   DataBaseforCD store(DBHelper::newInstance(), alertSink);
//   store.check_database();                                    // at start-up
//   store.ReadDataBase_user_table();                           // highest number first
//   for (std::size_t i = 0; i < store.aArray_user_user.size(); ++i)
//       show(store.aArray_user_user[i], store.aArray_lastname_user[i]);
//   store.insertDataBase_setting_table(2, -1, -1);             // make user 2 active
//   int active = store.activeUser();                           // 0 without a settings row
//   store.Delete_User_table(1);                                // profile, data and numbering
//
// Each screen keeps its own instance; instances share only the database. The
// lists are filled by the two reads and replaced whole by each read. Failures
// are logged (and, for the inserts, shown) as the app's texts say; nothing throws.

#include <string>
#include <vector>

namespace tonara {

class AlertSink;
class DBHelper;

class DataBaseforCD {
public:
    DataBaseforCD(DBHelper &db, AlertSink &alerts);

    // Ensures the file and both tables exist; logs "createNewTable BOOL = YES/NO" for each.
    void check_database();
    // "create table <table>(<row>)"; true when it created the table, false when it
    // was already there (or could not be made).
    bool createNewTable(const std::string &table, const std::string &row);

    // Fill the users lists ("ORDER BY user desc") and the settings lists (table order).
    void ReadDataBase_user_table();
    void ReadDataBase_setting_table();

    // Adds a profile. Callers pass empty texts for date, time, first name and
    // e-mail and 0 for the phone. False (after an alert or a log line) on failure.
    bool insertDataBase_user_table(int user, const std::string &date, const std::string &time,
                                   const std::string &lastname, const std::string &firstname,
                                   const std::string &photo, int phone, const std::string &email);
    // Writes the one settings row: inserts it when there is none; otherwise with
    // high and low both -1 sets only the active user, with user -1 only the
    // targets, and with all three given all three.
    bool insertDataBase_setting_table(int user, float high, float low);
    // Renames a profile and sets its photo path (empty text for none).
    bool updataDataBase_forUser_table(int user, const std::string &name, const std::string &photo);

    // Deletes a profile with everything that belongs to it (readings, day
    // averages, TRIV details) and moves every higher profile down by one
    // together with its readings, day averages and the active user, all in one
    // transaction. When the deleted profile was the active one, user 0 becomes
    // active. Nothing changes when any step fails.
    bool Delete_User_table(int user);
    // Closes the gap at a deleted number the same way, if there still is one;
    // after Delete_User_table there is none and this does nothing. Kept so the
    // profile screens can call the pair as they always have.
    bool User_table_sort_by(int user);

    // The active user: user_id of the settings row, or 0 when there is none.
    // Reads the settings table (and so refreshes the settings lists).
    int activeUser();

    // Users lists, highest user number first; entry i of each belongs to one row.
    std::vector<int> aArray_user_user;
    std::vector<std::string> aArray_date_user;
    std::vector<std::string> aArray_time_user;
    std::vector<std::string> aArray_lastname_user;
    std::vector<std::string> aArray_firstname_user;
    std::vector<std::string> aArray_photo_user;
    std::vector<int> aArray_phone_user;
    std::vector<std::string> aArray_email_user;

    // Settings lists, in table order (one row in practice).
    std::vector<int> aArray_user_id_setting;
    std::vector<float> aArray_high_setting;
    std::vector<float> aArray_low_setting;

private:
    bool moveHigherUsersDown(int user);

    DBHelper &db_;
    AlertSink &alerts_;
};

} // namespace tonara
