#include "data/core/CsvImport.h"

#include "measurement/core/ManualEntryRules.h"

#include <algorithm>
#include <cctype>
#include <limits>
#include <set>
#include <tuple>

namespace tonara {

namespace {

std::string trimmed(const std::string &s)
{
    std::size_t a = 0, b = s.size();
    while (a < b && std::isspace(static_cast<unsigned char>(s[a])))
        ++a;
    while (b > a && std::isspace(static_cast<unsigned char>(s[b - 1])))
        --b;
    return s.substr(a, b - a);
}

LocalDateTime momentOf(const Reading &r)
{
    LocalDateTime at;
    std::sscanf(r.date.c_str(), "%d-%d-%d", &at.year, &at.month, &at.day);
    std::sscanf(r.time.c_str(), "%d:%d:%d", &at.hour, &at.minute, &at.second);
    return at;
}

} // namespace

CsvImport::CsvImport(std::string_view bytes) : text_(CsvReader::withoutBom(bytes)) {}

int CsvImport::Plan::count(Status s) const
{
    return static_cast<int>(
        std::count_if(rows.begin(), rows.end(), [s](const Row &r) { return r.status == s; }));
}

std::vector<const CsvImport::Row *> CsvImport::Plan::of(Status s) const
{
    std::vector<const Row *> out;
    for (const Row &r : rows)
        if (r.status == s)
            out.push_back(&r);
    return out;
}

bool CsvImport::number(const std::string &text, int &value)
{
    const std::string t = trimmed(text);
    std::size_t i = 0;
    bool negative = false;
    if (i < t.size() && (t[i] == '+' || t[i] == '-'))
        negative = t[i++] == '-';
    const std::size_t digitsFrom = i;
    long long v = 0;
    while (i < t.size() && std::isdigit(static_cast<unsigned char>(t[i]))) {
        v = std::min<long long>(v * 10 + (t[i] - '0'), std::numeric_limits<int>::max());
        ++i;
    }
    if (i == digitsFrom)
        return false;
    if (i < t.size() && (t[i] == '.' || t[i] == ',')) {
        ++i;
        while (i < t.size() && std::isdigit(static_cast<unsigned char>(t[i])))
            ++i;
    }
    if (i != t.size())
        return false;
    value = static_cast<int>(negative ? -v : v);
    return true;
}

int CsvImport::flag(const std::string &text)
{
    std::string t = trimmed(text);
    std::transform(t.begin(), t.end(), t.begin(), [](unsigned char c) { return std::tolower(c); });
    static const std::set<std::string> yes = {"y", "yes", "1", "true", "j", "ja", "oui", "si", "sí", "x"};
    return yes.count(t) ? 1 : 0;
}

std::string CsvImport::comment(const std::string &text)
{
    std::size_t chars = 0;
    for (std::size_t i = 0; i < text.size(); ++i) {
        // A byte that does not continue a UTF-8 sequence starts a character.
        if ((static_cast<unsigned char>(text[i]) & 0xC0) != 0x80 && ++chars > kMaxCommentCharacters)
            return text.substr(0, i);
    }
    return text;
}

CsvImport::Detection CsvImport::detect() const
{
    Detection d;
    Options &o = d.options;
    o.delimiter = CsvReader::detectDelimiter(text_);
    const CsvReader::Table t = table(o.delimiter);
    if (t.rows.empty())
        return d;
    const auto &first = t.rows.front().fields;
    o.ownFormat = ImportColumns::isOwnHeader(first);
    o.hasHeader = o.ownFormat || ImportColumns::looksLikeHeader(first);
    if (o.ownFormat) {
        o.columns = {0, 1, 2, 3, 4, -1, 5, 6, 7};
        o.order = ImportDateFormat::MonthDayYear;
        return d;
    }
    if (o.hasHeader)
        o.columns = ImportColumns::fromHeader(first);
    if (o.columns.date < 0)
        return d;
    std::vector<std::string> dates;
    for (std::size_t i = o.hasHeader ? 1 : 0; i < t.rows.size(); ++i) {
        const auto &f = t.rows[i].fields;
        if (static_cast<std::size_t>(o.columns.date) < f.size())
            dates.push_back(f[static_cast<std::size_t>(o.columns.date)]);
    }
    const ImportDateFormat::Guess g = ImportDateFormat::detect(dates);
    o.order = g.order;
    d.dateAmbiguous = g.ambiguous;
    d.datesFit = g.fits;
    return d;
}

CsvImport::Plan CsvImport::plan(const Options &o, int user, const LocalDateTime &now) const
{
    Plan plan;
    const CsvReader::Table t = table(o.delimiter);
    const ImportColumns &c = o.columns;
    std::set<std::tuple<std::string, std::string, int, int, int>> seen;

    for (std::size_t i = o.hasHeader ? 1 : 0; i < t.rows.size(); ++i) {
        const auto &f = t.rows[i].fields;
        Row row;
        row.line = t.rows[i].line;
        row.reading.user_id = user;
        row.reading.is_manual = o.ownFormat || c.manual >= 0 ? 0 : 1;
        const auto fail = [&](Status s, Problem p, ImportColumns::Kind k, const std::string &text = {}) {
            row.status = s;
            row.problem = p;
            row.field = k;
            row.text = text;
        };
        const auto cell = [&](int col) -> const std::string * {
            return col >= 0 && static_cast<std::size_t>(col) < f.size() ? &f[static_cast<std::size_t>(col)]
                                                                        : nullptr;
        };

        [&] {
            for (auto k : {ImportColumns::Date, ImportColumns::Time, ImportColumns::Systolic,
                           ImportColumns::Diastolic, ImportColumns::Pulse})
                if (c.of(k) >= 0 && !cell(c.of(k)))
                    return fail(Status::Bad, Problem::MissingField, k);

            auto [dateText, timeText] = ImportDateFormat::splitDateTime(*cell(c.date));
            if (dateText.empty())
                return fail(Status::Bad, Problem::NoDate, ImportColumns::Date);
            const auto date = ImportDateFormat::toStored(dateText, o.order);
            if (!date)
                return fail(Status::Bad, Problem::BadDate, ImportColumns::Date, dateText);
            row.reading.date = *date;
            if (c.time >= 0 && !trimmed(*cell(c.time)).empty())
                timeText = *cell(c.time);
            if (trimmed(timeText).empty())
                return fail(Status::Bad, Problem::NoTime, ImportColumns::Time);
            const auto time = ImportDateFormat::timeToStored(timeText);
            if (!time)
                return fail(Status::Bad, Problem::BadTime, ImportColumns::Time, timeText);
            row.reading.time = *time;

            const std::pair<ImportColumns::Kind, int *> values[] = {
                {ImportColumns::Systolic, &row.reading.sys},
                {ImportColumns::Diastolic, &row.reading.dia},
                {ImportColumns::Pulse, &row.reading.pulse}};
            for (auto [k, into] : values)
                if (!number(*cell(c.of(k)), *into))
                    return fail(Status::Bad, Problem::NotANumber, k, trimmed(*cell(c.of(k))));

            if (const std::string *s = cell(c.comment))
                row.reading.diary = comment(trimmed(*s));
            if (const std::string *s = cell(c.pad))
                row.reading.is_pad = flag(*s);
            if (const std::string *s = cell(c.triv))
                row.reading.is_triv = flag(*s);
            if (const std::string *s = cell(c.manual))
                row.reading.is_manual = flag(*s);

            // The manual entry's bounds: 0..300 mmHg, pulse 0..200, no future moment.
            const std::pair<ImportColumns::Kind, ManualEntryRules::Field> bounds[] = {
                {ImportColumns::Systolic, ManualEntryRules::Field::Systolic},
                {ImportColumns::Diastolic, ManualEntryRules::Field::Diastolic},
                {ImportColumns::Pulse, ManualEntryRules::Field::Pulse}};
            for (auto [k, field] : bounds) {
                const int v = k == ImportColumns::Systolic    ? row.reading.sys
                              : k == ImportColumns::Diastolic ? row.reading.dia
                                                              : row.reading.pulse;
                if (v < 0)
                    return fail(Status::OutOfBounds, Problem::Negative, k, std::to_string(v));
                if (v > ManualEntryRules::upperBound(field))
                    return fail(Status::OutOfBounds, Problem::TooHigh, k, std::to_string(v));
            }
            if (ManualEntryRules::isLater(momentOf(row.reading), now))
                return fail(Status::OutOfBounds, Problem::InTheFuture, ImportColumns::Date);

            const auto key = std::make_tuple(row.reading.date, row.reading.time, row.reading.sys,
                                             row.reading.dia, row.reading.pulse);
            if (!seen.insert(key).second)
                row.status = Status::DuplicateInFile;
        }();
        plan.rows.push_back(std::move(row));
    }
    if (t.unterminatedQuoteLine) {
        Row row;
        row.line = t.unterminatedQuoteLine;
        row.status = Status::Bad;
        row.problem = Problem::UnclosedQuote;
        plan.rows.push_back(row);
    }
    return plan;
}

} // namespace tonara
