#include "users/PhotoPicker.h"

#include "platform/AlertPresenter.h"
#include "users/CameraPanel.h"
#include "users/QtCameraSource.h"

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

PhotoPicker::~PhotoPicker()
{
    // The panel lives on the screen, the camera with this: the panel stops the camera first.
    delete panel_.data();
}

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
        takeWithCamera();
    } else if (index == 1) {
        mode_ = kLibrary;
        chooseFromLibrary();
    }
}

void PhotoPicker::setCameraSource(CameraSource *camera)
{
    delete panel_.data();
    delete camera_;
    camera_ = camera;
    camera_->setParent(this);
}

CameraSource &PhotoPicker::camera()
{
    if (!camera_)
        camera_ = new QtCameraSource(this);
    return *camera_;
}

CameraPanel *PhotoPicker::cameraPanel() const
{
    return panel_.data();
}

bool PhotoPicker::hasCamera()
{
    return camera().available();
}

void PhotoPicker::takeWithCamera()
{
    if (panel_ || !parentWidget_)
        return;
    panel_ = new CameraPanel(camera(), parentWidget_);
    panel_->setGeometry(parentWidget_->rect());
    panel_->show();
    panel_->raise();
    CameraPanel *panel = panel_;
    // The taken picture goes the way of a chosen file.
    connect(panel, &CameraPanel::taken, this, [this, panel](const QImage &picture) {
        panel->deleteLater();
        if (picture.isNull()) {
            alerts_.alert(tr("Photo not taken"), tr("The camera gave no picture."), {tr("OK")});
            return;
        }
        emit picked(picture);
    });
    connect(panel, &CameraPanel::cancelled, panel, &QObject::deleteLater);
    connect(panel, &CameraPanel::failed, this, [this, panel](const QString &why) {
        panel->deleteLater();
        alerts_.alert(tr("Photo not taken"), tr("The camera could not take the photo (%1).").arg(why),
                      {tr("OK")});
    });
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
