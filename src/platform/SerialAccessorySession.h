#pragma once

#include "platform/AccessorySession.h"

#include <QString>

#include <cstddef>
#include <memory>

class QSerialPort;

namespace tonara {

// A session with a monitor on a serial port (a USB serial bridge or a
// pseudo-terminal), 115200 baud 8N1, raw. The input stream is the port's
// receive side, the output stream its transmit side. Events reach the
// delegate on the thread that owns the session (the main loop).
class SerialAccessorySession final : public AccessorySession {
public:
    // Bytes the output side holds at most before it reports no space: a
    // command frame is 9 to 14 bytes, so this leaves room for a burst while
    // keeping a stuck port from swallowing commands without bound.
    static constexpr std::size_t kOutputBound = 256;

    // Opens the port at path. Returns nullptr and sets *error (when given) to
    // a sentence a person can read when the path is missing, is not a
    // serial device or cannot be opened.
    static std::unique_ptr<SerialAccessorySession> openPort(const QString &path, QString *error = nullptr);

    ~SerialAccessorySession() override;
    SerialAccessorySession(const SerialAccessorySession &) = delete;
    SerialAccessorySession &operator=(const SerialAccessorySession &) = delete;

    void open(AccessoryStreamDelegate *delegate) override;
    void close() override;
    long read(std::uint8_t *buffer, std::size_t max) override;
    long write(const std::uint8_t *bytes, std::size_t count) override;
    bool hasSpaceAvailable() const override;
    bool isConnected() const override;

    const QString &path() const { return path_; }
    // Bytes taken by write() and not yet handed to the device.
    std::size_t pendingOutput() const;
    // Becomes true when the device behind the port hangs up; outlives the
    // session, so whoever opened it can tell later.
    std::shared_ptr<const bool> hangUpFlag() const { return hungUp_; }

private:
    SerialAccessorySession(const QString &path, QSerialPort *port);

    void connectPort();
    void onReadyRead();
    void onBytesWritten();
    void onError(int error);
    void scheduleBytesAvailable();
    void markRemoved();
    // Delivers an event unless the session is closed; false when the
    // delegate destroyed the session while it handled the event.
    bool deliver(StreamKind stream, StreamEvent event);

    QString path_;
    QSerialPort *port_; // deleted with deleteLater, as it may be inside its own signal
    AccessoryStreamDelegate *delegate_ = nullptr;
    bool removed_ = false;
    bool bytesEventQueued_ = false;
    int signalDepth_ = 0; // delegate calls in progress
    std::shared_ptr<bool> alive_;
    std::shared_ptr<bool> hungUp_ = std::make_shared<bool>(false);
};

} // namespace tonara
