#include "device/BPAccessory.h"

#include "FakeAccessory.h"
#include "base/Log.h"
#include "base/VirtualScheduler.h"
#include "device/BPAccessoryNotifications.h"
#include "device/CommandFrame.h"

#include <gtest/gtest.h>

#include <deque>
#include <set>

using namespace tonara;
using namespace tonara::test;
using namespace std::chrono_literals;

namespace {

const char *const kAllNotifications[] = {
    kBPaccessoryDidConnectNotification,   kBPaccessoryDidDisconnectNotification,
    kBPaccessorySendWaveNotification,     kBPaccessoryUModeReportNotification,
    kBPaccessoryMModeReportNotification,  kBPaccessoryReceiveStartNotification,
    kBPaccessoryReceive3TRIVNotification, kBPaccessorySendBatteryPowerNotification,
    kBPaccessoryZeroTracingNotification,  kBPaccessoryZeroTraceSuccessNotification,
};

// A monitor that answers every command on the next turn of the loop.
struct InstantDevice {
    int battery = 80;
    int zeroTracingPolls = 0;       // status replies that say "still tracing"
    std::vector<Bytes> waves;       // sent after the pump command
    std::deque<Result> results;     // one per read-result command
    std::set<std::uint8_t> ignored; // commands it does not answer

    std::vector<Bytes> operator()(const SentCommand &c)
    {
        if (ignored.count(c.code))
            return {};
        switch (c.code) {
        case 0xC0:
        case 0xA0:
        case 0x60:
            return {ack(0x40)};
        case 0x62:
            return {ack(0x42)};
        case 0x8F:
            return {ack(0x4F)};
        case 0x14:
            return {test::battery(battery)};
        case 0x01:
            return {status(zeroTracingPolls-- > 0 ? 0x02 : 0x12)};
        case 0x82:
            return waves;
        case 0x03: {
            if (results.empty())
                return {};
            Result r = results.front();
            results.pop_front();
            return {result(r)};
        }
        default:
            return {};
        }
    }
};

class Engine : public ::testing::Test {
protected:
    Engine()
    {
        for (const char *name : kAllNotifications)
            center.addObserver(name, [this](const std::string &n, const void *) { posted.push_back(n); });
        Log::setSink(
            [this](const std::string &cat, const std::string &line) { logs.push_back(cat + ": " + line); });
    }
    ~Engine() override { Log::setSink({}); }

    void attach(const std::string &id = "dock") { mgr.attached.push_back({id, {kTonaraProtocolString}}); }
    void create() { engine = std::make_unique<BPAccessory>(mgr, sched, clock, center); }
    // Docked monitor that answers at once, engine connected and idle in its battery poll.
    void connected()
    {
        attach();
        mgr.device = std::ref(device);
        create();
        sched.advance(20ms);
        ASSERT_EQ(engine->BPState(), 10);
        mgr.commands.clear();
        posted.clear();
    }
    int count(const char *name) const
    {
        return static_cast<int>(std::count(posted.begin(), posted.end(), name));
    }
    // Codes sent after the given moment.
    std::vector<std::uint8_t> codesSince(Millis t) const
    {
        std::vector<std::uint8_t> out;
        for (const auto &c : mgr.commands)
            if (c.at >= t)
                out.push_back(c.code);
        return out;
    }
    std::vector<Millis> timesOf(std::uint8_t code) const
    {
        std::vector<Millis> out;
        for (const auto &c : mgr.commands)
            if (c.code == code)
                out.push_back(c.at);
        return out;
    }
    bool until(const std::function<bool()> &pred, Millis limit = 5s)
    {
        return sched.advanceUntil(pred, limit);
    }
    void enter(int state)
    {
        switch (state) {
        case 0:
            engine->MModeFlag() ? engine->MModeStart() : engine->UModestart();
            break;
        case 1:
            engine->writeConnect();
            break;
        case 2:
            engine->writeTime();
            break;
        case 3:
            engine->writeReadBattery();
            break;
        case 4:
            engine->writeIntoMode();
            break;
        case 5:
            engine->writeReadStatus();
            break;
        case 6:
            engine->writeStartPump();
            break;
        case 7:
            engine->writeReadResult();
            break;
        case 8:
            engine->disconnectDevice();
            break;
        case 9:
            engine->writeInitDevice();
            break;
        case 10:
            engine->writeReadBatteryLoop();
            break;
        }
        ASSERT_EQ(engine->BPState(), state);
    }

