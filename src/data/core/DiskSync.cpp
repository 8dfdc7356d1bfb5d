#include "data/core/DiskSync.h"

#include <fcntl.h>
#include <unistd.h>

#include <cerrno>
#include <cstring>

namespace tonara {

namespace {

bool sync(const std::string &path, int flags, std::string *error)
{
    const int fd = ::open(path.c_str(), flags | O_CLOEXEC);
    if (fd < 0) {
        if (error)
            *error = path + ": " + std::strerror(errno);
        return false;
    }
    // A file system that cannot sync at all (some network and FUSE ones) has
    // nothing more to give; only a failed sync is a failure.
    const bool done = ::fsync(fd) == 0 || errno == EINVAL || errno == ENOTSUP || errno == ENOSYS;
    if (!done && error)
        *error = path + ": " + std::strerror(errno);
    ::close(fd);
    return done;
}

} // namespace

bool DiskSync::file(const std::string &path, std::string *error)
{
    return sync(path, O_RDONLY, error);
}

bool DiskSync::folder(const std::string &path, std::string *error)
{
    return sync(path.empty() ? "." : path, O_RDONLY | O_DIRECTORY, error);
}

} // namespace tonara
