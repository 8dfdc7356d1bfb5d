#pragma once

#include "users/CameraSource.h"

#include <QPointer>

#include <memory>

class QCamera;
class QImageCapture;
class QMediaCaptureSession;
class QVideoWidget;

namespace tonara {

// The system's default camera through Qt Multimedia. Nothing of it is made
// before start(): asking whether there is a camera only lists the devices, so
// a machine without a camera or a media backend just has none.
class QtCameraSource : public CameraSource {
    Q_OBJECT
public:
    explicit QtCameraSource(QObject *parent = nullptr);
    ~QtCameraSource() override;

    bool available() const override;
    QWidget *start(QWidget *viewParent) override;
    void takePicture() override;
    void stop() override;

private:
    void captureWhenReady();

    std::unique_ptr<QMediaCaptureSession> session_;
    std::unique_ptr<QImageCapture> capture_;
    std::unique_ptr<QCamera> camera_;
    QPointer<QVideoWidget> view_;
    bool pending_ = false;
};

} // namespace tonara
