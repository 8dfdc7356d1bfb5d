#pragma once

#include <string>

namespace tonara {

// A raw pseudo-terminal: the simulator holds the master side, the host opens
// the slave path like any serial port. The slave stays open here too, so the
// master never sees a hang-up when the host closes and reopens it.
class PseudoTerminal {
public:
    PseudoTerminal() = default;
    ~PseudoTerminal();
    PseudoTerminal(const PseudoTerminal &) = delete;
    PseudoTerminal &operator=(const PseudoTerminal &) = delete;

    // False with error() set when the system refuses.
    bool open();
    int masterFd() const { return master_; }
    const std::string &slavePath() const { return path_; }
    const std::string &error() const { return error_; }

private:
    int master_ = -1;
    int slave_ = -1;
    std::string path_;
    std::string error_;
};

} // namespace tonara
