#include "users/ProfileForm.h"

#include "measurement/MeasurementUi.h"
#include "platform/AlertPresenter.h"
#include "platform/Artwork.h"
#include "storage/DBHelper.h"
#include "storage/DataBaseforCD.h"
#include "users/PhotoPicker.h"
#include "users/ProfilePhoto.h"
#include "users/core/UserProfiles.h"

#include <QDir>
#include <QLabel>
#include <QLineEdit>
#include <QPainter>
#include <QPushButton>
#include <QTimer>
#include <QToolButton>

namespace tonara {

ProfileForm::ProfileForm(const UsersContext &context, const char *screenName, const QString &photoButtonText,
                         const char *photoButtonName, QWidget *parent)
    : QWidget(parent), context_(context), photoText_(photoButtonText)
{
    setObjectName(QLatin1String(screenName));
    setAccessibleDescription(QLatin1String(screenName));
    store_ = std::make_unique<DataBaseforCD>(*context_.db, *context_.alerts);
    profiles_ = std::make_unique<UserProfiles>(
        *store_, *context_.db, QDir::toNativeSeparators(context_.documentsFolder).toStdString());
    store_->check_database();

    const bool tablet = isTablet(context_.formFactor);
    const QRect photoRect = tablet ? QRect(110, 70, 160, 160) : QRect(55, 35, 80, 80);
    preview_ = new QLabel(this);
    MeasurementUi::name(preview_, "image_Image", tr("Photo"));
    preview_->setGeometry(photoRect);
    preview_->setScaledContents(true);
    preview_->setStyleSheet(
        QStringLiteral("QLabel { border: 1px dashed #8A99A8; background: rgba(255,255,255,120); }"));

    // A clear button over the preview, so the picture shows through it.
    photoButton_ = new QPushButton(photoButtonText, this);
    MeasurementUi::name(photoButton_, photoButtonName,
                        QString(photoButtonText).replace(QLatin1Char('\n'), QLatin1Char(' ')));
    photoButton_->setGeometry(photoRect);
    photoButton_->setFlat(true);
    photoButton_->setStyleSheet(
        QStringLiteral("QPushButton { color: black; background: transparent; border: none; }"
                       "QPushButton:focus { border: 2px solid #1F8FD6; }"));

    name_ = new QLineEdit(this);
    MeasurementUi::name(name_, "Text_name", tr("Name"));
    QFont f = name_->font();
    f.setPixelSize(tablet ? 30 : 15);
    name_->setFont(f);
    name_->setClearButtonEnabled(true);
    // The field's clear button comes without words; screen readers reach it too.
    for (QToolButton *clear : name_->findChildren<QToolButton *>())
        MeasurementUi::name(clear, "Text_name_clear", tr("Clear the name"));
    name_->setStyleSheet(QStringLiteral("QLineEdit { border: 1px solid #8A99A8; border-radius: 6px; "
                                        "padding: 2px 6px; background: white; color: black; }"));
    name_->setGeometry(tablet ? QRect(300, 120, 400, 50) : QRect(150, 58, 150, 34));

    done_ = new QPushButton(tr("Done"));
    MeasurementUi::name(done_, "DoneButton", tr("Done"));
    done_->setParent(this);
    done_->setStyleSheet(
        QStringLiteral("QPushButton { border: none; background: transparent; color: #007aff; "
                       "font-size: 17px; font-weight: 600; padding: 0 8px; }"
                       "QPushButton:pressed { color: #7fbcff; }"));
    done_->hide();

    picker_ = new PhotoPicker(*context_.alerts, this);
    connect(photoButton_, &QPushButton::clicked, picker_, &PhotoPicker::showSheet);
    connect(picker_, &PhotoPicker::picked, this, &ProfileForm::imagePickerController_didFinishPickingMedia);
    connect(name_, &QLineEdit::returnPressed, done_, &QPushButton::click);
}

ProfileForm::~ProfileForm() = default;

void ProfileForm::imagePickerController_didFinishPickingMedia(const QImage &picture)
{
    const QImage small = ProfilePhoto::narrow_image(picture);
    imageData_ = ProfilePhoto::pngBytes(small);
    showPreview(QPixmap::fromImage(small));
}

void ProfileForm::showPreview(const QPixmap &picture)
{
    preview_->setPixmap(picture);
    // With a picture the button's words would hide it; they stay for screen readers.
    photoButton_->setText(picture.isNull() ? photoText_ : QString());
}

bool ProfileForm::checkName()
{
    if (!name_->text().isEmpty())
        return true;
    context_.alerts->alert(tr("Check Name"), QString(), {tr("OK")});
    return false;
}

bool ProfileForm::writePhoto(const QString &path)
{
    QString error;
    if (ProfilePhoto::write(path, imageData_, &error))
        return true;
    context_.alerts->alert(tr("Photo not saved"),
                           tr("The photo could not be written to \"%1\" (%2). Nothing was changed.")
                               .arg(QDir::toNativeSeparators(path), error),
                           {tr("OK")});
    return false;
}

void ProfileForm::showEvent(QShowEvent *event)
{
    QWidget::showEvent(event);
    name_->setFocus();
}

void ProfileForm::paintEvent(QPaintEvent *)
{
    QPainter p(this);
    p.drawPixmap(rect(), Artwork::pixmap(QStringLiteral("index_bk.jpg"), size(), devicePixelRatioF()));
}

} // namespace tonara
