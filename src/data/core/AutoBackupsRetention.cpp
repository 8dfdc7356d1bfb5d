#include "data/core/AutoBackupsRetention.h"

#include "data/core/BackupFileName.h"

#include <algorithm>

namespace tonara {

std::vector<std::string> AutoBackupsRetention::newestFirst(const std::vector<std::string> &fileNames)
{
    std::vector<std::pair<BackupFileName::Parsed, std::string>> found;
    for (const std::string &name : fileNames)
        if (auto p = BackupFileName::parse(name))
            found.emplace_back(*p, name);
    std::sort(found.begin(), found.end(), [](const auto &a, const auto &b) {
        return a.first.key() != b.first.key() ? a.first.key() > b.first.key() : a.second > b.second;
    });
    std::vector<std::string> out;
    for (auto &f : found)
        out.push_back(std::move(f.second));
    return out;
}

std::vector<std::string> AutoBackupsRetention::toRemove(const std::vector<std::string> &fileNames,
                                                        std::size_t keep)
{
    std::vector<std::string> sorted = newestFirst(fileNames);
    if (sorted.size() <= keep)
        return {};
    return {sorted.begin() + std::ptrdiff_t(keep), sorted.end()};
}

} // namespace tonara
