#pragma once

// The backups taken on their own before an operation that deletes or replaces
// data, in the "Backups" folder of the documents folder; the ten newest stay.
//
//   AutoBackups backups(db, clock);
//   BackupMessage why;
//   const std::string path = backups.take(AutoBackups::kResetData, &why);
//   if (path.empty())
//       return refuse(why);            // the operation must not run unasked
//   for (const AutoBackups::Entry &e : backups.list()) ...   // newest first

#include "base/Clock.h"
#include "data/core/BackupMessage.h"

#include <cstdint>
#include <string>
#include <vector>

namespace tonara {

class DBHelper;

class AutoBackups {
public:
    static constexpr const char *kFolderName = "Backups";
    // Operation codes; part of the file names.
    static constexpr const char *kResetData = "reset-data";
    static constexpr const char *kDeleteProfile = "delete-profile";
    static constexpr const char *kRestore = "restore";

    struct Entry {
        std::string path;
        LocalDateTime at;
        std::string operation; // the code
        std::uintmax_t size = 0;
    };

    AutoBackups(DBHelper &db, const Clock &clock);

    std::string folder() const;
    // The path of the new backup, or empty with *error saying why.
    std::string take(const std::string &operation, BackupMessage *error);
    std::vector<Entry> list() const;

private:
    DBHelper &db_;
    const Clock &clock_;
};

} // namespace tonara
