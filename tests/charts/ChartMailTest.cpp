#include "charts/core/ChartMail.h"

#include <gtest/gtest.h>

namespace tonara::test {
namespace {

TEST(ChartMailTest, BothPagesShareTheSubjectAndEachBodyKeepsItsOwnApostrophe)
{
    const ChartMail trend(ChartMail::kTrendPage, "Anna");
    const ChartMail who(ChartMail::kDistributionPage, "Anna");
    EXPECT_EQ(trend.subject, "Anna \u2019s blood pressure history distribution");
    EXPECT_EQ(who.subject, trend.subject);
    EXPECT_EQ(trend.body({"2014-06-15", "2014-06-12", "2014-06-09"}),
              "Attached in the email is Anna 's blood pressure history from Date 06/15/2014 to 06/09/2014");
    EXPECT_EQ(who.body({"2014-06-15"}),
              "Attached in the email is Anna \u2019s blood pressure history distribution based on WHO "
              "classification (2003) from Date 06/15/2014 to 06/15/2014");
    EXPECT_EQ(std::string(ChartMail::kAttachmentName), "view.png");
    EXPECT_EQ(std::string(ChartMail::kAttachmentType), "image/png");
}

} // namespace
} // namespace tonara::test