    VirtualScheduler sched;
    ManualClock clock{{2026, 12, 7, 13, 5, 30}};
    NotificationCenter center;
    FakeManager mgr{sched, center};
    InstantDevice device;
    std::vector<std::string> posted;
    std::vector<std::string> logs;
    std::unique_ptr<BPAccessory> engine;
};

using Codes = std::vector<std::uint8_t>;

} // namespace

TEST_F(Engine, DockedMonitorIsReadAtCreationThenPolledEveryThreeSeconds)
{
    attach();
    device.battery = 64;
    mgr.device = [this](const SentCommand &c) {
        return c.code == 0x14 ? std::vector<Bytes>{battery(device.battery, true, false)}
                              : std::vector<Bytes>{};
    };
    create();
    EXPECT_EQ(mgr.registered, 1);
    EXPECT_EQ(mgr.opened, std::vector<std::string>{std::string("dock/") + kTonaraProtocolString});
    ASSERT_NE(engine->eas(), nullptr);
    EXPECT_EQ(engine->BPState(), 9);
    EXPECT_TRUE(posted.empty()); // nothing until the monitor answers

    sched.advance(10ms);
    EXPECT_EQ(posted, (std::vector<std::string>{kBPaccessoryDidConnectNotification,
                                                kBPaccessorySendBatteryPowerNotification}));
    EXPECT_EQ(engine->StatsString(), "Connect");
    EXPECT_EQ(engine->batteryPower(), 64);
    EXPECT_TRUE(engine->batteryCharging());
    EXPECT_FALSE(engine->batteryfailed());

    sched.advance(9100ms);
    EXPECT_EQ(timesOf(0x14), (std::vector<Millis>{0ms, 10ms, 3010ms, 6010ms, 9010ms}));
    EXPECT_EQ(count(kBPaccessorySendBatteryPowerNotification), 4);
    EXPECT_EQ(engine->BPState(), 10);
}

TEST_F(Engine, SingleMeasurementAgainstAnInstantMonitor)
{
    connected();
    // byte 5 = 0xA3, byte 6 = 0x2C: pressure 812, heartbeat, end of measurement.
    device.waves = {wave(150, 0x1234, false, false), wave(120, 0xBEEF, true, false),
                    wave(812, 7, true, true)};
    device.results = {Result{0, 128, 84, 71, true}};
    std::vector<int> pressures;
    center.addObserver(kBPaccessorySendWaveNotification,
                       [&](const std::string &, const void *) { pressures.push_back(engine->pressure()); });

    const Millis t0 = sched.elapsed();
    engine->UModestart();
    ASSERT_TRUE(until([&] { return !timesOf(0x82).empty(); }));
    // Six follow-ups, each one 10 ms step after the answer.
    const Codes sequence = codesSince(t0);
    ASSERT_GE(sequence.size(), 7u);
    EXPECT_EQ(Codes(sequence.begin(), sequence.begin() + 7),
              (Codes{0xC0, 0xA0, 0x8F, 0x14, 0x60, 0x01, 0x82}));
    EXPECT_EQ(timesOf(0x82).front() - t0, 60ms);
    EXPECT_EQ(mgr.commands[2].frame, CommandFrame::fromHex("514b000c8f1a0C070D05"));

    ASSERT_TRUE(until([&] { return count(kBPaccessoryUModeReportNotification) == 1; }));
    EXPECT_EQ(pressures, (std::vector<int>{150, 120, 812}));
    EXPECT_EQ(engine->pulse(), 7);
    EXPECT_TRUE(engine->HeartBeatFlag());
    EXPECT_EQ(engine->errCode(), 0);
    EXPECT_EQ(engine->sys(), 128);
    EXPECT_EQ(engine->dia(), 84);
    EXPECT_EQ(engine->HR(), 71);
    EXPECT_TRUE(engine->PADFlag());
    EXPECT_FALSE(engine->measureCompleteFlag()); // only a TRIV series completes
    // The result is followed by the battery poll, and nothing is sent twice.
    EXPECT_EQ(codesSince(t0), (Codes{0xC0, 0xA0, 0x8F, 0x14, 0x60, 0x01, 0x82, 0x03, 0x14}));
    EXPECT_NE(engine->unregisteredTimer(), 0u);
    sched.advance(3500ms);
    EXPECT_EQ(codesSince(t0).back(), 0x14);
    EXPECT_EQ(codesSince(t0).size(), 10u);
}

