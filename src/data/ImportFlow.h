#pragma once

// Importing readings into the active user's diary, from the "Backup and
// data" panel: a file picker, then the preview over the phone's display.
//
//   ImportPreview *preview = ImportFlow::run(display, db, user, alerts);
//   if (preview)   // null when no file was picked or it could not be read (the alert said why)
//       connect(preview, &ImportPreview::finished, screen, [](int imported) { if (imported) refresh(); });
//
// open() skips the picker (tests, a file dropped on the window). A file that
// cannot be read, is too large to be a diary, or holds no rows is refused
// with an alert in plain words, and nothing is shown.

#include <QCoreApplication>
#include <QString>

class QWidget;

namespace tonara {

class AlertSink;
class Clock;
class DBHelper;
class ImportPreview;

class ImportFlow {
    Q_DECLARE_TR_FUNCTIONS(ImportFlow)

public:
    // A diary of decades of readings stays far below this.
    static constexpr qint64 kMaxFileBytes = 32 * 1024 * 1024;

    static ImportPreview *run(QWidget *parent, DBHelper &db, int user, AlertSink &alerts,
                              const Clock *clock = nullptr);
    static ImportPreview *open(QWidget *parent, DBHelper &db, int user, const QString &path,
                               AlertSink &alerts, const Clock *clock = nullptr);

private:
    static void refuse(AlertSink &alerts, const QString &title, const QString &message);
};

} // namespace tonara
