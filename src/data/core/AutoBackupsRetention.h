#pragma once

// Which automatic backups to remove so that only the newest ones stay.
//
//   for (const std::string &name : AutoBackupsRetention::toRemove(namesInFolder))
//       remove(folder / name);
//
// Only names of automatic backups count: a file the person put in the folder
// under another name is neither counted nor removed.

#include <cstddef>
#include <string>
#include <vector>

namespace tonara {

class AutoBackupsRetention {
public:
    static constexpr std::size_t kKeep = 10;

    static std::vector<std::string> toRemove(const std::vector<std::string> &fileNames,
                                             std::size_t keep = kKeep);
    // The automatic backups among the names, newest first.
    static std::vector<std::string> newestFirst(const std::vector<std::string> &fileNames);
};

} // namespace tonara
