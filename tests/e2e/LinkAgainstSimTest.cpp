#include "SimAndLink.h"

#include <gtest/gtest.h>

#include <QTemporaryDir>

namespace tonara::e2e {
namespace {

using namespace std::chrono_literals;

// Both ends of a real link: tonara-sim on its pseudo-terminal, sped up so a
// measurement takes a moment, and tonara-link driving it with the real engine.
class LinkAgainstSim : public ::testing::Test {
protected:
    void SetUp() override { ASSERT_TRUE(sim.ok()) << sim.startupError().toStdString(); }

    void simSays(const QString &line)
    {
        const QString reply = sim.command(line);
        ASSERT_TRUE(reply.startsWith("OK")) << line.toStdString() << " -> " << reply.toStdString();
    }

    LinkRun link(const QStringList &command, const QStringList &options = {})
    {
        return runLink(QStringList{"--device", sim.ptyPath()} + options + command);
    }

    static void expectCleanOutput(const LinkRun &run)
    {
        EXPECT_TRUE(run.finished) << "tonara-link did not end";
        EXPECT_TRUE(run.badLines.isEmpty()) << "not JSON: " << run.badLines.join(" | ").toStdString();
        for (const auto &e : run.events)
            EXPECT_TRUE(e.value("event").toString().startsWith("BPaccessory"))
                << e.value("event").toString().toStdString();
    }

