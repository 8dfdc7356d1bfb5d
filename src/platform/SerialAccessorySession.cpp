#include "platform/SerialAccessorySession.h"

#include "platform/SerialDevicePath.h"

#include <QSerialPort>
#include <QTimer>

#include <algorithm>
#include <poll.h>

namespace tonara {

namespace {

// How often an open port is checked for having been hung up. A pty whose
// other end closed, or a USB bridge that was pulled, reads as "no data"
// without an error, so the hang-up has to be looked for.
constexpr int kHangupCheckMs = 250;

bool hungUp(const QSerialPort &port)
{
    const int fd = static_cast<int>(port.handle());
    if (fd < 0)
        return true;
    pollfd p{fd, POLLIN, 0};
    return ::poll(&p, 1, 0) > 0 && (p.revents & (POLLHUP | POLLERR | POLLNVAL)) != 0;
}

} // namespace

std::unique_ptr<SerialAccessorySession> SerialAccessorySession::openPort(const QString &path, QString *error)
{
    if (const QString why = SerialDevicePath::problem(path); !why.isEmpty()) {
        if (error)
            *error = why;
        return nullptr;
    }
    auto *port = new QSerialPort;
    port->setPortName(path);
    if (!port->open(QIODevice::ReadWrite)) {
        if (error)
            *error = SerialDevicePath::isTerminal(path)
                         ? QStringLiteral("cannot open %1: %2").arg(path, port->errorString())
                         : QStringLiteral("%1 is not a serial device").arg(path);
        delete port;
        return nullptr;
    }
    const bool configured = port->setBaudRate(QSerialPort::Baud115200) &&
                            port->setDataBits(QSerialPort::Data8) && port->setParity(QSerialPort::NoParity) &&
                            port->setStopBits(QSerialPort::OneStop) &&
                            port->setFlowControl(QSerialPort::NoFlowControl);
    if (!configured) {
        if (error)
            *error = QStringLiteral("cannot set up %1 as 115200 8N1: %2").arg(path, port->errorString());
        delete port;
        return nullptr;
    }
    if (hungUp(*port)) {
        if (error)
            *error = QStringLiteral("%1 has no device behind it").arg(path);
        delete port;
        return nullptr;
    }
    return std::unique_ptr<SerialAccessorySession>(new SerialAccessorySession(path, port));
}

SerialAccessorySession::SerialAccessorySession(const QString &path, QSerialPort *port)
    : path_(path), port_(port), alive_(std::make_shared<bool>(true))
{
    connectPort();
}

SerialAccessorySession::~SerialAccessorySession()
{
    *alive_ = false;
    close();
    port_->disconnect();
    // The delegate may drop the session from inside one of the port's own
    // signals; the port then has to outlive the emission.
    if (signalDepth_ > 0)
        port_->deleteLater();
    else
        delete port_;
}

void SerialAccessorySession::connectPort()
{
    QObject::connect(port_, &QSerialPort::readyRead, port_, [this] { onReadyRead(); });
    QObject::connect(port_, &QSerialPort::bytesWritten, port_, [this] { onBytesWritten(); });
    QObject::connect(port_, &QSerialPort::errorOccurred, port_,
                     [this](QSerialPort::SerialPortError e) { onError(static_cast<int>(e)); });
    auto *watch = new QTimer(port_);
    watch->setInterval(kHangupCheckMs);
    QObject::connect(watch, &QTimer::timeout, port_, [this] {
        if (port_->isOpen() && !removed_ && hungUp(*port_))
            markRemoved();
    });
    watch->start();
}

void SerialAccessorySession::open(AccessoryStreamDelegate *delegate)
{
    delegate_ = delegate;
    if (!delegate_ || !port_->isOpen())
        return;
    // Like the platform's streams, opening reports back on the loop, not
    // from inside the call.
    QMetaObject::invokeMethod(
        port_,
        [this, alive = alive_] {
            if (!*alive || !delegate_)
                return;
            if (!deliver(StreamKind::Input, StreamEvent::OpenCompleted))
                return;
            if (!deliver(StreamKind::Output, StreamEvent::OpenCompleted))
                return;
            if (hasSpaceAvailable() && !deliver(StreamKind::Output, StreamEvent::HasSpaceAvailable))
                return;
            if (port_->isOpen() && port_->bytesAvailable() > 0)
                scheduleBytesAvailable();
        },
        Qt::QueuedConnection);
}

void SerialAccessorySession::close()
{
    delegate_ = nullptr;
    if (port_->isOpen())
        port_->close();
}

long SerialAccessorySession::read(std::uint8_t *buffer, std::size_t max)
{
    if (!port_->isOpen() || (removed_ && port_->bytesAvailable() == 0))
        return -1;
    const qint64 n = port_->read(reinterpret_cast<char *>(buffer), static_cast<qint64>(max));
    return n < 0 ? -1 : static_cast<long>(n);
}

long SerialAccessorySession::write(const std::uint8_t *bytes, std::size_t count)
{
    if (!port_->isOpen() || removed_)
        return -1;
    const std::size_t pending = pendingOutput();
    if (pending >= kOutputBound || count == 0)
        return 0;
    const std::size_t take = std::min(count, kOutputBound - pending);
    const qint64 n = port_->write(reinterpret_cast<const char *>(bytes), static_cast<qint64>(take));
    return n < 0 ? -1 : static_cast<long>(n);
}

bool SerialAccessorySession::hasSpaceAvailable() const
{
    return port_->isOpen() && !removed_ && pendingOutput() < kOutputBound;
}

bool SerialAccessorySession::isConnected() const
{
    return port_->isOpen() && !removed_;
}

std::size_t SerialAccessorySession::pendingOutput() const
{
    return port_->isOpen() ? static_cast<std::size_t>(port_->bytesToWrite()) : 0;
}

bool SerialAccessorySession::deliver(StreamKind stream, StreamEvent event)
{
    if (!delegate_)
        return true;
    auto alive = alive_;
    ++signalDepth_;
    delegate_->handleEvent(stream, event);
    if (!*alive)
        return false;
    --signalDepth_;
    return true;
}

void SerialAccessorySession::onReadyRead()
{
    const qint64 before = port_->bytesAvailable();
    if (!deliver(StreamKind::Input, StreamEvent::HasBytesAvailable))
        return;
    // The platform keeps signalling while unread bytes remain; the port only
    // signals new arrivals. Ask again if the delegate took some but not all,
    // so a reader that takes 128 bytes at a time still drains a burst.
    const qint64 after = port_->isOpen() ? port_->bytesAvailable() : 0;
    if (after > 0 && after < before)
        scheduleBytesAvailable();
}

void SerialAccessorySession::scheduleBytesAvailable()
{
    if (bytesEventQueued_)
        return;
    bytesEventQueued_ = true;
    QMetaObject::invokeMethod(
        port_,
        [this, alive = alive_] {
            if (!*alive)
                return;
            bytesEventQueued_ = false;
            if (port_->isOpen() && port_->bytesAvailable() > 0)
                onReadyRead();
        },
        Qt::QueuedConnection);
}

void SerialAccessorySession::onBytesWritten()
{
    if (hasSpaceAvailable())
        deliver(StreamKind::Output, StreamEvent::HasSpaceAvailable);
}

void SerialAccessorySession::markRemoved()
{
    removed_ = true;
    *hungUp_ = true;
    // The delegate may still read what arrived before the end.
    if (!deliver(StreamKind::Input, StreamEvent::EndEncountered))
        return;
    // A hung-up terminal stays readable with nothing to read; closing stops
    // the port from spinning on it.
    port_->close();
}

void SerialAccessorySession::onError(int error)
{
    const auto e = static_cast<QSerialPort::SerialPortError>(error);
    if (e == QSerialPort::NoError)
        return;
    port_->clearError();
    if (e == QSerialPort::ResourceError) {
        // The device went away under us (pulled, or the pty's other end closed).
        if (!removed_)
            markRemoved();
        return;
    }
    deliver(e == QSerialPort::WriteError ? StreamKind::Output : StreamKind::Input,
            StreamEvent::ErrorOccurred);
}

} // namespace tonara
