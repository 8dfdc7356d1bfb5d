#pragma once

// What a backup archive says about itself: the application and schema that
// made it, when and before which operation, the rows of every table and the
// size and SHA-256 of every other member; its last line is the SHA-256 of
// the lines before it.
//
//   Manifest m;
//   m.application = "Tonara+ 0.1.0";
//   m.schemaVersion = 1;
//   m.tableCounts = {{"tonaradock_table", 12}};
//   m.members = {{"TonaraDock.sqlite", 20480, "9f86d0..."}};
//   std::string text = m.text();          // stored as "manifest.txt"
//
//   std::string why;
//   std::optional<Manifest> back = Manifest::parse(text, &why);
//
// The text is line based ("key: value"), so a person can read it too.

#include <cstdint>
#include <optional>
#include <string>
#include <utility>
#include <vector>

namespace tonara {

struct ManifestMember {
    std::string name; // path inside the archive, "/" separated
    std::uint64_t size = 0;
    std::string sha256; // 64 lower-case hex digits
    bool operator==(const ManifestMember &) const = default;
};

struct Manifest {
    static constexpr const char *kFileName = "manifest.txt";
    // The layout of the archive itself; a later one is refused, not guessed at.
    static constexpr int kFormat = 1;

    int format = kFormat;
    std::string application;
    int schemaVersion = 0;
    std::string created;   // local "yyyy-MM-dd HH:mm:ss"
    std::string operation; // empty for a backup the person asked for
    std::vector<std::pair<std::string, long long>> tableCounts;
    std::vector<ManifestMember> members;

    std::string text() const;
    // Nothing when the text is not a manifest of a format this version reads;
    // *error then says what is wrong with it, and *newerFormat whether it is
    // one of a later version rather than a damaged one.
    static std::optional<Manifest> parse(const std::string &text, std::string *error,
                                         bool *newerFormat = nullptr);

    const ManifestMember *member(const std::string &name) const;
    // -1 when the table is not listed.
    long long count(const std::string &table) const;

    bool operator==(const Manifest &) const = default;
};

} // namespace tonara
