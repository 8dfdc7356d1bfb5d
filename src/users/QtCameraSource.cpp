#include "users/QtCameraSource.h"

#include <QCamera>
#include <QImageCapture>
#include <QMediaCaptureSession>
#include <QMediaDevices>
#include <QVideoWidget>

namespace tonara {

QtCameraSource::QtCameraSource(QObject *parent) : CameraSource(parent) {}

QtCameraSource::~QtCameraSource()
{
    stop();
}

bool QtCameraSource::available() const
{
    return !QMediaDevices::videoInputs().isEmpty();
}

QWidget *QtCameraSource::start(QWidget *viewParent)
{
    stop();
    const QCameraDevice device = QMediaDevices::defaultVideoInput();
    camera_ = std::make_unique<QCamera>(device);
    capture_ = std::make_unique<QImageCapture>();
    session_ = std::make_unique<QMediaCaptureSession>();
    view_ = new QVideoWidget(viewParent);
    session_->setCamera(camera_.get());
    session_->setImageCapture(capture_.get());
    session_->setVideoOutput(view_.data());
    connect(capture_.get(), &QImageCapture::imageCaptured, this, [this](int, const QImage &picture) {
        pending_ = false;
        emit captured(picture);
    });
    connect(capture_.get(), &QImageCapture::errorOccurred, this,
            [this](int, QImageCapture::Error, const QString &why) {
                pending_ = false;
                emit failed(why);
            });
    connect(capture_.get(), &QImageCapture::readyForCaptureChanged, this, [this](bool ready) {
        if (ready && pending_)
            captureWhenReady();
    });
    connect(camera_.get(), &QCamera::errorOccurred, this, [this](QCamera::Error, const QString &why) {
        pending_ = false;
        emit failed(why.isEmpty() ? tr("The camera could not be started.") : why);
    });
    camera_->start();
    return view_.data();
}

void QtCameraSource::takePicture()
{
    if (!capture_)
        return;
    pending_ = true;
    // Right after start the camera may not deliver pictures yet; the request waits for it.
    if (capture_->isReadyForCapture())
        captureWhenReady();
}

void QtCameraSource::captureWhenReady()
{
    pending_ = false;
    if (capture_->capture() < 0)
        emit failed(capture_->errorString());
}

void QtCameraSource::stop()
{
    pending_ = false;
    if (session_) {
        session_->setVideoOutput(nullptr);
        session_->setImageCapture(nullptr);
        session_->setCamera(nullptr);
    }
    if (camera_)
        camera_->stop();
    // Signals of a stopped camera would reach a panel that is gone.
    if (capture_)
        capture_->disconnect(this);
    if (camera_)
        camera_->disconnect(this);
    session_.reset();
    capture_.reset();
    camera_.reset();
    if (view_)
        view_->deleteLater();
    view_ = nullptr;
}

} // namespace tonara
