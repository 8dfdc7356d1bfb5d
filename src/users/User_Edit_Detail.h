#pragma once

#include "users/ProfileForm.h"

#include <string>

namespace tonara {

// One profile ("Detail"): rename it, change its photo, or delete it with
// everything it holds.
class User_Edit_Detail : public ProfileForm {
    Q_OBJECT
public:
    explicit User_Edit_Detail(const UsersContext &context, QWidget *parent = nullptr);

    // Shows the profile in this row of the list (highest number first).
    void read_Table(int row);
    int user_id() const { return user_id_; }
    int indexPath_row_photo() const { return row_; }
    QPushButton *deleteButton() const { return delete_; }

    void editphoto_button_touch();
    void DoneButtonCicked();
    void delete_button_touch();
    // Back one screen without saving.
    void ConcelButtonCicked();

signals:
    void cancelled();
    // Before finished() when the profile was deleted; the backup taken first,
    // or empty when there is none.
    void profileDeleted(const std::string &backup);

private:
    void deleteSheet_clickedButtonAtIndex(int index);
    void deleteProfile(const std::string &backup);

    int user_id_ = -1;
    int row_ = -1;
    QString storedPhoto_;
    QPushButton *delete_ = nullptr;
};

} // namespace tonara
