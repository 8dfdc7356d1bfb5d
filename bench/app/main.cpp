// bench_startup: start-up of the application to its first shown frame, and its
// resident memory.
//
//   bench_startup                  # 10 runs per database, figures on stdout
//   bench_startup --runs 20 --settle-ms 3000 --keep /tmp/startup
//   bench_startup --form-factor tablet         # the 768 x 1024 frame
//
// Each run is a new process: this program starts itself again in "child" mode,
// where main() does exactly what tonara's main() does (options, scale,
// QApplication, OrvelAppDelegate::didFinishLaunching, event loop) on the
// offscreen platform. So a run counts what a person waits for: exec and the
// dynamic loader, Qt's start-up, the window, the store's reads, and the first
// paint of the window flushed to the screen. Timing inside one process from
// QApplication on would leave out the first two, which are a good part of it.
//
// The child notes CLOCK_MONOTONIC (one clock for every process) at main(),
// after QApplication, after didFinishLaunching, at the first paint of the
// shown window and when control is back in the event loop after that paint,
// which is when the backing store has been flushed: that last moment is the
// "first shown frame". Then it reads its VmHWM/VmRSS, again after a settle
// time (the built-in monitor docks and answers in the meantime), and quits.
//
// Databases: "new" (no file; the app makes it, a first launch), "empty" (the
// schema with five users and no readings) and "household" (five users, ten
// years, 100,000 readings). One unrecorded warm-up run each, so the figures
// are for a warm page cache. At the end the real tonara binary is started on
// the household database and its VmHWM read from /proc after the settle time,
// to check that the harness's memory is the application's.

#include "HouseholdDatabase.h"

#include "app/OrvelAppDelegate.h"
#include "base/Log.h"

#include <QApplication>
#include <QMainWindow>
#include <QMetaObject>
#include <QTimer>
#include <QWidget>
#include <QWindow>

#include <algorithm>
#include <cerrno>
#include <csignal>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <ctime>
#include <fcntl.h>
#include <filesystem>
#include <fstream>
#include <map>
#include <poll.h>
#include <spawn.h>
#include <string>
#include <sys/wait.h>
#include <tuple>
#include <unistd.h>
#include <vector>

extern char **environ;

namespace {

namespace fs = std::filesystem;

long long nowNs()
{
    timespec ts{};
    clock_gettime(CLOCK_MONOTONIC, &ts);
    return static_cast<long long>(ts.tv_sec) * 1000000000LL + ts.tv_nsec;
}

// VmHWM and VmRSS in kB from /proc/<pid>/status ("self" for this process).
std::pair<long, long> residentKb(const std::string &pid)
{
    std::ifstream in("/proc/" + pid + "/status");
    long hwm = -1, rss = -1;
    std::string line;
    while (std::getline(in, line)) {
        if (line.rfind("VmHWM:", 0) == 0)
            hwm = std::atol(line.c_str() + 6);
        else if (line.rfind("VmRSS:", 0) == 0)
            rss = std::atol(line.c_str() + 6);
    }
    return {hwm, rss};
}

// ---- child: tonara's main() with stamps ------------------------------------

class FirstFrameWatch : public QObject {
public:
    FirstFrameWatch(const tonara::OrvelAppDelegate &delegate, int settleMs, long long mainNs, long long appNs)
        : delegate_(delegate), settleMs_(settleMs), mainNs_(mainNs), appNs_(appNs)
    {}
    long long launchedNs = 0;

protected:
    bool eventFilter(QObject *watched, QEvent *event) override
    {
        if (paintNs_ || event->type() != QEvent::Paint || !watched->isWidgetType())
            return false;
        QMainWindow *window = delegate_.window();
        auto *widget = static_cast<QWidget *>(watched);
        // Paints into a grab() or render() of a hidden window do not count.
        if (!window || widget->window() != window || !window->windowHandle() ||
            !window->windowHandle()->isExposed())
            return false;
        paintNs_ = nowNs();
        // Runs once the expose or update that is painting now has flushed.
        QMetaObject::invokeMethod(
            this, [this] { frameShown(); }, Qt::QueuedConnection);
        return false;
    }

private:
    void frameShown()
    {
        const long long frameNs = nowNs();
        const std::pair<long, long> atFrame = residentKb("self");
        QTimer::singleShot(settleMs_, this, [this, frameNs, atFrame] {
            const auto [hwm, rss] = atFrame;
            const auto [hwmSettled, rssSettled] = residentKb("self");
            std::printf("STAMPS %lld %lld %lld %lld %lld %ld %ld %ld %ld\n", mainNs_, appNs_, launchedNs,
                        paintNs_, frameNs, hwm, rss, hwmSettled, rssSettled);
            std::fflush(stdout);
            QCoreApplication::quit();
        });
    }

