#include "users/User_CreateController.h"

#include "platform/AlertPresenter.h"
#include "storage/DBHelper.h"
#include "storage/DataBaseforCD.h"
#include "users/PhotoPicker.h"
#include "users/core/UserProfiles.h"

#include <QFile>
#include <QLineEdit>
#include <QPushButton>

namespace tonara {

User_CreateController::User_CreateController(const UsersContext &context, QWidget *parent)
    : ProfileForm(context, "User_CreateController", tr("Add\nPhoto"), "addphoto_button", parent)
{
    setWindowTitle(tr("Create"));
    connect(doneButton(), &QPushButton::clicked, this, &User_CreateController::DoneButton);
}

void User_CreateController::addphoto_button_touch()
{
    picker()->showSheet();
}

void User_CreateController::DoneButton()
{
    if (!checkName())
        return;
    store_->ReadDataBase_user_table();
    const int number = int(store_->aArray_user_user.size());
    QString path;
    if (touch_photo()) {
        path = QString::fromStdString(profiles_->photoPathFor(number));
        if (!writePhoto(path))
            return;
    }
    if (!store_->insertDataBase_user_table(number, "", "", Text_name()->text().toStdString(), "",
                                           path.toStdString(), 0, "")) {
        // The store has told the person; a photo nobody names must not stay behind.
        if (!path.isEmpty())
            QFile::remove(path);
        return;
    }
    pathoffilesave_ = path;
    emit finished();
}

} // namespace tonara
