// Frames cut and dispatched per second on the receive path.
#include "base/NotificationCenter.h"
#include "base/VirtualScheduler.h"
#include "device/BPAccessory.h"
#include "device/BPAccessoryNotifications.h"
#include "device/CommandFrame.h"
#include "device/FrameCutter.h"

#include <benchmark/benchmark.h>

#include <cstring>

using namespace tonara;

namespace {

using Bytes = std::vector<std::uint8_t>;

Bytes waveFrame(int i)
{
    const Bytes body{0x51,
                     0x4B,
                     0x00,
                     0x0F,
                     0x42,
                     static_cast<std::uint8_t>(0x20 | ((i >> 8) & 0x0F)),
                     static_cast<std::uint8_t>(i),
                     0,
                     0,
                     static_cast<std::uint8_t>(i >> 3),
                     static_cast<std::uint8_t>(i),
                     0,
                     0};
    return CommandFrame::fromBody(body);
}

// n wave frames back to back, as the monitor streams them while the cuff deflates.
Bytes waveStream(int n)
{
    Bytes all;
    for (int i = 0; i < n; ++i) {
        const Bytes f = waveFrame(i);
        all.insert(all.end(), f.begin(), f.end());
    }
    return all;
}

// Serves a byte block in reads of up to the asked size; writes vanish.
class BlockSession final : public AccessorySession {
public:
    void open(AccessoryStreamDelegate *d) override { delegate = d; }
    void close() override { delegate = nullptr; }
    long read(std::uint8_t *buffer, std::size_t max) override
    {
        const std::size_t n = std::min({max, readSize, block.size() - at});
        std::memcpy(buffer, block.data() + at, n);
        at += n;
        return static_cast<long>(n);
    }
    long write(const std::uint8_t *, std::size_t count) override { return static_cast<long>(count); }
    bool hasSpaceAvailable() const override { return true; }
    bool isConnected() const override { return true; }

    AccessoryStreamDelegate *delegate = nullptr;
    Bytes block;
    std::size_t at = 0;
    std::size_t readSize = 128;
};

class OneAccessory final : public AccessoryManager {
public:
    std::vector<AccessoryInfo> connectedAccessories() const override
    {
        return {{"bench", {kTonaraProtocolString}}};
    }
    std::unique_ptr<AccessorySession> openSession(const AccessoryInfo &, const std::string &) override
    {
        auto s = std::make_unique<BlockSession>();
        session = s.get();
        return s;
    }
    void registerForLocalNotifications() override {}
    BlockSession *session = nullptr;
};

void BM_FrameCutter(benchmark::State &state)
{
    const Bytes stream = waveStream(1000);
    FrameCutter cutter;
    std::size_t frames = 0;
    for (auto _ : state) {
        for (std::size_t at = 0; at < stream.size(); at += 128) {
            const std::size_t n = std::min<std::size_t>(128, stream.size() - at);
            cutter.append(stream.data() + at, static_cast<long>(n));
            for (auto body = cutter.next(); !body.empty(); body = cutter.next()) {
                benchmark::DoNotOptimize(body.data());
                ++frames;
            }
        }
    }
    state.SetItemsProcessed(static_cast<std::int64_t>(frames));
}
BENCHMARK(BM_FrameCutter);

// Whole receive path: stream event, reads, cutting, dispatch in state 6,
// wave decoding and the wave notification to one observer (as the screen).
// The argument is the read size: 17 is one frame per read.
void BM_EngineWaveDispatch(benchmark::State &state)
{
    VirtualScheduler scheduler;
    ManualClock clock;
    NotificationCenter center;
    OneAccessory manager;
    BPAccessory engine(manager, scheduler, clock, center);
    long seen = 0;
    center.addObserver(kBPaccessorySendWaveNotification,
                       [&](const std::string &, const void *) { seen += engine.pressure(); });
    engine.writeStartPump();
    BlockSession &session = *manager.session;
    session.block = waveStream(1000);
    session.readSize = static_cast<std::size_t>(state.range(0));
    for (auto _ : state) {
        session.at = 0;
        while (session.at < session.block.size())
            session.delegate->handleEvent(StreamKind::Input, StreamEvent::HasBytesAvailable);
    }
    benchmark::DoNotOptimize(seen);
    state.SetItemsProcessed(static_cast<std::int64_t>(state.iterations()) * 1000);
    if (engine.BPState() != 6)
        state.SkipWithError("engine left the measurement state");
}
BENCHMARK(BM_EngineWaveDispatch)->Arg(17)->Arg(128);

} // namespace
