// The tonara-sim program over a real pseudo-terminal.

#include <gtest/gtest.h>

#include <chrono>
#include <csignal>
#include <cstring>
#include <fcntl.h>
#include <poll.h>
#include <string>
#include <sys/wait.h>
#include <termios.h>
#include <unistd.h>
#include <utility>
#include <vector>

#ifdef TONARA_SIM_PATH

namespace {

using Bytes = std::vector<std::uint8_t>;
using Clock = std::chrono::steady_clock;

Bytes command(std::uint8_t code)
{
    Bytes wire{0x5A, 0xA5, 0x51, 0x4B, 0x00, 0x07, code};
    const unsigned sum = 0x51 + 0x4B + 0x07 + code;
    wire.push_back(static_cast<std::uint8_t>(sum >> 8));
    wire.push_back(static_cast<std::uint8_t>(sum & 0xFF));
    return wire;
}

// Runs tonara-sim with pipes on its stdin and stdout.
class SimProcess {
public:
    explicit SimProcess(std::vector<std::string> args)
    {
        int in[2], out[2];
        if (pipe(in) != 0 || pipe(out) != 0)
            return;
        pid_ = fork();
        if (pid_ == 0) {
            dup2(in[0], STDIN_FILENO);
            dup2(out[1], STDOUT_FILENO);
            close(in[1]);
            close(out[0]);
            std::vector<char *> argv{const_cast<char *>(TONARA_SIM_PATH)};
            for (auto &a : args)
                argv.push_back(a.data());
            argv.push_back(nullptr);
            execv(TONARA_SIM_PATH, argv.data());
            _exit(127);
        }
        close(in[0]);
        close(out[1]);
        stdin_ = in[1];
        stdout_ = out[0];
    }
    ~SimProcess()
    {
        if (ttyFd >= 0)
            close(ttyFd);
        closeInput();
        if (stdout_ >= 0)
            close(stdout_);
        if (pid_ > 0 && !exited_) {
            kill(pid_, SIGTERM);
            waitpid(pid_, nullptr, 0);
        }
    }

    void say(const std::string &line)
    {
        const std::string text = line + "\n";
        ASSERT_EQ(write(stdin_, text.data(), text.size()), static_cast<ssize_t>(text.size()));
    }
    void closeInput()
    {
        if (stdin_ >= 0)
            close(stdin_);
        stdin_ = -1;
    }

    // One line of its output, or "" after the timeout.
    std::string line(int timeoutMs = 3000)
    {
        const auto end = Clock::now() + std::chrono::milliseconds(timeoutMs);
        while (true) {
            const auto nl = buffered_.find('\n');
            if (nl != std::string::npos) {
                std::string l = buffered_.substr(0, nl);
                buffered_.erase(0, nl + 1);
                return l;
            }
            const int left = static_cast<int>(
                std::chrono::duration_cast<std::chrono::milliseconds>(end - Clock::now()).count());
            pollfd p{stdout_, POLLIN, 0};
            if (left <= 0 || poll(&p, 1, left) <= 0)
                return "";
            char buf[512];
            const ssize_t n = read(stdout_, buf, sizeof buf);
            if (n <= 0)
                return "";
            buffered_.append(buf, static_cast<std::size_t>(n));
        }
    }

    // Everything it printed until it closed its output.
    std::string rest()
    {
        char buf[4096];
        ssize_t n;
        while ((n = read(stdout_, buf, sizeof buf)) > 0)
            buffered_.append(buf, static_cast<std::size_t>(n));
        return std::exchange(buffered_, {});
    }

    // Exit status, waiting up to the timeout; -1 if it is still running.
    int exitStatus(int timeoutMs = 3000)
    {
        const auto end = Clock::now() + std::chrono::milliseconds(timeoutMs);
        int status = 0;
        while (Clock::now() < end) {
            if (waitpid(pid_, &status, WNOHANG) == pid_) {
                exited_ = true;
                return WIFEXITED(status) ? WEXITSTATUS(status) : 128;
            }
            usleep(5000);
        }
        return -1;
    }

    // Opens the terminal the simulator printed, raw.
    bool openTerminal(const std::string &path)
    {
        ttyFd = open(path.c_str(), O_RDWR | O_NOCTTY | O_NONBLOCK);
        if (ttyFd < 0 || !isatty(ttyFd))
            return false;
        termios tio{};
        tcgetattr(ttyFd, &tio);
        cfmakeraw(&tio);
        return tcsetattr(ttyFd, TCSANOW, &tio) == 0;
    }

