#pragma once

// The running application's claim on its data folder, so that a command-line
// restore does not swap the database under it: the application keeps writing
// to the file it opened, and readings saved after the swap would be lost.
//
//   DataFolderLock lock;
//   lock.hold(folder);                             // the application, for its whole run
//   if (DataFolderLock::heldElsewhere(folder)) ... // tonara-data restore refuses
//
// An advisory lock on "TonaraDock.lock" in the folder (flock), which the
// system drops when the process ends, however it ends: no stale lock stays.

#include <string>

namespace tonara {

class DataFolderLock {
public:
    static constexpr const char *kFileName = "TonaraDock.lock";

    DataFolderLock() = default;
    ~DataFolderLock();
    DataFolderLock(const DataFolderLock &) = delete;
    DataFolderLock &operator=(const DataFolderLock &) = delete;

    // Claims the folder until this object goes. False when another process
    // holds it or the lock file cannot be made.
    bool hold(const std::string &folder);
    bool held() const { return fd_ >= 0; }

    // True while a process (or another holder in this one) has the folder.
    static bool heldElsewhere(const std::string &folder);

private:
    int fd_ = -1;
};

} // namespace tonara
