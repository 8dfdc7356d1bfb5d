#pragma once

// An open SQLite connection that closes itself.
//
//   SqlStatus status;
//   SqlConnection conn = SqlConnection::open("/data/TonaraDock.sqlite",
//                                            SQLITE_OPEN_READWRITE | SQLITE_OPEN_CREATE, status);
//   if (!conn)
//       Log::write("storage", status.message);

#include "storage/SqlStatus.h"

#include <sqlite3.h>

#include <string>

namespace tonara {

class SqlConnection {
public:
    SqlConnection() = default;
    ~SqlConnection();

    SqlConnection(SqlConnection &&other) noexcept;
    SqlConnection &operator=(SqlConnection &&other) noexcept;
    SqlConnection(const SqlConnection &) = delete;
    SqlConnection &operator=(const SqlConnection &) = delete;

    // Opens the file (path as UTF-8). On failure the result is empty and status
    // holds the code and SQLite's text; no half-open handle is kept.
    static SqlConnection open(const std::string &path, int flags, SqlStatus &status);

    sqlite3 *get() const { return db_; }
    explicit operator bool() const { return db_ != nullptr; }
    void close();

private:
    sqlite3 *db_ = nullptr;
};

} // namespace tonara
