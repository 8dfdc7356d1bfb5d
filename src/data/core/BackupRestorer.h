#pragma once

// Puts a backup in place of the app's database and photos.
//
//   BackupRestorer restorer(db, clock);
//   BackupRestorer::Checked c = restorer.inspect(path);  // changes nothing
//   if (!c.ok) return refuse(c.refusal);                 // what is wrong, in plain words
//   confirm(c.manifest) ...
//   if (!restorer.restore(path, &why)) refuse(why);      // nothing changed then either
//
// The archive is checked whole first: the manifest and its own checksum,
// every member's size and SHA-256, the database's integrity, its schema
// version, the five tables with their columns in order, the row counts.
// The current data is then taken into the automatic backups; the new database
// and photos are unpacked beside the current ones and renamed into place, the
// database last, and the shared connection opens the new file.

#include "data/core/BackupMessage.h"
#include "data/core/Manifest.h"

#include <filesystem>
#include <string>

namespace tonara {

class Clock;
class DBHelper;

class BackupRestorer {
public:
    struct Checked {
        bool ok = false;
        BackupMessage refusal;
        Manifest manifest;
    };

    BackupRestorer(DBHelper &db, const Clock &clock);

    Checked inspect(const std::string &path);
    bool restore(const std::string &path, BackupMessage *why);
    // The automatic backup the last restore took of the data it replaced; for
    // a diary SQLite could not read, the copy of its bytes as they were.
    const std::string &replacedDataBackup() const { return replacedBackup_; }
    bool replacedDataWasDamaged() const { return replacedDamaged_; }

    // The app's photo files in the documents folder ("no3.png", "no3-2.png"),
    // which a restore replaces as a set.
    static bool appPhotoName(const std::string &name);

private:
    // Reads and checks the archive, leaving the database as
    // staging/TonaraDock.sqlite and the photos in staging/photos.
    Checked check(const std::string &path, const std::filesystem::path &staging);
    bool pointPhotosHere(const std::filesystem::path &staging, BackupMessage *why);
    bool swapIn(const std::filesystem::path &staging, BackupMessage *why);
    // A damaged diary cannot be backed up, and that is when a restore is
    // needed most: its bytes, and any journal beside them, go to the backups
    // folder as they are. Empty when they could not be kept.
    std::string keepDamagedDiary(std::string *error);

    DBHelper &db_;
    const Clock &clock_;
    std::string replacedBackup_;
    bool replacedDamaged_ = false;
};

} // namespace tonara
