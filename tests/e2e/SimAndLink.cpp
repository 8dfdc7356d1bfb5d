#include "SimAndLink.h"

#include <QCoreApplication>
#include <QElapsedTimer>
#include <QJsonDocument>

namespace tonara::e2e {

namespace {

void ensureApp()
{
    static int argc = 1;
    static char name[] = "test_e2e";
    static char *argv[] = {name, nullptr};
    static QCoreApplication app(argc, argv);
}

// Takes one whole line out of the buffer, if one is there.
bool takeLine(QByteArray &buffer, QString *line)
{
    const int nl = buffer.indexOf('\n');
    if (nl < 0)
        return false;
    *line = QString::fromUtf8(buffer.left(nl)).trimmed();
    buffer.remove(0, nl + 1);
    return true;
}

} // namespace

SimProcess::SimProcess(const QStringList &args)
{
    ensureApp();
    process_.setProgram(QStringLiteral(TONARA_SIM_PATH));
    process_.setArguments(args);
    process_.setProcessChannelMode(QProcess::SeparateChannels);
    process_.start();
    if (!process_.waitForStarted(5000)) {
        error_ = "tonara-sim did not start: " + process_.errorString();
        return;
    }
    QElapsedTimer t;
    t.start();
    QString line;
    while (t.elapsed() < 5000) {
        if (takeLine(pending_, &line)) {
            // The first line names the pseudo-terminal.
            for (const QString &word : line.split(' ', Qt::SkipEmptyParts))
                if (word.startsWith("/dev/"))
                    ptyPath_ = word;
            if (ptyPath_.isEmpty())
                error_ = "tonara-sim's first line holds no device path: " + line;
            return;
        }
        process_.waitForReadyRead(100);
        pending_ += process_.readAllStandardOutput();
    }
    error_ = "tonara-sim printed no path; stderr: " + QString::fromUtf8(process_.readAllStandardError());
}

SimProcess::~SimProcess()
{
    stop();
}

void SimProcess::stop()
{
    if (process_.state() == QProcess::NotRunning)
        return;
    process_.write("quit\n");
    process_.closeWriteChannel();
    if (!process_.waitForFinished(3000)) {
        process_.kill();
        process_.waitForFinished(3000);
    }
}

QString SimProcess::command(const QString &line)
{
    process_.write((line + "\n").toUtf8());
    process_.waitForBytesWritten(1000);
    QElapsedTimer t;
    t.start();
    QString reply;
    while (t.elapsed() < 5000) {
        while (takeLine(pending_, &reply))
            if (reply.startsWith("OK") || reply.startsWith("ERROR"))
                return reply;
        process_.waitForReadyRead(50);
        pending_ += process_.readAllStandardOutput();
    }
    return {};
}

std::vector<QJsonObject> LinkRun::named(const QString &event) const
{
    std::vector<QJsonObject> out;
    for (const auto &e : events)
        if (e.value("event").toString() == event)
            out.push_back(e);
    return out;
}

namespace {

LinkRun collect(QProcess &link, QByteArray out, bool finished, std::chrono::milliseconds elapsed)
{
    LinkRun run;
    run.finished = finished;
    run.elapsed = elapsed;
    run.exitCode = finished && link.exitStatus() == QProcess::NormalExit ? link.exitCode() : -1;
    run.stderrText = QString::fromUtf8(link.readAllStandardError());
    out += link.readAllStandardOutput();
    QString line;
    while (takeLine(out, &line)) {
        if (line.isEmpty())
            continue;
        const QJsonDocument doc = QJsonDocument::fromJson(line.toUtf8());
        if (doc.isObject())
            run.events.push_back(doc.object());
        else
            run.badLines << line;
    }
    return run;
}

bool waitAndKill(QProcess &link, std::chrono::milliseconds limit)
{
    const bool finished = link.waitForFinished(static_cast<int>(limit.count()));
    if (!finished) {
        link.kill();
        link.waitForFinished(3000);
    }
    return finished;
}

} // namespace

LinkRun runLink(const QStringList &args, std::chrono::milliseconds limit)
{
    ensureApp();
    QProcess link;
    QElapsedTimer t;
    t.start();
    link.start(QStringLiteral(TONARA_LINK_PATH), args);
    if (!link.waitForStarted(5000))
        return {};
    const bool finished = waitAndKill(link, limit);
    return collect(link, {}, finished, std::chrono::milliseconds(t.elapsed()));
}

LinkProcess::LinkProcess(const QStringList &args)
{
    ensureApp();
    process_.start(QStringLiteral(TONARA_LINK_PATH), args);
    process_.waitForStarted(5000);
}

LinkProcess::~LinkProcess()
{
    if (process_.state() != QProcess::NotRunning) {
        process_.kill();
        process_.waitForFinished(3000);
    }
}

bool LinkProcess::waitForEvent(const QString &event, std::chrono::milliseconds limit)
{
    const QByteArray needle = "\"event\":\"" + event.toUtf8() + '"';
    QElapsedTimer t;
    t.start();
    while (!seen_.contains(needle)) {
        if (t.elapsed() > limit.count() || process_.state() == QProcess::NotRunning)
            return false;
        process_.waitForReadyRead(20);
        seen_ += process_.readAllStandardOutput();
    }
    return true;
}

LinkRun LinkProcess::finish(std::chrono::milliseconds limit)
{
    QElapsedTimer t;
    t.start();
    const bool finished = waitAndKill(process_, limit);
    return collect(process_, seen_, finished, std::chrono::milliseconds(t.elapsed()));
}

} // namespace tonara::e2e
