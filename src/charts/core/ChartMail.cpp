#include "charts/core/ChartMail.h"

#include "history/core/CsvExport.h"

namespace tonara {

namespace {
// The typographic apostrophe, U+2019.
constexpr const char *kRsquo = "\xE2\x80\x99";
} // namespace

ChartMail::ChartMail(int page, const std::string &userName)
    : subject(userName + " " + kRsquo + "s blood pressure history distribution"),
      bodyStart(page == kDistributionPage
                    ? "Attached in the email is " + userName + " " + kRsquo +
                          "s blood pressure history distribution based on WHO classification (2003) from Date"
                    : "Attached in the email is " + userName + " 's blood pressure history from Date")
{}

std::string ChartMail::body(const std::vector<std::string> &datesNewestFirst) const
{
    if (datesNewestFirst.empty())
        return bodyStart;
    return bodyStart + " " + CsvExport::usDate(datesNewestFirst.front()) + " to " +
           CsvExport::usDate(datesNewestFirst.back());
}

} // namespace tonara