TEST_F(Engine, ZeroTracingIsAskedAgainEveryHalfSecondAndTheBatteryPollStaysOff)
{
    connected();
    device.zeroTracingPolls = 8; // 4 s of zero tracing: longer than a poll interval
    const Millis t0 = sched.elapsed();
    engine->UModestart();
    ASSERT_TRUE(until([&] { return !timesOf(0x82).empty(); }, 10s));
    const std::vector<Millis> polls = timesOf(0x01);
    ASSERT_EQ(polls.size(), 9u);
    for (std::size_t i = 1; i < polls.size(); ++i)
        EXPECT_EQ(polls[i] - polls[i - 1], 500ms);
    EXPECT_EQ(timesOf(0x82).front() - polls.back(), 10ms);
    EXPECT_EQ(count(kBPaccessoryZeroTracingNotification), 8);
    EXPECT_EQ(count(kBPaccessoryZeroTraceSuccessNotification), 1);
    const Codes sent = codesSince(t0);
    EXPECT_EQ(std::count(sent.begin(), sent.end(), 0x14), 1); // only the sequence's own battery read
}

TEST_F(Engine, SilentMonitorGetsTheSameCommandEveryHalfSecondWithoutLimit)
{
    connected();
    device.ignored = {0x01};
    engine->UModestart();
    ASSERT_TRUE(until([&] { return !timesOf(0x01).empty(); }));
    sched.advance(30s);
    const std::vector<Millis> polls = timesOf(0x01);
    EXPECT_EQ(polls.size(), 61u);
    for (std::size_t i = 1; i < polls.size(); ++i)
        ASSERT_EQ(polls[i] - polls[i - 1], 500ms);
    EXPECT_EQ(engine->BPState(), 5);
    EXPECT_EQ(mgr.commands.back().code, 0x01);
}

TEST_F(Engine, SilentMonitorDuringTheBatteryPollKeepsOneResendChain)
{
    // Each poll tick and each start press sends a command of its own; the
    // resends must not pile up into ever more chains.
    connected();
    mgr.device = [](const SentCommand &) { return std::vector<Bytes>{}; };
    const std::size_t before = mgr.commands.size();
    sched.advance(60s);
    engine->UModestart();
    engine->MModeStart();
    const std::size_t afterMinute = mgr.commands.size() - before;
    sched.advance(60s);
    const std::size_t secondMinute = mgr.commands.size() - before - afterMinute;
    // one resend every 0.5 s, plus 20 poll ticks in the first minute
    EXPECT_LE(afterMinute, 145u);
    EXPECT_LE(secondMinute, 122u);
    EXPECT_GE(secondMinute, 118u);
}

TEST_F(Engine, SilentMonitorInStateZeroGetsTheStartOfItsModeAgain)
{
    connected();
    device.ignored = {0xC0};
    engine->MModeStart();
    sched.advance(2200ms);
    EXPECT_EQ(timesOf(0xC0), (std::vector<Millis>{20ms, 520ms, 1020ms, 1520ms, 2020ms}));
    EXPECT_EQ(mgr.commands.size(), 5u); // the battery poll stays off
    EXPECT_TRUE(engine->MModeFlag());
    EXPECT_TRUE(engine->MModeFirstTimeFlag());
    EXPECT_EQ(engine->BPState(), 0);
}

