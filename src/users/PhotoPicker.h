#pragma once

#include <QImage>
#include <QObject>
#include <QPointer>
#include <QString>

#include <functional>

namespace tonara {

class AlertPresenter;
class CameraPanel;
class CameraSource;

// Where a profile's picture comes from: the sheet with "Take Photo" and
// "Choose Photo". "Take Photo" opens the capture panel on the system's camera
// where there is one, and otherwise answers "not have this feature"; "Choose
// Photo" opens a file dialog on the pictures folder with every format Qt reads.
class PhotoPicker : public QObject {
    Q_OBJECT
public:
    static constexpr int kCamera = 1;
    static constexpr int kLibrary = 0;

    // Asks for a picture file; returns its path, or empty text when cancelled.
    using FileChooser = std::function<QString(QWidget *parent)>;

    PhotoPicker(AlertPresenter &alerts, QWidget *parent);
    ~PhotoPicker() override;

    // Tests put a chooser in place of the dialog.
    void setFileChooser(FileChooser chooser) { chooser_ = std::move(chooser); }
    // Tests put a camera of their own in place of the system's (taken over).
    void setCameraSource(CameraSource *camera);
    // Whether a camera can take the picture.
    bool hasCamera();
    // The capture panel while it is up.
    CameraPanel *cameraPanel() const;

    // The source sheet (addphoto_button_touch / editphoto_button_touch).
    void showSheet();
    // The sheet's answer: 0 camera, 1 library, anything else cancels.
    void actionSheet_clickedButtonAtIndex(int index);
    // The source last chosen (1 camera, 0 library).
    int CheckPthotoMode() const { return mode_; }

signals:
    // A picture was picked, as read from its file (not yet made 100 × 100).
    void picked(const QImage &picture);

private:
    void chooseFromLibrary();
    void takeWithCamera();
    CameraSource &camera();

    AlertPresenter &alerts_;
    QWidget *parentWidget_;
    FileChooser chooser_;
    int mode_ = kLibrary;
    CameraSource *camera_ = nullptr; // made when first asked for
    QPointer<CameraPanel> panel_;
};

} // namespace tonara
