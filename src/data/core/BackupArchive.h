#pragma once

// A backup file: a gzip-compressed tar archive of named members, written
// beside its place and renamed there in one step, and read back whole.
//
//   std::vector<BackupArchive::Member> members = {{"manifest.txt", text}, {"TonaraDock.sqlite", bytes}};
//   std::string why;
//   if (!BackupArchive::write("/media/stick/x.tonarabackup", members, &why)) ...
//   if (!BackupArchive::read(path, &members, &why)) ...   // why: what is wrong, libarchive's words

#include <cstdint>
#include <string>
#include <vector>

namespace tonara {

class BackupArchive {
public:
    // A larger file is not read at all: no backup of this app comes near it.
    static constexpr std::int64_t kMaxSize = std::int64_t(2) << 30;

    struct Member {
        std::string name;
        std::string data;
    };

    // False with *error when the file could not be written; whatever was at
    // the path is then as it was.
    static bool write(const std::string &path, const std::vector<Member> &members, std::string *error);
    // False when the file is not such an archive, is cut short or damaged.
    static bool read(const std::string &path, std::vector<Member> *members, std::string *error);
};

} // namespace tonara
