#pragma once

#include "base/NotificationCenter.h"

#include <QString>

#include <chrono>
#include <iosfwd>
#include <memory>
#include <string>

class QEventLoop;
class QTimer;

namespace tonara {

class BPAccessory;
class SerialAccessoryManager;
class QtScheduler;
class SystemClock;

// Drives one monitor over a serial port with the real engine, prints every
// engine notification as a JSON line, and ends with the status of what it
// was asked to do.
class LinkDriver {
public:
    enum class Command { Probe, Battery, MeasureSingle, MeasureTriv };

    static constexpr int kExitReading = 0;
    static constexpr int kExitLinkFailure = 1;
    static constexpr int kExitDeviceError = 2;

    struct Options {
        QString device;
        Command command = Command::Probe;
        std::chrono::milliseconds pause{17000};   // between the readings of a TRIV series
        std::chrono::milliseconds timeout{10000}; // longest silence of the device
    };

    LinkDriver(Options options, std::ostream &out, std::ostream &err);
    ~LinkDriver();
    LinkDriver(const LinkDriver &) = delete;
    LinkDriver &operator=(const LinkDriver &) = delete;

    // Runs until the command is done or fails; returns the exit status.
    int run();

private:
    void onNotification(const std::string &name);
    void onReport(bool trivMode);
    void start();
    void armWatchdog();
    void finish(int status, const std::string &message = {});
    void finishAfterStop(int status, const std::string &message);

    Options options_;
    std::ostream &out_;
    std::ostream &err_;
    NotificationCenter center_;
    std::unique_ptr<SerialAccessoryManager> manager_;
    std::unique_ptr<QtScheduler> scheduler_;
    std::unique_ptr<SystemClock> clock_;
    std::unique_ptr<BPAccessory> engine_;
    std::unique_ptr<QTimer> watchdog_;
    std::unique_ptr<QEventLoop> loop_;
    std::vector<NotificationCenter::Token> tokens_;
    bool started_ = false;
    bool finished_ = false;
    bool inPlatformDisconnect_ = false;
    int status_ = kExitLinkFailure;
};

} // namespace tonara
