#pragma once

// The texts of a chart sent as a picture: the same subject for both pages, a
// body per page naming the user and the dates of the chart's own rows.
//
//   ChartMail mail(ChartMail::kTrendPage, "Anna");
//   mail.subject;                                   // "Anna ’s blood pressure history distribution"
//   mail.body({"2014-06-15", "2014-06-09"});        // "... from Date 06/15/2014 to 06/09/2014"

#include <string>
#include <vector>

namespace tonara {

class ChartMail {
public:
    static constexpr int kTrendPage = 1;
    static constexpr int kDistributionPage = 2;
    static constexpr const char *kAttachmentName = "view.png";
    static constexpr const char *kAttachmentType = "image/png";

    ChartMail(int page, const std::string &userName);

    std::string subject;
    std::string bodyStart;

    // The body start and " newest to oldest", the stored dates (newest first)
    // written month/day/year as in the readings mail.
    std::string body(const std::vector<std::string> &datesNewestFirst) const;
};

} // namespace tonara