    const tonara::OrvelAppDelegate &delegate_;
    int settleMs_;
    long long mainNs_, appNs_, paintNs_ = 0;
};

// argv: program --child SETTLE_MS [tonara options...]
int childMain(int argc, char **argv, long long mainNs)
{
    const int settleMs = std::atoi(argv[2]);
    // From here on, what tonara's main() does with its arguments.
    QStringList args{QStringLiteral("tonara")};
    for (int i = 3; i < argc; ++i)
        args << QString::fromLocal8Bit(argv[i]);
    QCoreApplication::setApplicationName(QStringLiteral("tonara"));
    QCoreApplication::setOrganizationName(QStringLiteral("Tonara"));
    tonara::AppOptions options;
    QString message;
    if (!tonara::OrvelAppDelegate::parseOptions(args, &options, &message)) {
        std::fprintf(stderr, "%s\n", qPrintable(message));
        return 2;
    }
    if (options.scale != 1.0)
        qputenv("QT_SCALE_FACTOR", QByteArray::number(options.scale));
    QGuiApplication::setHighDpiScaleFactorRoundingPolicy(Qt::HighDpiScaleFactorRoundingPolicy::PassThrough);

    int qtArgc = 1;
    QApplication app(qtArgc, argv);
    const long long appNs = nowNs();
    tonara::OrvelAppDelegate delegate(options);
    FirstFrameWatch watch(delegate, settleMs, mainNs, appNs);
    app.installEventFilter(&watch);
    if (!delegate.didFinishLaunching())
        return 1;
    watch.launchedNs = nowNs();
    return QApplication::exec();
}

// ---- parent ------------------------------------------------------------------

struct Run {
    double mainMs = 0, appMs = 0, launchedMs = 0, paintMs = 0, frameMs = 0; // from the spawn
    long hwmKb = 0, rssKb = 0, hwmSettledKb = 0, rssSettledKb = 0;
};

// Starts program with args and QT_QPA_PLATFORM=offscreen; stdout to a pipe
// when wanted, stderr to the log file. Returns the pid, or -1.
pid_t spawn(const std::vector<std::string> &args, int *stdoutFd, const std::string &logPath)
{
    std::vector<std::string> env;
    for (char **e = environ; *e; ++e)
        if (std::strncmp(*e, "QT_QPA_PLATFORM=", 16) != 0)
            env.emplace_back(*e);
    env.emplace_back("QT_QPA_PLATFORM=offscreen");
    std::vector<char *> envp, argv;
    for (auto &e : env)
        envp.push_back(e.data());
    envp.push_back(nullptr);
    std::vector<std::string> argsCopy = args;
    for (auto &a : argsCopy)
        argv.push_back(a.data());
    argv.push_back(nullptr);

    int pipeFds[2] = {-1, -1};
    if (stdoutFd && pipe(pipeFds) != 0)
        return -1;
    posix_spawn_file_actions_t actions;
    posix_spawn_file_actions_init(&actions);
    if (stdoutFd) {
        posix_spawn_file_actions_adddup2(&actions, pipeFds[1], STDOUT_FILENO);
        posix_spawn_file_actions_addclose(&actions, pipeFds[0]);
        posix_spawn_file_actions_addclose(&actions, pipeFds[1]);
    } else {
        posix_spawn_file_actions_addopen(&actions, STDOUT_FILENO, "/dev/null", O_WRONLY, 0);
    }
    posix_spawn_file_actions_addopen(&actions, STDERR_FILENO, logPath.c_str(), O_WRONLY | O_CREAT | O_APPEND,
                                     0644);
    pid_t pid = -1;
    const int rc = posix_spawn(&pid, argv[0], &actions, nullptr, argv.data(), envp.data());
    posix_spawn_file_actions_destroy(&actions);
    if (stdoutFd) {
        close(pipeFds[1]);
        if (rc != 0) {
            close(pipeFds[0]);
            return -1;
        }
        *stdoutFd = pipeFds[0];
    }
    return rc == 0 ? pid : -1;
}

bool runOnce(const std::string &self, const std::string &dataDir, const std::string &formFactor, int settleMs,
             const std::string &logPath, Run *out)
{
    int fd = -1;
    const long long spawnNs = nowNs();
    const pid_t pid =
        spawn({self, "--child", std::to_string(settleMs), "--data-dir", dataDir, "--form-factor", formFactor},
              &fd, logPath);
    if (pid < 0)
        return false;
    std::string text;
    char buf[512];
    const long long deadline = nowNs() + 60LL * 1000000000LL;
    while (nowNs() < deadline) {
        pollfd p{fd, POLLIN, 0};
        if (poll(&p, 1, 1000) <= 0)
            continue;
        const ssize_t n = read(fd, buf, sizeof buf);
        if (n <= 0)
            break;
        text.append(buf, std::size_t(n));
    }
    close(fd);
    int status = 0;
    if (text.find("STAMPS") == std::string::npos) {
        kill(pid, SIGKILL); // hung or crashed before its first frame
        waitpid(pid, &status, 0);
        return false;
    }
    waitpid(pid, &status, 0);
    long long mainNs, appNs, launchedNs, paintNs, frameNs;
    if (std::sscanf(text.c_str() + text.find("STAMPS"), "STAMPS %lld %lld %lld %lld %lld %ld %ld %ld %ld",
                    &mainNs, &appNs, &launchedNs, &paintNs, &frameNs, &out->hwmKb, &out->rssKb,
                    &out->hwmSettledKb, &out->rssSettledKb) != 9)
        return false;
    auto ms = [spawnNs](long long ns) { return double(ns - spawnNs) / 1e6; };
    out->mainMs = ms(mainNs);
    out->appMs = ms(appNs);
    out->launchedMs = ms(launchedNs);
    out->paintMs = ms(paintNs);
    out->frameMs = ms(frameNs);
    return WIFEXITED(status) && WEXITSTATUS(status) == 0;
}

double median(std::vector<double> v)
{
    std::sort(v.begin(), v.end());
    const std::size_t n = v.size();
    return n % 2 ? v[n / 2] : (v[n / 2 - 1] + v[n / 2]) / 2;
}

template <typename F> std::vector<double> column(const std::vector<Run> &runs, F f)
{
    std::vector<double> v;
    for (const Run &r : runs)
        v.push_back(double(f(r)));
    return v;
}

void report(const char *name, const std::vector<Run> &runs)
{
    const auto frame = column(runs, [](const Run &r) { return r.frameMs; });
    const auto [lo, hi] = std::minmax_element(frame.begin(), frame.end());
    std::printf("%-10s %4zu  %6.1f %6.1f %6.1f   %5.1f %5.1f %6.1f %5.1f %5.1f   %5.1f %5.1f  %5.1f %5.1f\n",
                name, runs.size(), *lo, median(frame), *hi,
                median(column(runs, [](const Run &r) { return r.mainMs; })),
                median(column(runs, [](const Run &r) { return r.appMs - r.mainMs; })),
                median(column(runs, [](const Run &r) { return r.launchedMs - r.appMs; })),
                median(column(runs, [](const Run &r) { return r.paintMs - r.launchedMs; })),
                median(column(runs, [](const Run &r) { return r.frameMs - r.paintMs; })),
                median(column(runs, [](const Run &r) { return r.hwmKb; })) / 1024.0,
                median(column(runs, [](const Run &r) { return r.rssKb; })) / 1024.0,
                median(column(runs, [](const Run &r) { return r.hwmSettledKb; })) / 1024.0,
                median(column(runs, [](const Run &r) { return r.rssSettledKb; })) / 1024.0);
    std::fflush(stdout);
}

// The real tonara on the folder: VmHWM/VmRSS after settleMs, then SIGTERM.
bool realTonaraMemory(const std::string &dataDir, const std::string &formFactor, int settleMs,
                      const std::string &logPath, long *hwmKb, long *rssKb)
{
    const pid_t pid =
        spawn({TONARA_APP_PATH, "--data-dir", dataDir, "--form-factor", formFactor}, nullptr, logPath);
    if (pid < 0)
        return false;
    usleep(useconds_t(settleMs) * 1000);
    int status = 0;
    const bool alive = waitpid(pid, &status, WNOHANG) == 0;
    if (alive) {
        std::tie(*hwmKb, *rssKb) = residentKb(std::to_string(pid));
        kill(pid, SIGTERM);
        waitpid(pid, &status, 0);
    }
    return alive && *hwmKb > 0;
}

int parentMain(int argc, char **argv)
{
    int runs = 10, settleMs = 2000;
    std::string keep, formFactor = "phone480";
    for (int i = 1; i < argc; ++i) {
        const std::string a = argv[i];
        if (a == "--runs" && i + 1 < argc)
            runs = std::max(1, std::atoi(argv[++i]));
        else if (a == "--settle-ms" && i + 1 < argc)
            settleMs = std::max(0, std::atoi(argv[++i]));
        else if (a == "--form-factor" && i + 1 < argc)
            formFactor = argv[++i];
        else if (a == "--keep" && i + 1 < argc)
            keep = argv[++i];
        else {
            std::fprintf(
                a == "--help" ? stdout : stderr,
                "usage: bench_startup [--runs N] [--settle-ms MS] [--form-factor NAME] [--keep DIR]\n"
                "  --runs N            recorded runs per database after one warm-up (default 10)\n"
                "  --settle-ms MS      how long each run stays up after its first frame (default 2000)\n"
                "  --form-factor NAME  phone480, phone568 or tablet (default phone480)\n"
                "  --keep DIR          make the databases in DIR and leave them there\n");
            return a == "--help" ? 0 : 2;
        }
    }
    {
        // The application's own check, before any database is made.
        tonara::AppOptions options;
        QString message;
        if (!tonara::OrvelAppDelegate::parseOptions({QStringLiteral("tonara"),
                                                     QStringLiteral("--form-factor"),
                                                     QString::fromStdString(formFactor)},
                                                    &options, &message)) {
            std::fprintf(stderr, "%s\n", qPrintable(message));
            return 2;
        }
    }
    std::string root = keep;
    if (root.empty()) {
        std::string pattern = (fs::temp_directory_path() / "tonara-startup-XXXXXX").string();
        if (!mkdtemp(pattern.data())) {
            std::perror("mkdtemp");
            return 1;
        }
        root = pattern;
    }
    fs::create_directories(root);
    const std::string self = fs::read_symlink("/proc/self/exe").string();
    const std::string logPath = (fs::path(root) / "children.log").string();

    // The storage layer's log lines while the databases are made are not wanted here.
    tonara::Log::setSink([](const std::string &, const std::string &) {});
    std::string error;
    const std::string empty = (fs::path(root) / "empty").string();
    const std::string household = (fs::path(root) / "household").string();
    const long long buildNs = nowNs();
    if (!tonara::HouseholdDatabase::write(empty, {5, 10, 0}, &error) ||
        !tonara::HouseholdDatabase::write(household, {}, &error)) {
        std::fprintf(stderr, "cannot make the databases: %s\n", error.c_str());
        return 1;
    }
    const auto fileMb = [](const std::string &dir) {
        return double(fs::file_size(fs::path(dir) / "TonaraDock.sqlite")) / (1024.0 * 1024.0);
    };
    std::printf("databases in %s (household: 100,000 readings, %.1f MB, made in %.1f s)\n", root.c_str(),
                fileMb(household), double(nowNs() - buildNs) / 1e9);
    std::string load;
    std::getline(std::ifstream("/proc/loadavg"), load);
    std::printf("tonara --form-factor %s start-up on QT_QPA_PLATFORM=offscreen, %d runs each after one "
                "warm-up, %d ms settle; "
                "%ld CPUs, load %s\n\n",
                formFactor.c_str(), runs, settleMs, sysconf(_SC_NPROCESSORS_ONLN),
                load.substr(0, load.find(' ')).c_str());
    const char *row = "%-10s %4s  %6s %6s %6s   %5s %5s %6s %5s %5s   %5s %5s  %5s %5s\n";
    std::printf(row, "", "", "first", "shown", "frame", "spawn", "main", "QApp", "launch", "paint", "at",
                "frame", "settled", "");
    std::printf(row, "database", "runs", "min", "median", "max", ">main", ">QApp", ">launch", ">paint",
                ">shown", "HWM", "RSS", "HWM", "RSS");
    std::printf("%-10s %4s  %20s   %31s   %25s\n", "", "", "(ms)", "(medians, ms)", "(resident MB, medians)");

    bool failed = false;
    int fresh = 0;
    const std::vector<std::pair<const char *, std::string>> cases = {
        {"new", ""}, {"empty", empty}, {"household", household}};
    for (const auto &[name, folder] : cases) {
        std::vector<Run> recorded;
        for (int i = 0; i <= runs; ++i) {
            // A first launch each time: a folder with nothing in it.
            const std::string dir =
                folder.empty() ? (fs::path(root) / ("new-" + std::to_string(fresh++))).string() : folder;
            Run r;
            if (!runOnce(self, dir, formFactor, settleMs, logPath, &r)) {
                std::fprintf(stderr, "%s: run %d failed (see %s)\n", name, i, logPath.c_str());
                failed = true;
                continue;
            }
            if (i > 0)
                recorded.push_back(r);
        }
        if (!recorded.empty())
            report(name, recorded);
    }

    long hwm = 0, rss = 0;
    if (realTonaraMemory(household, formFactor, 1000 + settleMs, logPath, &hwm, &rss))
        std::printf(
            "\nreal tonara on the household database, %d ms after its start: VmHWM %.1f MB, VmRSS %.1f MB\n",
            1000 + settleMs, double(hwm) / 1024.0, double(rss) / 1024.0);
    else {
        std::printf("\nreal tonara (%s) did not stay up; see %s\n", TONARA_APP_PATH, logPath.c_str());
        failed = true;
    }

    // A failed run's log stays for reading.
    if (keep.empty() && !failed)
        fs::remove_all(root);
    return failed ? 1 : 0;
}

} // namespace

int main(int argc, char **argv)
{
    const long long mainNs = nowNs();
    if (argc >= 3 && std::strcmp(argv[1], "--child") == 0)
        return childMain(argc, argv, mainNs);
    return parentMain(argc, argv);
}
