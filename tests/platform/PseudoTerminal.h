#pragma once

#include <QString>

#include <cstddef>
#include <cstdint>
#include <vector>

namespace tonara::test {

// The device end of a real pseudo-terminal: the test holds the master side
// and hands the slave path to the code under test as if it were a monitor's
// serial port.
class PseudoTerminal {
public:
    PseudoTerminal();
    ~PseudoTerminal();
    PseudoTerminal(const PseudoTerminal &) = delete;
    PseudoTerminal &operator=(const PseudoTerminal &) = delete;

    bool ok() const { return master_ >= 0; }
    const QString &path() const { return path_; }

    // Writes all bytes to the port's receive side.
    void send(const std::vector<std::uint8_t> &bytes);
    // Whatever the port transmitted so far (non-blocking).
    std::vector<std::uint8_t> receive();
    // Hangs up: the slave path goes away and the port sees the end.
    void close();

private:
    int master_ = -1;
    QString path_;
};

} // namespace tonara::test
