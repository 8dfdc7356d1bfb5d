#include "platform/SerialAccessorySession.h"
#include "platform/PseudoTerminal.h"
#include "platform/QtTestApp.h"

#include <gtest/gtest.h>

#include <QFile>
#include <QTemporaryDir>

#include <functional>
#include <numeric>
#include <vector>

namespace tonara {
namespace {

using namespace std::chrono_literals;
using test::PseudoTerminal;
using test::spinFor;
using test::spinUntil;

struct RecordedEvent {
    StreamKind stream;
    StreamEvent event;
};

// Records every event and, like the engine, drains the input 128 bytes at a
// time when told bytes are available.
class RecordingDelegate : public AccessoryStreamDelegate {
public:
    void handleEvent(StreamKind stream, StreamEvent event) override
    {
        events.push_back({stream, event});
        if (event == StreamEvent::HasBytesAvailable && session) {
            std::uint8_t chunk[128];
            const long n = session->read(chunk, drainAll ? sizeof chunk : readSize);
            if (n > 0)
                received.insert(received.end(), chunk, chunk + n);
            lastRead = n;
        }
        if (onEvent)
            onEvent(stream, event);
    }
    int count(StreamKind stream, StreamEvent event) const
    {
        int c = 0;
        for (const auto &e : events)
            c += (e.stream == stream && e.event == event) ? 1 : 0;
        return c;
    }

    AccessorySession *session = nullptr;
    bool drainAll = true;
    std::size_t readSize = 128;
    long lastRead = 0;
    std::vector<RecordedEvent> events;
    std::vector<std::uint8_t> received;
    std::function<void(StreamKind, StreamEvent)> onEvent;
};

std::vector<std::uint8_t> sequence(std::size_t n, std::uint8_t start = 0)
{
    std::vector<std::uint8_t> v(n);
    std::iota(v.begin(), v.end(), start);
    return v;
}

class SerialSessionOverPty : public ::testing::Test {
protected:
    void SetUp() override
    {
        test::qtApp();
        ASSERT_TRUE(pty.ok());
        QString error;
        session = SerialAccessorySession::openPort(pty.path(), &error);
        ASSERT_NE(session, nullptr) << error.toStdString();
        delegate.session = session.get();
        session->open(&delegate);
    }

