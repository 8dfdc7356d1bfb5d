#pragma once

#include <sqlite3.h>

#include <string>

namespace tonara {

// The outcome of one SQLite call: its result code and, when it failed, the
// connection's sqlite3_errmsg text at that moment. Nothing in the storage
// layer throws; callers look at this instead.
struct SqlStatus {
    int code = SQLITE_OK;
    std::string message;

    // SQLITE_ROW and SQLITE_DONE are the normal ends of a step.
    bool ok() const { return code == SQLITE_OK || code == SQLITE_ROW || code == SQLITE_DONE; }
};

} // namespace tonara
