// tonara-sim: a Tonara+ monitor on a pseudo-terminal. Prints the terminal's
// path on its first line, then takes commands on stdin, one per line.

#include "PollScheduler.h"
#include "PseudoTerminal.h"
#include "simulator/SimulatorConsole.h"
#include "simulator/TonaraSimulator.h"

#include <algorithm>
#include <cerrno>
#include <csignal>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <deque>
#include <iostream>
#include <poll.h>
#include <string>
#include <unistd.h>
#include <vector>

using namespace tonara;

namespace {

// What the device has sent and the terminal has not taken yet. A host that
// stops reading cannot make us grow without bound: beyond this the device's
// frames are lost, as they would be on a real wire.
constexpr std::size_t kMaxQueued = 256 * 1024;

void usage(std::FILE *to)
{
    std::fprintf(to,
                 "Usage: tonara-sim [--speed X] [--undocked] [--patient SYS DIA HR] [--zero-trace MS]\n"
                 "                  [--seed N] [--trace]\n"
                 "\n"
                 "Runs a simulated Tonara+ blood-pressure monitor on a pseudo-terminal. The first line\n"
                 "printed is the terminal's path: open it as the monitor's serial port (tonara-link\n"
                 "--device PATH, or tonara --device PATH). Then type commands, one per line; each gets\n"
                 "one reply line (\"OK ...\" or \"ERROR: ...\"). The program ends on 'quit' or at the end\n"
                 "of its input.\n"
                 "\n"
                 "Options:\n"
                 "  --speed X              device time runs X times faster (0.01..1000, default 1)\n"
                 "  --undocked             start off the dock (default: docked)\n"
                 "  --patient SYS DIA HR   the patient's values (default 120 80 70)\n"
                 "  --zero-trace MS        how long zero tracing lasts, device ms (default %d)\n"
                 "  --seed N               seed of the readings' scatter and of garbage bytes\n"
                 "  --trace                describe commands and answers on stderr\n"
                 "  --help                 this text\n"
                 "\n%s\n",
                 TonaraSimulator::kDefaultZeroTraceMs, SimulatorConsole::helpText().c_str());
}

bool applyOption(SimulatorConsole &console, const std::string &line)
{
    const auto reply = console.execute(line);
    if (!reply.ok)
        std::fprintf(stderr, "tonara-sim: %s\n", reply.text.c_str());
    return reply.ok;
}

} // namespace

int main(int argc, char **argv)
{
    std::signal(SIGPIPE, SIG_IGN);

    PollScheduler scheduler;
    std::uint32_t seed = static_cast<std::uint32_t>(::getpid());
    std::vector<std::string> setup;
    bool trace = false;
    bool undocked = false;
    for (int i = 1; i < argc; ++i) {
        const std::string arg = argv[i];
        auto need = [&](int n) {
            if (i + n >= argc) {
                std::fprintf(stderr, "tonara-sim: %s needs %d value%s\n", arg.c_str(), n, n > 1 ? "s" : "");
                std::exit(2);
            }
        };
        if (arg == "--help" || arg == "-h") {
            usage(stdout);
            return 0;
        } else if (arg == "--speed") {
            need(1);
            setup.push_back(std::string("speed ") + argv[++i]);
        } else if (arg == "--patient") {
            need(3);
            setup.push_back(std::string("patient ") + argv[i + 1] + " " + argv[i + 2] + " " + argv[i + 3]);
            i += 3;
        } else if (arg == "--zero-trace") {
            need(1);
            setup.push_back(std::string("zerotrace ") + argv[++i]);
        } else if (arg == "--seed") {
            need(1);
            char *end = nullptr;
            seed = static_cast<std::uint32_t>(std::strtoul(argv[++i], &end, 10));
            if (*end != '\0') {
                std::fprintf(stderr, "tonara-sim: --seed takes a number\n");
                return 2;
            }
        } else if (arg == "--undocked") {
            undocked = true;
        } else if (arg == "--trace") {
            trace = true;
        } else {
            std::fprintf(stderr, "tonara-sim: unknown option '%s' (see --help)\n", arg.c_str());
            return 2;
        }
    }

    TonaraSimulator sim(scheduler, seed);
    SimulatorConsole console(sim);
    for (const std::string &line : setup)
        if (!applyOption(console, line))
            return 2;
    if (undocked)
        sim.undock();
    if (trace)
        sim.setTraceSink([&scheduler](const std::string &line) {
            std::fprintf(stderr, "[%8.3f] %s\n", scheduler.elapsed().count() / 1000.0, line.c_str());
        });

    PseudoTerminal pty;
    if (!pty.open()) {
        std::fprintf(stderr, "tonara-sim: cannot open a pseudo-terminal: %s\n", pty.error().c_str());
        return 1;
    }

    std::deque<std::uint8_t> queued;
    sim.setOutput([&queued](const std::uint8_t *bytes, std::size_t count) {
        if (queued.size() + count > kMaxQueued)
            return;
        queued.insert(queued.end(), bytes, bytes + count);
    });
    auto flushOut = [&] {
        std::uint8_t chunk[4096];
        while (!queued.empty()) {
            const std::size_t n = std::min(queued.size(), sizeof chunk);
            std::copy_n(queued.begin(), n, chunk);
            const ssize_t w = ::write(pty.masterFd(), chunk, n);
            if (w <= 0)
                return; // full (or trouble): wait for POLLOUT
            queued.erase(queued.begin(), queued.begin() + w);
        }
    };

    std::printf("%s\n", pty.slavePath().c_str());
    std::fflush(stdout);

    std::string pendingLine;
    bool running = true;
    while (running) {
        scheduler.runDue();
        flushOut();

        pollfd fds[2] = {{STDIN_FILENO, POLLIN, 0},
                         {pty.masterFd(), static_cast<short>(POLLIN | (queued.empty() ? 0 : POLLOUT)), 0}};
        const int ready = ::poll(fds, 2, scheduler.pollTimeout());
        if (ready < 0) {
            if (errno == EINTR)
                continue;
            std::perror("tonara-sim: poll");
            return 1;
        }
        if (fds[1].revents & POLLIN) {
            std::uint8_t buf[4096];
            const ssize_t n = ::read(pty.masterFd(), buf, sizeof buf);
            if (n > 0)
                sim.receive(buf, static_cast<std::size_t>(n));
        }
        if (fds[0].revents & (POLLIN | POLLHUP | POLLERR)) {
            char buf[1024];
            const ssize_t n = ::read(STDIN_FILENO, buf, sizeof buf);
            if (n <= 0) {
                running = false; // end of input: leave, as after 'quit'
                if (!pendingLine.empty())
                    std::printf("%s\n", console.execute(pendingLine).text.c_str());
                break;
            }
            pendingLine.append(buf, static_cast<std::size_t>(n));
            std::size_t eol;
            while (running && (eol = pendingLine.find('\n')) != std::string::npos) {
                std::string line = pendingLine.substr(0, eol);
                pendingLine.erase(0, eol + 1);
                if (!line.empty() && line.back() == '\r')
                    line.pop_back();
                const auto reply = console.execute(line);
                if (!reply.text.empty())
                    std::printf("%s\n", reply.text.c_str());
                std::fflush(stdout);
                running = !reply.quit;
            }
        }
    }
    std::fflush(stdout);
    return 0;
}
