#include "measurement/core/ManualEntryRules.h"

#include <gtest/gtest.h>

namespace tonara {
namespace {

using Field = ManualEntryRules::Field;
using Refusal = ManualEntryRules::Refusal;

const Refusal kMissing{"Number missing", "Please enter a number in the box"};
const Refusal kOut300{"Number out of range", "Please enter a number within the range of 0~300"};
const Refusal kOut200{"Number out of range", "Please enter a number within the range of 0~200"};

TEST(ManualEntryRulesTest, BoundsAreInclusiveAndEachFieldHasItsOwnMessage)
{
    struct Case {
        Field field;
        const char *text;
        std::optional<Refusal> expected;
    };
    const Case cases[] = {
        {Field::Systolic, "0", std::nullopt},
        {Field::Systolic, "300", std::nullopt},
        {Field::Systolic, "301", kOut300},
        {Field::Diastolic, "0", std::nullopt},
        {Field::Diastolic, "300", std::nullopt},
        {Field::Diastolic, "301", kOut300},
        {Field::Pulse, "0", std::nullopt},
        {Field::Pulse, "200", std::nullopt},
        {Field::Pulse, "201", kOut200},
        {Field::Pulse, "300", kOut200},
        {Field::Systolic, "", kMissing},
        {Field::Diastolic, "", kMissing},
        {Field::Pulse, "", kMissing},
        {Field::Systolic, "080", std::nullopt},
        {Field::Systolic, "-5", kOut300},
        {Field::Pulse, "999", kOut200},
    };
    for (const Case &c : cases)
        EXPECT_EQ(ManualEntryRules::validate(c.field, c.text), c.expected) << c.text;
}

TEST(ManualEntryRulesTest, IntValueReadsLeadingDigitsLikeTheScreensDo)
{
    EXPECT_EQ(ManualEntryRules::intValue("080"), 80);
    EXPECT_EQ(ManualEntryRules::intValue("  12x"), 12);
    EXPECT_EQ(ManualEntryRules::intValue("-7"), -7);
    EXPECT_EQ(ManualEntryRules::intValue("abc"), 0);
    EXPECT_EQ(ManualEntryRules::intValue("99999999999999"), 2147483647);
}

TEST(ManualEntryRulesTest, NumberFieldTakesThreeDigitsAndAlwaysADeletion)
{
    // Typing into "12", "123".
    EXPECT_TRUE(ManualEntryRules::shouldChangeCharacters(2, 2, 0, "3"));
    EXPECT_FALSE(ManualEntryRules::shouldChangeCharacters(3, 3, 0, "4"));
    // Typing over a selection of a full field.
    EXPECT_TRUE(ManualEntryRules::shouldChangeCharacters(3, 2, 1, "5"));
    EXPECT_TRUE(ManualEntryRules::shouldChangeCharacters(3, 0, 3, "9"));
    // A paste over one character must not make the field longer than three.
    EXPECT_FALSE(ManualEntryRules::shouldChangeCharacters(3, 2, 1, "45"));
    EXPECT_FALSE(ManualEntryRules::shouldChangeCharacters(0, 0, 0, "1234"));
    // Deleting, even in a full field.
    EXPECT_TRUE(ManualEntryRules::shouldChangeCharacters(3, 2, 1, ""));
    EXPECT_TRUE(ManualEntryRules::shouldChangeCharacters(0, 0, 0, ""));
    // Nothing but digits: letters, a lone point, signs, blanks, other digits.
    for (const char *bad : {"a", ".", "-", "+", " ", "1.5", "1e2", "-5", "\xd9\xa3" /* Arabic-Indic three */})
        EXPECT_FALSE(ManualEntryRules::shouldChangeCharacters(0, 0, 0, bad)) << bad;
    // A range outside the text is no edit of it.
    EXPECT_FALSE(ManualEntryRules::shouldChangeCharacters(1, 1, 1, "2"));
}

TEST(ManualEntryRulesTest, PickedMomentStopsAtTheLatest)
{
    const LocalDateTime now{2026, 3, 10, 9, 15, 42};
    EXPECT_EQ(ManualEntryRules::clampToLatest({2026, 3, 10, 9, 16, 0}, now), now);
    EXPECT_EQ(ManualEntryRules::clampToLatest({2026, 3, 10, 9, 15, 43}, now), now);
    EXPECT_EQ(ManualEntryRules::clampToLatest({2027, 1, 1, 0, 0, 0}, now), now);
    const LocalDateTime yesterday{2026, 3, 9, 23, 30, 42};
    EXPECT_EQ(ManualEntryRules::clampToLatest(yesterday, now), yesterday);
    EXPECT_EQ(ManualEntryRules::clampToLatest(now, now), now);
}

TEST(ManualEntryRulesTest, MomentIsWrittenOnA12HourClock)
{
    EXPECT_EQ(ManualEntryRules::pickerLabel({2013, 3, 2, 23, 30, 5}), "2013/03/02            11:30PM");
    EXPECT_EQ(ManualEntryRules::resultDate({2013, 3, 2, 23, 30, 5}), "2013/03/02");
    EXPECT_EQ(ManualEntryRules::resultTime({2013, 3, 2, 0, 5, 0}), "12:05AM");
    EXPECT_EQ(ManualEntryRules::resultTime({2013, 3, 2, 12, 0, 0}), "12:00PM");
    EXPECT_EQ(ManualEntryRules::resultTime({2013, 3, 2, 9, 7, 0}), "09:07AM");
}

} // namespace
} // namespace tonara
