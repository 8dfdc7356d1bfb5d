#include "simulator/SimulatorConsole.h"

#include "simulator/TonaraSimulator.h"

#include <algorithm>
#include <cctype>
#include <charconv>
#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <optional>
#include <vector>

namespace tonara {

namespace {

constexpr std::size_t kMaxGarbage = 4096;
constexpr int kMaxZeroTraceMs = 60000;

std::vector<std::string> split(std::string_view line)
{
    std::vector<std::string> words;
    std::size_t i = 0;
    while (i < line.size()) {
        while (i < line.size() && std::isspace(static_cast<unsigned char>(line[i])))
            ++i;
        const std::size_t start = i;
        while (i < line.size() && !std::isspace(static_cast<unsigned char>(line[i])))
            ++i;
        if (i > start)
            words.emplace_back(line.substr(start, i - start));
    }
    return words;
}

std::string lower(std::string s)
{
    std::transform(s.begin(), s.end(), s.begin(), [](unsigned char c) { return std::tolower(c); });
    return s;
}

// A whole word as an integer in [lo, hi], or nothing.
std::optional<long> parseInt(const std::string &word, long lo, long hi)
{
    long value = 0;
    const char *end = word.data() + word.size();
    const auto [ptr, ec] = std::from_chars(word.data(), end, value);
    if (ec != std::errc() || ptr != end || value < lo || value > hi)
        return std::nullopt;
    return value;
}

SimulatorConsole::Reply ok(std::string text)
{
    return {true, false, "OK " + std::move(text)};
}
SimulatorConsole::Reply fail(std::string text)
{
    return {false, false, "ERROR: " + std::move(text)};
}

} // namespace

SimulatorConsole::SimulatorConsole(TonaraSimulator &simulator) : sim_(simulator) {}

std::string SimulatorConsole::helpText()
{
    return "Commands (one per line):\n"
           "  dock                             put the monitor on its dock (connects it)\n"
           "  undock                           take it off (the link goes away)\n"
           "  press single|triv                press a button: the monitor sends its start request\n"
           "  patient SYS DIA HR [pad]         the next readings' values (0..255, SYS >= DIA)\n"
           "  error CODE|none                  the next result reports error CODE (1..15) instead\n"
           "  battery LEVEL [charging] [failed]  battery level 0..100 and its two flags; at 5 or less\n"
           "                                   without charging the next readings fail (error 12)\n"
           "  silent on|off                    a silent monitor takes commands but never answers\n"
           "  garbage N                        send N random bytes that are no frame (1..4096)\n"
           "  speed X                          run device time X times faster (0.01..1000)\n"
           "  zerotrace MS                     zero tracing lasts MS ms of device time (0..60000)\n"
           "  status                           show the monitor's state\n"
           "  help                             this text\n"
           "  quit                             leave";
}

SimulatorConsole::Reply SimulatorConsole::execute(std::string_view line)
{
    const std::vector<std::string> words = split(line);
    if (words.empty() || words[0][0] == '#')
        return {true, false, ""};
    const std::string cmd = lower(words[0]);
    const std::size_t args = words.size() - 1;
    auto usage = [](const char *text) { return fail(std::string("usage: ") + text); };

    if (cmd == "quit" || cmd == "exit") {
        if (args != 0)
            return usage("quit");
        return {true, true, "OK bye"};
    }
    if (cmd == "help") {
        return {true, false, helpText()};
    }
    if (cmd == "status") {
        if (args != 0)
            return usage("status");
        return ok(sim_.describe());
    }
    if (cmd == "dock" || cmd == "undock") {
        if (args != 0)
            return usage(cmd == "dock" ? "dock" : "undock");
        const bool wanted = cmd == "dock";
        if (sim_.isDocked() == wanted)
            return ok(wanted ? "already docked" : "already undocked");
        if (wanted)
            sim_.dock();
        else
            sim_.undock();
        return ok(wanted ? "docked" : "undocked");
    }
    if (cmd == "press") {
        if (args != 1)
            return usage("press single|triv");
        const std::string which = lower(words[1]);
        if (which != "single" && which != "triv")
            return fail("no button '" + words[1] + "' (single or triv)");
        if (!sim_.isDocked())
            return fail("the monitor is not docked");
        if (which == "single")
            sim_.pressSingleButton();
        else
            sim_.pressTrivButton();
        return ok("pressed " + which);
    }
    if (cmd == "patient") {
        if (args != 3 && args != 4)
            return usage("patient SYS DIA HR [pad]");
        const auto sys = parseInt(words[1], 0, 255);
        const auto dia = parseInt(words[2], 0, 255);
        const auto hr = parseInt(words[3], 0, 255);
        if (!sys)
            return fail("SYS must be a whole number 0..255, not '" + words[1] + "'");
        if (!dia)
            return fail("DIA must be a whole number 0..255, not '" + words[2] + "'");
        if (!hr)
            return fail("HR must be a whole number 0..255, not '" + words[3] + "'");
        if (*sys < *dia)
            return fail("SYS must not be below DIA");
        bool pad = false;
        if (args == 4) {
            const std::string flag = lower(words[4]);
            if (flag == "pad" || flag == "1")
                pad = true;
            else if (flag != "nopad" && flag != "0")
                return fail("the last word must be 'pad', not '" + words[4] + "'");
        }
        sim_.setPatient({static_cast<int>(*sys), static_cast<int>(*dia), static_cast<int>(*hr), pad});
        return ok("patient " + std::to_string(*sys) + "/" + std::to_string(*dia) + " HR " +
                  std::to_string(*hr) + (pad ? " PAD" : ""));
    }
    if (cmd == "error") {
        if (args != 1)
            return usage("error CODE|none");
        if (lower(words[1]) == "none") {
            sim_.injectError(0);
            return ok("no error for the next result");
        }
        const auto code = parseInt(words[1], 0, 15);
        if (!code)
            return fail("error code must be 0..15 or 'none', not '" + words[1] + "'");
        sim_.injectError(static_cast<int>(*code));
        if (*code == 0)
            return ok("no error for the next result");
        return ok("next result reports error " + std::to_string(*code));
    }
    if (cmd == "battery") {
        if (args < 1 || args > 3)
            return usage("battery LEVEL [charging] [failed]");
        const auto level = parseInt(words[1], 0, 100);
        if (!level)
            return fail("battery level must be a whole number 0..100, not '" + words[1] + "'");
        TonaraSimulator::Battery battery{static_cast<int>(*level), false, false};
        for (std::size_t i = 2; i < words.size(); ++i) {
            const std::string flag = lower(words[i]);
            bool &target = flag == "charging" ? battery.charging : battery.failed;
            if ((flag != "charging" && flag != "failed") || target)
                return fail("battery flags are 'charging' and 'failed', each once; not '" + words[i] + "'");
            target = true;
        }
        sim_.setBattery(battery);
        return ok("battery " + std::to_string(battery.level) + "%" + (battery.charging ? " charging" : "") +
                  (battery.failed ? " failed" : ""));
    }
    if (cmd == "silent") {
        if (args != 1)
            return usage("silent on|off");
        const std::string value = lower(words[1]);
        if (value != "on" && value != "off")
            return fail("silent takes 'on' or 'off', not '" + words[1] + "'");
        sim_.setSilent(value == "on");
        return ok(value == "on" ? "silent" : "answering");
    }
    if (cmd == "garbage") {
        if (args != 1)
            return usage("garbage N");
        const auto n = parseInt(words[1], 1, static_cast<long>(kMaxGarbage));
        if (!n)
            return fail("garbage takes a byte count 1..4096, not '" + words[1] + "'");
        if (!sim_.isDocked())
            return fail("the monitor is not docked");
        sim_.sendGarbage(static_cast<std::size_t>(*n));
        return ok("sending " + std::to_string(*n) + " garbage bytes");
    }
    if (cmd == "speed") {
        if (args != 1)
            return usage("speed X");
        const std::string &word = words[1];
        char *end = nullptr;
        const double x = std::strtod(word.c_str(), &end);
        if (end != word.c_str() + word.size() || !std::isfinite(x) || x < TonaraSimulator::kMinSpeed ||
            x > TonaraSimulator::kMaxSpeed)
            return fail("speed must be a number from 0.01 to 1000, not '" + word + "'");
        sim_.setSpeed(x);
        char text[48];
        std::snprintf(text, sizeof text, "speed %g", x);
        return ok(text);
    }
    if (cmd == "zerotrace") {
        if (args != 1)
            return usage("zerotrace MS");
        const auto ms = parseInt(words[1], 0, kMaxZeroTraceMs);
        if (!ms)
            return fail("zerotrace takes milliseconds 0..60000, not '" + words[1] + "'");
        sim_.setZeroTraceMs(static_cast<int>(*ms));
        return ok("zero tracing lasts " + std::to_string(*ms) + " ms");
    }
    return fail("unknown command '" + words[0] + "' (try 'help')");
}

} // namespace tonara
