#include "storage/SqlTransaction.h"

#include "storage/SqlStatement.h"

namespace tonara {

namespace {
const char *kSavepoint = "tonara_unit";
}

SqlTransaction::SqlTransaction(sqlite3 *db) : db_(db)
{
    if (!db_) {
        status_ = SqlStatement::exec(nullptr, "");
        return;
    }
    nested_ = sqlite3_get_autocommit(db_) == 0;
    // IMMEDIATE takes the write lock now, so a busy file fails here and not
    // half way through the save.
    status_ = SqlStatement::exec(db_, nested_ ? std::string("SAVEPOINT ") + kSavepoint : "BEGIN IMMEDIATE");
    begun_ = status_.ok();
}

SqlTransaction::~SqlTransaction()
{
    rollback();
}

bool SqlTransaction::intact() const
{
    return begun_ && !finished_ && sqlite3_get_autocommit(db_) == 0;
}

SqlStatus SqlTransaction::commit()
{
    if (!begun_ || finished_)
        return status_;
    if (!intact()) {
        finished_ = true;
        status_ = {SQLITE_ABORT, "the save was rolled back by the database"};
        return status_;
    }
    status_ = SqlStatement::exec(db_, nested_ ? std::string("RELEASE ") + kSavepoint : "COMMIT");
    if (status_.ok())
        finished_ = true;
    else
        rollback();
    return status_;
}

void SqlTransaction::rollback()
{
    if (!begun_ || finished_)
        return;
    finished_ = true;
    if (sqlite3_get_autocommit(db_) != 0)
        return; // SQLite already undid it
    if (nested_)
        SqlStatement::exec(db_, std::string("ROLLBACK TO ") + kSavepoint + "; RELEASE " + kSavepoint);
    else
        SqlStatement::exec(db_, "ROLLBACK");
}

} // namespace tonara