TEST_F(Engine, Error11StopsTheMonitorBeforeTheReportInBothModes)
{
    for (bool triv : {false, true}) {
        SCOPED_TRACE(triv ? "TRIV" : "single");
        connected();
        device.waves = {wave(60, 0, false, true)};
        device.results = {Result{0, 131, 85, 66, false}, Result{11, 200, 150, 99, true}};
        engine->UModestart();
        ASSERT_TRUE(until([&] { return count(kBPaccessoryUModeReportNotification) == 1; }));

        Codes atReport;
        const char *report = triv ? kBPaccessoryMModeReportNotification : kBPaccessoryUModeReportNotification;
        auto token =
            center.addObserver(report, [&](const std::string &, const void *) { atReport = mgr.codes(); });
        const std::size_t before = mgr.commands.size();
        triv ? engine->MModeStart() : engine->UModestart();
        ASSERT_TRUE(until([&] { return !atReport.empty(); }));
        center.removeObserver(token);
        EXPECT_EQ(atReport.back(), 0xC0); // stop sent before the report
        EXPECT_EQ(engine->errCode(), 11);
        EXPECT_EQ(engine->sys(), 131); // an error leaves the last reading alone
        EXPECT_EQ(engine->dia(), 85);
        EXPECT_EQ(engine->HR(), 66);
        EXPECT_FALSE(engine->PADFlag());
        EXPECT_TRUE(engine->measureCompleteFlag());
        sched.advance(100ms);
        const Codes all = mgr.codes();
        const Codes after(all.begin() + static_cast<long>(before), all.end());
        EXPECT_EQ(Codes(after.end() - 3, after.end()), (Codes{0x03, 0xC0, 0x14}));
        EXPECT_EQ(engine->BPState(), 10);
        EXPECT_NE(engine->unregisteredTimer(), 0u);
        engine.reset();
        mgr.attached.clear();
        device = InstantDevice{};
    }
}

TEST_F(Engine, TrivSeriesWaitsForTheScreenBetweenReadings)
{
    connected();
    device.waves = {wave(90, 0, true, false), wave(70, 0, false, true)};
    device.results = {Result{0, 130, 85, 70}, Result{0, 126, 81, 72},
                      Result{0, 122, 83, 68, true, true, 126, 83, 70}};
    engine->MModeStart();
    for (int reading = 1; reading <= 3; ++reading) {
        SCOPED_TRACE(reading);
        ASSERT_TRUE(until([&] { return count(kBPaccessoryMModeReportNotification) == reading; }));
        if (reading == 3)
            break;
        EXPECT_FALSE(engine->measureCompleteFlag());
        EXPECT_FALSE(engine->MModeFirstTimeFlag());
        // The pause: the TRIV mode command is acknowledged and nothing else is sent.
        const std::size_t sent = mgr.commands.size();
        sched.advance(17s);
        EXPECT_EQ(mgr.commands.size(), sent);
        EXPECT_EQ(mgr.commands.back().code, 0x62);
        EXPECT_EQ(engine->BPState(), 4);
        engine->MModeContinue();
    }
    EXPECT_EQ(count(kBPaccessoryUModeReportNotification), 0);
    EXPECT_EQ(engine->sys(), 122);
    EXPECT_TRUE(engine->measureCompleteFlag());
    EXPECT_TRUE(engine->PADFlag());
    EXPECT_EQ(engine->sysAvg(), 126);
    EXPECT_EQ(engine->diaAvg(), 83);
    EXPECT_EQ(engine->HRAvg(), 70);
    sched.advance(50ms);
    EXPECT_EQ(engine->BPState(), 10);
    const Codes all = mgr.codes();
    EXPECT_EQ(std::count(all.begin(), all.end(), 0x82), 3);
    EXPECT_EQ(std::count(all.begin(), all.end(), 0x8F), 1); // connect and clock once per series
    EXPECT_EQ(all.back(), 0x14);
}

