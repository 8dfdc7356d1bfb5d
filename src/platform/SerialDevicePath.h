#pragma once

#include <QString>

namespace tonara {

// Checks on a path that is meant to name a serial device. Pseudo-terminals
// are not listed by QSerialPortInfo, so a configured path is judged by the
// file system alone.
class SerialDevicePath {
public:
    // The path exists and is a character device (cheap: a stat, no open).
    static bool isCharacterDevice(const QString &path);
    // Empty when the path exists and is a character device; otherwise why
    // not, as a sentence naming the path. Opens nothing.
    static QString problem(const QString &path);
    // Whether the device at path is a terminal (opens and closes it, so only
    // worth asking to explain a failure).
    static bool isTerminal(const QString &path);
};

} // namespace tonara
