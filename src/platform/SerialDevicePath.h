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
    // Empty when the path is a terminal device that can be opened for
    // reading and writing; otherwise why not, as a sentence naming the path.
    static QString problem(const QString &path);
};

} // namespace tonara
