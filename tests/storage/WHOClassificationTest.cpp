#include "measurement/core/WHOClassification.h"

#include <gtest/gtest.h>

#include <climits>

namespace tonara {

struct Pair {
    int sys;
    int dia;
    int category;
};

TEST(WHOClassification, BoundsOfEveryCategory)
{
    const Pair table[] = {
        {120, 80, 1},  {121, 80, 2}, {120, 81, 2},  {130, 85, 2},          {131, 70, 3},
        {110, 86, 3},  {140, 90, 3}, {141, 90, 4},  {140, 91, 4},          {160, 100, 4},
        {161, 60, 5},  {60, 101, 5}, {180, 110, 5}, {181, 60, 6},          {100, 111, 6},
        {118, 105, 5}, {0, 0, 1},    {-5, -200, 1}, {INT_MIN, INT_MAX, 6}, {INT_MAX, INT_MIN, 6},
    };
    for (const auto &p : table)
        EXPECT_EQ(WHOClassification::category(p.sys, p.dia), p.category) << p.sys << "/" << p.dia;
}

TEST(WHOClassification, IconBarAndColourStayInStepWithTheCategory)
{
    EXPECT_EQ(WHOClassification::WHO_chack(120, 80), "icon_who_color01.png");
    EXPECT_EQ(WHOClassification::WHO_chack(181, 60), "icon_who_color06.png");
    EXPECT_EQ(WHOClassification::iconName(4), "icon_who_color04.png");
    EXPECT_EQ(WHOClassification::barPlotName(6), "Bar Plot 1");
    EXPECT_EQ(WHOClassification::barPlotName(1), "Bar Plot 6");
    EXPECT_EQ(WHOClassification::barColour(6), (WHOClassification::Rgb{254, 20, 20}));
    EXPECT_EQ(WHOClassification::barColour(5), (WHOClassification::Rgb{254, 116, 20}));
    EXPECT_EQ(WHOClassification::barColour(4), (WHOClassification::Rgb{255, 140, 100}));
    EXPECT_EQ(WHOClassification::barColour(3), (WHOClassification::Rgb{254, 227, 0}));
    EXPECT_EQ(WHOClassification::barColour(2), (WHOClassification::Rgb{20, 202, 67}));
    EXPECT_EQ(WHOClassification::barColour(1), (WHOClassification::Rgb{140, 213, 0}));
    EXPECT_EQ(WHOClassification::iconName(0), WHOClassification::iconName(1)) << "out of range falls back";
}

} // namespace tonara