    PseudoTerminal pty;
    RecordingDelegate delegate;
    std::unique_ptr<SerialAccessorySession> session;
};

TEST_F(SerialSessionOverPty, OpensLikeAStreamPairAndReportsSpace)
{
    EXPECT_TRUE(session->isConnected());
    EXPECT_TRUE(session->hasSpaceAvailable());
    // Open events come from the loop, not from inside open().
    EXPECT_TRUE(delegate.events.empty());
    ASSERT_TRUE(
        spinUntil([&] { return delegate.count(StreamKind::Output, StreamEvent::HasSpaceAvailable) > 0; }));
    EXPECT_EQ(delegate.count(StreamKind::Input, StreamEvent::OpenCompleted), 1);
    EXPECT_EQ(delegate.count(StreamKind::Output, StreamEvent::OpenCompleted), 1);
}

TEST_F(SerialSessionOverPty, CarriesBytesBothWaysUnchanged)
{
    // Every byte value, including the ones a cooked terminal would eat or
    // translate (CR, LF, ^C, ^D, XON/XOFF, 0xFF).
    const auto all = sequence(256);
    pty.send(all);
    ASSERT_TRUE(spinUntil([&] { return delegate.received.size() >= all.size(); }));
    EXPECT_EQ(delegate.received, all);

    const std::vector<std::uint8_t> frame{0x5A, 0xA5, 0x51, 0x4B, 0x00, 0x07,
                                          0xC0, 0x01, 0x63, 0x0D, 0x0A, 0x11};
    EXPECT_EQ(session->write(frame.data(), frame.size()), static_cast<long>(frame.size()));
    std::vector<std::uint8_t> onWire;
    ASSERT_TRUE(spinUntil([&] {
        const auto got = pty.receive();
        onWire.insert(onWire.end(), got.begin(), got.end());
        return onWire.size() >= frame.size();
    }));
    EXPECT_EQ(onWire, frame);
}

TEST_F(SerialSessionOverPty, SignalsAgainUntilASmallReaderHasDrainedABurst)
{
    // A reader taking a few bytes per event must still get the whole burst
    // without the device sending anything more.
    delegate.drainAll = false;
    delegate.readSize = 7;
    const auto burst = sequence(100, 3);
    pty.send(burst);
    ASSERT_TRUE(spinUntil([&] { return delegate.received.size() >= burst.size(); }));
    EXPECT_EQ(delegate.received, burst);
}

TEST_F(SerialSessionOverPty, TakesOnlyWhatFitsAndSignalsSpaceAgain)
{
    ASSERT_TRUE(
        spinUntil([&] { return delegate.count(StreamKind::Output, StreamEvent::HasSpaceAvailable) > 0; }));
    const int spaceEventsBefore = delegate.count(StreamKind::Output, StreamEvent::HasSpaceAvailable);

    const auto big = sequence(SerialAccessorySession::kOutputBound + 100, 1);
    const long first = session->write(big.data(), big.size());
    ASSERT_EQ(first, static_cast<long>(SerialAccessorySession::kOutputBound)) << "a partial write";
    EXPECT_FALSE(session->hasSpaceAvailable());
    EXPECT_EQ(session->write(big.data() + first, big.size() - first), 0) << "no space: nothing taken";

    ASSERT_TRUE(spinUntil([&] {
        return delegate.count(StreamKind::Output, StreamEvent::HasSpaceAvailable) > spaceEventsBefore;
    }));
    EXPECT_TRUE(session->hasSpaceAvailable());
    const long second = session->write(big.data() + first, big.size() - first);
    EXPECT_EQ(second, static_cast<long>(big.size()) - first);

    std::vector<std::uint8_t> onWire;
    ASSERT_TRUE(spinUntil([&] {
        const auto got = pty.receive();
        onWire.insert(onWire.end(), got.begin(), got.end());
        return onWire.size() >= big.size();
    }));
    EXPECT_EQ(onWire, big) << "both parts arrive in order, nothing lost or doubled";
}

TEST_F(SerialSessionOverPty, AHangUpEndsTheInputAndLaterCallsFail)
{
    pty.close();
    ASSERT_TRUE(
        spinUntil([&] { return delegate.count(StreamKind::Input, StreamEvent::EndEncountered) > 0; }));
    EXPECT_EQ(delegate.count(StreamKind::Input, StreamEvent::EndEncountered), 1);
    EXPECT_FALSE(session->isConnected());
    EXPECT_FALSE(session->hasSpaceAvailable());
    const std::uint8_t b = 0x5A;
    EXPECT_EQ(session->write(&b, 1), -1);
    std::uint8_t in[8];
    EXPECT_EQ(session->read(in, sizeof in), -1);
    // The end is reported once, not again on every check.
    spinFor(600ms);
    EXPECT_EQ(delegate.count(StreamKind::Input, StreamEvent::EndEncountered), 1);
}

TEST_F(SerialSessionOverPty, ADelegateMayDropTheSessionFromInsideAnEvent)
{
    bool dropped = false;
    delegate.onEvent = [&](StreamKind, StreamEvent event) {
        if (event == StreamEvent::HasBytesAvailable && session) {
            delegate.session = nullptr;
            session.reset();
            dropped = true;
        }
    };
    pty.send(sequence(40));
    ASSERT_TRUE(spinUntil([&] { return dropped; }));
    spinFor(50ms); // the port is released on the loop; nothing may touch the dead session
    EXPECT_EQ(session, nullptr);
}

TEST_F(SerialSessionOverPty, CloseStopsEventsAndIsSafeTwice)
{
    ASSERT_TRUE(spinUntil([&] { return !delegate.events.empty(); }));
    session->close();
    session->close();
    const auto seen = delegate.events.size();
    pty.send(sequence(10));
    spinFor(100ms);
    EXPECT_EQ(delegate.events.size(), seen);
    std::uint8_t in[8];
    EXPECT_EQ(session->read(in, sizeof in), -1);
    EXPECT_FALSE(session->isConnected());
}

TEST(SerialSessionPaths, RefusesWhatIsNotASerialDevice)
{
    test::qtApp();
    QTemporaryDir dir;
    ASSERT_TRUE(dir.isValid());
    const QString file = dir.filePath("not-a-port");
    {
        QFile f(file);
        ASSERT_TRUE(f.open(QIODevice::WriteOnly));
        f.write("5aa5");
    }
    struct Case {
        QString path;
        const char *why;
    };
    const std::vector<Case> cases{
        {file, "is not a serial device"},
        {dir.path(), "is not a serial device"},
        {"/dev/null", "is not a serial device"}, // a character device, but no terminal
        {dir.filePath("missing"), "does not exist"},
        {"", "no device path"},
    };
    for (const auto &c : cases) {
        QString error;
        EXPECT_EQ(SerialAccessorySession::openPort(c.path, &error), nullptr) << c.path.toStdString();
        EXPECT_TRUE(error.contains(c.why)) << c.path.toStdString() << ": " << error.toStdString();
        if (!c.path.isEmpty()) {
            EXPECT_TRUE(error.contains(c.path)) << "the message names the path: " << error.toStdString();
        }
    }
}

} // namespace
} // namespace tonara
