#include "SimTestSupport.h"

#include "base/NotificationCenter.h"
#include "simulator/SimulatedAccessoryManager.h"

#include <gtest/gtest.h>

#include <array>

using namespace tonara;
using namespace simtest;
using namespace std::chrono_literals;

namespace {

struct RecordingDelegate : AccessoryStreamDelegate {
    std::vector<std::pair<StreamKind, StreamEvent>> events;
    AccessorySession *session = nullptr;
    Bytes received;
    bool readOnEvent = true;
    void handleEvent(StreamKind kind, StreamEvent event) override
    {
        events.emplace_back(kind, event);
        if (readOnEvent && event == StreamEvent::HasBytesAvailable) {
            std::array<std::uint8_t, 128> buf{};
            const long n = session->read(buf.data(), buf.size());
            if (n > 0)
                received.insert(received.end(), buf.begin(), buf.begin() + n);
        }
    }
    int count(StreamEvent e) const
    {
        int n = 0;
        for (auto &ev : events)
            n += ev.second == e;
        return n;
    }
};

class ManagerTest : public ::testing::Test {
protected:
    VirtualScheduler sched;
    NotificationCenter center;
    TonaraSimulator sim{sched, 11};
    SimulatedAccessoryManager manager{sim, sched, center};
    std::vector<std::string> posted;

    void SetUp() override
    {
        for (const char *name : {kAccessoryDidConnectNotification, kAccessoryDidDisconnectNotification})
            center.addObserver(name, [this](const std::string &n, const void *sender) {
                EXPECT_EQ(sender, &manager);
                posted.push_back(n);
            });
    }

    std::unique_ptr<AccessorySession> open(RecordingDelegate &d)
    {
        const auto accessories = manager.connectedAccessories();
        EXPECT_EQ(accessories.size(), 1u);
        if (accessories.empty())
            return nullptr;
        auto session = manager.openSession(accessories[0], kTonaraProtocolString);
        EXPECT_TRUE(session);
        d.session = session.get();
        session->open(&d);
        sched.runPending();
        return session;
    }
};

TEST_F(ManagerTest, DockingPostsTheAccessoryNotificationsOnTheNextLoopTurn)
{
    sim.undock();
    sim.dock();
    sched.runPending();
    EXPECT_TRUE(posted.empty()) << "nothing before registering";

    manager.registerForLocalNotifications();
    sim.undock();
    EXPECT_TRUE(posted.empty()) << "posted from the loop, not from inside undock()";
    EXPECT_TRUE(manager.connectedAccessories().empty());
    sim.dock();
    sched.runPending();
    EXPECT_EQ(posted, (std::vector<std::string>{kAccessoryDidDisconnectNotification,
                                                kAccessoryDidConnectNotification}));
    const auto list = manager.connectedAccessories();
    ASSERT_EQ(list.size(), 1u);
    EXPECT_EQ(list[0].protocolStrings, std::vector<std::string>{kTonaraProtocolString});

    EXPECT_FALSE(manager.openSession(list[0], "com.example.other"));
    sim.undock();
    EXPECT_FALSE(manager.openSession(list[0], kTonaraProtocolString));
}

TEST_F(ManagerTest, SessionCarriesBytesThroughTheLoopBothWays)
{
    RecordingDelegate d;
    auto session = open(d);
    ASSERT_TRUE(session);
    EXPECT_EQ(d.count(StreamEvent::OpenCompleted), 2);
    EXPECT_TRUE(session->hasSpaceAvailable());
    EXPECT_TRUE(session->isConnected());

    const Bytes cmd = command(0x14);
    d.events.clear();
    EXPECT_EQ(session->write(cmd.data(), cmd.size()), static_cast<long>(cmd.size()));
    EXPECT_EQ(sim.framesReceived(), 0u) << "delivered by the loop, not inside write()";
    EXPECT_TRUE(d.events.empty());
    sched.advance(20ms);
    EXPECT_EQ(sim.framesReceived(), 1u);
    ASSERT_EQ(d.count(StreamEvent::HasBytesAvailable), 1);
    ASSERT_EQ(d.received.size(), 12u);
    EXPECT_EQ(d.received[6], 0x54);

    std::array<std::uint8_t, 8> buf{};
    EXPECT_EQ(session->read(buf.data(), buf.size()), 0) << "nothing left";
}

TEST_F(ManagerTest, ChunkLimitsSplitReadsAndWrites)
{
    manager.setReadChunkLimit(5);
    manager.setWriteChunkLimit(4);
    RecordingDelegate d;
    auto session = open(d);
    ASSERT_TRUE(session);

    const Bytes cmd = command(0x14);
    EXPECT_EQ(session->write(cmd.data(), cmd.size()), 4);
    EXPECT_FALSE(session->hasSpaceAvailable());
    EXPECT_EQ(session->write(cmd.data() + 4, cmd.size() - 4), 0);
    d.events.clear();
    sched.runPending();
    EXPECT_EQ(d.count(StreamEvent::HasSpaceAvailable), 1);
    EXPECT_EQ(session->write(cmd.data() + 4, cmd.size() - 4), 4);
    sched.runPending();
    EXPECT_EQ(session->write(cmd.data() + 8, cmd.size() - 8), 1);
    sched.advance(20ms);
    EXPECT_EQ(sim.framesReceived(), 1u) << "the pieces make one command";
    // A 12-byte answer read five bytes at a time: one event per read.
    EXPECT_EQ(d.count(StreamEvent::HasBytesAvailable), 3);
    EXPECT_EQ(d.received.size(), 12u);
}

TEST_F(ManagerTest, UndockingEndsTheSession)
{
    manager.registerForLocalNotifications();
    RecordingDelegate d;
    auto session = open(d);
    ASSERT_TRUE(session);
    sim.undock();
    sched.runPending();
    EXPECT_FALSE(session->isConnected());
    EXPECT_EQ(d.count(StreamEvent::EndEncountered), 1);
    const Bytes cmd = command(0x14);
    EXPECT_EQ(session->write(cmd.data(), cmd.size()), -1);

    // A new session after docking again talks to the device; the old one stays dead.
    sim.dock();
    sched.runPending();
    RecordingDelegate d2;
    auto again = open(d2);
    ASSERT_TRUE(again);
    EXPECT_EQ(again->write(cmd.data(), cmd.size()), static_cast<long>(cmd.size()));
    sched.advance(20ms);
    EXPECT_EQ(d2.received.size(), 12u);
    EXPECT_TRUE(d.received.empty());

    // Closing stops events even when bytes arrive later.
    again->write(cmd.data(), cmd.size());
    sched.runPending();
    again->close();
    d2.events.clear();
    sched.advance(20ms);
    EXPECT_TRUE(d2.events.empty());
}

} // namespace
