#pragma once

// Keeps day_average in line with the readings: one row per user and day holding
// the truncated integer averages of all that user's readings of the day
// (single, TRIV and manual alike; a TRIV reading counts once, with its averages).
//
//   DayAverage averages(DBHelper::newInstance(), alertSink);
//   averages.day_average("2013-03-03", "09:05:07");      // after a save, active user
//   averages.day_average("2013-03-03", "09:05:07", 2);   // after deleting a reading of user 2
//
// Both recompute from the readings left and then delete the row (no reading
// left), insert it (no row yet; its time is the one given) or update its three
// averages (its time stays that of the reading that created it). Rows of other
// users on the same day are never touched.

#include <string>

namespace tonara {

class AlertSink;
class DBHelper;

class DayAverage {
public:
    enum class Action { None, Inserted, Updated, Deleted, Failed };

    struct Outcome {
        Action action = Action::None;
        int count = 0; // readings of the user on that day
        int sys_avg_db = 0;
        int dia_avg_db = 0;
        int pulse_avg_db = 0;
        bool alerted = false; // the person has been shown an alert about it
    };

    DayAverage(DBHelper &db, AlertSink &alerts);

    // For the active user (the settings row's user, or 0).
    Outcome day_average(const std::string &date, const std::string &time);
    // For the given user.
    Outcome day_average(const std::string &date, const std::string &time, int user);

private:
    DBHelper &db_;
    AlertSink &alerts_;
};

} // namespace tonara
