#pragma once

#include "users/core/DataSafetyNet.h"

#include <QObject>

namespace tonara {

class Clock;
class DBHelper;

// The safety net the settings and profile screens get: an automatic backup in
// the documents folder's "Backups" before each deletion, and "Undo" as a
// restore of it.
class AutoBackupSafetyNet : public QObject, public DataSafetyNet {
    Q_OBJECT
public:
    AutoBackupSafetyNet(DBHelper &db, const Clock &clock, QObject *parent = nullptr);

    std::string backUpBefore(Operation operation, std::string *why) override;
    bool undo(const std::string &backup, std::string *why) override;

signals:
    // The database and photos were replaced; screens showing data read it again.
    void dataRestored();
    // A backup was added to the list.
    void backupsChanged();

private:
    DBHelper &db_;
    const Clock &clock_;
};

} // namespace tonara
