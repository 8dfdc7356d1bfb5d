#pragma once

// Writes a backup file: a copy of the database taken while the app keeps
// running (only what was committed at one moment, never half a save), the
// photo files the profiles name, and the manifest that vouches for them.
//
//   BackupWriter writer(db, clock);
//   BackupMessage why;
//   if (!writer.write("/media/stick/Tonara-backup-2026-12-09-0841.tonarabackup", "", &why))
//       tell(why);                       // whatever was at the path is untouched
//
// The archive holds "manifest.txt", "TonaraDock.sqlite" and "photos/<name>".

#include "data/core/BackupMessage.h"

#include <string>

namespace tonara {

class Clock;
class DBHelper;
struct Manifest;

class BackupWriter {
public:
    static constexpr const char *kDatabaseMember = "TonaraDock.sqlite";
    static constexpr const char *kPhotoFolder = "photos/";

    BackupWriter(DBHelper &db, const Clock &clock);

    // operation: empty for a backup the person asked for, else the code of the
    // operation it is taken before ("reset-data", ...).
    bool write(const std::string &path, const std::string &operation, BackupMessage *error);

    // "Tonara+ <version>", as the manifest names the application.
    static std::string applicationVersion();
    // A photo's file name as a member may carry it: nothing that could leave
    // the folder or break a manifest line.
    static bool safePhotoName(const std::string &name);

private:
    // True when the target is the database (or its journal) or a photo of the documents folder.
    bool inUse(const std::string &target) const;

    DBHelper &db_;
    const Clock &clock_;
};

} // namespace tonara
