#include "LinkDriver.h"

#include "EventLine.h"

#include "base/Clock.h"
#include "device/BPAccessory.h"
#include "device/BPAccessoryNotifications.h"
#include "platform/QtScheduler.h"
#include "platform/SerialAccessoryManager.h"
#include "platform/SerialAccessorySession.h"
#include "platform/SerialDevicePath.h"

#include <QElapsedTimer>
#include <QEventLoop>
#include <QTimer>

#include <iomanip>
#include <ostream>
#include <sstream>

namespace tonara {

namespace {

constexpr const char *kEngineNotifications[] = {
    kBPaccessoryDidConnectNotification,   kBPaccessoryDidDisconnectNotification,
    kBPaccessorySendWaveNotification,     kBPaccessoryUModeReportNotification,
    kBPaccessoryMModeReportNotification,  kBPaccessoryReceiveStartNotification,
    kBPaccessoryReceive3TRIVNotification, kBPaccessorySendBatteryPowerNotification,
    kBPaccessoryZeroTracingNotification,  kBPaccessoryZeroTraceSuccessNotification,
};

// How long a stop command may take to leave the port before we exit anyway.
constexpr int kStopFlushLimitMs = 500;

std::string seconds(std::chrono::milliseconds d)
{
    std::ostringstream s;
    s << std::setprecision(3) << static_cast<double>(d.count()) / 1000.0 << " s";
    return s.str();
}

} // namespace

LinkDriver::LinkDriver(Options options, std::ostream &out, std::ostream &err)
    : options_(std::move(options)), out_(out), err_(err)
{}

LinkDriver::~LinkDriver()
{
    for (auto t : tokens_)
        center_.removeObserver(t);
    engine_.reset(); // before the scheduler and manager it uses
}

int LinkDriver::run()
{
    const std::string device = options_.device.toStdString();
    if (const QString why = SerialDevicePath::problem(options_.device); !why.isEmpty()) {
        err_ << "tonara-link: " << why.toStdString() << '\n';
        return kExitLinkFailure;
    }

    SerialAccessoryManager::Options managerOptions;
    managerOptions.configuredPath = options_.device;
    managerOptions.matchUsbIds = false; // the named port and nothing else
    manager_ = std::make_unique<SerialAccessoryManager>(center_, managerOptions);
    scheduler_ = std::make_unique<QtScheduler>();
    clock_ = std::make_unique<SystemClock>();

    // A platform disconnect that finds the device still attached makes the
    // engine post its connect notification from inside ours; that one brings
    // no battery reading. Observers run in the order they were added, so one
    // before the engine's and one after bracket it.
    tokens_.push_back(
        center_.addObserver(kAccessoryDidDisconnectNotification,
                            [this](const std::string &, const void *) { inPlatformDisconnect_ = true; }));
    engine_ = std::make_unique<BPAccessory>(*manager_, *scheduler_, *clock_, center_);
    tokens_.push_back(
        center_.addObserver(kAccessoryDidDisconnectNotification,
                            [this](const std::string &, const void *) { inPlatformDisconnect_ = false; }));

    if (engine_->eas() == nullptr) {
        const QString why = manager_->lastError();
        err_ << "tonara-link: " << (why.isEmpty() ? "cannot open " + device : why.toStdString()) << '\n';
        return kExitLinkFailure;
    }
    for (const char *name : kEngineNotifications)
        tokens_.push_back(center_.addObserver(
            name, [this](const std::string &n, const void *) { onNotification(n); }, engine_.get()));

    loop_ = std::make_unique<QEventLoop>();
    watchdog_ = std::make_unique<QTimer>();
    watchdog_->setSingleShot(true);
    watchdog_->setTimerType(Qt::PreciseTimer); // a coarse timer may fire up to 5% early
    QObject::connect(watchdog_.get(), &QTimer::timeout, [this] {
        finish(kExitLinkFailure,
               "no answer from " + options_.device.toStdString() + " within " + seconds(options_.timeout));
    });
    armWatchdog();
    if (!finished_)
        loop_->exec();
    return status_;
}

void LinkDriver::armWatchdog()
{
    watchdog_->start(static_cast<int>(options_.timeout.count()));
}

void LinkDriver::onNotification(const std::string &name)
{
    if (finished_)
        return;
    out_ << EventLine::format(name, *engine_, inPlatformDisconnect_) << std::endl;
    armWatchdog();

    if (name == kBPaccessoryDidDisconnectNotification) {
        finish(kExitLinkFailure, options_.device.toStdString() + " was disconnected");
    } else if (name == kBPaccessoryDidConnectNotification) {
        // The engine goes on to start its battery poll once its observers
        // return, so a measurement is started after that, from the loop.
        if (!started_) {
            started_ = true;
            scheduler_->post([this] {
                if (!finished_)
                    start();
            });
        }
    } else if (name == kBPaccessorySendBatteryPowerNotification) {
        if (options_.command == Command::Battery)
            finish(kExitReading);
    } else if (name == kBPaccessoryUModeReportNotification) {
        onReport(false);
    } else if (name == kBPaccessoryMModeReportNotification) {
        onReport(true);
    }
}

void LinkDriver::start()
{
    switch (options_.command) {
    case Command::Probe:
        finish(kExitReading);
        break;
    case Command::Battery:
        break; // the battery poll follows the connection at once
    case Command::MeasureSingle:
        engine_->UModestart();
        break;
    case Command::MeasureTriv:
        engine_->MModeStart();
        break;
    }
}

void LinkDriver::onReport(bool trivMode)
{
    const bool measuring =
        options_.command == Command::MeasureSingle || options_.command == Command::MeasureTriv;
    if (!measuring)
        return; // a reading someone else started on the monitor
    const int code = engine_->errCode();
    if (code != 0) {
        const std::string message = "the monitor reported error " + std::to_string(code);
        // A TRIV series the engine still holds open is stopped on the device.
        if (trivMode && !engine_->measureCompleteFlag())
            finishAfterStop(kExitDeviceError, message);
        else
            finish(kExitDeviceError, message);
        return;
    }
    if (!trivMode || engine_->measureCompleteFlag()) {
        finish(kExitReading);
        return;
    }
    // Between the readings of a series the cuff deflates and the monitor is
    // quiet, so the silence bound waits with us.
    watchdog_->stop();
    QTimer::singleShot(static_cast<int>(options_.pause.count()), Qt::PreciseTimer, [this] {
        if (finished_)
            return;
        armWatchdog();
        engine_->MModeContinue();
    });
}

void LinkDriver::finish(int status, const std::string &message)
{
    if (finished_)
        return;
    finished_ = true;
    status_ = status;
    if (!message.empty())
        err_ << "tonara-link: " << message << std::endl;
    if (watchdog_)
        watchdog_->stop();
    if (loop_)
        loop_->exit(status);
}

void LinkDriver::finishAfterStop(int status, const std::string &message)
{
    engine_->disconnectDevice();
    finished_ = true; // nothing more is printed or started
    watchdog_->stop();
    auto elapsed = std::make_shared<QElapsedTimer>();
    elapsed->start();
    auto *flush = new QTimer(loop_.get());
    QObject::connect(flush, &QTimer::timeout, [this, flush, elapsed, status, message] {
        const auto *session = dynamic_cast<const SerialAccessorySession *>(engine_->eas());
        const bool drained = session == nullptr || engine_->pendingOutput() + session->pendingOutput() == 0;
        if (!drained && elapsed->elapsed() < kStopFlushLimitMs)
            return;
        flush->stop();
        finished_ = false;
        finish(status, message);
    });
    flush->start(5);
}

} // namespace tonara
