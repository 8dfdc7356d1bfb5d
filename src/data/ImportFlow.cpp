#include "data/ImportFlow.h"

#include "base/AlertSink.h"
#include "base/Clock.h"
#include "data/ImportPreview.h"
#include "storage/DBHelper.h"

#include <QFile>
#include <QFileDialog>
#include <QFileInfo>
#include <QStandardPaths>

namespace tonara {

void ImportFlow::refuse(AlertSink &alerts, const QString &title, const QString &message)
{
    alerts.showAlert(title.toStdString(), message.toStdString(), {tr("OK").toStdString()});
}

ImportPreview *ImportFlow::run(QWidget *parent, DBHelper &db, int user, AlertSink &alerts, const Clock *clock)
{
    const QString start = QStandardPaths::writableLocation(QStandardPaths::DocumentsLocation);
    const QString path = QFileDialog::getOpenFileName(parent, tr("Import readings"), start,
                                                      tr("CSV files (*.csv *.txt);;All files (*)"));
    if (path.isEmpty())
        return nullptr;
    return open(parent, db, user, path, alerts, clock);
}

ImportPreview *ImportFlow::open(QWidget *parent, DBHelper &db, int user, const QString &path,
                                AlertSink &alerts, const Clock *clock)
{
    const QString fileName = QFileInfo(path).fileName();
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly)) {
        refuse(alerts, tr("The file cannot be read"),
               tr("%1 could not be opened: %2").arg(fileName, file.errorString()));
        return nullptr;
    }
    if (file.size() > kMaxFileBytes) {
        refuse(alerts, tr("The file is too large"),
               tr("%1 is larger than a diary of readings can be. Nothing was imported.").arg(fileName));
        return nullptr;
    }
    const QByteArray bytes = file.readAll();
    if (file.error() != QFileDevice::NoError) {
        refuse(alerts, tr("The file cannot be read"), tr("%1: %2").arg(fileName, file.errorString()));
        return nullptr;
    }
    auto *preview = new ImportPreview({&db, user, clock}, bytes.toStdString(), fileName, parent);
    if (preview->plan().rows.empty()) {
        delete preview;
        refuse(alerts, tr("No readings in the file"), tr("%1 holds no rows of readings.").arg(fileName));
        return nullptr;
    }
    preview->present();
    return preview;
}

} // namespace tonara
