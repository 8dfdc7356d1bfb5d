#include "storage/DBHelper.h"

#include "base/AlertSink.h"
#include "base/Log.h"
#include "storage/DataFolderLock.h"
#include "storage/Schema.h"
#include "storage/StorageTexts.h"

#include <cerrno>
#include <cstdio>
#include <cstring>
#include <filesystem>
#include <mutex>

namespace tonara {

namespace fs = std::filesystem;

namespace {

struct SharedConfig {
    std::mutex mutex;
    std::string folder = ".";
    AlertSink *alerts = nullptr;
    DBHelper *instance = nullptr;
};

SharedConfig &shared()
{
    static SharedConfig config;
    return config;
}

// Something is at the path, even a dangling link: then it is not ours to create.
bool somethingAt(const std::string &path)
{
    std::error_code ec;
    return fs::exists(fs::symlink_status(path, ec));
}

} // namespace

bool DBHelper::configure(std::string documentsFolder, AlertSink *alerts)
{
    SharedConfig &config = shared();
    std::lock_guard lock(config.mutex);
    if (config.instance)
        return false;
    config.folder = std::move(documentsFolder);
    config.alerts = alerts;
    return true;
}

DBHelper &DBHelper::newInstance()
{
    SharedConfig &config = shared();
    std::lock_guard lock(config.mutex);
    if (!config.instance) {
        // Deliberately never destroyed: screens may hold statements until the very end.
        config.instance = new DBHelper(config.folder, config.alerts);
        config.instance->openDatabase();
    }
    return *config.instance;
}

DBHelper::DBHelper(std::string documentsFolder, AlertSink *alerts)
    : documentsFolder_(std::move(documentsFolder)), alerts_(alerts)
{}

std::string DBHelper::getDatabaseFullPath() const
{
    return (fs::path(documentsFolder_) / (std::string(kBaseName) + kExtension)).string();
}

bool DBHelper::ensureDatabaseFileExists()
{
    return somethingAt(getDatabaseFullPath()) || makeDatabaseFile();
}

bool DBHelper::makeDatabaseFile()
{
    const std::string path = getDatabaseFullPath();
    // "x": create only if still absent, so a file that appears meanwhile is never truncated.
    std::FILE *file = std::fopen(path.c_str(), "wx");
    if (!file) {
        Log::write(StorageTexts::kLogCategory, "Could not create " + path + ": " + std::strerror(errno));
        return false;
    }
    std::fclose(file);

    SqlStatus status;
    SqlConnection conn = SqlConnection::open(path, SQLITE_OPEN_READWRITE, status);
    if (conn)
        status = Schema::createTemplate(conn.get());
    conn.close();
    if (!status.ok()) {
        // Only the file made a moment ago is removed, never one found here.
        std::error_code ec;
        fs::remove(path, ec);
        Log::write(StorageTexts::kLogCategory, "Could not create " + path + ": " + status.message);
        return false;
    }
    return true;
}

void DBHelper::copyDatabaseIfNeeded()
{
    const std::string path = getDatabaseFullPath();
    if (somethingAt(path)) {
        Log::write(StorageTexts::kLogCategory, "Database file found at path " + path);
        return;
    }
    // A file that could not be made has said why; saying it was copied would send a reader astray.
    if (makeDatabaseFile())
        Log::write(StorageTexts::kLogCategory, "Database file copied from bundle to " + path);
}

void DBHelper::openDatabase()
{
    if (openAttempted_)
        return;
    openAttempted_ = true;
    copyDatabaseIfNeeded();

    const std::string path = getDatabaseFullPath();
    SqlStatus status;
    SqlConnection conn = SqlConnection::open(path, SQLITE_OPEN_READWRITE | SQLITE_OPEN_CREATE, status);
    ++openCount_;
    if (!conn) {
        reportUnusable("The database file \"" + path + "\" could not be opened (" + status.message +
                       "). Readings cannot be saved until it can be opened. The file has not been changed.");
        return;
    }
    {
        // Opening reads nothing; a file that is not a database shows itself on the first read.
        SqlStatement probe(conn.get(), "SELECT count(*) FROM sqlite_master");
        if (!probe.next()) {
            reportUnusable("The file \"" + path +
                           "\" is not a Tonara+ database or is damaged, so readings cannot be saved. "
                           "It has been left exactly as it is; move it elsewhere and restart the app to "
                           "begin a new database (" +
                           probe.status().message + ").");
            return;
        }
    }
    if (sqlite3_db_readonly(conn.get(), "main") == 1)
        reportUnusable("The database file \"" + path +
                       "\" can be read but not changed, so new readings cannot be saved. Check the "
                       "file's permissions.");
    connection_ = std::move(conn);
}

bool DBHelper::replaceDatabaseFile(const std::string &replacement, std::string *error)
{
    if (connection_ && sqlite3_get_autocommit(connection_.get()) == 0) {
        *error = "a change is still being written to the database";
        return false;
    }
    // Closed first, so no journal of the old file is left to be applied to the new one.
    connection_.close();
    const bool moved = std::rename(replacement.c_str(), getDatabaseFullPath().c_str()) == 0;
    if (!moved)
        *error = std::strerror(errno);
    openAttempted_ = false;
    unusable_ = false;
    openDatabase();
    return moved;
}

bool DBHelper::holdsFile(const std::string &path) const
{
    namespace fs = std::filesystem;
    std::error_code ec;
    const fs::path target = fs::weakly_canonical(fs::absolute(path, ec), ec);
    const std::string database = fs::weakly_canonical(fs::absolute(getDatabaseFullPath(), ec), ec).string();
    for (const char *suffix : {"", "-journal", "-wal", "-shm"})
        if (target == fs::path(database + suffix))
            return true;
    // Replaced, the running app's claim on the folder would no longer be seen.
    return target == fs::path(database).parent_path() / DataFolderLock::kFileName;
}

void DBHelper::reportUnusable(const std::string &why)
{
    unusable_ = true;
    Log::write(StorageTexts::kLogCategory, why);
    if (alerts_)
        alerts_->showAlert(StorageTexts::kUnusableTitle, why, {StorageTexts::kOk});
}

SqlStatement DBHelper::executeQuery(std::string_view sql)
{
    return SqlStatement(database(), sql);
}

} // namespace tonara
