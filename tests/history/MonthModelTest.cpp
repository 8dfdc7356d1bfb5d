#include "HistoryFixture.h"

#include "history/core/CardLayout.h"
#include "history/core/MonthHistory.h"
#include "history/core/ShownMonth.h"

namespace tonara::test {

using Titles = std::array<std::string, 3>;

TEST(ShownMonthMoves, SwipesStepOneMonthAcrossTheYearAndArrowsThree)
{
    ShownMonth m;
    m.setFrom({2013, 12, 31, 23, 59, 59});
    m.move_ll();
    EXPECT_EQ(std::pair(m.show_year, m.show_month), std::pair(2014, 1));
    m.move_rr();
    EXPECT_EQ(std::pair(m.show_year, m.show_month), std::pair(2013, 12));

    m.setFrom({2013, 11, 1, 0, 0, 0});
    m.Month_plus1();
    EXPECT_EQ(std::pair(m.show_year, m.show_month), std::pair(2014, 2));
    EXPECT_EQ(ShownMonth::Month_moving(m.show_month), (Titles{"Jan.", "Feb.", "Mar."}));
    m.Month_Reduce1();
    EXPECT_EQ(std::pair(m.show_year, m.show_month), std::pair(2013, 11));
    EXPECT_EQ(ShownMonth::Month_moving(m.show_month), (Titles{"Oct.", "Nov.", "Dec."}));

    for (int from = 1; from <= 12; ++from) {
        ShownMonth a;
        a.setFrom({2013, from, 1, 0, 0, 0});
        a.Month_Reduce1();
        EXPECT_GE(a.show_month, 1);
        EXPECT_EQ(a.show_year * 12 + a.show_month, 2013 * 12 + from - 3) << "from month " << from;
    }
    EXPECT_EQ(ShownMonth::Month_moving(5), (Titles{"Apr.", "May", "Jun."}));
    EXPECT_EQ(ShownMonth::Month_moving(1), (Titles{"Dec.", "Jan.", "Feb."}));
    EXPECT_EQ(ShownMonth::Month_moving(12), (Titles{"Nov.", "Dec.", "Jan."}));
}

class MonthModel : public HistoryTest {
protected:
    MonthHistory month{db, alerts};
};

TEST_F(MonthModel, MonthBoundsOrderAndOnlyTheActiveUser)
{
    add(0, "2013-04-30", "23:59:59", 100, 60, 60);
    add(0, "2013-05-01", "00:00:00", 110, 70, 61);
    add(0, "2013-05-31", "08:00:00", 120, 80, 62);
    add(0, "2013-05-31", "21:15:00", 121, 81, 63);
    add(0, "2013-06-01", "00:00:00", 130, 90, 64);
    add(1, "2013-05-31", "09:00:00", 200, 110, 99);

    ASSERT_EQ(month.SQLlite_Month(2013, 5), 3);
    EXPECT_EQ(month.aArray_date,
              (std::vector<std::string>{"2013-05-31", "2013-05-31", "2013-05-01", MonthHistory::kSentinel}));
    EXPECT_EQ(month.aArray_time, (std::vector<std::string>{"21:15:00", "08:00:00", "00:00:00"}));
    EXPECT_EQ(month.aArray_pulse, (std::vector<int>{63, 62, 61}));
    EXPECT_EQ(month.aArray_user_id, (std::vector<int>{0, 0, 0}));
    EXPECT_EQ(month.aArray_rowid.size(), 3u);
    EXPECT_EQ(month.OneDayAvgdata("2013-05-31"), "120/80") << "the other user's 200/110 stays out";
    EXPECT_EQ(month.OneDayAvgdata("2013-04-30"), "100/60") << "a day outside the month read";
    EXPECT_EQ(month.OneDayAvgdata("2013-06-02"), "");

    becomeActive(1);
    ASSERT_EQ(month.SQLlite_Month(2013, 5), 1);
    EXPECT_EQ(month.aArray_sys, (std::vector<int>{200}));
    EXPECT_EQ(month.OneDayAvgdata("2013-05-31"), "200/110");
}

TEST_F(MonthModel, EmptyMonthHoldsOnlyTheSentinelAndAMissingTableReadsEmpty)
{
    add(0, "2013-04-10", "10:00:00", 100, 60, 60);
    EXPECT_EQ(month.SQLlite_Month(2013, 5), 0);
    EXPECT_EQ(month.aArray_date, (std::vector<std::string>{MonthHistory::kSentinel}));
    EXPECT_TRUE(month.aArray_sys.empty());

    ASSERT_TRUE(SqlStatement(conn(), "DROP TABLE tonaradock_table").run());
    EXPECT_EQ(month.SQLlite_Month(2013, 4), 0);
    EXPECT_EQ(month.aArray_date.size(), 1u);
}

TEST_F(MonthModel, TextLooksLikeSqlIsOnlyData)
{
    add(0, "2013-05-02", "10:00:00", 100, 60, 60, 0, 0, 0, "it's '); DROP TABLE tonaradock_table; --");
    ASSERT_EQ(month.SQLlite_Month(2013, 5), 1);
    EXPECT_EQ(month.aArray_diary[0], "it's '); DROP TABLE tonaradock_table; --");
    EXPECT_EQ(month.OneDayAvgdata("2013-05-02' OR '1'='1"), "");
    EXPECT_EQ(scalar(conn(), "SELECT count(*) FROM tonaradock_table"), 1);
}

TEST_F(MonthModel, TrivSeriesInStoredOrderAndWhoPictures)
{
    clock.set({2013, 5, 3, 9, 5, 7});
    ASSERT_TRUE(
        store.saveTriv(128, 84, 70, {{{131, 86, 72}, {125, 80, 69}, {128, 86, 70}}}, "", false).stored);
    add(0, "2013-05-03", "08:00:00", 185, 95, 70);
    add(0, "2013-05-02", "08:00:00", 118, 78, 70);
    ASSERT_EQ(month.SQLlite_Month(2013, 5), 3);
    ASSERT_EQ(month.aArray_is_triv[0], 1);
    EXPECT_EQ(month.SQLtriv_Search_more(month.aArray_triv_id[0]), 3);
    EXPECT_EQ(month.aArray_times, (std::vector<int>{1, 2, 3}));
    EXPECT_EQ(month.aArray_sys_triv, (std::vector<int>{131, 125, 128}));
    EXPECT_EQ(month.aArray_dia_triv, (std::vector<int>{86, 80, 86}));
    EXPECT_EQ(month.WHO_chack(1), "icon_who_color06.png");
    EXPECT_EQ(month.WHO_chack(2), "icon_who_color01.png");
    EXPECT_EQ(month.SQLtriv_Search_more(9999), 0) << "a series without rows leaves the labels alone";
}

TEST_F(MonthModel, CardsGroupByDayAndPlaceIconsRightToLeft)
{
    add(0, "2013-05-03", "13:30:00", 120, 80, 70, 0, 1, 0); // manual
    add(0, "2013-05-03", "11:00:00", 130, 85, 70, 1, 0, 1); // TRIV with PAD
    add(0, "2013-05-03", "09:05:00", 125, 82, 70, 1, 0, 0); // TRIV
    add(0, "2013-05-02", "00:10:00", 118, 78, 70, 0, 1, 1); // PAD + manual
    ASSERT_EQ(month.SQLlite_Month(2013, 5), 4);

    using I = CardLayout::Icon;
    using P = CardLayout::Placed;
    const auto c0 = CardLayout::card(month, 0, CardLayout::kPhone);
    const auto c1 = CardLayout::card(month, 1, CardLayout::kPhone);
    const auto c2 = CardLayout::card(month, 2, CardLayout::kPhone);
    const auto c3 = CardLayout::card(month, 3, CardLayout::kPhone);
    EXPECT_TRUE(c0.dayHeader);
    EXPECT_FALSE(c1.dayHeader || c2.dayHeader);
    EXPECT_TRUE(c1.joinedAbove && c2.joinedAbove);
    EXPECT_TRUE(c3.dayHeader && !c3.joinedAbove);
    EXPECT_EQ(c0.time, "01:30PM");
    EXPECT_EQ(c2.time, "09:05AM");
    EXPECT_EQ(c3.time, "12:10AM");
    EXPECT_EQ(c0.icons, (std::vector<P>{{I::Pen, 206}, {I::Who, 249}}));
    EXPECT_EQ(c1.icons, (std::vector<P>{{I::Pad, 206}, {I::Triv, 163}, {I::Who, 249}, {I::More, 270}}));
    EXPECT_EQ(c2.icons, (std::vector<P>{{I::Triv, 206}, {I::Who, 249}, {I::More, 270}}));
    EXPECT_EQ(c3.icons, (std::vector<P>{{I::Pad, 206}, {I::Pen, 163}, {I::Who, 249}}));
    EXPECT_EQ(CardLayout::card(month, 1, CardLayout::kTablet).icons[1], (P{I::Triv, 326}));
    EXPECT_EQ(CardLayout::shownTime("12:00:00"), "12:00PM");
    EXPECT_EQ(CardLayout::shownTime("bad"), "bad");
}

} // namespace tonara::test