TEST_F(Engine, MonitorFinishingAReadingDuringThePauseIsAskedForItsResult)
{
    connected();
    device.waves = {wave(70, 0, false, true)};
    device.results = {Result{0, 130, 85, 70}, Result{0, 118, 79, 64}};
    engine->MModeStart();
    ASSERT_TRUE(until([&] { return count(kBPaccessoryMModeReportNotification) == 1; }));
    sched.advance(1s);
    ASSERT_EQ(engine->BPState(), 4);
    const Millis t = sched.elapsed();
    mgr.session->deliver(wave(50, 0, false, false)); // not finished: ignored in state 4
    EXPECT_TRUE(codesSince(t).empty());
    EXPECT_EQ(count(kBPaccessorySendWaveNotification), 1);
    mgr.session->deliver(wave(50, 0, false, true));
    EXPECT_EQ(codesSince(t), Codes{0x03});
    ASSERT_TRUE(until([&] { return count(kBPaccessoryMModeReportNotification) == 2; }));
    EXPECT_EQ(engine->sys(), 118);
}

TEST_F(Engine, StartRequestsAreAnnouncedInEveryStateAndChangeNothing)
{
    attach();
    create();
    for (bool triv : {false, true}) {
        triv ? engine->MModeStart() : engine->UModestart();
        for (int s = 0; s <= 10; ++s) {
            SCOPED_TRACE(s);
            enter(s);
            const std::size_t sent = mgr.commands.size();
            posted.clear();
            mgr.session->deliver(startRequest(0xA1));
            mgr.session->deliver(startRequest(0xA2));
            // Look-alikes: byte 2 not 0x0A, or length not 7.
            mgr.session->deliver(deviceFrame(0xA1, {}, 0x00));
            mgr.session->deliver(deviceFrame(0xA2, {0x00}, 0x0A));
            EXPECT_EQ(posted, (std::vector<std::string>{kBPaccessoryReceiveStartNotification,
                                                        kBPaccessoryReceive3TRIVNotification}));
            EXPECT_EQ(engine->BPState(), s);
            EXPECT_TRUE(engine->waitflag());
            EXPECT_EQ(mgr.commands.size(), sent);
        }
    }
}

TEST_F(Engine, OnlyTheAnswerOfTheCurrentStateIsAccepted)
{
    enum Kind {
        Ack40,
        Ack4F,
        Battery,
        Ack42,
        Status12,
        Status02,
        Wave,
        ShortWave,
        ForeignWave,
        Result43,
        Unknown
    };
    const std::vector<std::pair<Kind, Bytes>> frames = {
        {Ack40, ack(0x40)},
        {Ack4F, ack(0x4F)},
        {Battery, battery(50)},
        {Ack42, ack(0x42)},
        {Status12, status(0x12)},
        {Status02, status(0x02)},
        {Wave, wave(100, 0, false, false, 0x44)},
        {ShortWave, deviceFrame(0x42, {0x01, 0x00, 0, 0, 0, 0, 0})}, // length byte 0x0E
        {ForeignWave,
         [] {
             Bytes f = wave(100, 0, false, false);
             f[2] = 0x52;
             return f;
         }()},
        {Result43, result(Result{0, 120, 80, 60})},
        {Unknown, deviceFrame(0x99, {})},
    };
    const auto accepted = [](Kind k, int s, bool triv) {
        switch (k) {
        case Ack40:
            return s == 0 || s == 1 || s == 8 || (s == 4 && !triv);
        case Ack4F:
            return s == 2;
        case Battery:
            return s == 3 || s == 9 || s == 10;
        case Ack42:
        case ShortWave:
        case ForeignWave:
            return s == 4 && triv; // code 0x42 alone answers the TRIV mode command
        case Status12:
            return s == 5;
        case Wave:
            return s == 6;
        default:
            return false;
        }
    };
    attach();
    for (bool triv : {false, true})
        for (int s = 0; s <= 10; ++s)
            for (const auto &[kind, frame] : frames) {
                SCOPED_TRACE(testing::Message() << "triv " << triv << " state " << s << " kind " << kind);
                create();
                triv ? engine->MModeStart() : engine->UModestart();
                enter(s);
                posted.clear();
                mgr.session->deliver(frame);
                if (kind == Result43) {
                    // Accepting a result sends the next command at once; the report shows it.
                    const char *report =
                        triv ? kBPaccessoryMModeReportNotification : kBPaccessoryUModeReportNotification;
                    EXPECT_EQ(count(report), s == 7 ? 1 : 0);
                } else {
                    EXPECT_EQ(engine->waitflag(), !accepted(kind, s, triv));
                }
                if (kind == Status02) {
                    EXPECT_EQ(count(kBPaccessoryZeroTracingNotification), s == 5 ? 1 : 0);
                }
                EXPECT_EQ(engine->BPState(), s == 7 && kind == Result43 ? (triv ? 4 : 10) : s);
                engine.reset();
            }
}

