#pragma once

#include "users/UsersContext.h"

#include <QByteArray>
#include <QWidget>

#include <memory>

class QLabel;
class QLineEdit;
class QPushButton;

namespace tonara {

class DataBaseforCD;
class PhotoPicker;
class UserProfiles;

// What the create and detail screens share: the background, the photo button
// over its 80 × 80 preview, the name field and the "Done" button for the
// navigation bar. A picked picture is made 100 × 100 and kept as PNG bytes
// until the screen stores it.
class ProfileForm : public QWidget {
    Q_OBJECT
public:
    ProfileForm(const UsersContext &context, const char *screenName, const QString &photoButtonText,
                const char *photoButtonName, QWidget *parent);
    ~ProfileForm() override;

    QLineEdit *Text_name() const { return name_; }
    QLabel *image_Image() const { return preview_; }
    QPushButton *photoButton() const { return photoButton_; }
    QPushButton *doneButton() const { return done_; }
    PhotoPicker *picker() const { return picker_; }
    // PNG bytes of the picked 100 × 100 picture; empty until one is picked.
    const QByteArray &imageData() const { return imageData_; }

    // The picker's answer, as if a picture had been picked.
    void imagePickerController_didFinishPickingMedia(const QImage &picture);

signals:
    // The profile was stored (or deleted); the screen underneath shows the change.
    void finished();

protected:
    void paintEvent(QPaintEvent *event) override;
    // The name field takes the focus, so the keyboard is up at once.
    void showEvent(QShowEvent *event) override;
    void showPreview(const QPixmap &picture);
    // The "Check Name" alert for an empty name; true when the name may be stored.
    bool checkName();
    // Writes imageData to the path; on failure tells the person and returns false.
    bool writePhoto(const QString &path);

    UsersContext context_;
    std::unique_ptr<DataBaseforCD> store_;
    std::unique_ptr<UserProfiles> profiles_;

private:
    QLineEdit *name_ = nullptr;
    QLabel *preview_ = nullptr;
    QPushButton *photoButton_ = nullptr;
    QPushButton *done_ = nullptr;
    PhotoPicker *picker_ = nullptr;
    QString photoText_;
    QByteArray imageData_;
};

} // namespace tonara