    SimProcess sim;
};

TEST_F(LinkAgainstSim, ProbeAndBatteryReportWhatTheMonitorSays)
{
    simSays("battery 55 charging");
    LinkRun probe = link({"probe"});
    expectCleanOutput(probe);
    EXPECT_EQ(probe.exitCode, 0) << probe.stderrText.toStdString();
    ASSERT_EQ(probe.events.size(), 1u);
    const QJsonObject connected = probe.events.front();
    EXPECT_EQ(connected.value("event").toString(), "BPaccessoryDidConnectNotification");
    EXPECT_EQ(connected.value("batteryPower").toInt(-1), 55);
    EXPECT_TRUE(connected.value("batteryCharging").toBool());
    EXPECT_FALSE(connected.value("batteryfailed").toBool(true));

    simSays("battery 12 failed");
    LinkRun battery = link({"battery"});
    expectCleanOutput(battery);
    EXPECT_EQ(battery.exitCode, 0) << battery.stderrText.toStdString();
    const auto polls = battery.named("BPaccessorySendBatteryPowerNotification");
    ASSERT_EQ(polls.size(), 1u);
    EXPECT_EQ(battery.events.back(), polls.front()) << "the first poll answer ends the run";
    EXPECT_EQ(polls.front().value("batteryPower").toInt(-1), 12);
    EXPECT_FALSE(polls.front().value("batteryCharging").toBool(true));
    EXPECT_TRUE(polls.front().value("batteryfailed").toBool());
}

TEST_F(LinkAgainstSim, SingleMeasurementPrintsThePatientsValues)
{
    simSays("patient 143 91 67 pad");
    LinkRun run = link({"measure", "single"});
    expectCleanOutput(run);
    ASSERT_EQ(run.exitCode, 0) << run.stderrText.toStdString();

    const auto reports = run.named("BPaccessoryUModeReportNotification");
    ASSERT_EQ(reports.size(), 1u);
    const QJsonObject r = reports.front();
    EXPECT_EQ(run.events.back(), r) << "the report ends the run";
    EXPECT_EQ(r.value("errCode").toInt(-1), 0);
    EXPECT_EQ(r.value("sys").toInt(), 143);
    EXPECT_EQ(r.value("dia").toInt(), 91);
    EXPECT_EQ(r.value("HR").toInt(), 67);
    EXPECT_TRUE(r.value("PADFlag").toBool());
    EXPECT_FALSE(r.contains("sysAvg")) << "only fresh properties are printed";

    // The sequence around it: connected first, zero point found, then the
    // deflating cuff with its heartbeats.
    EXPECT_EQ(run.events.front().value("event").toString(), "BPaccessoryDidConnectNotification");
    EXPECT_EQ(run.named("BPaccessoryZeroTraceSuccessNotification").size(), 1u);
    const auto waves = run.named("BPaccessorySendWaveNotification");
    ASSERT_GT(waves.size(), 20u);
    int beats = 0, peak = 0;
    for (const auto &w : waves) {
        ASSERT_TRUE(w.contains("pressure") && w.contains("pulse") && w.contains("HeartBeatFlag"));
        EXPECT_FALSE(w.contains("sys"));
        beats += w.value("HeartBeatFlag").toBool() ? 1 : 0;
        peak = std::max(peak, w.value("pressure").toInt());
    }
    EXPECT_GT(beats, 3);
    EXPECT_GT(peak, 143) << "the cuff is pumped above the systolic pressure";
}

TEST_F(LinkAgainstSim, TrivSeriesContinuesAfterThePauseAndEndsWithTheAverages)
{
    simSays("patient 128 82 70");
    LinkRun run = link({"measure", "triv"}, {"--pause", "0.3"});
    expectCleanOutput(run);
    ASSERT_EQ(run.exitCode, 0) << run.stderrText.toStdString();

    const auto reports = run.named("BPaccessoryMModeReportNotification");
    ASSERT_EQ(reports.size(), 3u);
    EXPECT_EQ(run.events.back(), reports.back());
    int sum[3] = {0, 0, 0};
    for (std::size_t i = 0; i < reports.size(); ++i) {
        const QJsonObject &r = reports[i];
        SCOPED_TRACE("reading " + std::to_string(i + 1));
        EXPECT_EQ(r.value("errCode").toInt(-1), 0);
        // The three readings scatter a little around the patient's values.
        EXPECT_NEAR(r.value("sys").toInt(), 128, 4);
        EXPECT_NEAR(r.value("dia").toInt(), 82, 3);
        EXPECT_NEAR(r.value("HR").toInt(), 70, 3);
        sum[0] += r.value("sys").toInt();
        sum[1] += r.value("dia").toInt();
        sum[2] += r.value("HR").toInt();
        const bool last = i == reports.size() - 1;
        EXPECT_EQ(r.value("measureCompleteFlag").toBool(!last), last);
        EXPECT_EQ(r.contains("sysAvg"), last) << "averages only once the series is complete";
    }
    const QJsonObject &third = reports.back();
    EXPECT_EQ(third.value("sysAvg").toInt(), sum[0] / 3);
    EXPECT_EQ(third.value("diaAvg").toInt(), sum[1] / 3);
    EXPECT_EQ(third.value("HRAvg").toInt(), sum[2] / 3);
    // One pumping per reading.
    EXPECT_EQ(run.named("BPaccessoryZeroTraceSuccessNotification").size(), 3u);
    EXPECT_GE(run.elapsed, 600ms) << "two pauses of 0.3 s";
}

TEST_F(LinkAgainstSim, ADeviceErrorEndsWithStatus2)
{
    simSays("error 3");
    LinkRun single = link({"measure", "single"});
    expectCleanOutput(single);
    EXPECT_EQ(single.exitCode, 2) << single.stderrText.toStdString();
    ASSERT_FALSE(single.events.empty());
    const QJsonObject r = single.events.back();
    EXPECT_EQ(r.value("event").toString(), "BPaccessoryUModeReportNotification");
    EXPECT_EQ(r.value("errCode").toInt(), 3);
    EXPECT_FALSE(r.contains("sys")) << "an error reading carries no values";
    EXPECT_TRUE(single.stderrText.contains("error 3")) << single.stderrText.toStdString();

    // In a TRIV series the first reading's error ends the run too, and the
    // monitor is left idle for the next one.
    simSays("error 5");
    LinkRun triv = link({"measure", "triv"}, {"--pause", "0.2"});
    expectCleanOutput(triv);
    EXPECT_EQ(triv.exitCode, 2) << triv.stderrText.toStdString();
    const auto reports = triv.named("BPaccessoryMModeReportNotification");
    ASSERT_EQ(reports.size(), 1u);
    EXPECT_EQ(reports.front().value("errCode").toInt(), 5);

    simSays("patient 118 76 64");
    LinkRun after = link({"measure", "single"});
    EXPECT_EQ(after.exitCode, 0) << after.stderrText.toStdString();
    ASSERT_FALSE(after.events.empty());
    EXPECT_EQ(after.events.back().value("sys").toInt(), 118);
}

TEST_F(LinkAgainstSim, ASilentMonitorIsALinkFailureAfterTheTimeout)
{
    simSays("silent on");
    LinkRun run = link({"probe"}, {"--timeout", "1.5"});
    EXPECT_TRUE(run.finished);
    EXPECT_EQ(run.exitCode, 1);
    EXPECT_TRUE(run.events.empty());
    // Given up for the silence it was told to bear, not for anything else.
    EXPECT_TRUE(run.stderrText.contains("no answer")) << run.stderrText.toStdString();
    EXPECT_TRUE(run.stderrText.contains("within 1.5 s")) << run.stderrText.toStdString();

    // The bound is on silence, not on the whole run: a measurement that
    // takes longer than it but keeps talking is fine.
    simSays("silent off");
    LinkRun measuring = link({"measure", "single"}, {"--timeout", "1"});
    EXPECT_EQ(measuring.exitCode, 0) << "the monitor answers again: " << measuring.stderrText.toStdString();
}

TEST_F(LinkAgainstSim, SilenceInTheMiddleOfAReadingIsALinkFailure)
{
    simSays("speed 1"); // a reading of some seconds, so there is a middle
    LinkProcess link({"--device", sim.ptyPath(), "--timeout", "1", "measure", "single"});
    ASSERT_TRUE(link.waitForEvent("BPaccessorySendWaveNotification", 10000ms));
    simSays("silent on");
    const LinkRun run = link.finish(10000ms);
    EXPECT_TRUE(run.finished);
    EXPECT_EQ(run.exitCode, 1);
    EXPECT_TRUE(run.named("BPaccessoryUModeReportNotification").empty());
    EXPECT_TRUE(run.stderrText.contains("no answer")) << run.stderrText.toStdString();
}

TEST_F(LinkAgainstSim, TheMonitorGoingAwayMidReadingIsALinkFailure)
{
    simSays("speed 1");
    LinkProcess link({"--device", sim.ptyPath(), "measure", "single"});
    ASSERT_TRUE(link.waitForEvent("BPaccessorySendWaveNotification", 10000ms));
    sim.stop(); // the pseudo-terminal disappears, as a pulled cable would
    const LinkRun run = link.finish(5000ms);
    EXPECT_TRUE(run.finished) << "noticed well before the 10 s silence bound";
    EXPECT_EQ(run.exitCode, 1);
    ASSERT_FALSE(run.events.empty());
    EXPECT_EQ(run.events.back().value("event").toString(), "BPaccessoryDidDisconnectNotification");
    EXPECT_TRUE(run.stderrText.contains("disconnected")) << run.stderrText.toStdString();
}

TEST(LinkWithoutDevice, APathThatIsNotASerialDeviceFailsAtOnce)
{
    QTemporaryDir dir;
    const QString missing = dir.filePath("ttyNone");
    for (const QString &path : {QString("/dev/null"), dir.path(), missing}) {
        LinkRun run = runLink({"--device", path, "probe"}, 10000ms);
        EXPECT_EQ(run.exitCode, 1) << path.toStdString();
        EXPECT_TRUE(run.events.empty());
        EXPECT_TRUE(run.stderrText.contains(path)) << run.stderrText.toStdString();
        EXPECT_LT(run.elapsed, 5000ms) << "no waiting for a device that cannot be there";
    }
    LinkRun usage = runLink({"--device", "/dev/null", "measure", "twice"}, 10000ms);
    EXPECT_EQ(usage.exitCode, 1);
    EXPECT_TRUE(usage.stderrText.contains("unknown command")) << usage.stderrText.toStdString();
}

} // namespace
} // namespace tonara::e2e
