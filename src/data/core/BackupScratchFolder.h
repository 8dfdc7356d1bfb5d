#pragma once

// A new, empty folder of its own that goes with everything in it when the
// object does: where a backup's copy is taken and where a restore unpacks.
//
//   BackupScratchFolder scratch(documentsFolder, ".restore-");
//   if (!scratch.made()) return fail(scratch.error());
//   write(scratch.path() / "TonaraDock.sqlite", ...);

#include <filesystem>
#include <string>

namespace tonara {

class BackupScratchFolder {
public:
    // A folder named prefix + six random characters inside parent.
    BackupScratchFolder(const std::filesystem::path &parent, const std::string &prefix);
    ~BackupScratchFolder();
    BackupScratchFolder(const BackupScratchFolder &) = delete;
    BackupScratchFolder &operator=(const BackupScratchFolder &) = delete;

    bool made() const { return !path_.empty(); }
    const std::filesystem::path &path() const { return path_; }
    const std::string &error() const { return error_; }

private:
    std::filesystem::path path_;
    std::string error_;
};

} // namespace tonara
