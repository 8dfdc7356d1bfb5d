#include "data/core/AutoBackups.h"

#include "base/Log.h"
#include "data/core/AutoBackupsRetention.h"
#include "data/core/BackupFileName.h"
#include "data/core/BackupTexts.h"
#include "data/core/BackupWriter.h"
#include "storage/DBHelper.h"

#include <algorithm>
#include <filesystem>

namespace tonara {

namespace fs = std::filesystem;

namespace {

std::vector<std::string> namesIn(const fs::path &dir)
{
    std::vector<std::string> names;
    std::error_code ec;
    for (const auto &entry : fs::directory_iterator(dir, ec))
        if (entry.is_regular_file(ec))
            names.push_back(entry.path().filename().string());
    return names;
}

} // namespace

AutoBackups::AutoBackups(DBHelper &db, const Clock &clock) : db_(db), clock_(clock) {}

std::string AutoBackups::folder() const
{
    return (fs::path(db_.documentsFolder()) / kFolderName).string();
}

std::string AutoBackups::take(const std::string &operation, BackupMessage *error)
{
    const fs::path dir(folder());
    std::error_code ec;
    fs::create_directories(dir, ec);
    if (ec || !fs::is_directory(dir)) {
        *error = {BackupTexts::kFolderUnmade, {dir.string(), ec ? ec.message() : "a file has that name"}};
        return {};
    }
    const LocalDateTime now = clock_.localNow();
    // Backups of the same second, whatever their operation, are numbered on,
    // so the newest is still the newest when the names are sorted.
    int sequence = 1;
    for (const std::string &name : namesIn(dir))
        if (const auto parsed = BackupFileName::parse(name))
            if (BackupFileName::Parsed{now, {}, 1}.key() == BackupFileName::Parsed{parsed->at, {}, 1}.key())
                sequence = std::max(sequence, parsed->sequence + 1);
    fs::path path;
    for (;; ++sequence) {
        path = dir / BackupFileName::automatic(now, operation, sequence);
        if (!fs::exists(fs::symlink_status(path, ec)))
            break;
    }
    if (!BackupWriter(db_, clock_).write(path.string(), operation, error))
        return {};

    // The one just made stays even if the clock was set back behind older ones.
    std::vector<std::string> others = namesIn(dir);
    std::erase(others, path.filename().string());
    for (const std::string &old : AutoBackupsRetention::toRemove(others, AutoBackupsRetention::kKeep - 1))
        if (!fs::remove(dir / old, ec))
            Log::write("data", "could not remove the old backup " + old + ": " + ec.message());
    return path.string();
}

std::vector<AutoBackups::Entry> AutoBackups::list() const
{
    const fs::path dir(folder());
    std::vector<Entry> out;
    std::error_code ec;
    for (const std::string &name : AutoBackupsRetention::newestFirst(namesIn(dir))) {
        const auto parsed = BackupFileName::parse(name);
        const fs::path path = dir / name;
        out.push_back({path.string(), parsed->at, parsed->operation, fs::file_size(path, ec)});
    }
    return out;
}

} // namespace tonara
