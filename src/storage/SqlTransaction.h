#pragma once

// Makes a group of statements one unit: all of them reach the file or none.
//
//   SqlTransaction tx(db.database());
//   if (!tx.begun())
//       return fail(tx.status());
//   ok = insert.run() && details.run();
//   if (ok && !tx.commit().ok())
//       ok = false;               // the file is as it was
//   // leaving the scope without commit() rolls back
//
// Inside a transaction someone else began, it nests as a savepoint, so the
// outer one still decides what is finally kept.

#include "storage/SqlStatus.h"

#include <sqlite3.h>

namespace tonara {

class SqlTransaction {
public:
    explicit SqlTransaction(sqlite3 *db);
    ~SqlTransaction();

    SqlTransaction(const SqlTransaction &) = delete;
    SqlTransaction &operator=(const SqlTransaction &) = delete;

    bool begun() const { return begun_; }
    // False once SQLite has ended the transaction itself (it rolls back on
    // its own after some errors, such as a full disk): statements run after
    // that would each be kept on their own.
    bool intact() const;
    // Why beginning or committing failed.
    const SqlStatus &status() const { return status_; }

    SqlStatus commit();
    void rollback();

private:
    sqlite3 *db_ = nullptr;
    bool begun_ = false;
    bool nested_ = false;
    bool finished_ = false;
    SqlStatus status_;
};

} // namespace tonara
