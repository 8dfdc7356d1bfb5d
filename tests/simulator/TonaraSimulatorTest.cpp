#include "SimTestSupport.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <map>

using namespace tonara;
using namespace simtest;
using namespace std::chrono_literals;

namespace {

class SimulatorTest : public ::testing::Test {
protected:
    VirtualScheduler sched;
    TonaraSimulator sim{sched, 7};
    DeviceCapture out{sim, sched};

    // Sends a command and lets the device answer.
    std::vector<Frame> exchange(const Bytes &wire, Millis wait = 50ms)
    {
        out.clear();
        send(sim, wire);
        sched.advance(wait);
        return out.frames;
    }

    Frame only(const std::vector<Frame> &frames)
    {
        EXPECT_EQ(frames.size(), 1u);
        return frames.empty() ? Frame{} : frames.front();
    }

    // From the opening command to the pump, as the host does it.
    void prepare(std::uint8_t modeCode)
    {
        for (auto code : {0xC0, 0xA0})
            ASSERT_EQ(only(exchange(command(code))).code(), 0x40);
        ASSERT_EQ(only(exchange(command(0x8F, {0x1A, 0x0C, 0x07, 0x0D, 0x05}))).code(), 0x4F);
        ASSERT_EQ(only(exchange(command(0x14))).code(), 0x54);
        ASSERT_EQ(only(exchange(command(modeCode))).code(), modeCode == 0x62 ? 0x42 : 0x40);
        sched.advance(Millis(sim.zeroTraceMs()));
    }

    struct Run {
        std::vector<Frame> waves;
        Frame result;
    };

