#include "data/core/Manifest.h"

#include "data/core/Sha256.h"

#include <algorithm>
#include <charconv>
#include <sstream>

namespace tonara {

namespace {

constexpr const char *kHeader = "Tonara+ backup ";
constexpr const char *kChecksumKey = "checksum: ";

bool number(const std::string &text, long long &out)
{
    if (text.empty())
        return false;
    const char *end = text.data() + text.size();
    auto [p, ec] = std::from_chars(text.data(), end, out);
    return ec == std::errc() && p == end;
}

bool isHex64(const std::string &s)
{
    return s.size() == 64 && std::all_of(s.begin(), s.end(), [](char c) {
               return (c >= '0' && c <= '9') || (c >= 'a' && c <= 'f');
           });
}

// Splits "a b c" at its last space.
bool splitLast(const std::string &s, std::string &head, std::string &tail)
{
    const auto at = s.rfind(' ');
    if (at == std::string::npos || at == 0 || at + 1 == s.size())
        return false;
    head = s.substr(0, at);
    tail = s.substr(at + 1);
    return true;
}

} // namespace

std::string Manifest::text() const
{
    std::ostringstream out;
    out << kHeader << format << '\n';
    out << "application: " << application << '\n';
    out << "schema: " << schemaVersion << '\n';
    out << "created: " << created << '\n';
    out << "operation: " << operation << '\n';
    for (const auto &[table, rows] : tableCounts)
        out << "table: " << table << ' ' << rows << '\n';
    for (const ManifestMember &m : members)
        out << "member: " << m.name << ' ' << m.size << ' ' << m.sha256 << '\n';
    // The manifest vouches for itself too, so a changed letter in it is seen.
    std::string body = out.str();
    return body + kChecksumKey + Sha256::hex(body) + '\n';
}

std::optional<Manifest> Manifest::parse(const std::string &text, std::string *error, bool *newerFormat)
{
    if (newerFormat)
        *newerFormat = false;
    auto fail = [error](std::string why) -> std::optional<Manifest> {
        if (error)
            *error = std::move(why);
        return std::nullopt;
    };
    std::istringstream in(text);
    std::string line;
    if (!std::getline(in, line) || line.rfind(kHeader, 0) != 0)
        return fail("the manifest does not start with \"Tonara+ backup\"");
    Manifest m;
    long long format = 0;
    if (!number(line.substr(std::char_traits<char>::length(kHeader)), format) || format < 1)
        return fail("the manifest's format number is unreadable");
    if (format > kFormat) {
        if (newerFormat)
            *newerFormat = true;
        return fail("the archive's format " + std::to_string(format) + " is newer than this version reads");
    }
    m.format = int(format);

    // Everything up to the checksum line is what the checksum covers.
    const auto checksumAt = text.rfind(std::string("\n") + kChecksumKey);
    if (checksumAt == std::string::npos)
        return fail("the manifest has no checksum");
    const std::string body = text.substr(0, checksumAt + 1);
    std::string stated = text.substr(checksumAt + 1 + std::char_traits<char>::length(kChecksumKey));
    while (!stated.empty() && (stated.back() == '\n' || stated.back() == '\r'))
        stated.pop_back();
    if (stated != Sha256::hex(body))
        return fail("the manifest does not match its own checksum");
    in.str(body);
    in.clear();
    std::getline(in, line);

    bool haveSchema = false;
    int lineNo = 1;
    while (std::getline(in, line)) {
        ++lineNo;
        if (line.empty())
            continue;
        const auto colon = line.find(": ");
        const std::string key = colon == std::string::npos ? line : line.substr(0, colon);
        const std::string value = colon == std::string::npos ? std::string() : line.substr(colon + 2);
        auto bad = [&] { return fail("line " + std::to_string(lineNo) + " of the manifest is unreadable"); };
        if (key == "application") {
            m.application = value;
        } else if (key == "schema") {
            long long v = 0;
            if (!number(value, v) || v < 0 || v > 1000000)
                return bad();
            m.schemaVersion = int(v);
            haveSchema = true;
        } else if (key == "created") {
            m.created = value;
        } else if (key == "operation") {
            m.operation = value;
        } else if (key == "table") {
            std::string name, rows;
            long long n = 0;
            if (!splitLast(value, name, rows) || !number(rows, n) || n < 0)
                return bad();
            m.tableCounts.emplace_back(name, n);
        } else if (key == "member") {
            std::string rest, sha, name, size;
            long long n = 0;
            if (!splitLast(value, rest, sha) || !isHex64(sha) || !splitLast(rest, name, size) ||
                !number(size, n) || n < 0)
                return bad();
            m.members.push_back({name, std::uint64_t(n), sha});
        }
        // Keys a later version adds are ignored: they describe, they do not change the contents.
    }
    if (!haveSchema)
        return fail("the manifest does not name its schema version");
    return m;
}

const ManifestMember *Manifest::member(const std::string &name) const
{
    for (const ManifestMember &m : members)
        if (m.name == name)
            return &m;
    return nullptr;
}

long long Manifest::count(const std::string &table) const
{
    for (const auto &[t, n] : tableCounts)
        if (t == table)
            return n;
    return -1;
}

} // namespace tonara
