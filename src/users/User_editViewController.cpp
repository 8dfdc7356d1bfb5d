#include "users/User_editViewController.h"

#include "platform/AlertPresenter.h"
#include "storage/DBHelper.h"
#include "storage/DataBaseforCD.h"
#include "users/NavigationOf.h"
#include "users/ProfileTable.h"
#include "users/UndoBar.h"
#include "users/User_Edit_Detail.h"

#include <QPushButton>

namespace tonara {

User_editViewController::User_editViewController(const UsersContext &context, QWidget *parent)
    : QWidget(parent), context_(context)
{
    setObjectName(QStringLiteral("User_editViewController"));
    setAccessibleDescription(objectName());
    setWindowTitle(tr("Edit"));
    store_ = std::make_unique<DataBaseforCD>(*context_.db, *context_.alerts);
    table_ = ProfileTable::fillScreen(this, ProfileTable::Accessory::Disclosure, tr("Profiles to edit"));
    connect(table_, &ProfileTable::rowChosen, this, &User_editViewController::didSelectRow);
    undoBar_ = new UndoBar(context_, this);
    connect(undoBar_, &UndoBar::undone, this, &User_editViewController::viewDidLoad);
    viewDidLoad();
}

User_editViewController::~User_editViewController() = default;

void User_editViewController::viewDidLoad()
{
    store_->ReadDataBase_user_table();
    listData_.clear();
    listPhoto_.clear();
    for (std::size_t i = 0; i < store_->aArray_lastname_user.size(); ++i) {
        listData_ << QString::fromStdString(store_->aArray_lastname_user[i]);
        listPhoto_ << QString::fromStdString(store_->aArray_photo_user[i]);
    }
    table_->setProfiles(listData_, listPhoto_);
}

void User_editViewController::didSelectRow(int row)
{
    table_->clearSelection();
    NavigationController *nav = navigationOf(this);
    if (!nav || row < 0 || row >= listData_.size())
        return;
    auto *detail = new User_Edit_Detail(context_);
    detail->read_Table(row);
    nav->push(detail, context_.animations);
    nav->setRightBarWidget(detail, detail->doneButton());
    connect(detail, &User_Edit_Detail::profileDeleted, this,
            [this](const std::string &backup) { undoBar_->offer(tr("Profile deleted."), backup); });
    connect(detail, &User_Edit_Detail::finished, this, [this, nav] {
        viewDidLoad();
        nav->pop(context_.animations);
    });
    connect(detail, &User_Edit_Detail::cancelled, nav, [this, nav] { nav->pop(context_.animations); });
}

} // namespace tonara
