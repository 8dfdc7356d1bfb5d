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

    // How long a statement waits for another program's write (an import or a
    // restore from the command line) before it gives up as busy: a reading
    // saved meanwhile waits for it instead of failing at once.
    static constexpr int kBusyWaitMs = 3000;

    sqlite3 *get() const { return db_; }
    explicit operator bool() const { return db_ != nullptr; }
    void close();

private:
    sqlite3 *db_ = nullptr;
};

} // namespace tonara
