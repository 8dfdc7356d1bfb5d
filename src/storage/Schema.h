#pragma once

// What a new database file holds, and the two tables the app adds itself.
//
//   SqlStatus s = Schema::createTemplate(conn.get()); // a fresh, empty file only
//   Schema::kUsersTable, Schema::kUsersColumns        // for createNewTable

#include "storage/SqlStatus.h"

#include <sqlite3.h>

#include <string>

namespace tonara {

class Schema {
public:
    // Written into PRAGMA user_version when a file is made, so a later version
    // of the app can tell this format from its own and migrate it.
    static constexpr int kUserVersion = 1;

    static constexpr const char *kReadingTable = "tonaradock_table";
    static constexpr const char *kTrivTable = "triv_table";
    static constexpr const char *kDayAverageTable = "day_average";
    static constexpr const char *kSettingTable = "setting_table";
    static constexpr const char *kSettingColumns = "user_id integer, high integer,low integer";
    static constexpr const char *kUsersTable = "users_table_new";
    static constexpr const char *kUsersColumns =
        "user integer, date text,time text,lastname text,firstname text,photo text,phone integer,email text";

    // The three reading tables and their indexes, as SQL text.
    static const std::string &templateSql();

    // Creates the reading tables and marks the file with kUserVersion, all or
    // nothing. Meant for a connection to a file that was just created.
    static SqlStatus createTemplate(sqlite3 *db);
};

} // namespace tonara