    // Status until zero tracing is done, pump, waves until the end bit, result.
    Run measure()
    {
        Run run;
        Frame status = only(exchange(command(0x01)));
        EXPECT_EQ(status.code(), 0x41);
        EXPECT_EQ(status.body[5], 0x12);
        out.clear();
        send(sim, command(0x82));
        const bool ended = sched.advanceUntil(
            [&] { return !out.frames.empty() && isWave(out.frames.back()) && waveEnd(out.frames.back()); },
            Millis(120000), Millis(10));
        EXPECT_TRUE(ended) << "no wave frame with the end bit";
        run.waves = out.frames;
        run.result = only(exchange(command(0x03)));
        EXPECT_EQ(run.result.code(), 0x43);
        return run;
    }
};

TEST_F(SimulatorTest, AnswersEveryCommandWithItsOwnFrame)
{
    // The host's frames exactly as they go on the wire.
    const std::map<std::string, std::pair<std::uint8_t, std::size_t>> expected{
        {"5A A5 51 4B 00 07 C0 01 63", {0x40, 7}},
        {"5A A5 51 4B 00 07 A0 01 43", {0x40, 7}},
        {"5A A5 51 4B 00 0C 8F 1A 0C 07 0D 05 01 76", {0x4F, 7}},
        {"5A A5 51 4B 00 07 14 00 B7", {0x54, 10}},
        {"5A A5 51 4B 00 07 60 01 03", {0x40, 7}},
        {"5A A5 51 4B 00 07 01 00 A4", {0x41, 8}},
        {"5A A5 51 4B 00 07 62 01 05", {0x42, 7}},
    };
    for (const auto &[wire, answer] : expected) {
        SCOPED_TRACE(wire);
        const Frame f = only(exchange(hexBytes(wire)));
        EXPECT_EQ(f.code(), answer.first);
        EXPECT_EQ(f.body.size(), answer.second);
        EXPECT_EQ(f.body[3], answer.second) << "length byte counts the whole body";
        EXPECT_EQ(f.body[2], 0x00);
    }
    EXPECT_EQ(sim.deviceClock(), "26-12-07 13:05");
    EXPECT_EQ(sim.framesRejected(), 0u);
}

TEST_F(SimulatorTest, BatteryFrameCarriesLevelChargingAndFailure)
{
    struct Case {
        TonaraSimulator::Battery battery;
        std::uint8_t flags;
    };
    for (const Case &c : {Case{{80, false, false}, 0x00}, Case{{100, true, false}, 0x40},
                          Case{{5, false, true}, 0x80}, Case{{0, true, true}, 0xC0}}) {
        sim.setBattery(c.battery);
        const Frame f = only(exchange(command(0x14)));
        ASSERT_EQ(f.code(), 0x54);
        EXPECT_EQ(f.body[7], c.battery.level);
        EXPECT_EQ(f.body[5] & 0xC0, c.flags);
    }
}

TEST_F(SimulatorTest, ZeroTracingRunsForAMomentAfterTheModeCommandThenSucceeds)
{
    exchange(command(0x60));
    Frame f = only(exchange(command(0x01)));
    EXPECT_EQ(f.body[5], 0x02);
    EXPECT_EQ(sim.phase(), TonaraSimulator::Phase::ZeroTracing);
    sched.advance(Millis(sim.zeroTraceMs()));
    f = only(exchange(command(0x01)));
    EXPECT_EQ(f.body[5], 0x12);
    EXPECT_EQ(sim.phase(), TonaraSimulator::Phase::Ready);

    // Faster device time shortens it in proportion.
    sim.setSpeed(10);
    exchange(command(0x60), 1ms);
    sched.advance(Millis(sim.zeroTraceMs() / 10 + 1));
    EXPECT_EQ(only(exchange(command(0x01), 1ms)).body[5], 0x12);
}

TEST_F(SimulatorTest, SingleMeasurementDeflatesWithAPulseWaveAndReportsThePatient)
{
    sim.setPatient({134, 86, 72, true});
    prepare(0x60);
    const Millis pumpAt = sched.elapsed() + 50ms;
    const Run run = measure();
    const auto &w = run.waves;
    ASSERT_GT(w.size(), 100u);
    for (const Frame &f : w)
        ASSERT_TRUE(isWave(f));

    // About every 10 ms, for a believable length of time.
    const double seconds = (w.back().at - pumpAt.count()) / 1000.0;
    EXPECT_GT(seconds, 20.0);
    EXPECT_LT(seconds, 40.0);
    EXPECT_NEAR(seconds * 100, static_cast<double>(w.size()), w.size() * 0.05);

    // Inflates above the systolic pressure, then the pressure only falls.
    const auto peak = std::max_element(w.begin(), w.end(),
                                       [](auto &a, auto &b) { return wavePressure(a) < wavePressure(b); });
    EXPECT_GE(wavePressure(*peak), 134 + 20);
    EXPECT_LT(peak->at - pumpAt.count(), 4000);
    for (auto it = peak; it + 1 != w.end(); ++it)
        ASSERT_LE(wavePressure(*(it + 1)), wavePressure(*it));
    EXPECT_LT(wavePressure(w.back()), 86);

    // Heartbeats at the patient's rate while the cuff deflates.
    std::vector<std::int64_t> beats;
    for (const Frame &f : w)
        if (waveBeat(f))
            beats.push_back(f.at);
    ASSERT_GT(beats.size(), 10u);
    const double bpm = 60000.0 * (beats.size() - 1) / static_cast<double>(beats.back() - beats.front());
    EXPECT_NEAR(bpm, 72, 2);

    // The oscillation is largest near the mean arterial pressure (86 + 48/3 = 102)
    // and small well above the systolic pressure.
    int bestPressure = 0, bestSwing = 0, swingAbove = 0;
    for (std::size_t i = peak - w.begin(); i + 100 < w.size(); i += 100) {
        const auto [lo, hi] = std::minmax_element(
            w.begin() + i, w.begin() + i + 100, [](auto &a, auto &b) { return wavePulse(a) < wavePulse(b); });
        const int swing = wavePulse(*hi) - wavePulse(*lo);
        if (swing > bestSwing) {
            bestSwing = swing;
            bestPressure = wavePressure(w[i + 50]);
        }
        if (wavePressure(w[i]) > 134 + 25)
            swingAbove = std::max(swingAbove, swing);
    }
    EXPECT_NEAR(bestPressure, 102, 10);
    EXPECT_LT(swingAbove * 3, bestSwing);

    // The end bit only on the last frame.
    EXPECT_EQ(std::count_if(w.begin(), w.end(), waveEnd), 1);
    EXPECT_TRUE(waveEnd(w.back()));

    const Frame &r = run.result;
    ASSERT_EQ(r.body.size(), 19u);
    EXPECT_EQ(r.body[5] & 0x0F, 0);
    EXPECT_EQ(r.body[6], 134);
    EXPECT_EQ(r.body[7], 86);
    EXPECT_EQ(r.body[15], 72);
    EXPECT_EQ(r.body[16] & 0x20, 0x20);
    EXPECT_EQ(r.body[16] & 0x40, 0) << "a single reading never completes a series";

    // Asking again (the host resends when an answer is lost) gives the same result.
    EXPECT_EQ(only(exchange(command(0x03))).body, r.body);
}

TEST_F(SimulatorTest, TrivSeriesScattersAroundThePatientAndAveragesOnTheThird)
{
    sim.setPatient({128, 82, 66, false});
    sim.setSpeed(25);
    prepare(0x62);
    std::vector<Frame> results;
    for (int reading = 0; reading < 3; ++reading) {
        SCOPED_TRACE(reading);
        const Run run = measure();
        EXPECT_EQ(run.waves.front().code(), 0x42);
        results.push_back(run.result);
        if (reading < 2) {
            // The host enters TRIV mode again and pauses before the next reading.
            EXPECT_EQ(only(exchange(command(0x62))).code(), 0x42);
            sched.advance(17s);
        }
    }
    int sys = 0, dia = 0, hr = 0;
    bool allSame = true;
    for (std::size_t i = 0; i < 3; ++i) {
        const Bytes &b = results[i].body;
        EXPECT_EQ(b[5] & 0x0F, 0);
        EXPECT_NEAR(b[6], 128, 5);
        EXPECT_NEAR(b[7], 82, 5);
        EXPECT_NEAR(b[15], 66, 5);
        EXPECT_EQ((b[16] & 0x40) != 0, i == 2) << "only the third completes the series";
        sys += b[6];
        dia += b[7];
        hr += b[15];
        allSame = allSame && b[6] == results[0].body[6] && b[7] == results[0].body[7];
    }
    EXPECT_FALSE(allSame) << "three readings should scatter";
    const Bytes &third = results[2].body;
    EXPECT_EQ(third[10], sys / 3);
    EXPECT_EQ(third[11], dia / 3);
    EXPECT_EQ(third[14], hr / 3);
    EXPECT_EQ(sim.trivReadingsDone(), 0);
}

TEST_F(SimulatorTest, InjectedErrorReplacesOnlyTheNextResult)
{
    sim.setSpeed(50);
    sim.injectError(3);
    prepare(0x60);
    Run run = measure();
    EXPECT_EQ(run.result.body[5] & 0x0F, 3);
    EXPECT_EQ(run.result.body[6], 0);
    EXPECT_FALSE(sim.pendingError());

    // A number that is no device code (above 15) must not turn into "no
    // error" with zero values: it changes nothing.
    sim.injectError(16);
    EXPECT_FALSE(sim.pendingError());
    sim.injectError(7);
    sim.injectError(0x17);
    EXPECT_EQ(sim.pendingError(), 7);
    sim.injectError(0);

    prepare(0x60);
    run = measure();
    EXPECT_EQ(run.result.body[5] & 0x0F, 0);
    EXPECT_EQ(run.result.body[6], sim.patient().sys);
}

TEST_F(SimulatorTest, FlatBatteryCutsTheReadingShortWithErrorTwelve)
{
    sim.setBattery({TonaraSimulator::kLowBatteryLevel, false, false});
    prepare(0x60);
    Run run = measure();
    EXPECT_EQ(run.result.body[5] & 0x0F, 12);
    EXPECT_LT(run.waves.size(), 200u) << "the pump gives up early";

    // The same level while charging measures normally.
    sim.setBattery({TonaraSimulator::kLowBatteryLevel, true, false});
    prepare(0x60);
    run = measure();
    EXPECT_EQ(run.result.body[5] & 0x0F, 0);
    EXPECT_GT(run.waves.size(), 2000u);
}

TEST_F(SimulatorTest, StopCommandEndsARunningMeasurement)
{
    prepare(0x60);
    exchange(command(0x01));
    exchange(command(0x82), 3s);
    ASSERT_EQ(sim.phase(), TonaraSimulator::Phase::Deflating);
    const Frame ack = only(exchange(command(0xC0)));
    EXPECT_EQ(ack.code(), 0x40);
    EXPECT_EQ(sim.phase(), TonaraSimulator::Phase::ResultReady);
    EXPECT_TRUE(exchange(Bytes{}, 2s).empty()) << "no waves after the stop";
    EXPECT_EQ(only(exchange(command(0x03))).body[5] & 0x0F, 11);
}

TEST_F(SimulatorTest, SilentDeviceTakesCommandsButNeverAnswers)
{
    sim.setSilent(true);
    EXPECT_TRUE(exchange(command(0xC0), 2s).empty());
    EXPECT_TRUE(exchange(command(0x14), 2s).empty());
    EXPECT_EQ(sim.framesReceived(), 2u);
    sim.setSilent(false);
    EXPECT_EQ(only(exchange(command(0x14))).code(), 0x54);
}

TEST_F(SimulatorTest, UndockedDeviceNeitherHearsNorSpeaks)
{
    prepare(0x60);
    exchange(command(0x01));
    exchange(command(0x82), 2s);
    int dockEvents = 0;
    sim.addDockObserver([&](bool) { ++dockEvents; });
    sim.undock();
    EXPECT_TRUE(exchange(command(0x14), 2s).empty());
    sim.pressSingleButton();
    sim.sendGarbage(10);
    sched.advance(1s);
    EXPECT_TRUE(out.raw.empty());
    EXPECT_EQ(sim.framesReceived(), 7u) << "nothing counted while undocked";

    sim.dock();
    EXPECT_EQ(dockEvents, 2);
    // The reading that was cut short reports the stop.
    EXPECT_EQ(only(exchange(command(0x03))).body[5] & 0x0F, 11);
}

TEST_F(SimulatorTest, CutsHostFramesHoweverTheBytesArrive)
{
    // One byte at a time.
    out.clear();
    for (std::uint8_t b : command(0x14)) {
        sim.receive(&b, 1);
        sched.advance(1ms);
    }
    sched.advance(20ms);
    EXPECT_EQ(only(out.frames).code(), 0x54);

    // Garbage, then two commands and half of a third in one write; the rest later.
    Bytes wire = hexBytes("00 5A 13 A5 5A A5 51 4B 00 FF");
    for (auto code : {0xA0, 0x14})
        for (auto b : command(code))
            wire.push_back(b);
    const Bytes third = command(0xC0);
    wire.insert(wire.end(), third.begin(), third.begin() + 4);
    const auto frames = exchange(wire);
    ASSERT_EQ(frames.size(), 2u);
    EXPECT_EQ(frames[0].code(), 0x40);
    EXPECT_EQ(frames[1].code(), 0x54);
    out.clear();
    sim.receive(third.data() + 4, third.size() - 4);
    sched.advance(20ms);
    EXPECT_EQ(only(out.frames).code(), 0x40);

    // A frame whose checksum is wrong is not a command.
    Bytes bad = command(0x14);
    bad.back() ^= 0x01;
    EXPECT_TRUE(exchange(bad).empty());
    EXPECT_EQ(sim.framesRejected(), 1u);
}

TEST_F(SimulatorTest, ButtonsSendStartRequestsAndGarbageHasNoSyncWord)
{
    out.clear();
    sim.pressSingleButton();
    sim.pressTrivButton();
    EXPECT_TRUE(out.raw.empty()) << "nothing leaves from inside the call";
    sched.advance(1ms);
    EXPECT_EQ(out.raw, hexBytes("5A A5 51 4B 0A 07 A1 01 4E 5A A5 51 4B 0A 07 A2 01 4F"));

    out.clear();
    sim.sendGarbage(2000);
    sched.advance(1ms);
    EXPECT_EQ(out.raw.size(), 2000u);
    EXPECT_TRUE(out.frames.empty());
    EXPECT_EQ(std::count(out.raw.begin(), out.raw.end(), 0x5A), 0);
}

TEST_F(SimulatorTest, SpeedFactorShortensTheWholeMeasurement)
{
    sim.setSpeed(100);
    prepare(0x60);
    const Millis start = sched.elapsed();
    const Run run = measure();
    const auto took = sched.elapsed() - start;
    EXPECT_LT(took, 500ms);
    // Still one wave per 10 ms of device time.
    EXPECT_GT(run.waves.size(), 2000u);
    EXPECT_EQ(run.result.body[6], sim.patient().sys);
}

TEST_F(SimulatorTest, ChangingSpeedMidReadingKeepsTheDeviceClockContinuous)
{
    prepare(0x60);
    exchange(command(0x01));
    out.clear();
    send(sim, command(0x82));
    sched.advance(5005ms);
    const std::size_t before = out.frames.size();
    EXPECT_NEAR(static_cast<double>(before), 500, 2);
    const Millis switched = sched.elapsed();
    sim.setSpeed(10);
    EXPECT_EQ(out.frames.size(), before) << "nothing leaves from inside setSpeed()";
    ASSERT_TRUE(sched.advanceUntil([&] { return !out.frames.empty() && waveEnd(out.frames.back()); }, 10s));
    // 5 s at speed 1, the remaining ~21 s of device time at speed 10.
    EXPECT_NEAR(static_cast<double>((sched.elapsed() - switched).count()), 2100, 200);
    // The cuff does not jump where the speed changed.
    EXPECT_LE(std::abs(wavePressure(out.frames[before]) - wavePressure(out.frames[before - 1])), 1);
}

} // namespace
