#pragma once

// The readings export sent as "data.csv": the active user's readings of one
// month or of all time, newest first.
//
//   CsvExport csv(DBHelper::newInstance(), alertSink);
//   int n = csv.Mail_csv_format(CsvExport::kThisMonth, 2013, 5, /*countOnly=*/true).count;
//   std::string text = csv.Mail_csv_format(CsvExport::kThisMonth, 2013, 5, false).text;
//   csv.aArray_email_date.front();   // "05/31/2013", the newest date exported
//
// Header "Date, Time, Systolic, Diastolic, Pulse, PAD, TRIV, Manual", then one
// line per reading "MM/dd/yyyy,HH:mm:ss,sys,dia,pulse,PAD,TRIV,Manual" with Y/N
// flags, every line ended by a line feed, nothing quoted.

#include <string>
#include <vector>

namespace tonara {

class AlertSink;
class DBHelper;

class CsvExport {
public:
    static constexpr int kAllData = 1;
    static constexpr int kThisMonth = 2;
    static constexpr const char *kHeader = "Date, Time, Systolic, Diastolic, Pulse, PAD, TRIV, Manual\n";

    struct Result {
        int count = 0;
        std::string text; // empty when only counted
    };

    CsvExport(DBHelper &db, AlertSink &alerts);

    // Mode kThisMonth: the month year/month; any other mode: all data.
    Result Mail_csv_format(int mode, int year, int month, bool countOnly);
    // The same for a given user instead of the active one (tonara-data export --user N).
    Result Mail_csv_format(int mode, int year, int month, bool countOnly, int user);
    // The user whose readings were exported last.
    int user() const { return user_; }

    // Month/day/year dates of the exported lines, in file order.
    std::vector<std::string> aArray_email_date;

    // "2013-05-03" -> "05/03/2013"; other texts are returned unchanged.
    static std::string usDate(const std::string &stored);

private:
    DBHelper &db_;
    AlertSink &alerts_;
    int user_ = 0;
};

} // namespace tonara
