#include "data/core/BackupRestorer.h"

#include "base/AlertSink.h"
#include "base/Clock.h"
#include "base/Log.h"
#include "data/core/AutoBackups.h"
#include "data/core/BackupArchive.h"
#include "data/core/BackupFileName.h"
#include "data/core/BackupScratchFolder.h"
#include "data/core/BackupSnapshot.h"
#include "data/core/BackupTexts.h"
#include "data/core/BackupWriter.h"
#include "data/core/DiskSync.h"
#include "data/core/RestoreCheck.h"
#include "data/core/Sha256.h"
#include "storage/DBHelper.h"
#include "storage/DataBaseforCD.h"
#include "storage/Schema.h"

#include <sqlite3.h>

#include <fstream>
#include <set>
#include <utility>
#include <vector>

namespace tonara {

namespace fs = std::filesystem;

namespace {

class LogOnlyAlerts final : public AlertSink {
public:
    void showAlert(const std::string &title, const std::string &message, const std::vector<std::string> &,
                   Completion) override
    {
        Log::write("data", title + " " + message);
    }
};

bool writeWhole(const fs::path &path, const std::string &data)
{
    std::ofstream out(path, std::ios::binary | std::ios::trunc);
    out.write(data.data(), std::streamsize(data.size()));
    out.close();
    return bool(out);
}

std::string firstBytes(const std::string &path, std::size_t n, bool *opened)
{
    std::ifstream in(path, std::ios::binary);
    *opened = bool(in);
    std::string head(n, '\0');
    in.read(head.data(), std::streamsize(n));
    head.resize(std::size_t(std::max<std::streamsize>(in.gcount(), 0)));
    return head;
}

} // namespace

BackupRestorer::BackupRestorer(DBHelper &db, const Clock &clock) : db_(db), clock_(clock) {}

bool BackupRestorer::appPhotoName(const std::string &name)
{
    // "no" digits, optionally "-" digits, ".png"
    if (name.size() < 7 || name.rfind("no", 0) != 0 || name.substr(name.size() - 4) != ".png")
        return false;
    const std::string middle = name.substr(2, name.size() - 6);
    const auto dash = middle.find('-');
    auto digits = [](const std::string &s) {
        return !s.empty() && s.find_first_not_of("0123456789") == std::string::npos;
    };
    return dash == std::string::npos ? digits(middle)
                                     : digits(middle.substr(0, dash)) && digits(middle.substr(dash + 1));
}

BackupRestorer::Checked BackupRestorer::inspect(const std::string &path)
{
    std::error_code ec;
    const fs::path tempRoot = fs::temp_directory_path(ec);
    BackupScratchFolder staging(ec ? fs::path(db_.documentsFolder()) : tempRoot, "tonara-restore-check-");
    if (!staging.made()) {
        Checked c;
        c.refusal = {BackupTexts::kUnpackFailed, {tempRoot.string(), staging.error()}};
        return c;
    }
    return check(path, staging.path());
}

BackupRestorer::Checked BackupRestorer::check(const std::string &path, const fs::path &staging)
{
    Checked c;
    const std::string shown = fs::path(path).filename().string();
    auto refuse = [&](const char *text, std::vector<std::string> more = {}) {
        more.insert(more.begin(), shown);
        c.ok = false;
        c.refusal = {text, std::move(more)};
        return c;
    };

    bool opened = false;
    const std::string head = firstBytes(path, 16, &opened);
    std::error_code ec;
    if (!opened || fs::is_directory(path, ec))
        return refuse(BackupTexts::kCannotOpen, {opened ? "it is a folder" : "it cannot be read"});

    std::vector<BackupArchive::Member> members;
    std::string why;
    if (!BackupArchive::read(path, &members, &why)) {
        if (head.rfind(std::string("SQLite format 3\0", 16), 0) == 0)
            return refuse(BackupTexts::kIsADatabase);
        if (head.rfind("\x1f\x8b", 0) == 0)
            return refuse(BackupTexts::kIncomplete, {why});
        return refuse(BackupTexts::kNotABackup, {why});
    }

    const BackupArchive::Member *manifestMember = nullptr;
    for (const BackupArchive::Member &m : members)
        if (m.name == Manifest::kFileName)
            manifestMember = &m;
    if (!manifestMember)
        return refuse(BackupTexts::kNoManifest);
    bool newerFormat = false;
    const std::optional<Manifest> manifest = Manifest::parse(manifestMember->data, &why, &newerFormat);
    if (!manifest)
        return refuse(newerFormat ? BackupTexts::kNewerFormat : BackupTexts::kManifestUnreadable, {why});
    if (manifest->schemaVersion > Schema::kUserVersion)
        return refuse(BackupTexts::kNewerSchema,
                      {std::to_string(manifest->schemaVersion), std::to_string(Schema::kUserVersion)});

    // Every member is what the manifest says, and the manifest lists every member.
    std::set<std::string> seen;
    const std::string photoFolder = BackupWriter::kPhotoFolder;
    for (const BackupArchive::Member &m : members) {
        if (&m == manifestMember)
            continue;
        if (!seen.insert(m.name).second)
            return refuse(BackupTexts::kMemberTwice, {m.name});
        const ManifestMember *listed = manifest->member(m.name);
        if (!listed)
            return refuse(BackupTexts::kMemberUnlisted, {m.name});
        if (listed->size != m.data.size() || listed->sha256 != Sha256::hex(m.data))
            return refuse(BackupTexts::kChecksumMismatch, {m.name});
        const bool isDatabase = m.name == BackupWriter::kDatabaseMember;
        const bool isPhoto = m.name.rfind(photoFolder, 0) == 0 &&
                             BackupWriter::safePhotoName(m.name.substr(photoFolder.size()));
        if (!isDatabase && !isPhoto)
            return refuse(BackupTexts::kMemberStrange, {m.name});
    }
    for (const ManifestMember &listed : manifest->members)
        if (!seen.count(listed.name))
            return refuse(BackupTexts::kMemberMissing, {listed.name});
    if (!seen.count(BackupWriter::kDatabaseMember))
        return refuse(BackupTexts::kNoDatabaseMember);

    // Unpacked, so the checks run on the very bytes that will be put in place.
    fs::create_directories(staging / "photos", ec);
    if (ec)
        return refuse(BackupTexts::kUnpackFailed, {staging.string(), ec.message()});
    for (const BackupArchive::Member &m : members) {
        if (&m == manifestMember)
            continue;
        if (!writeWhole(staging / m.name, m.data)) {
            c.refusal = {BackupTexts::kUnpackFailed, {staging.string(), "a file could not be written"}};
            return c;
        }
    }
    const std::string staged = (staging / BackupWriter::kDatabaseMember).string();
    const RestoreCheck::Result r = RestoreCheck::check(staged);
    switch (r.problem) {
    case RestoreCheck::Problem::None:
        break;
    case RestoreCheck::Problem::NotADatabase:
        return refuse(BackupTexts::kForeignFile, {r.detail});
    case RestoreCheck::Problem::Damaged:
        return refuse(BackupTexts::kIntegrity, {r.detail});
    case RestoreCheck::Problem::NewerSchema:
        return refuse(BackupTexts::kNewerSchema,
                      {std::to_string(r.schemaVersion), std::to_string(Schema::kUserVersion)});
    case RestoreCheck::Problem::MissingTable:
        return refuse(BackupTexts::kForeignMissingTable, {r.detail});
    case RestoreCheck::Problem::WrongColumns: {
        const auto colon = r.detail.find(": ");
        return refuse(
            BackupTexts::kForeignColumns,
            {r.detail.substr(0, colon), colon == std::string::npos ? "" : r.detail.substr(colon + 2)});
    }
    }
    for (const auto &[table, rows] : BackupSnapshot::tableCounts(staged, &why))
        if (manifest->count(table) != rows)
            return refuse(
                BackupTexts::kCountMismatch,
                {table, std::to_string(rows), std::to_string(std::max(manifest->count(table), 0LL))});
    c.ok = true;
    c.manifest = *manifest;
    return c;
}

bool BackupRestorer::restore(const std::string &path, BackupMessage *why)
{
    replacedBackup_.clear();
    const fs::path docs(db_.documentsFolder());
    std::error_code ec;
    fs::create_directories(docs, ec);
    // Beside the live files, so the final moves are renames within one file system.
    BackupScratchFolder staging(docs, ".restore-");
    if (!staging.made()) {
        *why = {BackupTexts::kUnpackFailed, {docs.string(), staging.error()}};
        return false;
    }
    const Checked checked = check(path, staging.path());
    if (!checked.ok) {
        *why = checked.refusal;
        return false;
    }
    if (!pointPhotosHere(staging.path(), why))
        return false;
    if (db_.database() && sqlite3_get_autocommit(db_.database()) == 0) {
        *why = {BackupTexts::kBusy, {}};
        return false;
    }
    BackupMessage backupWhy;
    replacedDamaged_ = false;
    replacedBackup_ = AutoBackups(db_, clock_).take(AutoBackups::kRestore, &backupWhy);
    if (replacedBackup_.empty()) {
        const RestoreCheck::Problem live = RestoreCheck::check(db_.getDatabaseFullPath()).problem;
        const bool damaged =
            fs::exists(db_.getDatabaseFullPath(), ec) &&
            (live == RestoreCheck::Problem::NotADatabase || live == RestoreCheck::Problem::Damaged);
        std::string keptWhy;
        if (damaged)
            replacedBackup_ = keepDamagedDiary(&keptWhy);
        if (replacedBackup_.empty()) {
            *why = {BackupTexts::kNotBackedUpFirst, {damaged ? keptWhy : backupWhy.english()}};
            return false;
        }
        replacedDamaged_ = true;
        Log::write("data", "the damaged database was kept as " + replacedBackup_ + " before the restore");
    }
    return swapIn(staging.path(), why);
}

std::string BackupRestorer::keepDamagedDiary(std::string *error)
{
    const fs::path dir(AutoBackups(db_, clock_).folder());
    std::error_code ec;
    fs::create_directories(dir, ec);
    const LocalDateTime at = clock_.localNow();
    fs::path kept;
    for (int n = 1;; ++n) {
        kept = dir / BackupFileName::damagedDiary(at, n);
        if (!fs::exists(fs::symlink_status(kept, ec)))
            break;
    }
    const fs::path live(db_.getDatabaseFullPath());
    if (!fs::copy_file(live, kept, ec)) {
        *error = "the damaged database could not be kept (" + ec.message() + ")";
        return {};
    }
    if (!DiskSync::file(kept.string(), error)) {
        fs::remove(kept, ec);
        return {};
    }
    // A journal beside it belongs to it: left there, it would be played back
    // into the restored file.
    const fs::path journal(live.string() + "-journal");
    if (fs::exists(journal, ec)) {
        fs::rename(journal, kept.string() + "-journal", ec);
        if (ec) {
            *error = "the damaged database's journal could not be moved aside (" + ec.message() + ")";
            return {};
        }
    }
    DiskSync::folder(dir.string(), error);
    return kept.string();
}

bool BackupRestorer::pointPhotosHere(const fs::path &staging, BackupMessage *why)
{
    // The profiles name their photos by full path: point them at this
    // documents folder, and at nothing where the backup holds no such photo.
    LogOnlyAlerts quiet;
    DBHelper stagedDb(staging.string(), &quiet);
    stagedDb.openDatabase();
    DataBaseforCD store(stagedDb, quiet);
    store.ReadDataBase_user_table();
    for (std::size_t i = 0; i < store.aArray_user_user.size(); ++i) {
        const std::string old = store.aArray_photo_user[i];
        if (old.empty())
            continue;
        const std::string name = fs::path(old).filename().string();
        std::error_code ec;
        const bool inBackup =
            BackupWriter::safePhotoName(name) && fs::is_regular_file(staging / "photos" / name, ec);
        const std::string now = inBackup ? (fs::path(db_.documentsFolder()) / name).string() : std::string();
        if (now != old && !store.updataDataBase_forUser_table(store.aArray_user_user[i],
                                                              store.aArray_lastname_user[i], now)) {
            *why = {BackupTexts::kProfilesUnprepared, {sqlite3_errmsg(stagedDb.database())}};
            return false;
        }
    }
    return true;
}

bool BackupRestorer::swapIn(const fs::path &staging, BackupMessage *why)
{
    const fs::path docs(db_.documentsFolder());
    BackupScratchFolder aside(docs, ".replaced-");
    if (!aside.made()) {
        *why = {BackupTexts::kNotPutInPlace, {aside.error()}};
        return false;
    }
    std::vector<std::pair<fs::path, fs::path>> done; // from, to: undone in reverse
    std::string failure;
    auto move = [&](const fs::path &from, const fs::path &to) {
        std::error_code ec;
        fs::rename(from, to, ec);
        if (ec) {
            failure = "cannot move " + from.string() + " to " + to.string() + ": " + ec.message();
            Log::write("data", failure);
            return false;
        }
        done.emplace_back(from, to);
        return true;
    };
    auto undo = [&] {
        for (auto it = done.rbegin(); it != done.rend(); ++it) {
            std::error_code ec;
            fs::rename(it->second, it->first, ec);
            if (ec)
                Log::write("data", "cannot move " + it->second.string() + " back to " + it->first.string());
        }
        *why = {BackupTexts::kNotPutInPlace, {failure}};
        return false;
    };

    // The current photos go aside and the backup's come in; the database is
    // renamed over the current one last, so until then the old set is whole.
    std::set<std::string> incoming;
    std::error_code ec;
    for (const auto &entry : fs::directory_iterator(staging / "photos", ec))
        incoming.insert(entry.path().filename().string());
    // The unpacked files replace the only copy of the current data there is
    // outside the backups: they must be on disk before the names change.
    for (const std::string &name : incoming)
        if (!DiskSync::file((staging / "photos" / name).string(), &failure))
            return undo();
    if (!DiskSync::file((staging / BackupWriter::kDatabaseMember).string(), &failure))
        return undo();
    std::vector<std::string> leaving;
    for (const auto &entry : fs::directory_iterator(docs, ec)) {
        const std::string name = entry.path().filename().string();
        if (entry.is_regular_file(ec) && (appPhotoName(name) || incoming.count(name)))
            leaving.push_back(name);
    }
    for (const std::string &name : leaving)
        if (!move(docs / name, aside.path() / name))
            return undo();
    for (const std::string &name : incoming)
        if (!move(staging / "photos" / name, docs / name))
            return undo();
    if (!db_.replaceDatabaseFile((staging / BackupWriter::kDatabaseMember).string(), &failure)) {
        Log::write("data", "cannot move the restored database into place: " + failure);
        return undo();
    }
    std::string unsynced;
    if (!DiskSync::folder(docs.string(), &unsynced))
        Log::write("data", "the documents folder could not be synced after the restore: " + unsynced);
    return true;
}

} // namespace tonara
