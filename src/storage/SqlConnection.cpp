#include "storage/SqlConnection.h"

#include <utility>

namespace tonara {

SqlConnection::~SqlConnection()
{
    close();
}

SqlConnection::SqlConnection(SqlConnection &&other) noexcept : db_(std::exchange(other.db_, nullptr)) {}

SqlConnection &SqlConnection::operator=(SqlConnection &&other) noexcept
{
    if (this != &other) {
        close();
        db_ = std::exchange(other.db_, nullptr);
    }
    return *this;
}

SqlConnection SqlConnection::open(const std::string &path, int flags, SqlStatus &status)
{
    SqlConnection conn;
    const int rc = sqlite3_open_v2(path.c_str(), &conn.db_, flags, nullptr);
    status.code = rc;
    status.message.clear();
    if (rc != SQLITE_OK) {
        status.message = conn.db_ ? sqlite3_errmsg(conn.db_) : sqlite3_errstr(rc);
        conn.close();
        return conn;
    }
    sqlite3_busy_timeout(conn.db_, kBusyWaitMs);
    return conn;
}

void SqlConnection::close()
{
    // close_v2 lets statements still held elsewhere finish first instead of failing.
    if (db_)
        sqlite3_close_v2(db_);
    db_ = nullptr;
}

} // namespace tonara
