#include "data/core/BackupWriter.h"

#include "base/AlertSink.h"
#include "base/Clock.h"
#include "base/Log.h"
#include "data/core/BackupArchive.h"
#include "data/core/BackupRestorer.h"
#include "data/core/BackupScratchFolder.h"
#include "data/core/BackupSnapshot.h"
#include "data/core/BackupTexts.h"
#include "data/core/Manifest.h"
#include "data/core/Sha256.h"
#include "storage/DBHelper.h"
#include "storage/DataBaseforCD.h"

#include <filesystem>
#include <fstream>
#include <iterator>
#include <set>

#ifndef TONARA_APP_VERSION
#define TONARA_APP_VERSION "0"
#endif

namespace tonara {

namespace fs = std::filesystem;

namespace {

// The store's alerts have no one to reach while it reads a private copy.
class LogOnlyAlerts final : public AlertSink {
public:
    void showAlert(const std::string &title, const std::string &message, const std::vector<std::string> &,
                   Completion) override
    {
        Log::write("data", title + " " + message);
    }
};

bool readWhole(const fs::path &path, std::string *out)
{
    std::ifstream in(path, std::ios::binary);
    if (!in)
        return false;
    out->assign(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
    return !in.bad();
}

bool fail(BackupMessage *error, const char *text, std::vector<std::string> args)
{
    if (error)
        *error = {text, std::move(args)};
    return false;
}

} // namespace

BackupWriter::BackupWriter(DBHelper &db, const Clock &clock) : db_(db), clock_(clock) {}

std::string BackupWriter::applicationVersion()
{
    return "Tonara+ " TONARA_APP_VERSION;
}

bool BackupWriter::inUse(const std::string &target) const
{
    // The finished archive is renamed onto the target: over the diary or a
    // photo it would replace what it was meant to keep.
    if (db_.holdsFile(target))
        return true;
    std::error_code ec;
    const fs::path t = fs::weakly_canonical(fs::absolute(target, ec), ec);
    const fs::path folder = fs::weakly_canonical(fs::absolute(db_.documentsFolder(), ec), ec);
    return t.parent_path() == folder && BackupRestorer::appPhotoName(t.filename().string());
}

bool BackupWriter::safePhotoName(const std::string &name)
{
    if (name.empty() || name.size() > 200 || name.front() == '.')
        return false;
    for (char c : name)
        if (!((c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z') || (c >= '0' && c <= '9') || c == '.' ||
              c == '_' || c == '-'))
            return false;
    return true;
}

bool BackupWriter::write(const std::string &path, const std::string &operation, BackupMessage *error)
{
    const std::string source = db_.getDatabaseFullPath();
    std::error_code ec;
    if (!fs::is_regular_file(source, ec))
        return fail(error, BackupTexts::kNoDatabase, {db_.documentsFolder()});
    if (inUse(path))
        return fail(error, BackupTexts::kTargetInUse, {path});
    const fs::path tempRoot = fs::temp_directory_path(ec);
    BackupScratchFolder work(ec ? fs::path(db_.documentsFolder()) : tempRoot, "tonara-backup-");
    if (!work.made())
        return fail(error, BackupTexts::kNoRoom, {tempRoot.string(), work.error()});
    const fs::path copy = work.path() / kDatabaseMember;
    std::string why;
    if (!BackupSnapshot::take(source, copy.string(), &why))
        return fail(error, BackupTexts::kDatabaseNotCopied, {why});

    Manifest manifest;
    manifest.application = applicationVersion();
    manifest.schemaVersion = BackupSnapshot::schemaVersion(copy.string());
    const LocalDateTime now = clock_.localNow();
    manifest.created = now.dateText() + " " + now.timeText();
    manifest.operation = operation;
    manifest.tableCounts = BackupSnapshot::tableCounts(copy.string(), &why);
    if (manifest.tableCounts.empty())
        return fail(error, BackupTexts::kDatabaseNotCopied, {why});

    std::vector<BackupArchive::Member> members;
    auto add = [&](std::string name, std::string data) {
        manifest.members.push_back({name, std::uint64_t(data.size()), Sha256::hex(data)});
        members.push_back({std::move(name), std::move(data)});
    };
    std::string bytes;
    if (!readWhole(copy, &bytes))
        return fail(error, BackupTexts::kDatabaseNotCopied, {copy.string()});
    add(kDatabaseMember, std::move(bytes));

    // The photos the profiles of the copy name, each under its file name.
    {
        LogOnlyAlerts quiet;
        DBHelper copyDb(work.path().string(), &quiet);
        copyDb.openDatabase();
        DataBaseforCD store(copyDb, quiet);
        store.ReadDataBase_user_table();
        std::set<std::string> taken;
        for (const std::string &photo : store.aArray_photo_user) {
            if (photo.empty())
                continue;
            const fs::path file(photo);
            const std::string name = file.filename().string();
            if (!fs::is_regular_file(file, ec))
                continue; // a profile whose photo is gone shows none, before and after
            if (!safePhotoName(name) || !taken.insert(name).second) {
                Log::write("data", "the photo " + photo + " is not taken into the backup: its name is " +
                                       (taken.count(name) ? "taken by another profile's photo"
                                                          : "not one the app makes"));
                continue;
            }
            if (!readWhole(file, &bytes))
                return fail(error, BackupTexts::kPhotoUnreadable, {photo});
            add(kPhotoFolder + name, std::move(bytes));
        }
    }

    members.insert(members.begin(), {Manifest::kFileName, manifest.text()});
    if (!BackupArchive::write(path, members, &why))
        return fail(error, BackupTexts::kArchiveUnwritable, {path, why});
    return true;
}

} // namespace tonara
