#pragma once

// What the backup, restore and automatic backups tell the person, in one
// place, with %1, %2 ... where the values go (see BackupMessage). The screens
// pass each through tr().

namespace tonara::BackupTexts {

// Making a backup.
inline constexpr const char *kNoRoom = "No room could be made for a working copy in %1: %2";
inline constexpr const char *kNoDatabase = "There is no database at %1 to back up.";
inline constexpr const char *kDatabaseNotCopied = "The database could not be copied: %1";
inline constexpr const char *kPhotoUnreadable = "The photo %1 could not be read.";
inline constexpr const char *kArchiveUnwritable = "The backup file %1 could not be written: %2";
inline constexpr const char *kTargetInUse =
    "The backup cannot be written to %1: Tonara+ keeps its diary or a photo in that file, which is in use. "
    "Choose another name. Nothing was changed.";
inline constexpr const char *kFolderUnmade = "The folder %1 could not be made: %2";

// A backup that is refused; each ends by saying that nothing changed.
inline constexpr const char *kCannotOpen = "The file \"%1\" could not be opened: %2. Nothing was changed.";
inline constexpr const char *kIsADatabase =
    "The file \"%1\" is a database, not a Tonara+ backup. Choose a file that ends in \".tonarabackup\". "
    "Nothing was changed.";
inline constexpr const char *kNotABackup =
    "The file \"%1\" is not a Tonara+ backup (%2). Nothing was changed.";
inline constexpr const char *kNoManifest =
    "The file \"%1\" is not a Tonara+ backup: it has no manifest. Nothing was changed.";
inline constexpr const char *kIncomplete =
    "The backup \"%1\" is damaged: it is incomplete or has been changed (%2). Nothing was changed.";
inline constexpr const char *kManifestUnreadable =
    "The backup \"%1\" is damaged: its manifest cannot be read (%2). Nothing was changed.";
inline constexpr const char *kChecksumMismatch =
    "The backup \"%1\" is damaged: %2 does not match its checksum. Nothing was changed.";
inline constexpr const char *kMemberMissing =
    "The backup \"%1\" is damaged: %2 is missing. Nothing was changed.";
inline constexpr const char *kMemberTwice =
    "The backup \"%1\" is damaged: it holds %2 twice. Nothing was changed.";
inline constexpr const char *kMemberUnlisted =
    "The backup \"%1\" is damaged: it holds %2, which its manifest does not list. Nothing was changed.";
inline constexpr const char *kMemberStrange = "The backup \"%1\" is damaged: it holds %2, which is neither "
                                              "the database nor a photo. Nothing was changed.";
inline constexpr const char *kNoDatabaseMember =
    "The backup \"%1\" is damaged: it holds no database. Nothing was changed.";
inline constexpr const char *kIntegrity =
    "The backup \"%1\" is damaged: its database fails the integrity check (%2). Nothing was changed.";
inline constexpr const char *kCountMismatch =
    "The backup \"%1\" is damaged: the table %2 holds %3 rows, its manifest says %4. Nothing was changed.";
inline constexpr const char *kForeignFile =
    "The backup \"%1\" does not hold a Tonara+ database: its database file is not a database (%2). "
    "Nothing was changed.";
inline constexpr const char *kForeignMissingTable =
    "The backup \"%1\" does not hold a Tonara+ database: the table %2 is missing. Nothing was changed.";
inline constexpr const char *kForeignColumns =
    "The backup \"%1\" does not hold a Tonara+ database: the columns of %2 are not those of Tonara+ (%3). "
    "Nothing was changed.";
inline constexpr const char *kNewerSchema =
    "The backup \"%1\" was made by a newer version of Tonara+ (database version %2; this version reads up to "
    "%3). Update Tonara+ to restore it. Nothing was changed.";
inline constexpr const char *kNewerFormat =
    "The backup \"%1\" was made by a newer version of Tonara+ (%2). Update Tonara+ to restore it. "
    "Nothing was changed.";

// A restore that stopped before anything was replaced.
inline constexpr const char *kUnpackFailed =
    "The backup could not be unpacked into %1 (%2). Nothing was changed.";
inline constexpr const char *kProfilesUnprepared =
    "The backup's profiles could not be prepared (%1). Nothing was changed.";
inline constexpr const char *kBusy =
    "The database is in the middle of a change; try again in a moment. Nothing was changed.";
inline constexpr const char *kNotBackedUpFirst =
    "The current data could not be backed up first, so nothing was restored: %1";
inline constexpr const char *kNotPutInPlace =
    "The backup could not be put in place, so the current data was kept (%1). Nothing was changed.";

} // namespace tonara::BackupTexts
