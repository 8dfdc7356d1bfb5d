#include "history/core/ShareMail.h"

#include "storage/DataBaseforCD.h"

namespace tonara {

ShareMail::ShareMail(const std::string &userName)
    : name(userName), subject(userName + " 's blood pressure history"),
      bodyStart("Attached in the email is " + userName + " 's blood pressure history from Date")
{}

ShareMail ShareMail::forUser(DataBaseforCD &users, int user)
{
    users.ReadDataBase_user_table();
    for (std::size_t i = 0; i < users.aArray_user_user.size() && i < users.aArray_lastname_user.size(); ++i)
        if (users.aArray_user_user[i] == user)
            return ShareMail(users.aArray_lastname_user[i]);
    // No profile row for the number (a fresh file before the users screen ran).
    return ShareMail(user == 0 ? "User" : "User " + std::to_string(user));
}

std::string ShareMail::body(const std::vector<std::string> &exportedDates) const
{
    if (exportedDates.empty())
        return bodyStart;
    return bodyStart + " " + exportedDates.front() + " to " + exportedDates.back();
}

} // namespace tonara
