#pragma once

// Where the month list puts things on the card of reading i: whether it opens
// a day (and so carries the day header) or joins the card above, its icons
// from right to left, and the time as the list shows it.
//
//   CardLayout::Card c = CardLayout::card(month, i, CardLayout::kPhone);
//   c.dayHeader;            // first (latest) reading of its day
//   c.icons[0].x;           // 206 for the rightmost reading icon on a phone
//   CardLayout::shownTime("13:30:00");   // "01:30PM"

#include <string>
#include <vector>

namespace tonara {

class MonthHistory;

class CardLayout {
public:
    enum class Icon { Pad, Triv, Pen, Who, More, Delete };

    struct Metrics {
        int cardPitch; // distance between cards
        int iconWidth; // reading icons
        int iconHeight;
        int firstIconX; // rightmost reading icon
        int iconStep;   // leftwards
        int whoX;
        int moreX;
        int deleteX;
    };
    static constexpr Metrics kPhone{228, 38, 32, 206, 43, 249, 270, 20};
    static constexpr Metrics kTablet{456, 76, 64, 412, 86, 498, 540, 40};

    struct Placed {
        Icon icon;
        int x;
        bool operator==(const Placed &) const = default;
    };

    struct Card {
        bool dayHeader = false;    // the date and "Avg:" above the card
        bool joinedAbove = false;  // same day as the card above
        std::string time;          // "09:05AM"
        std::vector<Placed> icons; // PAD, TRIV, pen (as present), WHO, then "more" for TRIV
    };

    static Card card(const MonthHistory &month, std::size_t i, const Metrics &m);
    // "HH:mm:ss" -> "hh:mmAM" / "hh:mmPM"; other texts unchanged.
    static std::string shownTime(const std::string &stored);
};

} // namespace tonara
