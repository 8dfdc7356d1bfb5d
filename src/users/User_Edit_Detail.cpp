#include "users/User_Edit_Detail.h"

#include <cerrno>
#include <cstdio>
#include <cstring>

#include "platform/AlertPresenter.h"
#include "storage/DBHelper.h"
#include "storage/DataBaseforCD.h"
#include "users/BackupBeforeDeletion.h"
#include "users/PhotoPicker.h"
#include "users/ProfilePhoto.h"
#include "users/core/DataSafetyNet.h"
#include "users/core/UserProfiles.h"

#include <QDir>
#include <QFile>
#include <QLineEdit>
#include <QPushButton>

namespace tonara {

User_Edit_Detail::User_Edit_Detail(const UsersContext &context, QWidget *parent)
    : ProfileForm(context, "User_Edit_Detail", tr("Edit\nPhoto"), "editphoto_button", parent)
{
    setWindowTitle(tr("Detail"));
    delete_ = new QPushButton(tr("Delete"), this);
    delete_->setObjectName(QStringLiteral("delete_button"));
    delete_->setAccessibleDescription(QStringLiteral("delete_button"));
    delete_->setAccessibleName(tr("Delete this profile"));
    delete_->setStyleSheet(
        QStringLiteral("QPushButton { color: white; background: #D9343F; border-radius: 8px; "
                       "font-weight: bold; } QPushButton:focus { border: 2px solid #2B3A4A; }"));
    delete_->setGeometry(isTablet(context_.formFactor) ? QRect(110, 300, 548, 60) : QRect(20, 150, 280, 44));
    connect(delete_, &QPushButton::clicked, this, &User_Edit_Detail::delete_button_touch);
    connect(doneButton(), &QPushButton::clicked, this, &User_Edit_Detail::DoneButtonCicked);
}

void User_Edit_Detail::read_Table(int row)
{
    store_->ReadDataBase_user_table();
    if (row < 0 || row >= int(store_->aArray_user_user.size()))
        return;
    const std::size_t r = std::size_t(row);
    user_id_ = store_->aArray_user_user[r];
    row_ = row;
    storedPhoto_ = QString::fromStdString(store_->aArray_photo_user[r]);
    Text_name()->setText(QString::fromStdString(store_->aArray_lastname_user[r]));
    Text_name()->setFocus();
    showPreview(ProfilePhoto::read(storedPhoto_));
}

void User_Edit_Detail::editphoto_button_touch()
{
    picker()->showSheet();
}

void User_Edit_Detail::DoneButtonCicked()
{
    if (user_id_ < 0 || !checkName())
        return;
    QString path = storedPhoto_;
    QString fresh;
    if (!imageData().isEmpty()) {
        // The new picture goes beside the old one first: a failed update keeps
        // the old picture with the old row.
        path = QString::fromStdString(profiles_->photoPathFor(user_id_));
        fresh = path + QStringLiteral(".new");
        if (!writePhoto(fresh))
            return;
    }
    if (!store_->updataDataBase_forUser_table(user_id_, Text_name()->text().toStdString(),
                                              path.toStdString())) {
        if (!fresh.isEmpty())
            QFile::remove(fresh);
        context_.alerts->alert(
            tr("Profile not saved"),
            tr("The new name and photo could not be written to the database. Please try again."), {tr("OK")});
        return;
    }
    // rename() puts the new file in the old one's place in one step.
    if (!fresh.isEmpty() &&
        std::rename(QFile::encodeName(fresh).constData(), QFile::encodeName(path).constData()) != 0) {
        const QString why = QString::fromLocal8Bit(std::strerror(errno));
        QFile::remove(fresh);
        context_.alerts->alert(
            tr("Photo not saved"),
            tr("The name was saved, but the new photo could not take the place of \"%1\" (%2).")
                .arg(QDir::toNativeSeparators(path), why),
            {tr("OK")});
    }
    storedPhoto_ = path;
    emit finished();
}

void User_Edit_Detail::delete_button_touch()
{
    context_.alerts->actionSheet(tr("Are you sure you want to delete the data?"), {tr("Yes"), tr("No")},
                                 [this](int index) { deleteSheet_clickedButtonAtIndex(index); });
}

void User_Edit_Detail::deleteSheet_clickedButtonAtIndex(int index)
{
    if (index != 0 || user_id_ < 0)
        return;
    backUpThenDelete(context_, DataSafetyNet::Operation::DeleteProfile, this,
                     [this](const std::string &backup) { deleteProfile(backup); });
}

void User_Edit_Detail::deleteProfile(const std::string &backup)
{
    if (!profiles_->deleteProfile(user_id_)) {
        context_.alerts->alert(
            tr("Profile not deleted"),
            tr("Nothing was deleted: %1").arg(QString::fromStdString(profiles_->lastError())), {tr("OK")});
        return;
    }
    emit profileDeleted(backup);
    emit finished();
}

void User_Edit_Detail::ConcelButtonCicked()
{
    emit cancelled();
}

} // namespace tonara