TEST_F(Engine, PartlyWrittenFramesAreCompletedWhenTheStreamHasSpaceAgain)
{
    attach();
    create();
    FakeSession &s = *mgr.session;
    const Bytes before = s.wire;
    s.maxPerWrite = 4;
    engine->UModestart();
    EXPECT_EQ(engine->pendingOutput(), 5u);
    engine->writeConnect(); // queued whole behind the remainder
    EXPECT_EQ(engine->pendingOutput(), 14u);
    s.event(StreamKind::Input, StreamEvent::HasSpaceAvailable); // not the output stream
    EXPECT_EQ(engine->pendingOutput(), 14u);
    while (engine->pendingOutput() > 0) {
        s.space = true;
        s.event(StreamKind::Output, StreamEvent::HasSpaceAvailable);
    }
    Bytes expected = before;
    for (const char *text : {CommandFrame::kOpen, CommandFrame::kConnect}) {
        const Bytes f = CommandFrame::fromHex(text);
        expected.insert(expected.end(), f.begin(), f.end());
    }
    EXPECT_EQ(s.wire, expected);
    EXPECT_EQ(mgr.codes(), (Codes{0x14, 0xC0, 0xA0}));

    // Nothing started and no space: the frame is dropped whole and the resend covers it.
    s.maxPerWrite = 100;
    s.space = false;
    engine->writeReadStatus();
    EXPECT_EQ(engine->pendingOutput(), 0u);
    EXPECT_EQ(s.wire, expected);
    s.space = true;
    sched.advance(500ms);
    EXPECT_EQ(mgr.codes().back(), 0x01);

    // A failed write is logged and leaves nothing behind.
    logs.clear();
    s.writeError = 1;
    engine->writeStartPump();
    EXPECT_EQ(logs, std::vector<std::string>{"device: write error"});
    EXPECT_EQ(engine->pendingOutput(), 0u);
}

TEST_F(Engine, ReadsAreCutIntoFramesAndEachFrameIsDispatchedOnceAtOnce)
{
    attach();
    create();
    engine->writeStartPump();
    FakeSession &s = *mgr.session;
    const Bytes w = wave(321, 0xABCD, true, false);
    s.deliver(Bytes(w.begin(), w.begin() + 3));
    s.deliver(Bytes(w.begin() + 3, w.begin() + 9));
    EXPECT_EQ(count(kBPaccessorySendWaveNotification), 0);
    s.deliver(Bytes(w.begin() + 9, w.end()));
    EXPECT_EQ(count(kBPaccessorySendWaveNotification), 1);
    EXPECT_EQ(engine->pressure(), 321);
    EXPECT_EQ(engine->pulse(), 0xABCD);

    // The frame's body in buf, zeros after it, as a one-frame read would give.
    std::array<std::uint8_t, BPAccessory::kBufSize> body{};
    std::copy(w.begin() + 2, w.end(), body.begin());
    EXPECT_EQ(engine->buf(), body);

    // Twenty frames with garbage between them in one 380-byte read.
    Bytes many;
    for (int i = 0; i < 20; ++i) {
        const Bytes f = wave(i, 0, false, false);
        many.insert(many.end(), f.begin(), f.end());
        many.insert(many.end(), {0x00, 0xA5, 0x5A});
    }
    posted.clear();
    s.deliver(many);
    EXPECT_EQ(count(kBPaccessorySendWaveNotification), 20);
    EXPECT_EQ(engine->pressure(), 19);

    // Errors on the stream: logged, nothing dispatched, the session stays.
    logs.clear();
    posted.clear();
    s.event(StreamKind::Input, StreamEvent::ErrorOccurred);
    s.event(StreamKind::Input, StreamEvent::HasBytesAvailable);
    s.failNextRead = true;
    s.deliver(w);
    EXPECT_EQ(logs, (std::vector<std::string>{"device: Stream error Occured", "device: no buffer!"}));
    EXPECT_TRUE(posted.empty());
    EXPECT_EQ(engine->eas(), &s);
    s.deliver({});
    EXPECT_EQ(count(kBPaccessorySendWaveNotification), 1); // the frame left by the failed read
}

