#include "platform/SerialDevicePath.h"

#include <cerrno>
#include <cstring>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

namespace tonara {

bool SerialDevicePath::isCharacterDevice(const QString &path)
{
    struct stat st {};
    const QByteArray native = path.toLocal8Bit();
    return !native.isEmpty() && ::stat(native.constData(), &st) == 0 && S_ISCHR(st.st_mode);
}

QString SerialDevicePath::problem(const QString &path)
{
    const QByteArray native = path.toLocal8Bit();
    if (native.isEmpty())
        return QStringLiteral("no device path given");
    struct stat st {};
    if (::stat(native.constData(), &st) != 0)
        return QStringLiteral("%1 does not exist").arg(path);
    if (!S_ISCHR(st.st_mode))
        return QStringLiteral("%1 is not a serial device").arg(path);
    // O_NOCTTY: a monitor must never become our controlling terminal.
    const int fd = ::open(native.constData(), O_RDWR | O_NOCTTY | O_NONBLOCK | O_CLOEXEC);
    if (fd < 0)
        return QStringLiteral("cannot open %1: %2").arg(path, QString::fromLocal8Bit(std::strerror(errno)));
    const bool tty = ::isatty(fd) == 1;
    ::close(fd);
    if (!tty)
        return QStringLiteral("%1 is not a serial device").arg(path);
    return {};
}

} // namespace tonara
