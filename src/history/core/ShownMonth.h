#pragma once

// The month the history screen shows and how it moves.
//
//   ShownMonth m;
//   m.setFrom(clock.localNow());     // on load and every time the screen is shown
//   m.Month_plus1();                 // arrow: three months on
//   m.move_rr();                     // right swipe: one month back
//   auto titles = ShownMonth::Month_moving(m.show_month); // {"Apr.", "May", "Jun."}
//
// The month always stays in 1..12; the year has no bounds.

#include "base/Clock.h"

#include <array>
#include <string>

namespace tonara {

class ShownMonth {
public:
    int show_year = 2000;
    int show_month = 1;

    void setFrom(const LocalDateTime &now);

    void Month_plus1();   // + 3 months
    void Month_Reduce1(); // - 3 months
    void move_ll();       // + 1 month (left swipe)
    void move_rr();       // - 1 month (right swipe)

    // "yyyy-MM-01" of the month on show, the anchor of the month queries.
    std::string firstDayText() const;

    // "Jan." .. "Dec." ("May" has no full stop); index 0 is empty.
    static const std::array<std::string, 13> &monthNames();
    // The month bar's three titles: the month before m, m and the month after.
    static std::array<std::string, 3> Month_moving(int m);

private:
    void add(int months);
};

} // namespace tonara
