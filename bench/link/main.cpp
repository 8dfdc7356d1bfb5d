// bench_link: the engine over a real pseudo-terminal against tonara-sim.
//
//  1. From UModestart to the start-pump command with a monitor that answers
//     at once (simulator at top speed, no zero tracing): six follow-ups of
//     about 10 ms each plus the link.
//  2. The resend interval of a silent monitor (target 0.50 s).
//
// Prints the figures; takes --runs N (default 30) and --resends N (default 10).

#include "TappedAccessoryManager.h"

#include "base/Clock.h"
#include "base/NotificationCenter.h"
#include "device/BPAccessory.h"
#include "device/BPAccessoryNotifications.h"
#include "platform/QtScheduler.h"
#include "platform/SerialAccessoryManager.h"

#include <QCoreApplication>
#include <QElapsedTimer>
#include <QProcess>
#include <QThread>

#include <algorithm>
#include <cmath>
#include <cstdio>
#include <functional>
#include <numeric>
#include <vector>

using namespace tonara;

namespace {

constexpr std::uint8_t kOpen = 0xC0;
constexpr std::uint8_t kStartPump = 0x82;

bool spinUntil(const std::function<bool()> &pred, int limitMs)
{
    QElapsedTimer t;
    t.start();
    while (!pred()) {
        if (t.elapsed() > limitMs)
            return false;
        QCoreApplication::processEvents(QEventLoop::AllEvents, 1);
        QThread::usleep(200);
    }
    return true;
}

class Sim {
public:
    bool start()
    {
        process_.start(QStringLiteral(TONARA_SIM_PATH), {"--speed", "1000", "--zero-trace", "0"});
        if (!process_.waitForStarted(5000))
            return false;
        QElapsedTimer t;
        t.start();
        while (t.elapsed() < 5000) {
            process_.waitForReadyRead(100);
            buffer_ += process_.readAllStandardOutput();
            const int nl = buffer_.indexOf('\n');
            if (nl >= 0) {
                for (const QString &w : QString::fromUtf8(buffer_.left(nl)).split(' ', Qt::SkipEmptyParts))
                    if (w.startsWith("/dev/"))
                        path = w;
                buffer_.remove(0, nl + 1);
                return !path.isEmpty();
            }
        }
        return false;
    }
    void command(const char *line)
    {
        process_.write(QByteArray(line) + '\n');
        process_.waitForBytesWritten(1000);
        // Wait for its reply line so the command has taken effect.
        QElapsedTimer t;
        t.start();
        while (t.elapsed() < 2000 && !buffer_.contains('\n')) {
            process_.waitForReadyRead(20);
            buffer_ += process_.readAllStandardOutput();
        }
        buffer_.clear();
    }
    ~Sim()
    {
        process_.write("quit\n");
        process_.closeWriteChannel();
        if (!process_.waitForFinished(2000))
            process_.kill();
        process_.waitForFinished(2000);
    }
    QString path;

private:
    QProcess process_;
    QByteArray buffer_;
};

struct Stats {
    double mean, median, min, max, stdev;
};

Stats stats(std::vector<double> v)
{
    std::sort(v.begin(), v.end());
    const double mean = std::accumulate(v.begin(), v.end(), 0.0) / static_cast<double>(v.size());
    double var = 0;
    for (double x : v)
        var += (x - mean) * (x - mean);
    return {mean, v[v.size() / 2], v.front(), v.back(), std::sqrt(var / static_cast<double>(v.size()))};
}

int argValue(int argc, char **argv, const char *name, int fallback)
{
    for (int i = 1; i + 1 < argc; ++i)
        if (std::string(argv[i]) == name)
            return std::max(1, std::atoi(argv[i + 1]));
    return fallback;
}

} // namespace

int main(int argc, char *argv[])
{
    QCoreApplication app(argc, argv);
    const int runs = argValue(argc, argv, "--runs", 30);
    const int resends = argValue(argc, argv, "--resends", 10);

    Sim sim;
    if (!sim.start()) {
        std::fprintf(stderr, "bench_link: tonara-sim did not start\n");
        return 1;
    }

    NotificationCenter center;
    SerialAccessoryManager::Options options;
    options.configuredPath = sim.path;
    options.matchUsbIds = false;
    SerialAccessoryManager serial(center, options);
    TappedAccessoryManager tap(serial);
    QtScheduler scheduler;
    SystemClock clock;
    int connects = 0, reports = 0;
    center.addObserver(kBPaccessoryDidConnectNotification,
                       [&](const std::string &, const void *) { ++connects; });
    center.addObserver(kBPaccessoryUModeReportNotification,
                       [&](const std::string &, const void *) { ++reports; });
    BPAccessory engine(tap, scheduler, clock, center);
    if (!engine.eas() || !spinUntil([&] { return connects > 0; }, 5000)) {
        std::fprintf(stderr, "bench_link: the simulated monitor did not connect on %s\n",
                     sim.path.toUtf8().constData());
        return 1;
    }
    spinUntil([] { return false; }, 100); // let the first battery poll settle

    // 1. UModestart to the start-pump command.
    std::vector<double> toPumpMs;
    for (int i = 0; i < runs; ++i) {
        tap.clear();
        const int reportsBefore = reports;
        const std::int64_t t0 = tap.nowNs();
        engine.UModestart();
        const auto pumpSent = [&] {
            return std::any_of(tap.sent().begin(), tap.sent().end(),
                               [](const auto &s) { return s.code == kStartPump; });
        };
        if (!spinUntil(pumpSent, 5000)) {
            std::fprintf(stderr, "bench_link: no start-pump command within 5 s (run %d)\n", i + 1);
            return 1;
        }
        const auto pump = std::find_if(tap.sent().begin(), tap.sent().end(),
                                       [](const auto &s) { return s.code == kStartPump; });
        toPumpMs.push_back(static_cast<double>(pump->atNs - t0) / 1e6);
        // Let the reading finish so the next run starts from an idle monitor.
        spinUntil([&] { return reports > reportsBefore; }, 5000);
        spinUntil([] { return false; }, 30);
    }

    // 2. A silent monitor: the opening command again and again.
    sim.command("silent on");
    spinUntil([] { return false; }, 50);
    tap.clear();
    engine.UModestart();
    const auto opens = [&] {
        std::vector<std::int64_t> at;
        for (const auto &s : tap.sent())
            if (s.code == kOpen)
                at.push_back(s.atNs);
        return at;
    };
    spinUntil([&] { return static_cast<int>(opens().size()) > resends; }, 2000 + resends * 1000);
    const std::vector<std::int64_t> at = opens();
    std::vector<double> intervalS;
    for (std::size_t i = 1; i < at.size(); ++i)
        intervalS.push_back(static_cast<double>(at[i] - at[i - 1]) / 1e9);
    sim.command("silent off");

    const Stats p = stats(toPumpMs);
    std::printf("UModestart -> start pump (instant monitor, %d runs): median %.1f ms, mean %.1f ms, "
                "min %.1f ms, max %.1f ms (target: within 80 ms)\n",
                runs, p.median, p.mean, p.min, p.max);
    if (intervalS.empty()) {
        std::printf("silent monitor: no resend seen\n");
        return 1;
    }
    const Stats r = stats(intervalS);
    std::printf("resend interval (silent monitor, %zu intervals): mean %.3f s, min %.3f s, max %.3f s, "
                "sd %.4f s (target: 0.50 s +- 0.05)\n",
                intervalS.size(), r.mean, r.min, r.max, r.stdev);
    return 0;
}
