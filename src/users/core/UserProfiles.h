#pragma once

// Profile changes that reach beyond the users table: where a profile's photo
// file goes, and deleting a profile so that the photo files move with the
// profiles that move down.
//
//   UserProfiles profiles(store, db, documentsFolder);
//   std::string path = profiles.photoPathFor(3);  // "<documents>/no3.png" unless taken
//   writePng(path, bytes);
//   store.insertDataBase_user_table(3, "", "", "Son", "", path, 0, "");
//   if (!profiles.deleteProfile(1))               // nothing changed, files included
//       tell(profiles.lastError());

#include <string>

namespace tonara {

class DataBaseforCD;
class DBHelper;

class UserProfiles {
public:
    UserProfiles(DataBaseforCD &store, DBHelper &db, std::string documentsFolder);

    // "no<user>.png" in the documents folder; when another profile still names
    // that file, "no<user>-<n>.png" with the smallest n no profile names, so a
    // photo is never written over someone else's.
    std::string photoPathFor(int user);

    // Deletes the profile with its readings, day averages and TRIV details,
    // moves every higher profile down by one with its data and its photo file
    // ("no3.png" becomes "no2.png"), and removes the deleted profile's photo.
    // The database change and the file moves happen together or not at all;
    // false (with lastError) when nothing was changed.
    bool deleteProfile(int user);
    const std::string &lastError() const { return lastError_; }

private:
    DataBaseforCD &store_;
    DBHelper &db_;
    std::string documentsFolder_;
    std::string lastError_;
};

} // namespace tonara
