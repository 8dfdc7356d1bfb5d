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

} // namespace tonara::e2e
