#include "data/core/BackupFileName.h"

#include <cstdio>
#include <regex>

namespace tonara {

namespace {

std::string twoDigits(int v)
{
    char buf[8];
    std::snprintf(buf, sizeof buf, "%02d", v);
    return buf;
}

std::string datePart(const LocalDateTime &at)
{
    return at.dateText() + "-" + twoDigits(at.hour) + twoDigits(at.minute);
}

} // namespace

std::string BackupFileName::manual(const LocalDateTime &at)
{
    return kPrefix + datePart(at) + kExtension;
}

std::string BackupFileName::automatic(const LocalDateTime &at, const std::string &operation, int sequence)
{
    std::string name = kPrefix + datePart(at) + twoDigits(at.second) + "-" + operation;
    if (sequence > 1)
        name += "-" + std::to_string(sequence);
    return name + kExtension;
}

std::string BackupFileName::damagedDiary(const LocalDateTime &at, int sequence)
{
    std::string name = "Damaged-TonaraDock-" + datePart(at) + twoDigits(at.second);
    if (sequence > 1)
        name += "-" + std::to_string(sequence);
    return name + ".sqlite";
}

std::optional<BackupFileName::Parsed> BackupFileName::parse(const std::string &fileName)
{
    static const std::regex pattern(
        R"(Tonara-backup-(\d{4})-(\d{2})-(\d{2})-(\d{2})(\d{2})(\d{2})-([a-z]+(?:-[a-z]+)*)(?:-(\d+))?\.tonarabackup)");
    std::smatch m;
    if (!std::regex_match(fileName, m, pattern))
        return std::nullopt;
    Parsed p;
    p.at = {std::stoi(m[1]), std::stoi(m[2]), std::stoi(m[3]),
            std::stoi(m[4]), std::stoi(m[5]), std::stoi(m[6])};
    if (p.at.month < 1 || p.at.month > 12 || p.at.day < 1 || p.at.day > 31 || p.at.hour > 23 ||
        p.at.minute > 59 || p.at.second > 59)
        return std::nullopt;
    p.operation = m[7];
    if (m[8].matched) {
        if (m[8].length() > 6)
            return std::nullopt;
        p.sequence = std::stoi(m[8]);
    }
    return p;
}

} // namespace tonara
