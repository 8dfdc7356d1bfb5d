#pragma once

// Names of backup files, which carry their local date and time (and, for the
// automatic ones, the operation they were taken before), so a folder listing
// sorts by age and a person can tell them apart.
//
//   BackupFileName::manual(now)                 // "Tonara-backup-2026-12-09-0841.tonarabackup"
//   BackupFileName::automatic(now, "reset-data") // "Tonara-backup-2026-12-09-084107-reset-data.tonarabackup"
//   BackupFileName::automatic(now, "reset-data", 2) // "...-084107-reset-data-2.tonarabackup" (same second)
//   auto parsed = BackupFileName::parse(name);  // moment, operation and sequence of an automatic one

#include "base/Clock.h"

#include <optional>
#include <string>
#include <tuple>

namespace tonara {

class BackupFileName {
public:
    static constexpr const char *kPrefix = "Tonara-backup-";
    static constexpr const char *kExtension = ".tonarabackup";

    struct Parsed {
        LocalDateTime at;
        std::string operation; // lower case words joined by '-'
        int sequence = 1;      // 2, 3... for more than one in the same second

        // Older first.
        auto key() const
        {
            return std::tuple(at.year, at.month, at.day, at.hour, at.minute, at.second, sequence);
        }
    };

    static std::string manual(const LocalDateTime &at);
    // The operation must be lower case letters and '-' (a code, not a person's words).
    static std::string automatic(const LocalDateTime &at, const std::string &operation, int sequence = 1);
    // The copy of a diary SQLite could not read, kept as it was before a restore
    // replaced it: "Damaged-TonaraDock-2026-12-09-084107.sqlite" (then "-2", ...).
    static std::string damagedDiary(const LocalDateTime &at, int sequence = 1);
    // Only the names automatic() makes.
    static std::optional<Parsed> parse(const std::string &fileName);
};

} // namespace tonara
