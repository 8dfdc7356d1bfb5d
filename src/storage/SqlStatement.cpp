#include "storage/SqlStatement.h"

#include <cmath>
#include <limits>
#include <utility>

namespace tonara {

namespace {
const char *noConnectionText = "the database is not open";
}

SqlStatement::SqlStatement(sqlite3 *db, std::string_view sql) : db_(db)
{
    if (!db) {
        status_ = {SQLITE_CANTOPEN, noConnectionText};
        return;
    }
    const int rc = sqlite3_prepare_v2(db, sql.data(), static_cast<int>(sql.size()), &stmt_, nullptr);
    if (rc != SQLITE_OK) {
        sqlite3_finalize(stmt_);
        stmt_ = nullptr;
        fail(rc);
    } else if (!stmt_) {
        // Only whitespace or a comment: nothing to run, and nothing went wrong.
        status_ = {SQLITE_OK, {}};
    }
}

SqlStatement::~SqlStatement()
{
    sqlite3_finalize(stmt_);
}

SqlStatement::SqlStatement(SqlStatement &&other) noexcept
    : db_(std::exchange(other.db_, nullptr)), stmt_(std::exchange(other.stmt_, nullptr)),
      status_(std::move(other.status_)), bindFailed_(std::exchange(other.bindFailed_, false))
{}

SqlStatement &SqlStatement::operator=(SqlStatement &&other) noexcept
{
    if (this != &other) {
        sqlite3_finalize(stmt_);
        db_ = std::exchange(other.db_, nullptr);
        stmt_ = std::exchange(other.stmt_, nullptr);
        status_ = std::move(other.status_);
        bindFailed_ = std::exchange(other.bindFailed_, false);
    }
    return *this;
}

SqlStatus SqlStatement::exec(sqlite3 *db, const std::string &sql)
{
    if (!db)
        return {SQLITE_CANTOPEN, noConnectionText};
    char *err = nullptr;
    const int rc = sqlite3_exec(db, sql.c_str(), nullptr, nullptr, &err);
    SqlStatus status{rc, {}};
    if (rc != SQLITE_OK)
        status.message = err ? err : sqlite3_errstr(rc);
    sqlite3_free(err);
    return status;
}

void SqlStatement::fail(int code)
{
    if (!status_.ok() && !status_.message.empty())
        return; // keep the first failure
    status_.code = code;
    status_.message = db_ ? sqlite3_errmsg(db_) : sqlite3_errstr(code);
}

void SqlStatement::bindResult(int rc)
{
    if (rc == SQLITE_OK)
        return;
    bindFailed_ = true;
    fail(rc);
}

SqlStatement &SqlStatement::bind(int pos, int value)
{
    if (stmt_) {
        const int rc = sqlite3_bind_int(stmt_, pos, value);
        bindResult(rc);
    }
    return *this;
}

SqlStatement &SqlStatement::bind(int pos, double value)
{
    if (stmt_) {
        const int rc = sqlite3_bind_double(stmt_, pos, value);
        bindResult(rc);
    }
    return *this;
}

SqlStatement &SqlStatement::bind(int pos, std::string_view text)
{
    if (stmt_) {
        const int rc =
            sqlite3_bind_text64(stmt_, pos, text.data(), text.size(), SQLITE_TRANSIENT, SQLITE_UTF8);
        bindResult(rc);
    }
    return *this;
}

int SqlStatement::step()
{
    if (!stmt_) // a prepared text with nothing in it is done at once
        return db_ && status_.ok() ? SQLITE_DONE : SQLITE_MISUSE;
    if (bindFailed_)
        return status_.code;
    const int rc = sqlite3_step(stmt_);
    if (rc == SQLITE_ROW || rc == SQLITE_DONE) {
        if (status_.ok())
            status_ = {rc, {}};
    } else {
        fail(rc);
    }
    return rc;
}

void SqlStatement::reset()
{
    if (stmt_)
        sqlite3_reset(stmt_);
}

int SqlStatement::columnInt(int col) const
{
    const double v = columnDouble(col);
    if (std::isnan(v))
        return 0;
    if (v >= static_cast<double>(std::numeric_limits<int>::max()))
        return std::numeric_limits<int>::max();
    if (v <= static_cast<double>(std::numeric_limits<int>::min()))
        return std::numeric_limits<int>::min();
    return static_cast<int>(v);
}

double SqlStatement::columnDouble(int col) const
{
    return stmt_ ? sqlite3_column_double(stmt_, col) : 0.0;
}

std::string SqlStatement::columnText(int col) const
{
    if (!stmt_)
        return {};
    const auto *text = reinterpret_cast<const char *>(sqlite3_column_text(stmt_, col));
    if (!text)
        return {};
    return std::string(text, static_cast<std::size_t>(sqlite3_column_bytes(stmt_, col)));
}

int SqlStatement::columnCount() const
{
    return stmt_ ? sqlite3_column_count(stmt_) : 0;
}

} // namespace tonara
