#pragma once

#include <string>
#include <string_view>

namespace tonara {

class TonaraSimulator;

// The simulator's text commands, one line each, as typed into tonara-sim or
// chosen from the app's Simulator menu. A command that does not parse or is
// out of range changes nothing and gets a one-line error.
class SimulatorConsole {
public:
    struct Reply {
        bool ok = true;
        bool quit = false;
        std::string text; // "OK ..." or "ERROR: ..."; help and status may span lines
    };

    explicit SimulatorConsole(TonaraSimulator &simulator);

    Reply execute(std::string_view line);

    static std::string helpText();

private:
    TonaraSimulator &sim_;
};

} // namespace tonara
