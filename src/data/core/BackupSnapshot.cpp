#include "data/core/BackupSnapshot.h"

#include "storage/Schema.h"
#include "storage/SqlConnection.h"
#include "storage/SqlStatement.h"

#include <sqlite3.h>

#include <chrono>
#include <filesystem>

namespace tonara {

namespace {

bool fail(std::string *error, std::string why)
{
    if (error)
        *error = std::move(why);
    return false;
}

// Double quotes around an identifier, doubling any inside it.
std::string quoted(const std::string &name)
{
    std::string out = "\"";
    for (char c : name) {
        out += c;
        if (c == '"')
            out += c;
    }
    return out + "\"";
}

// Why the pages could not be read, in words; SQLite's own after them.
std::string whyNotCopied(int rc)
{
    const std::string sqlite = std::string(" (") + sqlite3_errstr(rc) + ")";
    switch (rc & 0xff) {
    case SQLITE_NOTADB:
    case SQLITE_CORRUPT:
        return "the database file is damaged or is not a Tonara+ database" + sqlite;
    case SQLITE_BUSY:
    case SQLITE_LOCKED:
        return "another program kept the database busy; try again in a moment" + sqlite;
    case SQLITE_FULL:
        return "the disk is full" + sqlite;
    case SQLITE_IOERR:
        return "the disk could not be read or written" + sqlite;
    default:
        return sqlite.substr(2, sqlite.size() - 3);
    }
}

} // namespace

bool BackupSnapshot::take(const std::string &source, const std::string &dest, std::string *error)
{
    std::error_code ec;
    if (!std::filesystem::is_regular_file(source, ec))
        return fail(error, "there is no database file at " + source);

    SqlStatus status;
    SqlConnection from = SqlConnection::open(source, SQLITE_OPEN_READONLY, status);
    if (!from)
        return fail(error, "the database could not be opened: " + status.message);
    sqlite3_busy_timeout(from.get(), kBusyWaitMs);
    SqlConnection to = SqlConnection::open(dest, SQLITE_OPEN_READWRITE | SQLITE_OPEN_CREATE, status);
    if (!to)
        return fail(error, "the copy could not be created: " + status.message);

    sqlite3_backup *backup = sqlite3_backup_init(to.get(), "main", from.get(), "main");
    if (!backup)
        return fail(error, std::string("the copy could not be started: ") + sqlite3_errmsg(to.get()));
    // All pages in one step: one read transaction, so the copy is of one moment.
    // A writer in the middle of its commit makes the step report busy; try again.
    const auto deadline = std::chrono::steady_clock::now() + std::chrono::milliseconds(kBusyWaitMs);
    int rc = SQLITE_OK;
    do {
        rc = sqlite3_backup_step(backup, -1);
        if (rc == SQLITE_BUSY || rc == SQLITE_LOCKED)
            sqlite3_sleep(5);
    } while ((rc == SQLITE_BUSY || rc == SQLITE_LOCKED) && std::chrono::steady_clock::now() < deadline);
    sqlite3_backup_finish(backup);
    if (rc != SQLITE_DONE)
        return fail(error, whyNotCopied(rc));

    // A file whose settings or users table was never made still restores whole.
    for (const auto &[table, columns] : {std::pair{Schema::kSettingTable, Schema::kSettingColumns},
                                         std::pair{Schema::kUsersTable, Schema::kUsersColumns}}) {
        const SqlStatus made = SqlStatement::exec(to.get(), std::string("CREATE TABLE IF NOT EXISTS ") +
                                                                table + "(" + columns + ")");
        if (!made.ok())
            return fail(error, "the copy could not be completed: " + made.message);
    }
    to.close();
    return true;
}

std::vector<std::pair<std::string, long long>> BackupSnapshot::tableCounts(const std::string &path,
                                                                           std::string *error)
{
    std::vector<std::pair<std::string, long long>> out;
    SqlStatus status;
    SqlConnection conn = SqlConnection::open(path, SQLITE_OPEN_READONLY, status);
    if (!conn) {
        fail(error, status.message);
        return out;
    }
    std::vector<std::string> tables;
    {
        SqlStatement names(conn.get(),
                           "SELECT name FROM sqlite_master WHERE type = 'table' AND name NOT LIKE 'sqlite_%' "
                           "ORDER BY name");
        while (names.next())
            tables.push_back(names.columnText(0));
        if (!names.status().ok()) {
            fail(error, names.status().message);
            return {};
        }
    }
    for (const std::string &table : tables) {
        SqlStatement count(conn.get(), "SELECT count(*) FROM " + quoted(table));
        if (!count.next()) {
            fail(error, count.status().message);
            return {};
        }
        out.emplace_back(table, sqlite3_column_int64(count.handle(), 0));
    }
    return out;
}

int BackupSnapshot::schemaVersion(const std::string &path)
{
    SqlStatus status;
    SqlConnection conn = SqlConnection::open(path, SQLITE_OPEN_READONLY, status);
    if (!conn)
        return -1;
    SqlStatement st(conn.get(), "PRAGMA user_version");
    return st.next() ? st.columnInt(0) : -1;
}

} // namespace tonara
