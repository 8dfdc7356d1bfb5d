#pragma once

// The subject and body of the readings e-mail, naming the user whose readings
// are attached.
//
//   ShareMail mail = ShareMail::forUser(users, csv.user());
//   mail.subject;                          // "User 's blood pressure history"
//   mail.body(csv.aArray_email_date);      // "... from Date 05/31/2013 to 05/01/2013"

#include <string>
#include <vector>

namespace tonara {

class DataBaseforCD;

class ShareMail {
public:
    static constexpr const char *kAttachmentName = "data.csv";
    static constexpr const char *kAttachmentType = "text/csv";

    std::string name;
    std::string subject;
    std::string bodyStart;

    explicit ShareMail(const std::string &userName);
    // Reads the users table and takes the name of the given user number (not a
    // list position, which after a restart need not be the active user).
    static ShareMail forUser(DataBaseforCD &users, int user);

    // The body start followed by the newest and the oldest exported date.
    std::string body(const std::vector<std::string> &exportedDates) const;
};

} // namespace tonara
