#pragma once

// Whether a database file taken out of a backup can replace the app's own:
// not damaged, of a schema this version knows, with the five tables and their
// columns in the order every "SELECT *" reader relies on. Other tables may be
// there too; they are carried along.
//
//   RestoreCheck::Result r = RestoreCheck::check(stagedPath);
//   if (r.problem != RestoreCheck::Problem::None)
//       refuse(r.problem, r.detail);

#include <string>
#include <vector>

namespace tonara {

class RestoreCheck {
public:
    enum class Problem {
        None,
        NotADatabase, // not an SQLite file at all
        Damaged,      // PRAGMA integrity_check found faults
        NewerSchema,  // made by a later version of the app
        MissingTable, // detail: the table
        WrongColumns, // detail: the table, then what was found
    };

    struct Result {
        Problem problem = Problem::None;
        std::string detail;
        int schemaVersion = 0;
    };

    // The five tables and their columns, in order.
    struct Table {
        const char *name;
        std::vector<std::string> columns;
    };
    static const std::vector<Table> &tables();

    static Result check(const std::string &path);
};

} // namespace tonara
