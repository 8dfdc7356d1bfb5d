#pragma once

#include <string>

// Texts the storage layer shows or logs, kept word for word in one place so the
// screens, the store and the tests agree on them.

namespace tonara::StorageTexts {

inline constexpr const char *kLogCategory = "storage";

inline constexpr const char *kDatabaseFull =
    "The database is full, please go Setting menu and delete unneeded records accordingly.We recommend to "
    "export and delete your database regularly.";
inline constexpr const char *kOk = "OK";

// printf-style, filled with SQLite's error text.
inline constexpr const char *kDbError = "Db error %s";
inline constexpr const char *kUpdatePrepareFailed =
    "Error: failed to day_average update_progress_statement with message '%s'.";
inline constexpr const char *kUpdateStepFailed =
    "Error: failed to update update_progress_statement with message '%s'.";

// A reading whose insert was prepared but failed (a locked or read-only file,
// a full disk): the person must know it was not kept.
inline constexpr const char *kNotSavedTitle = "Reading not saved";
inline constexpr const char *kNotSavedMessage =
    "This reading could not be written to the database (%s). Please note it down and try again.";

// Title of the alert about a database file that cannot be used.
inline constexpr const char *kUnusableTitle = "Readings cannot be saved";

// Puts text where the pattern has %s (the one place each pattern has it).
inline std::string fill(const char *pattern, const std::string &text)
{
    std::string line = pattern;
    const auto at = line.find("%s");
    if (at != std::string::npos)
        line.replace(at, 2, text);
    return line;
}

} // namespace tonara::StorageTexts
