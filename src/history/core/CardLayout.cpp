#include "history/core/CardLayout.h"

#include "history/core/MonthHistory.h"

#include <cstdio>

namespace tonara {

std::string CardLayout::shownTime(const std::string &stored)
{
    int h = 0, m = 0, s = 0;
    if (stored.size() != 8 || std::sscanf(stored.c_str(), "%2d:%2d:%2d", &h, &m, &s) != 3 || h < 0 || h > 23)
        return stored;
    const int h12 = h % 12 == 0 ? 12 : h % 12;
    char buf[16];
    std::snprintf(buf, sizeof buf, "%02d:%02d%s", h12, m, h < 12 ? "AM" : "PM");
    return buf;
}

CardLayout::Card CardLayout::card(const MonthHistory &month, std::size_t i, const Metrics &m)
{
    Card c;
    if (i >= month.aArray_time.size())
        return c;
    c.joinedAbove = i > 0 && month.aArray_date[i] == month.aArray_date[i - 1];
    c.dayHeader = !c.joinedAbove;
    c.time = shownTime(month.aArray_time[i]);

    int placed = 0;
    auto next = [&](Icon icon) { c.icons.push_back({icon, m.firstIconX - m.iconStep * placed++}); };
    if (month.aArray_is_pad[i] == 1)
        next(Icon::Pad);
    if (month.aArray_is_triv[i] == 1)
        next(Icon::Triv);
    if (month.aArray_is_manual[i] == 1)
        next(Icon::Pen);
    c.icons.push_back({Icon::Who, m.whoX});
    if (month.aArray_is_triv[i] == 1)
        c.icons.push_back({Icon::More, m.moreX});
    return c;
}

} // namespace tonara
