#pragma once

#include <QImage>
#include <QObject>
#include <QString>

class QWidget;

namespace tonara {

// A camera for a profile photo: a live view while it runs and one still
// picture on request. The system's camera is QtCameraSource; tests put a
// source of frames of their own in its place.
class CameraSource : public QObject {
    Q_OBJECT
public:
    using QObject::QObject;

    // Whether there is a camera to take a picture with.
    virtual bool available() const = 0;
    // Starts the camera; returns its live view, made inside viewParent.
    virtual QWidget *start(QWidget *viewParent) = 0;
    // Asks for one picture: captured or failed follows.
    virtual void takePicture() = 0;
    // Stops the camera and removes its live view; nothing follows after it.
    virtual void stop() = 0;

signals:
    void captured(const QImage &picture);
    void failed(const QString &why);
};

} // namespace tonara