TEST_F(Engine, AccessoryConnectsAndDisconnects)
{
    connected();
    mgr.attached.push_back({"dock2", {kTonaraProtocolString}});

    // Another monitor remains: still connected, on a new session.
    mgr.undock("dock");
    EXPECT_EQ(posted, std::vector<std::string>{kBPaccessoryDidConnectNotification});
    EXPECT_EQ(engine->StatsString(), "Connect");
    ASSERT_NE(engine->eas(), nullptr);
    EXPECT_EQ(mgr.session->accessory, "dock2");
    EXPECT_EQ(mgr.closedSessions, 1);

    // Only a foreign accessory left: disconnected, poll stopped, state kept.
    mgr.attached.push_back({"printer", {"com.example.printer"}});
    posted.clear();
    mgr.undock("dock2");
    EXPECT_EQ(posted, std::vector<std::string>{kBPaccessoryDidDisconnectNotification});
    EXPECT_EQ(engine->StatsString(), "Disconnect");
    EXPECT_EQ(engine->eas(), nullptr);
    EXPECT_EQ(engine->unregisteredTimer(), 0u);
    EXPECT_EQ(mgr.closedSessions, 2);
    const int state = engine->BPState();
    const std::size_t sent = mgr.commands.size();
    sched.advance(10s);
    EXPECT_EQ(mgr.commands.size(), sent);
    EXPECT_EQ(engine->BPState(), state);

    // Docked again: battery read at once, announced when answered.
    posted.clear();
    mgr.dock("dock");
    EXPECT_EQ(engine->BPState(), 9);
    EXPECT_EQ(codesSince(sched.elapsed()), Codes{0x14});
    EXPECT_TRUE(posted.empty());
    sched.advance(10ms);
    EXPECT_EQ(posted.front(), kBPaccessoryDidConnectNotification);
}

TEST_F(Engine, UndockedRightAfterItsFirstAnswerTheMonitorIsNotAnnouncedAsConnected)
{
    attach();
    mgr.device = std::ref(device);
    create();
    // The battery answer is accepted, then the monitor goes before the
    // follow-up of that answer runs.
    sched.advance(1ms);
    ASSERT_FALSE(engine->waitflag());
    mgr.undock("dock");
    sched.advance(1s);
    EXPECT_EQ(posted, std::vector<std::string>{kBPaccessoryDidDisconnectNotification});
    EXPECT_EQ(engine->StatsString(), "Disconnect");
    EXPECT_EQ(engine->unregisteredTimer(), 0u);
}

TEST_F(Engine, StopFromTheReportObserverRunsAlongsideTheBatteryPoll)
{
    connected();
    device.waves = {wave(70, 0, false, true)};
    device.results = {Result{0, 120, 80, 60}};
    // As the measurement screen does: stop the monitor when the report arrives.
    center.addObserver(kBPaccessoryUModeReportNotification,
                       [&](const std::string &, const void *) { engine->disconnectDevice(); });
    const Millis t0 = sched.elapsed();
    engine->UModestart();
    sched.advance(7s);
    const Codes sent = codesSince(t0);
    const Codes tail(sent.begin() + 7, sent.end());
    // Stop, the poll's first read, then only the 3-second ticks: no resends.
    EXPECT_EQ(tail, (Codes{0x03, 0xC0, 0x14, 0x14, 0x14}));
    EXPECT_EQ(engine->BPState(), 10);
    EXPECT_FALSE(engine->waitflag());
}

