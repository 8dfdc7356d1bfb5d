#include "users/Users.h"

#include "measurement/MeasurementUi.h"
#include "platform/AlertPresenter.h"
#include "platform/Artwork.h"
#include "storage/DBHelper.h"
#include "storage/DataBaseforCD.h"
#include "users/NavigationOf.h"
#include "users/ProfileTable.h"
#include "users/User_CreateController.h"
#include "users/User_editViewController.h"

#include <QPushButton>

namespace tonara {

namespace {

QPushButton *barButton(const QString &text, const char *specName, const QString &spoken, QWidget *parent)
{
    auto *b = new QPushButton(text, parent);
    MeasurementUi::name(b, QLatin1String(specName), spoken);
    b->setFlat(true);
    // The navigation bar's own button colour, like its back button.
    b->setStyleSheet(
        QStringLiteral("QPushButton { border: none; background: transparent; color: #007aff; "
                       "font-size: 17px; padding: 0 8px; } QPushButton:pressed { color: #7fbcff; }"));
    b->hide();
    return b;
}

} // namespace

Users::Users(const UsersContext &context, QWidget *parent) : QWidget(parent), context_(context)
{
    setObjectName(QStringLiteral("Users"));
    setAccessibleDescription(objectName());
    setWindowTitle(tr("User"));
    setWindowIcon(Artwork::icon(QStringLiteral("3-1-1_20.png")));
    store_ = std::make_unique<DataBaseforCD>(*context_.db, *context_.alerts);
    store_->check_database();

    table_ = ProfileTable::fillScreen(this, ProfileTable::Accessory::CheckMark, tr("Users"));
    connect(table_, &ProfileTable::rowChosen, this, &Users::didSelectRow);

    edit_ = barButton(tr("Edit"), "EditButton", tr("Edit users"), this);
    add_ = barButton(QStringLiteral("+"), "AddButton", tr("Add a user"), this);
    add_->setStyleSheet(add_->styleSheet().replace(QStringLiteral("17px"), QStringLiteral("28px")));
    connect(edit_, &QPushButton::clicked, this, &Users::EditButtonCicked);
    connect(add_, &QPushButton::clicked, this, &Users::AddButtonCicked);
}

Users::~Users() = default;

void Users::installBarButtons()
{
    if (barButtons_)
        return;
    if (NavigationController *nav = navigationOf(this)) {
        nav->setLeftBarWidget(this, edit_);
        nav->setRightBarWidget(this, add_);
        barButtons_ = true;
    }
}

void Users::showEvent(QShowEvent *event)
{
    QWidget::showEvent(event);
    installBarButtons();
    viewWillAppear();
}

bool Users::makeActive(int user)
{
    if (!store_->insertDataBase_setting_table(user, -1, -1)) {
        // Readings would otherwise go to someone other than the person on screen.
        context_.alerts->alert(tr("User not changed"),
                               tr("The choice could not be saved, so the active user stays as it was. "
                                  "Please try again."),
                               {tr("OK")});
        return false;
    }
    emit activeUserChanged(user);
    return true;
}

void Users::viewWillAppear()
{
    store_->ReadDataBase_user_table();
    if (store_->aArray_user_user.empty()) {
        // The automatic profile: there is always someone to measure for.
        store_->insertDataBase_user_table(0, "", "", tr("User").toStdString(), "", "", 0, "");
        store_->ReadDataBase_user_table();
    }
    listData_.clear();
    listPhoto_.clear();
    for (std::size_t i = 0; i < store_->aArray_lastname_user.size(); ++i) {
        listData_ << QString::fromStdString(store_->aArray_lastname_user[i]);
        listPhoto_ << QString::fromStdString(store_->aArray_photo_user[i]);
    }
    const int count = int(listData_.size());
    table_->setProfiles(listData_, listPhoto_);
    if (count == 0)
        return; // the store could not add the automatic profile and has said so

    store_->ReadDataBase_setting_table();
    int active = store_->aArray_user_id_setting.empty() ? -1 : store_->aArray_user_id_setting.back();
    // A stored number beyond the last profile (or none at all) falls back to the first user.
    if (active < 0 || active > count - 1) {
        makeActive(0);
        active = store_->activeUser();
        if (active < 0 || active > count - 1)
            active = 0;
    }
    currentIndex_ = count - 1 - active;
    setWindowTitle(listData_[currentIndex_]);
    table_->setCheckedRow(currentIndex_);
}

void Users::didSelectRow(int row)
{
    const int count = int(listData_.size());
    if (row < 0 || row >= count)
        return;
    if (!makeActive(count - row - 1)) {
        table_->clearSelection();
        return; // the old active user keeps the title and the check mark
    }
    setWindowTitle(listData_[row]);
    UserNumber = row;
    if (row != currentIndex_) {
        table_->setCheckedRow(row);
        currentIndex_ = row;
    }
    table_->clearSelection();
}

void Users::EditButtonCicked()
{
    NavigationController *nav = navigationOf(this);
    if (!nav)
        return;
    nav->push(new User_editViewController(context_), context_.animations);
}

void Users::AddButtonCicked()
{
    NavigationController *nav = navigationOf(this);
    if (!nav)
        return;
    auto *create = new User_CreateController(context_);
    nav->push(create, context_.animations);
    nav->setRightBarWidget(create, create->doneButton());
    connect(create, &User_CreateController::finished, nav, [this, nav] { nav->pop(context_.animations); });
}

} // namespace tonara
