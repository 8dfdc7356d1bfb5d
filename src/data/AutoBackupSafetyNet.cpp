#include "data/AutoBackupSafetyNet.h"

#include "data/BackupMessageText.h"
#include "data/core/AutoBackups.h"
#include "data/core/BackupRestorer.h"

namespace tonara {

AutoBackupSafetyNet::AutoBackupSafetyNet(DBHelper &db, const Clock &clock, QObject *parent)
    : QObject(parent), db_(db), clock_(clock)
{}

std::string AutoBackupSafetyNet::backUpBefore(Operation operation, std::string *why)
{
    BackupMessage problem;
    const std::string path =
        AutoBackups(db_, clock_)
            .take(operation == Operation::ResetData ? AutoBackups::kResetData : AutoBackups::kDeleteProfile,
                  &problem);
    if (path.empty())
        *why = BackupMessageText::text(problem).toStdString();
    else
        emit backupsChanged();
    return path;
}

bool AutoBackupSafetyNet::undo(const std::string &backup, std::string *why)
{
    BackupMessage problem;
    if (!BackupRestorer(db_, clock_).restore(backup, &problem)) {
        *why = BackupMessageText::text(problem).toStdString();
        return false;
    }
    emit backupsChanged();
    emit dataRestored();
    return true;
}

} // namespace tonara
