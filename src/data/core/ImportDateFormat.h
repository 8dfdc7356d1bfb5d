#pragma once

// How an imported file writes its dates and times, and turning them into the
// stored "yyyy-MM-dd" and "HH:mm:ss".
//
//   auto guess = ImportDateFormat::detect({"13.05.2013", "02.05.2013"}); // DayMonthYear, not ambiguous
//   std::optional<std::string> d = ImportDateFormat::toStored("05/03/2013", ImportDateFormat::MonthDayYear);
//   std::optional<std::string> t = ImportDateFormat::timeToStored("7:05 PM");          // "19:05:00"
//
// Year first (yyyy-MM-dd), month first (MM/dd/yyyy) and day first (dd.MM.yyyy)
// are told apart by their numbers, not by the separator: people write
// 09/05/2013 for the 9th of May too. Any of '-', '/' and '.' separates; leading
// zeros are optional. A date may carry its time after a blank or a 'T'.

#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace tonara {

class ImportDateFormat {
public:
    enum Order { YearMonthDay = 0, MonthDayYear = 1, DayMonthYear = 2 };

    struct Guess {
        Order order = YearMonthDay;
        // Every date reads both month first and day first (all days are 12 or
        // less): the person has to choose; order holds the likelier one.
        bool ambiguous = false;
        // Some dates fit none of the orders (or contradict each other).
        bool fits = true;
    };

    static Guess detect(const std::vector<std::string> &dates);
    // The date as "yyyy-MM-dd" when it is a real calendar date in that order.
    static std::optional<std::string> toStored(std::string_view date, Order order);
    // "H:mm", "H:mm:ss", with or without AM/PM, as "HH:mm:ss".
    static std::optional<std::string> timeToStored(std::string_view time);
    // Splits "2013-05-03 09:05" or "2013-05-03T09:05:00" into date and time
    // (time empty when there is none).
    static std::pair<std::string, std::string> splitDateTime(std::string_view text);
    // "yyyy-MM-dd", "MM/dd/yyyy" or "dd.MM.yyyy".
    static const char *pattern(Order order);
};

} // namespace tonara
