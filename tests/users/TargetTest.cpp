#include "UsersCoreSupport.h"

#include "users/core/BloodPressureTarget.h"
#include "users/core/TargetEntryRules.h"

namespace tonara::test {
namespace {

using Rules = TargetEntryRules;

TEST(TargetEntry, RangeIsOneToThreeHundred)
{
    EXPECT_FALSE(Rules::Textrange("0"));
    EXPECT_TRUE(Rules::Textrange("1"));
    EXPECT_TRUE(Rules::Textrange("300"));
    EXPECT_FALSE(Rules::Textrange("301"));
    EXPECT_FALSE(Rules::Textrange(""));
}

TEST(TargetEntry, ThreeDigitsAtMostButTypingOverASelectionWorks)
{
    EXPECT_TRUE(Rules::shouldChangeCharacters(2, 2, 0, "0"));
    EXPECT_FALSE(Rules::shouldChangeCharacters(3, 3, 0, "4")); // a fourth digit
    EXPECT_TRUE(Rules::shouldChangeCharacters(3, 0, 3, "9"));  // over the whole text
    EXPECT_TRUE(Rules::shouldChangeCharacters(3, 1, 1, "5"));  // over one digit
    EXPECT_TRUE(Rules::shouldChangeCharacters(3, 2, 1, ""));   // deleting
    EXPECT_FALSE(Rules::shouldChangeCharacters(0, 0, 0, "1234"));
    for (const char *piece : {"a", "-", ".", "1.5", "1e2", " "})
        EXPECT_FALSE(Rules::shouldChangeCharacters(0, 0, 0, piece)) << piece;
}

class Target : public UsersCoreTest {};

TEST_F(Target, WithoutAStoredTargetTheChartGets180And60)
{
    BloodPressureTarget target(store);
    target.load();
    EXPECT_EQ(target.target_high(), 180);
    EXPECT_EQ(target.target_low(), 60);
    // The users screen writes the active user with -1 for both.
    ASSERT_TRUE(store.insertDataBase_setting_table(2, -1, -1));
    target.load();
    EXPECT_EQ(target.target_high(), 180);
    EXPECT_EQ(target.target_low(), 60);
}

TEST_F(Target, ASavedTargetSurvivesARestartAndKeepsTheActiveUser)
{
    ASSERT_TRUE(store.insertDataBase_setting_table(2, -1, -1));
    {
        BloodPressureTarget target(store);
        ASSERT_TRUE(target.save(120, 80));
        EXPECT_EQ(target.target_high(), 120);
    }
    // A new start: a new connection and store on the same file.
    DBHelper again(dir.path(), &alerts);
    again.openDatabase();
    DataBaseforCD store2(again, alerts);
    BloodPressureTarget chart(store2);
    chart.load();
    EXPECT_EQ(chart.target_high(), 120);
    EXPECT_EQ(chart.target_low(), 80);
    EXPECT_EQ(store2.activeUser(), 2);
}

TEST_F(Target, SavingOnAnEmptySettingsTableMakesTheFirstUserActive)
{
    BloodPressureTarget target(store);
    ASSERT_TRUE(target.save(140, 90));
    EXPECT_EQ(store.activeUser(), 0);
    target.load();
    EXPECT_EQ(target.target_high(), 140);
    EXPECT_EQ(target.target_low(), 90);
}

} // namespace
} // namespace tonara::test
