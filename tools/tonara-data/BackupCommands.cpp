// tonara-data backup FILE and restore FILE: the backup-and-data panel's two
// operations for scripts and tests.

#include "DataCommand.h"

#include "base/AlertSink.h"
#include "base/Clock.h"
#include "base/Log.h"
#include "data/core/BackupRestorer.h"
#include "data/core/BackupWriter.h"
#include "storage/DBHelper.h"
#include "storage/DataBaseforCD.h"
#include "storage/DataFolderLock.h"

#include <filesystem>
#include <ostream>

namespace tonara::datatool {

namespace {

// The store's alerts go to stderr: there is no one to tap a button.
class StreamAlerts final : public AlertSink {
public:
    explicit StreamAlerts(std::ostream &to) : to_(to) {}
    void showAlert(const std::string &title, const std::string &message, const std::vector<std::string> &,
                   Completion) override
    {
        to_ << title << (title.empty() ? "" : ": ") << message << "\n";
    }

private:
    std::ostream &to_;
};

bool oneFile(DataCommandContext &ctx, const char *command)
{
    if (ctx.args.size() == 1 && !ctx.args.front().empty())
        return true;
    ctx.err << "tonara-data: " << command << " takes one FILE\n";
    return false;
}

// The data folder's database, with the tables the app makes at start-up.
struct Data {
    explicit Data(DataCommandContext &ctx) : alerts(ctx.err), db(ctx.dataDir, &alerts)
    {
        Log::setSink([](const std::string &, const std::string &) {});
        db.openDatabase();
        DataBaseforCD(db, alerts).check_database();
    }
    StreamAlerts alerts;
    DBHelper db;
    SystemClock clock;
};

int backup(DataCommandContext &ctx)
{
    if (!oneFile(ctx, "backup"))
        return 2;
    if (!std::filesystem::is_directory(ctx.dataDir)) {
        ctx.err << "Backup failed: there is no data folder " << ctx.dataDir << "\n";
        return 1;
    }
    // A folder without the diary is a wrong --data-dir: backing up would make
    // an empty database there and call that a backup.
    const std::string file = std::string(DBHelper::kBaseName) + DBHelper::kExtension;
    if (!std::filesystem::is_regular_file(std::filesystem::path(ctx.dataDir) / file)) {
        ctx.err << "Backup failed: " << ctx.dataDir << " holds no " << file << "; nothing was backed up\n";
        return 1;
    }
    Data data(ctx);
    BackupMessage why;
    if (!BackupWriter(data.db, data.clock).write(ctx.args.front(), "", &why)) {
        ctx.err << "Backup failed: " << why.english() << "\n";
        return 1;
    }
    ctx.out << "Backed up " << ctx.dataDir << " to " << ctx.args.front() << "\n";
    return 0;
}

int restore(DataCommandContext &ctx)
{
    if (!oneFile(ctx, "restore"))
        return 2;
    // The application keeps its database open: swapped under it, the readings
    // it saved afterwards would go to the replaced file and be lost.
    if (DataFolderLock::heldElsewhere(ctx.dataDir)) {
        ctx.err << "Restore refused: the Tonara+ application is running on " << ctx.dataDir
                << "; close it, or restore from its Backup and data panel. Nothing was changed.\n";
        return 1;
    }
    std::error_code ec;
    std::filesystem::create_directories(ctx.dataDir, ec);
    Data data(ctx);
    BackupRestorer restorer(data.db, data.clock);
    BackupMessage why;
    if (!restorer.restore(ctx.args.front(), &why)) {
        ctx.err << "Restore refused: " << why.english() << "\n";
        return 1;
    }
    ctx.out << "Restored " << ctx.args.front() << " into " << ctx.dataDir << "; the data it replaced is in "
            << restorer.replacedDataBackup() << "\n";
    return 0;
}

const DataCommandRegistration backupCommand({"backup", "backup FILE", backup});
const DataCommandRegistration restoreCommand({"restore", "restore FILE", restore});

} // namespace

} // namespace tonara::datatool
