#include "data/core/RestoreCheck.h"

#include "storage/Schema.h"
#include "storage/SqlConnection.h"
#include "storage/SqlStatement.h"

#include <sqlite3.h>

namespace tonara {

const std::vector<RestoreCheck::Table> &RestoreCheck::tables()
{
    static const std::vector<Table> all = {
        {Schema::kReadingTable,
         {"triv_id", "date", "time", "sys", "dia", "pulse", "diary", "is_triv", "is_manual", "user_id",
          "is_pad"}},
        {Schema::kTrivTable, {"id", "times", "sys", "dia", "pulse", "date"}},
        {Schema::kDayAverageTable, {"user_id", "date", "sys", "dia", "pulse", "time"}},
        {Schema::kSettingTable, {"user_id", "high", "low"}},
        {Schema::kUsersTable, {"user", "date", "time", "lastname", "firstname", "photo", "phone", "email"}},
    };
    return all;
}

RestoreCheck::Result RestoreCheck::check(const std::string &path)
{
    Result r;
    SqlStatus status;
    SqlConnection conn = SqlConnection::open(path, SQLITE_OPEN_READONLY, status);
    if (!conn) {
        r.problem = Problem::NotADatabase;
        r.detail = status.message;
        return r;
    }
    {
        // Opening reads nothing; the first statement shows what the file is.
        SqlStatement version(conn.get(), "PRAGMA user_version");
        if (!version.next()) {
            r.problem = version.status().code == SQLITE_NOTADB ? Problem::NotADatabase : Problem::Damaged;
            r.detail = version.status().message;
            return r;
        }
        r.schemaVersion = version.columnInt(0);
    }
    {
        SqlStatement integrity(conn.get(), "PRAGMA integrity_check");
        std::string found;
        while (integrity.next()) {
            const std::string line = integrity.columnText(0);
            if (line != "ok")
                found += (found.empty() ? "" : "; ") + line;
        }
        if (!integrity.status().ok()) {
            r.problem = integrity.status().code == SQLITE_NOTADB ? Problem::NotADatabase : Problem::Damaged;
            r.detail = integrity.status().message;
            return r;
        }
        if (!found.empty()) {
            r.problem = Problem::Damaged;
            r.detail = found;
            return r;
        }
    }
    if (r.schemaVersion > Schema::kUserVersion) {
        r.problem = Problem::NewerSchema;
        return r;
    }
    for (const Table &t : tables()) {
        SqlStatement info(conn.get(), std::string("PRAGMA table_info(") + t.name + ")");
        std::vector<std::string> columns;
        while (info.next())
            columns.push_back(info.columnText(1));
        if (columns.empty()) {
            r.problem = Problem::MissingTable;
            r.detail = t.name;
            return r;
        }
        if (columns != t.columns) {
            std::string list;
            for (const std::string &c : columns)
                list += (list.empty() ? "" : ", ") + c;
            r.problem = Problem::WrongColumns;
            r.detail = std::string(t.name) + ": " + list;
            return r;
        }
    }
    return r;
}

} // namespace tonara
