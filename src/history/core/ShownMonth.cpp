#include "history/core/ShownMonth.h"

#include <cstdio>

namespace tonara {

namespace {

int wrap(int m)
{
    return ((m - 1) % 12 + 12) % 12 + 1;
}

} // namespace

void ShownMonth::setFrom(const LocalDateTime &now)
{
    show_year = now.year;
    show_month = wrap(now.month);
}

void ShownMonth::add(int months)
{
    int index = show_year * 12 + (show_month - 1) + months;
    // Floor division so years before 0 still move one month at a time.
    int year = index >= 0 ? index / 12 : -((-index + 11) / 12);
    show_year = year;
    show_month = index - year * 12 + 1;
}

void ShownMonth::Month_plus1()
{
    add(3);
}

void ShownMonth::Month_Reduce1()
{
    add(-3);
}

void ShownMonth::move_ll()
{
    add(1);
}

void ShownMonth::move_rr()
{
    add(-1);
}

std::string ShownMonth::firstDayText() const
{
    char buf[32];
    std::snprintf(buf, sizeof buf, "%04d-%02d-01", show_year, show_month);
    return buf;
}

const std::array<std::string, 13> &ShownMonth::monthNames()
{
    static const std::array<std::string, 13> names = {"",     "Jan.", "Feb.", "Mar.", "Apr.", "May", "Jun.",
                                                      "Jul.", "Aug.", "Sep.", "Oct.", "Nov.", "Dec."};
    return names;
}

std::array<std::string, 3> ShownMonth::Month_moving(int m)
{
    const auto &names = monthNames();
    return {names[wrap(m - 1)], names[wrap(m)], names[wrap(m + 1)]};
}

} // namespace tonara
