#pragma once

#include "users/UsersContext.h"

#include <QStringList>
#include <QWidget>

#include <memory>

namespace tonara {

class DataBaseforCD;
class ProfileTable;
class UndoBar;

// The profiles for editing ("Edit"): every row leads to its detail screen.
class User_editViewController : public QWidget {
    Q_OBJECT
public:
    explicit User_editViewController(const UsersContext &context, QWidget *parent = nullptr);
    ~User_editViewController() override;

    // Reads the profiles again and redraws the list.
    void viewDidLoad();
    // Pushes the detail screen of that row.
    void didSelectRow(int row);

    ProfileTable *tableview_top() const { return table_; }
    const QStringList &listData() const { return listData_; }
    // Offers "Undo" after a profile was deleted, while this list stays open.
    UndoBar *undoBar() const { return undoBar_; }

private:
    UsersContext context_;
    std::unique_ptr<DataBaseforCD> store_;
    ProfileTable *table_ = nullptr;
    QStringList listData_;
    QStringList listPhoto_;
    UndoBar *undoBar_ = nullptr;
};

} // namespace tonara
