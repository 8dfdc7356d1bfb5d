#pragma once

#include <QJsonObject>
#include <QProcess>
#include <QString>
#include <QStringList>

#include <chrono>
#include <memory>
#include <vector>

namespace tonara::e2e {

// A running tonara-sim: its pseudo-terminal path and its command input.
class SimProcess {
public:
    explicit SimProcess(const QStringList &args = {"--speed", "1000"});
    ~SimProcess();

    bool ok() const { return !ptyPath_.isEmpty(); }
    const QString &ptyPath() const { return ptyPath_; }
    const QString &startupError() const { return error_; }
    // Sends one command line; returns the simulator's answer ("OK ..." or
    // "ERROR: ..."), or an empty text when none came.
    QString command(const QString &line);
    // Ends the simulator; its pseudo-terminal goes away with it.
    void stop();

private:
    QProcess process_;
    QString ptyPath_;
    QString error_;
    QByteArray pending_;
};

// What one run of tonara-link left behind.
struct LinkRun {
    int exitCode = -1;
    bool finished = false;
    std::vector<QJsonObject> events; // one per stdout line
    QStringList badLines;            // stdout lines that are not JSON objects
    QString stderrText;
    std::chrono::milliseconds elapsed{0};

    // The events with this name, in order.
    std::vector<QJsonObject> named(const QString &event) const;
};

LinkRun runLink(const QStringList &args, std::chrono::milliseconds limit = std::chrono::milliseconds(60000));

// A tonara-link that runs while the test does something to the monitor.
class LinkProcess {
public:
    explicit LinkProcess(const QStringList &args);
    ~LinkProcess();
    // Waits until tonara-link has printed an event of this name.
    bool waitForEvent(const QString &event, std::chrono::milliseconds limit);
    // Waits for the end and collects everything.
    LinkRun finish(std::chrono::milliseconds limit);

private:
    QProcess process_;
    QByteArray seen_;
};

} // namespace tonara::e2e
