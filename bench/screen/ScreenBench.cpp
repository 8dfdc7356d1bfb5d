// Wave frames from the simulated monitor at the device's own 100 per second,
// through the engine, the measurement screen and the trace redraw. Reports
// the process CPU time per wave frame and whether any frame the link
// delivered failed to reach the screen.
//
//   bench_screen                       # offscreen by default
//   bench_screen --benchmark_filter=Tablet

// Read before Qt defines its emit macro.
#include "simulator/SimulatedAccessoryManager.h"
#include "simulator/TonaraSimulator.h"

#include "base/Clock.h"
#include "base/NotificationCenter.h"
#include "base/VirtualScheduler.h"
#include "device/BPAccessory.h"
#include "device/BPAccessoryNotifications.h"
#include "device/FrameCutter.h"
#include "measurement/MeasurementMode.h"
#include "measurement/instruction_screen.h"
#include "platform/AlertPresenter.h"
#include "platform/CallCenter.h"
#include "platform/ScreenLockInhibitor.h"

#include <QApplication>

#include <benchmark/benchmark.h>

#include <ctime>
#include <memory>

using namespace tonara;
using namespace std::chrono_literals;

namespace {

double processCpuSeconds()
{
    timespec ts{};
    clock_gettime(CLOCK_PROCESS_CPUTIME_ID, &ts);
    return double(ts.tv_sec) + double(ts.tv_nsec) * 1e-9;
}

// Counts the wave frames the link hands to the engine, cutting the same
// bytes the engine reads.
class CountingSession final : public AccessorySession {
public:
    CountingSession(std::unique_ptr<AccessorySession> inner, long *waves)
        : inner_(std::move(inner)), waves_(waves)
    {}
    void open(AccessoryStreamDelegate *d) override { inner_->open(d); }
    void close() override { inner_->close(); }
    long read(std::uint8_t *buffer, std::size_t max) override
    {
        const long n = inner_->read(buffer, max);
        cutter_.append(buffer, n);
        for (auto f = cutter_.next(); !f.empty(); f = cutter_.next())
            if (f.size() > 4 && (f[4] == TonaraSimulator::kWaveSingle || f[4] == TonaraSimulator::kWaveTriv))
                ++*waves_;
        return n;
    }
    long write(const std::uint8_t *bytes, std::size_t count) override { return inner_->write(bytes, count); }
    bool hasSpaceAvailable() const override { return inner_->hasSpaceAvailable(); }
    bool isConnected() const override { return inner_->isConnected(); }

private:
    std::unique_ptr<AccessorySession> inner_;
    long *waves_;
    FrameCutter cutter_;
};

class CountingManager final : public AccessoryManager {
public:
    explicit CountingManager(AccessoryManager &inner) : inner_(inner) {}
    std::vector<AccessoryInfo> connectedAccessories() const override { return inner_.connectedAccessories(); }
    std::unique_ptr<AccessorySession> openSession(const AccessoryInfo &a, const std::string &p) override
    {
        auto s = inner_.openSession(a, p);
        if (!s)
            return nullptr;
        return std::make_unique<CountingSession>(std::move(s), &linkWaves);
    }
    void registerForLocalNotifications() override { inner_.registerForLocalNotifications(); }
    long linkWaves = 0;

private:
    AccessoryManager &inner_;
};

struct Bench {
    VirtualScheduler sched;
    ManualClock clock;
    NotificationCenter center;
    TonaraSimulator sim{sched, 3};
    SimulatedAccessoryManager sims{sim, sched, center};
    CountingManager manager{sims};
    AlertPresenter alerts;
    CallCenter calls;
    ScreenLockInhibitor lock;
    std::unique_ptr<instruction_screen> screen;
    std::unique_ptr<BPAccessory> bare; // the engine alone, without a screen
    long waves = 0;
    long reports = 0;

    bool paint = true;

    Bench(bool withScreen, FormFactor form, bool paintFrames = true) : paint(paintFrames)
    {
        MeasurementMode::reset();
        sim.setSpeed(1); // the device's own pace: 100 wave frames a second
        center.addObserver(kBPaccessorySendWaveNotification,
                           [this](const std::string &, const void *) { ++waves; });
        center.addObserver(kBPaccessoryUModeReportNotification,
                           [this](const std::string &, const void *) { ++reports; });
        if (withScreen) {
            MeasurementContext ctx;
            ctx.accessories = &manager;
            ctx.scheduler = &sched;
            ctx.clock = &clock;
            ctx.center = &center;
            ctx.alerts = &alerts;
            ctx.calls = &calls;
            ctx.screenLock = &lock;
            ctx.formFactor = form;
            ctx.animations = false;
            screen = std::make_unique<instruction_screen>(ctx);
            const QSize full = portraitPoints(form);
            screen->resize(full.width(), full.height() - 69);
            screen->show();
        } else {
            bare = std::make_unique<BPAccessory>(manager, sched, clock, center);
        }
        step(500ms);
    }
    BPAccessory &engine() { return screen ? *screen->engine() : *bare; }

    // Time moves in the device's wave steps; between them the window system
    // gets its turn, so every trace update is painted before the next frame.
    void step(std::chrono::milliseconds d)
    {
        for (auto t = 0ms; t < d; t += 10ms) {
            sched.advance(10ms);
            if (screen && paint)
                QApplication::processEvents();
        }
    }
    void measureOnce()
    {
        const long before = reports;
        if (screen) {
            screen->one_tonara();
            screen->go_measuring();
        } else {
            engine().UModestart();
        }
        while (reports == before)
            step(10ms);
        step(200ms);
    }
};

void run(benchmark::State &state, bool withScreen, FormFactor form, bool paint = true)
{
    Bench b(withScreen, form, paint);
    double cpu = 0;
    for (auto _ : state) {
        const double t0 = processCpuSeconds();
        b.measureOnce();
        cpu += processCpuSeconds() - t0;
    }
    state.counters["frames"] = double(b.waves);
    state.counters["lost"] = double(b.manager.linkWaves - b.waves);
    state.counters["cpu_us_per_frame"] = b.waves ? cpu / double(b.waves) * 1e6 : 0.0;
}

void BM_WaveFrames_EngineOnly(benchmark::State &state)
{
    run(state, false, FormFactor::Phone480);
}
// The screen's own work per frame, with no drawing at all.
void BM_WaveFrames_ScreenNoPaint_Tablet(benchmark::State &state)
{
    run(state, true, FormFactor::Tablet, false);
}
void BM_WaveFrames_ScreenAndTrace_Phone(benchmark::State &state)
{
    run(state, true, FormFactor::Phone480);
}
void BM_WaveFrames_ScreenAndTrace_Tablet(benchmark::State &state)
{
    run(state, true, FormFactor::Tablet);
}

BENCHMARK(BM_WaveFrames_EngineOnly)->Unit(benchmark::kMillisecond)->Iterations(3);
BENCHMARK(BM_WaveFrames_ScreenNoPaint_Tablet)->Unit(benchmark::kMillisecond)->Iterations(3);
BENCHMARK(BM_WaveFrames_ScreenAndTrace_Phone)->Unit(benchmark::kMillisecond)->Iterations(3);
BENCHMARK(BM_WaveFrames_ScreenAndTrace_Tablet)->Unit(benchmark::kMillisecond)->Iterations(3);

} // namespace

int main(int argc, char **argv)
{
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);
    benchmark::Initialize(&argc, argv);
    if (benchmark::ReportUnrecognizedArguments(argc, argv))
        return 1;
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    return 0;
}
