#include "data/core/ImportColumns.h"

#include <array>
#include <cctype>

namespace tonara {

namespace {

// Lower-case ASCII letters, digits and single blanks; other bytes (accented
// letters in UTF-8) kept as they are.
std::string normal(std::string_view cell)
{
    std::string out;
    for (char ch : cell) {
        const auto c = static_cast<unsigned char>(ch);
        if (c >= 0x80 || std::isalnum(c)) {
            out += static_cast<char>(std::tolower(c));
        } else if (!out.empty() && out.back() != ' ') {
            out += ' ';
        }
    }
    while (!out.empty() && out.back() == ' ')
        out.pop_back();
    return out;
}

bool has(const std::string &text, std::string_view word)
{
    return text.find(word) != std::string::npos;
}

bool firstWordIs(const std::string &text, std::string_view word)
{
    return text.compare(0, word.size(), word) == 0 &&
           (text.size() == word.size() || text[word.size()] == ' ');
}

bool any(const std::string &text, std::initializer_list<std::string_view> words)
{
    for (auto w : words)
        if (has(text, w))
            return true;
    return false;
}

bool anyWord(const std::string &text, std::initializer_list<std::string_view> words)
{
    for (auto w : words)
        if (firstWordIs(text, w) || text == w)
            return true;
    return false;
}

} // namespace

int &ImportColumns::of(Kind kind)
{
    static int none = -1;
    switch (kind) {
    case Date:
        return date;
    case Time:
        return time;
    case Systolic:
        return sys;
    case Diastolic:
        return dia;
    case Pulse:
        return pulse;
    case Comment:
        return comment;
    case Pad:
        return pad;
    case Triv:
        return triv;
    case Manual:
        return manual;
    default:
        none = -1;
        return none;
    }
}

int ImportColumns::of(Kind kind) const
{
    return const_cast<ImportColumns *>(this)->of(kind);
}

ImportColumns::Kind ImportColumns::classify(std::string_view cell)
{
    const std::string t = normal(cell);
    if (t.empty())
        return None;
    // Comments first: "diary" and "diario" begin like "dia".
    if (any(t, {"comment", "kommentar", "notiz", "note", "bemerkung", "diary", "remark", "commentaire",
                "comentario", "commento", "opmerking", "tagebuch", "diario"}))
        return Comment;
    if (any(t, {"syst", "sist", "sbp"}) || anyWord(t, {"sys", "high", "oben", "max"}))
        return Systolic;
    if (any(t, {"diast", "dbp"}) || anyWord(t, {"dia", "low", "unten", "min"}))
        return Diastolic;
    // Before the pulse: "Irregular heartbeat" and "Unregelmäßiger Herzschlag"
    // name the heart too, and taken as the pulse they would hide the real one.
    if (anyWord(t, {"pad", "irregular", "ihb"}) || any(t, {"arrhythm", "arythm", "unregelm"}))
        return Pad;
    if (any(t, {"puls", "heart", "herz", "bpm", "pouls", "frequenza", "cardiaca", "hartslag"}) ||
        anyWord(t, {"hr", "fc", "pr"}))
        return Pulse;
    if (anyWord(t, {"triv"}))
        return Triv;
    if (anyWord(t, {"manual", "manuell"}))
        return Manual;
    if (any(t, {"date", "datum", "fecha", "data", "timestamp", "zeitpunkt"}) || anyWord(t, {"day", "tag"}))
        return Date;
    if (any(t, {"time", "zeit", "hora", "heure", "tijd"}) || anyWord(t, {"ora"}))
        return Time;
    return None;
}

ImportColumns ImportColumns::fromHeader(const std::vector<std::string> &header)
{
    ImportColumns c;
    for (std::size_t i = 0; i < header.size(); ++i) {
        const Kind k = classify(header[i]);
        if (k != None && c.of(k) < 0)
            c.of(k) = static_cast<int>(i);
    }
    return c;
}

bool ImportColumns::looksLikeHeader(const std::vector<std::string> &row)
{
    int known = 0;
    for (const auto &cell : row)
        if (classify(cell) != None)
            ++known;
    return known >= 2;
}

bool ImportColumns::isOwnHeader(const std::vector<std::string> &row)
{
    static const std::array<const char *, 8> names = {"Date",  "Time", "Systolic", "Diastolic",
                                                      "Pulse", "PAD",  "TRIV",     "Manual"};
    if (row.size() != names.size())
        return false;
    for (std::size_t i = 0; i < names.size(); ++i) {
        std::string_view cell = row[i];
        while (!cell.empty() && cell.front() == ' ')
            cell.remove_prefix(1);
        if (cell != names[i])
            return false;
    }
    return true;
}

} // namespace tonara
