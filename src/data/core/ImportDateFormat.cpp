#include "data/core/ImportDateFormat.h"

#include "charts/core/CivilDate.h"

#include <array>
#include <cctype>
#include <cstdio>

namespace tonara {

namespace {

std::string_view trim(std::string_view s)
{
    while (!s.empty() && std::isspace(static_cast<unsigned char>(s.front())))
        s.remove_prefix(1);
    while (!s.empty() && std::isspace(static_cast<unsigned char>(s.back())))
        s.remove_suffix(1);
    return s;
}

// Three runs of digits separated by one of - / . ; their texts' lengths too.
struct Parts {
    std::array<int, 3> n{};
    std::array<std::size_t, 3> len{};
};

std::optional<Parts> threeNumbers(std::string_view s)
{
    s = trim(s);
    Parts p;
    std::size_t i = 0;
    for (int k = 0; k < 3; ++k) {
        const std::size_t from = i;
        int v = 0;
        while (i < s.size() && std::isdigit(static_cast<unsigned char>(s[i])) && i - from < 4)
            v = v * 10 + (s[i++] - '0');
        if (i == from)
            return std::nullopt;
        p.n[static_cast<std::size_t>(k)] = v;
        p.len[static_cast<std::size_t>(k)] = i - from;
        if (k < 2) {
            if (i >= s.size() || (s[i] != '-' && s[i] != '/' && s[i] != '.'))
                return std::nullopt;
            ++i;
        }
    }
    if (i != s.size())
        return std::nullopt;
    return p;
}

std::optional<std::string> civil(int y, int m, int d)
{
    if (y < 1000 || y > 9999 || m < 1 || m > 12 || d < 1 || d > 31)
        return std::nullopt;
    char buf[16];
    std::snprintf(buf, sizeof buf, "%04d-%02d-%02d", y, m, d);
    if (!CivilDate::parse(buf))
        return std::nullopt; // 31 April, 29 February of a common year
    return std::string(buf);
}

} // namespace

const char *ImportDateFormat::pattern(Order order)
{
    switch (order) {
    case MonthDayYear:
        return "MM/dd/yyyy";
    case DayMonthYear:
        return "dd.MM.yyyy";
    default:
        return "yyyy-MM-dd";
    }
}

std::optional<std::string> ImportDateFormat::toStored(std::string_view date, Order order)
{
    const auto p = threeNumbers(date);
    if (!p)
        return std::nullopt;
    switch (order) {
    case YearMonthDay:
        if (p->len[0] != 4)
            return std::nullopt;
        return civil(p->n[0], p->n[1], p->n[2]);
    case MonthDayYear:
        if (p->len[2] != 4)
            return std::nullopt;
        return civil(p->n[2], p->n[0], p->n[1]);
    case DayMonthYear:
        if (p->len[2] != 4)
            return std::nullopt;
        return civil(p->n[2], p->n[1], p->n[0]);
    }
    return std::nullopt;
}

ImportDateFormat::Guess ImportDateFormat::detect(const std::vector<std::string> &dates)
{
    Guess g;
    bool year = true, monthFirst = true, dayFirst = true, any = false;
    char separator = 0;
    for (const std::string &text : dates) {
        const std::string date = splitDateTime(text).first;
        if (trim(date).empty())
            continue;
        any = true;
        year = year && toStored(date, YearMonthDay).has_value();
        monthFirst = monthFirst && toStored(date, MonthDayYear).has_value();
        dayFirst = dayFirst && toStored(date, DayMonthYear).has_value();
        if (!separator)
            for (char c : date)
                if (c == '/' || c == '.' || c == '-') {
                    separator = c;
                    break;
                }
    }
    if (!any)
        return g;
    if (year) {
        g.order = YearMonthDay;
    } else if (monthFirst && dayFirst) {
        g.ambiguous = true;
        // Dots are the day-first habit; slashes lean to month first.
        g.order = separator == '.' ? DayMonthYear : MonthDayYear;
    } else if (monthFirst) {
        g.order = MonthDayYear;
    } else if (dayFirst) {
        g.order = DayMonthYear;
    } else {
        g.fits = false;
        g.order = separator == '.' ? DayMonthYear : separator == '/' ? MonthDayYear : YearMonthDay;
    }
    return g;
}

std::optional<std::string> ImportDateFormat::timeToStored(std::string_view time)
{
    std::string_view s = trim(time);
    int half = 0; // 1 AM, 2 PM
    if (s.size() >= 2) {
        const char a = static_cast<char>(std::toupper(static_cast<unsigned char>(s[s.size() - 2])));
        const char m = static_cast<char>(std::toupper(static_cast<unsigned char>(s.back())));
        if ((a == 'A' || a == 'P') && m == 'M') {
            half = a == 'A' ? 1 : 2;
            s = trim(s.substr(0, s.size() - 2));
        }
    }
    std::array<int, 3> v{0, 0, 0};
    std::size_t i = 0;
    int parts = 0;
    while (parts < 3) {
        const std::size_t from = i;
        int n = 0;
        while (i < s.size() && std::isdigit(static_cast<unsigned char>(s[i])) && i - from < 2)
            n = n * 10 + (s[i++] - '0');
        if (i == from || (parts > 0 && i - from != 2))
            return std::nullopt;
        v[static_cast<std::size_t>(parts++)] = n;
        if (i == s.size())
            break;
        if (s[i] != ':')
            return std::nullopt;
        ++i;
    }
    if (i != s.size() || parts < 2)
        return std::nullopt;
    int h = v[0];
    if (half) {
        if (h < 1 || h > 12)
            return std::nullopt;
        h = h % 12 + (half == 2 ? 12 : 0);
    }
    if (h > 23 || v[1] > 59 || v[2] > 59)
        return std::nullopt;
    char buf[48];
    std::snprintf(buf, sizeof buf, "%02d:%02d:%02d", h, v[1], v[2]);
    return std::string(buf);
}

std::pair<std::string, std::string> ImportDateFormat::splitDateTime(std::string_view text)
{
    const std::string_view s = trim(text);
    for (std::size_t i = 6; i < s.size(); ++i) {
        if (s[i] == ' ' || s[i] == 'T')
            return {std::string(trim(s.substr(0, i))), std::string(trim(s.substr(i + 1)))};
    }
    return {std::string(s), std::string()};
}

} // namespace tonara
