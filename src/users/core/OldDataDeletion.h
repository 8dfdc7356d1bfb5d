#pragma once

// Deletes old readings with their day averages and TRIV details, for every
// user, in one transaction.
//
//   OldDataDeletion deletion(db, clock);
//   deletion.SQLDeleteFactory(OldDataDeletion::kSixMonths); // keeps the last 180 days
//   deletion.SQLDeleteFactory(OldDataDeletion::kAllData);   // empties the three tables
//
// A failure anywhere leaves all three tables as they were, so no day average
// outlives its readings and no TRIV detail loses its reading.

#include <string>

namespace tonara {

class Clock;
class DBHelper;

class OldDataDeletion {
public:
    // The choices of the reset sheet, in its order (Monthdata).
    static constexpr int kSixMonths = 0;
    static constexpr int kOneYear = 1;
    static constexpr int kAllData = 2;

    OldDataDeletion(DBHelper &db, const Clock &clock);

    // "yyyy-MM-dd" of today minus 180 or 365 days; today for kAllData.
    std::string cutOffDate(int Monthdata) const;
    // Runs the three deletions; true when all of them were done. The readings
    // dated on the cut-off day go too; "all" takes every row whatever its date.
    bool SQLDeleteFactory(int Monthdata);
    // SQLite's text of the last failure, empty after a success.
    const std::string &lastError() const { return lastError_; }

private:
    bool run(const std::string &sql);

    DBHelper &db_;
    const Clock &clock_;
    std::string lastError_;
};

} // namespace tonara
