#pragma once

#include "users/ProfileForm.h"

namespace tonara {

// A new profile ("Create"): a name and, if picked, a photo. Done stores it
// under the next number; the new profile is not made active.
class User_CreateController : public ProfileForm {
    Q_OBJECT
public:
    explicit User_CreateController(const UsersContext &context, QWidget *parent = nullptr);

    bool touch_photo() const { return !imageData().isEmpty(); }
    // Where the photo was written, empty when the profile has none.
    QString pathoffilesave() const { return pathoffilesave_; }

    void addphoto_button_touch();
    void DoneButton();

private:
    QString pathoffilesave_;
};

} // namespace tonara