TEST_F(Engine, DestroyingTheEngineStopsEverythingItScheduled)
{
    attach();
    create(); // silent monitor: the reply wait keeps resending
    sched.advance(1200ms);
    engine->initUnregisteredTimer();
    FakeSession *s = mgr.session;
    engine.reset();
    EXPECT_EQ(mgr.session, nullptr); // closed and released
    EXPECT_EQ(mgr.closedSessions, 1);
    (void)s;
    EXPECT_EQ(center.observerCount(kAccessoryDidConnectNotification), 0u);
    EXPECT_EQ(center.observerCount(kAccessoryDidDisconnectNotification), 0u);
    sched.advance(10s);
    EXPECT_EQ(sched.pendingTimers(), 0u);
}

TEST_F(Engine, StopFromAWaveObserverWinsOverTheEndBit)
{
    connected();
    device.waves = {wave(70, 0, false, true)};
    // A command sent while the frame is dispatched clears it, so the end bit
    // is no longer seen and no result is asked for.
    center.addObserver(kBPaccessorySendWaveNotification,
                       [&](const std::string &, const void *) { engine->disconnectDevice(); });
    engine->UModestart();
    sched.advance(100ms);
    const Codes sent = mgr.codes();
    EXPECT_EQ(std::count(sent.begin(), sent.end(), 0x03), 0);
    const auto pump = std::find(sent.begin(), sent.end(), 0x82);
    ASSERT_NE(pump, sent.end());
    ASSERT_GE(sent.end() - pump, 3);
    EXPECT_EQ(pump[1], 0xC0);
    EXPECT_TRUE(std::all_of(pump + 2, sent.end(), [](std::uint8_t c) { return c == 0x14; }));
    EXPECT_EQ(engine->BPState(), 10);
}

TEST_F(Engine, AnObserverMayDestroyTheEngineFromAnyNotification)
{
    // A screen or tool that closes on a notification destroys the engine
    // while the engine is still inside the dispatch that posted it: nothing
    // may touch the engine afterwards, and nothing it scheduled may run.
    struct Case {
        const char *name;
        std::function<void()> drive;
    };
    const std::vector<Case> cases = {
        {kBPaccessoryDidConnectNotification, [] {}},
        {kBPaccessorySendBatteryPowerNotification, [] {}},
        {kBPaccessoryZeroTracingNotification,
         [this] {
             device.zeroTracingPolls = 1;
             engine->UModestart();
         }},
        {kBPaccessoryZeroTraceSuccessNotification, [this] { engine->UModestart(); }},
        {kBPaccessorySendWaveNotification,
         [this] {
             device.waves = {wave(70, 0, true, true)};
             engine->UModestart();
         }},
        {kBPaccessoryUModeReportNotification,
         [this] {
             device.waves = {wave(70, 0, true, true)};
             device.results = {Result{0, 120, 80, 60}};
             engine->UModestart();
         }},
        {kBPaccessoryMModeReportNotification,
         [this] {
             device.waves = {wave(70, 0, true, true)};
             device.results = {Result{0, 120, 80, 60}};
             engine->MModeStart();
         }},
        {kBPaccessoryReceiveStartNotification, [this] { mgr.session->deliver(startRequest(0xA1)); }},
    };
    for (const Case &c : cases) {
        SCOPED_TRACE(c.name);
        device = InstantDevice{};
        mgr.attached.clear();
        mgr.commands.clear();
        attach();
        mgr.device = std::ref(device);
        bool destroyed = false;
        const auto token = center.addObserver(c.name, [&](const std::string &, const void *) {
            if (!destroyed) {
                destroyed = true;
                engine.reset();
            }
        });
        create();
        sched.advance(20ms);
        if (engine)
            c.drive();
        ASSERT_TRUE(until([&] { return destroyed; }));
        const std::size_t sent = mgr.commands.size();
        sched.advance(10s);
        EXPECT_EQ(mgr.commands.size(), sent);
        EXPECT_EQ(sched.pendingTimers(), 0u);
        center.removeObserver(token);
    }
}
