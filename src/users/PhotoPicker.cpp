#include "users/PhotoPicker.h"

#include "platform/AlertPresenter.h"

#include <QDir>
#include <QFileDialog>
#include <QImageReader>
#include <QStandardPaths>

namespace tonara {

namespace {

QString imageFilter()
{
    QStringList patterns;
    for (const QByteArray &format : QImageReader::supportedImageFormats())
        patterns << QStringLiteral("*.") + QString::fromLatin1(format);
    return PhotoPicker::tr("Pictures (%1)").arg(patterns.join(QLatin1Char(' ')));
}

QString openDialog(QWidget *parent)
{
    QString folder = QStandardPaths::writableLocation(QStandardPaths::PicturesLocation);
    if (folder.isEmpty() || !QDir(folder).exists())
        folder = QDir::homePath();
    return QFileDialog::getOpenFileName(parent, PhotoPicker::tr("Choose Photo"), folder, imageFilter(),
                                        nullptr, QFileDialog::DontUseNativeDialog);
}

} // namespace

PhotoPicker::PhotoPicker(AlertPresenter &alerts, QWidget *parent)
    : QObject(parent), alerts_(alerts), parentWidget_(parent), chooser_(openDialog)
{}

void PhotoPicker::showSheet()
{
    alerts_.actionSheet(QString(), {tr("Take Photo"), tr("Choose Photo"), tr("Cancel")},
                        [this](int index) { actionSheet_clickedButtonAtIndex(index); });
}

void PhotoPicker::actionSheet_clickedButtonAtIndex(int index)
{
    if (index == 0) {
        if (!hasCamera()) {
            alerts_.alert(tr("Error"), tr("not have this feature"), {tr("OK")});
            return;
        }
        mode_ = kCamera;
    } else if (index == 1) {
        mode_ = kLibrary;
        chooseFromLibrary();
    }
}

void PhotoPicker::chooseFromLibrary()
{
    const QString path = chooser_(parentWidget_);
    if (path.isEmpty())
        return; // cancelled
    QImageReader reader(path);
    reader.setAutoTransform(true);
    const QImage picture = reader.read();
    if (picture.isNull()) {
        alerts_.alert(tr("Photo not read"),
                      tr("\"%1\" could not be read as a picture (%2).")
                          .arg(QDir::toNativeSeparators(path), reader.errorString()),
                      {tr("OK")});
        return;
    }
    emit picked(picture);
}

} // namespace tonara
