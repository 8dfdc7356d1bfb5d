#include "storage/DataFolderLock.h"

#include <cerrno>
#include <fcntl.h>
#include <sys/file.h>
#include <unistd.h>

namespace tonara {

namespace {

std::string lockPath(const std::string &folder)
{
    return folder + "/" + DataFolderLock::kFileName;
}

} // namespace

DataFolderLock::~DataFolderLock()
{
    if (fd_ >= 0)
        ::close(fd_); // closing drops the lock
}

bool DataFolderLock::hold(const std::string &folder)
{
    if (fd_ >= 0)
        return true;
    const int fd = ::open(lockPath(folder).c_str(), O_RDWR | O_CREAT | O_CLOEXEC, 0644);
    if (fd < 0)
        return false;
    if (::flock(fd, LOCK_EX | LOCK_NB) != 0) {
        ::close(fd);
        return false;
    }
    fd_ = fd;
    return true;
}

bool DataFolderLock::heldElsewhere(const std::string &folder)
{
    const int fd = ::open(lockPath(folder).c_str(), O_RDONLY | O_CLOEXEC);
    if (fd < 0)
        return false; // no lock file: no application has run on the folder
    const bool busy = ::flock(fd, LOCK_EX | LOCK_NB) != 0 && errno == EWOULDBLOCK;
    ::close(fd); // also drops the lock taken just now
    return busy;
}

} // namespace tonara