    void sendToDevice(const Bytes &b)
    {
        ASSERT_EQ(write(ttyFd, b.data(), b.size()), static_cast<ssize_t>(b.size()));
    }

    // Reads from the terminal until pred(bytes so far) holds or the timeout passes.
    template <class Pred> Bytes readDevice(Pred pred, int timeoutMs)
    {
        Bytes got;
        const auto end = Clock::now() + std::chrono::milliseconds(timeoutMs);
        while (!pred(got) && Clock::now() < end) {
            pollfd p{ttyFd, POLLIN, 0};
            if (poll(&p, 1, 10) > 0) {
                std::uint8_t buf[4096];
                const ssize_t n = read(ttyFd, buf, sizeof buf);
                if (n > 0)
                    got.insert(got.end(), buf, buf + n);
            }
        }
        return got;
    }

    int ttyFd = -1;

private:
    pid_t pid_ = -1;
    int stdin_ = -1;
    int stdout_ = -1;
    bool exited_ = false;
    std::string buffered_;
};

TEST(TonaraSimTool, AnswersOnItsTerminalAndTakesCommandsUntilQuit)
{
    SimProcess sim({"--patient", "131", "84", "66", "--speed", "100", "--zero-trace", "0"});
    const std::string path = sim.line();
    ASSERT_EQ(path.rfind("/dev/", 0), 0u) << "first line: '" << path << "'";
    ASSERT_TRUE(sim.openTerminal(path));

    sim.say("battery 42 charging");
    EXPECT_EQ(sim.line().rfind("OK", 0), 0u);
    sim.sendToDevice(command(0x14));
    Bytes got = sim.readDevice([](const Bytes &b) { return b.size() >= 12; }, 2000);
    ASSERT_EQ(got.size(), 12u);
    EXPECT_EQ(got[6], 0x54);
    EXPECT_EQ(got[9], 42);
    EXPECT_EQ(got[7] & 0x40, 0x40);

    // A whole reading, sped up: waves until the end bit, then the result.
    for (std::uint8_t code : {0xC0, 0x60, 0x01})
        sim.sendToDevice(command(code));
    sim.readDevice([](const Bytes &b) { return b.size() >= 9 + 9 + 10; }, 2000);
    sim.sendToDevice(command(0x82));
    got = sim.readDevice(
        [](const Bytes &b) { return b.size() >= 17 && b.size() % 17 == 0 && (b[b.size() - 17 + 7] & 0x80); },
        10000);
    ASSERT_GT(got.size(), 17u * 1000) << "a reading has thousands of wave frames";
    sim.sendToDevice(command(0x03));
    got = sim.readDevice([](const Bytes &b) { return b.size() >= 21; }, 2000);
    ASSERT_EQ(got.size(), 21u);
    EXPECT_EQ(got[6], 0x43);
    EXPECT_EQ(got[8], 131);
    EXPECT_EQ(got[9], 84);
    EXPECT_EQ(got[17], 66);

    sim.say("speed 0");
    EXPECT_EQ(sim.line().rfind("ERROR: ", 0), 0u);
    sim.say("quit");
    EXPECT_EQ(sim.line(), "OK bye");
    EXPECT_EQ(sim.exitStatus(), 0);
}

TEST(TonaraSimTool, StartsUndockedOnRequestAndEndsAtEndOfInput)
{
    SimProcess sim({"--undocked"});
    const std::string path = sim.line();
    ASSERT_TRUE(sim.openTerminal(path));
    sim.sendToDevice(command(0x14));
    EXPECT_TRUE(sim.readDevice([](const Bytes &b) { return !b.empty(); }, 300).empty());
    sim.say("dock");
    EXPECT_EQ(sim.line(), "OK docked");
    sim.sendToDevice(command(0x14));
    EXPECT_EQ(sim.readDevice([](const Bytes &b) { return b.size() >= 12; }, 2000).size(), 12u);
    sim.closeInput();
    EXPECT_EQ(sim.exitStatus(), 0);
}

TEST(TonaraSimTool, HelpListsTheCommandsAndBadOptionsFail)
{
    SimProcess help({"--help"});
    EXPECT_EQ(help.exitStatus(), 0);
    const std::string all = help.rest();
    for (const char *word : {"--speed", "--undocked", "--patient", "press single|triv", "garbage N", "quit"})
        EXPECT_NE(all.find(word), std::string::npos) << word;

    SimProcess bad({"--speed", "fast"});
    EXPECT_EQ(bad.exitStatus(), 2);
}

} // namespace

#endif
