#include "SimTestSupport.h"

#include "simulator/SimulatorConsole.h"

#include <gtest/gtest.h>

using namespace tonara;
using namespace simtest;
using namespace std::chrono_literals;

namespace {

class ConsoleTest : public ::testing::Test {
protected:
    VirtualScheduler sched;
    TonaraSimulator sim{sched, 3};
    DeviceCapture out{sim, sched};
    SimulatorConsole console{sim};

    SimulatorConsole::Reply run(const std::string &line)
    {
        auto reply = console.execute(line);
        EXPECT_TRUE(reply.ok) << line << " -> " << reply.text;
        EXPECT_EQ(reply.text.rfind("OK", 0), 0u) << reply.text;
        return reply;
    }
};

TEST_F(ConsoleTest, CommandsChangeTheSimulator)
{
    run("patient 141 92 77 pad");
    EXPECT_EQ(sim.patient().sys, 141);
    EXPECT_EQ(sim.patient().dia, 92);
    EXPECT_EQ(sim.patient().heartRate, 77);
    EXPECT_TRUE(sim.patient().pad);
    run("  PATIENT   120 80 60  "); // case and spacing do not matter; PAD off again
    EXPECT_FALSE(sim.patient().pad);

    run("battery 15 failed charging");
    EXPECT_EQ(sim.battery().level, 15);
    EXPECT_TRUE(sim.battery().charging);
    EXPECT_TRUE(sim.battery().failed);
    run("battery 100");
    EXPECT_FALSE(sim.battery().charging);
    EXPECT_FALSE(sim.battery().failed);

    run("error 12");
    EXPECT_EQ(sim.pendingError(), 12);
    run("error none");
    EXPECT_FALSE(sim.pendingError());

    run("silent on");
    EXPECT_TRUE(sim.isSilent());
    run("silent off");
    EXPECT_FALSE(sim.isSilent());

    run("speed 2.5");
    EXPECT_DOUBLE_EQ(sim.speed(), 2.5);
    run("zerotrace 0");
    EXPECT_EQ(sim.zeroTraceMs(), 0);

    run("undock");
    EXPECT_FALSE(sim.isDocked());
    run("dock");
    EXPECT_TRUE(sim.isDocked());

    out.clear();
    run("press triv");
    run("garbage 33");
    sched.advance(1ms);
    ASSERT_EQ(out.frames.size(), 1u);
    EXPECT_EQ(out.frames[0].code(), 0xA2);
    EXPECT_EQ(out.garbage, 33u);

    const auto status = run("status");
    EXPECT_NE(status.text.find("120/80"), std::string::npos) << status.text;
    const auto help = console.execute("help");
    EXPECT_TRUE(help.ok);
    for (const char *word : {"dock", "undock", "press", "patient", "error", "battery", "silent", "garbage",
                             "speed", "status", "quit"})
        EXPECT_NE(help.text.find(std::string("\n  ") + word + " "), std::string::npos) << word;
    EXPECT_TRUE(run("quit").quit);
    const auto blank = console.execute("   ");
    EXPECT_TRUE(blank.ok);
    EXPECT_FALSE(blank.quit);
    EXPECT_TRUE(blank.text.empty());
}

TEST_F(ConsoleTest, BadCommandsGetOneLineErrorsAndChangeNothing)
{
    run("patient 130 85 70 pad");
    run("battery 60 charging");
    run("error 5");
    run("speed 3");
    const std::string before = sim.describe();
    for (const char *line : {"fly",
                             "dock now",
                             "press",
                             "press both",
                             "patient",
                             "patient 120 80",
                             "patient 256 80 70",
                             "patient 120 -1 70",
                             "patient 120 80 70 maybe",
                             "patient 120x 80 70",
                             "patient 80 120 70",
                             "patient 120 80 70 pad extra",
                             "error",
                             "error 16",
                             "error -1",
                             "error 3.5",
                             "battery",
                             "battery 101",
                             "battery 50 charging charging",
                             "battery 50 broken",
                             "battery fifty",
                             "silent",
                             "silent maybe",
                             "garbage",
                             "garbage 0",
                             "garbage 5000",
                             "garbage x",
                             "speed",
                             "speed 0",
                             "speed -2",
                             "speed 1001",
                             "speed nan",
                             "speed inf",
                             "speed 2x",
                             "zerotrace -5",
                             "status now",
                             "quit now"}) {
        SCOPED_TRACE(line);
        const auto reply = console.execute(line);
        EXPECT_FALSE(reply.ok);
        EXPECT_FALSE(reply.quit);
        EXPECT_EQ(reply.text.rfind("ERROR: ", 0), 0u) << reply.text;
        EXPECT_EQ(reply.text.find('\n'), std::string::npos) << reply.text;
        EXPECT_EQ(sim.describe(), before);
    }
    sched.advance(1s);
    EXPECT_TRUE(out.raw.empty()) << "a refused command sent nothing";

    // Buttons and garbage need a docked monitor.
    run("undock");
    EXPECT_FALSE(console.execute("press single").ok);
    EXPECT_FALSE(console.execute("garbage 4").ok);
}

} // namespace
