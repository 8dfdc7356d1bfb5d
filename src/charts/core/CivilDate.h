#pragma once

// Calendar dates as whole days, without a time zone: the charts count days
// between local dates, so a clock change in the night moves nothing.
//
//   CivilDate d = CivilDate::parse("2013-12-31").value();
//   d.plusDays(1).text();          // "2014-01-01"
//   d.daysTo(*CivilDate::parse("2014-01-07"));  // 7

#include <optional>
#include <string>
#include <string_view>

namespace tonara {

struct LocalDateTime;

class CivilDate {
public:
    CivilDate(int year, int month, int day);
    static CivilDate of(const LocalDateTime &at);
    // "yyyy-MM-dd" with a real month and day; anything else is no date.
    static std::optional<CivilDate> parse(std::string_view text);

    int year() const { return year_; }
    int month() const { return month_; }
    int day() const { return day_; }
    // Days since 1970-01-01 (negative before).
    long long serial() const;
    CivilDate plusDays(long long days) const;
    long long daysTo(const CivilDate &later) const { return later.serial() - serial(); }
    std::string text() const; // "yyyy-MM-dd"

private:
    int year_;
    int month_;
    int day_;
};

} // namespace tonara
