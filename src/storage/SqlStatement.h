#pragma once

// A prepared SQLite statement that finalises itself.
//
//   SqlStatement st(db.database(), "SELECT * FROM day_average WHERE date = ? AND user_id = ?");
//   st.bind(1, date).bind(2, user);
//   while (st.next())
//       total += st.columnInt(2);
//   if (!st.status().ok())
//       Log::write("storage", st.status().message);
//
// A statement that failed to prepare (no connection, missing table, a file
// that is not a database) is "empty": binding does nothing and stepping yields
// no row, so readers see an empty result and writers a failed status.

#include "storage/SqlStatus.h"

#include <sqlite3.h>

#include <string>
#include <string_view>

namespace tonara {

class SqlStatement {
public:
    SqlStatement() = default;
    // Prepares the text on the connection; db may be null (then the statement is empty).
    SqlStatement(sqlite3 *db, std::string_view sql);
    ~SqlStatement();

    SqlStatement(SqlStatement &&other) noexcept;
    SqlStatement &operator=(SqlStatement &&other) noexcept;
    SqlStatement(const SqlStatement &) = delete;
    SqlStatement &operator=(const SqlStatement &) = delete;

    // Runs one or more statements with no parameters and no rows wanted.
    static SqlStatus exec(sqlite3 *db, const std::string &sql);

    bool prepared() const { return stmt_ != nullptr; }
    // The first failure so far (prepare, bind or step), else the last step's code.
    const SqlStatus &status() const { return status_; }

    // Positions count from 1. Text is bound as UTF-8 with its whole byte length.
    SqlStatement &bind(int pos, int value);
    SqlStatement &bind(int pos, double value);
    SqlStatement &bind(int pos, std::string_view text);
    SqlStatement &bind(int pos, const char *text) { return bind(pos, std::string_view(text)); }
    SqlStatement &bind(int pos, const std::string &text) { return bind(pos, std::string_view(text)); }

    // One step: SQLITE_ROW, SQLITE_DONE or an error code (SQLITE_MISUSE when empty).
    // A statement with a value that could not be bound (a text over SQLite's
    // length limit) never runs: it would store NULL in its place. Its step
    // returns the bind's error.
    int step();
    // Steps and tells whether a row is there to read.
    bool next() { return step() == SQLITE_ROW; }
    // Steps a statement that returns no rows; true when it finished with SQLITE_DONE.
    bool run() { return step() == SQLITE_DONE; }
    // Makes the statement ready to run again; bindings are kept.
    void reset();

    // Numbers are read as floating-point values and truncated toward zero (clamped
    // to the int range), so a REAL or TEXT stored in an integer column still reads.
    int columnInt(int col) const;
    double columnDouble(int col) const;
    std::string columnText(int col) const;
    int columnCount() const;

    sqlite3_stmt *handle() const { return stmt_; }

private:
    void fail(int code);
    void bindResult(int rc);

    sqlite3 *db_ = nullptr;
    sqlite3_stmt *stmt_ = nullptr;
    SqlStatus status_;
    bool bindFailed_ = false;
};

} // namespace tonara
