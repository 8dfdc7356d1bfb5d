#pragma once

// Makes what was written to a file, or a rename inside a folder, reach the
// disk before the caller goes on: a backup that only sits in the page cache
// is lost with the power, and the data it vouches for may be deleted next.
//
//   write(temp, bytes);
//   if (!DiskSync::file(temp, &why)) return fail(why);   // the bytes are on disk
//   rename(temp, path);
//   DiskSync::folder(parentOf(path), &why);               // and so is the name

#include <string>

namespace tonara {

class DiskSync {
public:
    // False with *error (the system's words) when the file could not be flushed.
    static bool file(const std::string &path, std::string *error);
    // The folder's entries (names made or changed by renames).
    static bool folder(const std::string &path, std::string *error);
};

} // namespace tonara
