#include "data/core/BackupScratchFolder.h"

#include <cerrno>
#include <cstdlib>
#include <cstring>
#include <vector>

namespace tonara {

BackupScratchFolder::BackupScratchFolder(const std::filesystem::path &parent, const std::string &prefix)
{
    std::string pattern = (parent / (prefix + "XXXXXX")).string();
    std::vector<char> buffer(pattern.begin(), pattern.end());
    buffer.push_back('\0');
    if (::mkdtemp(buffer.data()))
        path_ = buffer.data();
    else
        error_ = std::strerror(errno);
}

BackupScratchFolder::~BackupScratchFolder()
{
    if (path_.empty())
        return;
    std::error_code ec;
    std::filesystem::remove_all(path_, ec);
}

} // namespace tonara
