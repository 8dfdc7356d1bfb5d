#pragma once

// Stores readings for the active user and keeps their day average up to date.
// The measurement screen and the manual entry call this instead of writing SQL.
//
//   ReadingStore store(DBHelper::newInstance(), alertSink, clock);
//   store.saveSingle(128, 84, 70, comment, /*pad=*/false);
//   store.saveTriv(avg, {{{130, 85, 72}, {126, 83, 70}, {128, 84, 71}}}, comment, false);
//   store.saveManual(118, 76, 70, "", "2013-03-02", "23:30:00");
//   store.saveReading(reading);   // any fully built row, e.g. an import
//
// "Now" comes from the injected clock in local time, never from SQLite's UTC
// 'now'. Each save (the reading, a TRIV reading's three details and the day
// average) is one transaction: after a failure or a crash either all of it is
// in the file or none of it. An insert that cannot be prepared shows the
// "database is full" alert and the save's other inserts are still tried (each
// says so on its own); any other failure is told once as "Reading not saved".
// The result says whether the save went in.

#include "measurement/core/DayAverage.h"
#include "storage/Reading.h"

#include <array>
#include <string>

namespace tonara {

class AlertSink;
class Clock;
class DBHelper;

class ReadingStore {
public:
    // One of the three single readings behind a TRIV reading.
    struct TrivSingle {
        int sys = 0;
        int dia = 0;
        int pulse = 0;
    };
    using TrivSingles = std::array<TrivSingle, 3>;

    struct SaveResult {
        bool stored = false;         // the whole save went in; when false, nothing of it did
        Reading reading;             // what was written
        DayAverage::Outcome average; // the recomputation inside the save (undone with it)
    };

    ReadingStore(DBHelper &db, AlertSink &alerts, const Clock &clock);

    // The settings row's user, or 0 without one.
    int activeUser();

    // The eleven-parameter insert of one row; false after the alert or a log line.
    bool insertReading(const Reading &reading);
    // One more than the largest series number in tonaradock_table or triv_table,
    // so a number is never shared with details left by an earlier series
    // (when the largest is already the largest int: the lowest free number).
    int nextTrivSeriesNumber();
    // The three triv_table rows of a series, positions 1, 2, 3, dated date;
    // stops at the first row that fails.
    bool insertTrivRows(int series, const TrivSingles &singles, const std::string &date);

    // A reading exactly as given (user included) and then its user's day average.
    SaveResult saveReading(const Reading &reading);
    // A single measurement, stored now.
    SaveResult saveSingle(int sys, int dia, int pulse, const std::string &diary, bool pad);
    // A TRIV reading (the device's averages) with its three single readings, stored now.
    SaveResult saveTriv(int sys, int dia, int pulse, const TrivSingles &singles, const std::string &diary,
                        bool pad);
    // A reading typed in by hand for the picked date and time.
    SaveResult saveManual(int sys, int dia, int pulse, const std::string &diary, const std::string &date,
                          const std::string &time);

private:
    // The reading (for the active user when asked; as a TRIV series when it
    // has details) and its day average, all in one transaction.
    SaveResult save(Reading reading, bool forActiveUser, const TrivSingles *details = nullptr);
    // A reading stamped with the clock's local date and time.
    Reading takenNow(int sys, int dia, int pulse, const std::string &diary, bool pad) const;
    // "Reading not saved" with SQLite's reason, once per save.
    void tellNotSaved(const std::string &why);

    DBHelper &db_;
    AlertSink &alerts_;
    const Clock &clock_;
    bool toldNotSaved_ = false;
};

} // namespace tonara
