#include "charts/core/CivilDate.h"

#include "base/Clock.h"

#include <cstdio>

namespace tonara {

namespace {

bool leap(int y)
{
    return (y % 4 == 0 && y % 100 != 0) || y % 400 == 0;
}

int daysInMonth(int y, int m)
{
    static const int days[] = {31, 28, 31, 30, 31, 30, 31, 31, 30, 31, 30, 31};
    return m == 2 && leap(y) ? 29 : days[m - 1];
}

// Days from 0001-01-01 to the first of January of year y (y >= 1).
long long daysBeforeYear(long long y)
{
    const long long p = y - 1;
    return 365 * p + p / 4 - p / 100 + p / 400;
}

int daysBeforeMonth(int y, int m)
{
    int days = 0;
    for (int i = 1; i < m; ++i)
        days += daysInMonth(y, i);
    return days;
}

const long long kEpoch = daysBeforeYear(1970);

} // namespace

CivilDate::CivilDate(int year, int month, int day) : year_(year), month_(month), day_(day) {}

CivilDate CivilDate::of(const LocalDateTime &at)
{
    return {at.year, at.month, at.day};
}

std::optional<CivilDate> CivilDate::parse(std::string_view text)
{
    if (text.size() != 10 || text[4] != '-' || text[7] != '-')
        return std::nullopt;
    auto number = [&](std::size_t from, std::size_t len, int &out) {
        out = 0;
        for (std::size_t i = from; i < from + len; ++i) {
            if (text[i] < '0' || text[i] > '9')
                return false;
            out = out * 10 + (text[i] - '0');
        }
        return true;
    };
    int y = 0, m = 0, d = 0;
    if (!number(0, 4, y) || !number(5, 2, m) || !number(8, 2, d))
        return std::nullopt;
    if (y < 1 || m < 1 || m > 12 || d < 1 || d > daysInMonth(y, m))
        return std::nullopt;
    return CivilDate(y, m, d);
}

long long CivilDate::serial() const
{
    return daysBeforeYear(year_) + daysBeforeMonth(year_, month_) + day_ - 1 - kEpoch;
}

CivilDate CivilDate::plusDays(long long days) const
{
    const long long target = serial() + days + kEpoch; // days since 0001-01-01
    long long y = target / 366 + 1;                    // never past the right year
    while (daysBeforeYear(y + 1) <= target)
        ++y;
    long long rest = target - daysBeforeYear(y);
    const int year = static_cast<int>(y);
    int m = 1;
    while (rest >= daysInMonth(year, m))
        rest -= daysInMonth(year, m++);
    return {year, m, static_cast<int>(rest) + 1};
}

std::string CivilDate::text() const
{
    char buf[16];
    std::snprintf(buf, sizeof buf, "%04d-%02d-%02d", year_, month_, day_);
    return buf;
}

} // namespace tonara
