#pragma once

// A data folder with readings, the PDFs made from it, and their text as
// pdftotext -layout reads it back, page by page.

#include "base/Clock.h"
#include "measurement/core/ReadingStore.h"
#include "storage/DataBaseforCD.h"
#include "storage/StorageTestSupport.h"

#include <QProcess>
#include <QString>
#include <QStringList>

#include <string>

namespace tonara::test {

// Runs a program to its end; its exit code (-1 when it did not run) and output.
struct ProgramRun {
    int code = -1;
    QString out;
    QString err;
};

inline ProgramRun runProgram(const QString &program, const QStringList &args)
{
    QProcess p;
    p.start(program, args);
    ProgramRun r;
    if (!p.waitForStarted(30000) || !p.waitForFinished(120000))
        return r;
    r.code = p.exitStatus() == QProcess::NormalExit ? p.exitCode() : -1;
    r.out = QString::fromUtf8(p.readAllStandardOutput());
    r.err = QString::fromUtf8(p.readAllStandardError());
    return r;
}

// The text of each page of a PDF (pdftotext separates pages by form feeds).
inline QStringList pdfPages(const QString &path)
{
    const ProgramRun r =
        runProgram(QStringLiteral("pdftotext"), {QStringLiteral("-layout"), path, QStringLiteral("-")});
    if (r.code != 0)
        return {};
    QStringList pages = r.out.split(QChar('\f'));
    if (!pages.isEmpty() && pages.last().trimmed().isEmpty())
        pages.removeLast();
    return pages;
}

class ReportRig : public StorageTest {
protected:
    ReportRig() : store(db, alerts, clock)
    {
        LogCapture::quiet();
        DataBaseforCD(db, alerts).check_database();
    }

    void add(const std::string &date, const std::string &time, int sys, int dia, int pulse, int user = 0,
             const std::string &comment = {}, bool pad = false, bool triv = false, bool manual = false)
    {
        Reading r;
        r.date = date;
        r.time = time;
        r.sys = sys;
        r.dia = dia;
        r.pulse = pulse;
        r.user_id = user;
        r.diary = comment;
        r.is_pad = pad;
        r.is_triv = triv;
        r.triv_id = triv ? 1 : 0;
        r.is_manual = manual;
        ASSERT_TRUE(store.saveReading(r).stored);
    }
    QString file(const char *name) const { return QString::fromStdString(dir.path() + "/" + name); }

    ManualClock clock{{2026, 12, 9, 10, 0, 0}};
    ReadingStore store;
};

} // namespace tonara::test
