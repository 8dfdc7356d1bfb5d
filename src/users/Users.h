#pragma once

#include "users/UsersContext.h"

#include <QStringList>
#include <QWidget>

#include <memory>

class QPushButton;

namespace tonara {

class DataBaseforCD;
class ProfileTable;

// The users tab: every profile by descending number, the active one checked.
// Touching a row makes that profile active; "Edit" and "+" lead to the edit
// list and the create screen. The screen's title (the tab's) is the active
// user's name.
class Users : public QWidget {
    Q_OBJECT
public:
    // The users-list row last touched since start; the mail subject names it.
    static inline int UserNumber = 0;

    explicit Users(const UsersContext &context, QWidget *parent = nullptr);
    ~Users() override;

    // Reads the profiles and the active user and redraws the list; runs
    // whenever the screen comes into view.
    void viewWillAppear();
    // Makes the profile in that row active.
    void didSelectRow(int row);
    void EditButtonCicked();
    void AddButtonCicked();

    ProfileTable *tableview_top() const { return table_; }
    const QStringList &listData() const { return listData_; }
    const QStringList &listPhoto() const { return listPhoto_; }
    int currentIndex() const { return currentIndex_; }
    QPushButton *editButton() const { return edit_; }
    QPushButton *addButton() const { return add_; }

signals:
    // The active user changed (by a touch or by falling back to user 0).
    void activeUserChanged(int user);

protected:
    void showEvent(QShowEvent *event) override;

private:
    void installBarButtons();
    // False (and said so) when the choice could not be stored.
    bool makeActive(int user);

    UsersContext context_;
    std::unique_ptr<DataBaseforCD> store_;
    ProfileTable *table_ = nullptr;
    QPushButton *edit_ = nullptr;
    QPushButton *add_ = nullptr;
    bool barButtons_ = false;
    QStringList listData_;
    QStringList listPhoto_;
    int currentIndex_ = 0;
};

} // namespace tonara
