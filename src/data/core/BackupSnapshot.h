#pragma once

// A consistent copy of a database file while the app keeps using it, through
// SQLite's online backup: the copy holds what was committed at one moment,
// never half a save.
//
//   std::string why;
//   if (!BackupSnapshot::take("/data/TonaraDock.sqlite", "/tmp/x/TonaraDock.sqlite", &why))
//       report(why);
//   auto rows = BackupSnapshot::tableCounts(copyPath, &why);  // every table, by name

#include <string>
#include <utility>
#include <vector>

namespace tonara {

class BackupSnapshot {
public:
    // How long a copy waits for a writer that holds the file, in milliseconds.
    static constexpr int kBusyWaitMs = 10000;

    // Copies the database at source (read through a connection of its own, so
    // only committed data is seen) into a new file at dest, and makes sure the
    // copy has the settings and users tables. False with *error when it could not.
    static bool take(const std::string &source, const std::string &dest, std::string *error);

    // The number of rows of every table of the file, in name order.
    static std::vector<std::pair<std::string, long long>> tableCounts(const std::string &path,
                                                                      std::string *error);
    // PRAGMA user_version of the file; -1 when it cannot be read.
    static int schemaVersion(const std::string &path);
};

} // namespace tonara
