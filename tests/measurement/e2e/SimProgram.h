#pragma once

#include <QApplication>
#include <QElapsedTimer>
#include <QProcess>
#include <QStringList>

#include <functional>

namespace screene2e {

// Runs the Qt loop until pred() holds or ms pass.
inline bool waitFor(const std::function<bool()> &pred, int ms)
{
    QElapsedTimer t;
    t.start();
    while (!pred()) {
        if (t.elapsed() > ms)
            return false;
        QApplication::processEvents(QEventLoop::AllEvents, 10);
    }
    return true;
}

// tonara-sim as a child process; its first output line names its pty.
class SimProgram {
public:
    explicit SimProgram(const QStringList &args)
    {
        process_.start(QStringLiteral(TONARA_SIM_PATH), args);
        if (!process_.waitForStarted(5000))
            return;
        QByteArray out;
        QElapsedTimer t;
        t.start();
        while (t.elapsed() < 5000 && !out.contains('\n')) {
            process_.waitForReadyRead(100);
            out += process_.readAllStandardOutput();
        }
        for (const QByteArray &word : out.left(out.indexOf('\n')).split(' '))
            if (word.startsWith("/dev/"))
                path_ = QString::fromLocal8Bit(word.trimmed());
    }
    ~SimProgram()
    {
        process_.write("quit\n");
        process_.closeWriteChannel();
        if (!process_.waitForFinished(3000)) {
            process_.kill();
            process_.waitForFinished(3000);
        }
    }
    const QString &ptyPath() const { return path_; }

private:
    QProcess process_;
    QString path_;
};

} // namespace screene2e
