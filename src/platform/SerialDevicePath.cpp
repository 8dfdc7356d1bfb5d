#include "platform/SerialDevicePath.h"

#include <cerrno>
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
    return {};
}

bool SerialDevicePath::isTerminal(const QString &path)
{
    // O_NOCTTY: a monitor must never become our controlling terminal.
    const int fd = ::open(path.toLocal8Bit().constData(), O_RDWR | O_NOCTTY | O_NONBLOCK | O_CLOEXEC);
    if (fd < 0)
        return errno != ENOTTY;
    const bool tty = ::isatty(fd) == 1;
    ::close(fd);
    return tty;
}

} // namespace tonara
