#include "measurement/core/ReadingStore.h"

#include "base/AlertSink.h"
#include "base/Clock.h"
#include "base/Log.h"
#include "storage/DBHelper.h"
#include "storage/DataBaseforCD.h"
#include "storage/SqlStatement.h"
#include "storage/StorageTexts.h"

#include <limits>

namespace tonara {

using namespace StorageTexts;

ReadingStore::ReadingStore(DBHelper &db, AlertSink &alerts, const Clock &clock)
    : db_(db), alerts_(alerts), clock_(clock)
{}

int ReadingStore::activeUser()
{
    DataBaseforCD settings(db_, alerts_);
    return settings.activeUser();
}

bool ReadingStore::insertReading(const Reading &r)
{
    SqlStatement insert =
        db_.executeQuery(std::string("INSERT INTO ") + "tonaradock_table" + " (" +
                         "triv_id,date,time,sys,dia,pulse,diary,is_triv,is_manual,is_pad,user_id" +
                         ") VALUES(?,?,?,?,?,?,?,?,?,?,?)");
    if (!insert.prepared()) {
        alerts_.showAlert("", kDatabaseFull, {kOk});
        Log::write(kLogCategory, fill(kDbError, insert.status().message));
        return false;
    }
    insert.bind(1, r.triv_id).bind(2, r.date).bind(3, r.time).bind(4, r.sys).bind(5, r.dia).bind(6, r.pulse);
    insert.bind(7, r.diary).bind(8, r.is_triv).bind(9, r.is_manual).bind(10, r.is_pad).bind(11, r.user_id);
    const bool done = insert.run();
    if (!done) {
        Log::write(kLogCategory, fill(kDbError, insert.status().message));
        alerts_.showAlert(kNotSavedTitle, fill(kNotSavedMessage, insert.status().message), {kOk});
    }
    return done;
}

int ReadingStore::nextTrivSeriesNumber()
{
    double largest = 0;
    {
        SqlStatement q =
            db_.executeQuery("SELECT max(coalesce((SELECT max(triv_id) FROM tonaradock_table), 0), "
                             "coalesce((SELECT max(id) FROM triv_table), 0))");
        if (q.next())
            largest = q.columnDouble(0);
    }
    if (largest < 1)
        return 1;
    if (largest < static_cast<double>(std::numeric_limits<int>::max()))
        return static_cast<int>(largest) + 1;

    // Nothing lies above the largest number (only a file written elsewhere gets
    // there): take the lowest number that neither table uses.
    SqlStatement free = db_.executeQuery(
        "WITH used(n) AS (SELECT CAST(triv_id AS INTEGER) FROM tonaradock_table WHERE triv_id IS NOT NULL "
        "UNION SELECT CAST(id AS INTEGER) FROM triv_table WHERE id IS NOT NULL) "
        "SELECT min(n) + 1 FROM (SELECT 0 AS n UNION SELECT n FROM used WHERE n > 0) "
        "WHERE n + 1 NOT IN (SELECT n FROM used)");
    const int lowest = free.next() ? free.columnInt(0) : 0;
    return lowest > 0 ? lowest : std::numeric_limits<int>::max();
}

bool ReadingStore::insertTrivRows(int series, const TrivSingles &singles, const std::string &date)
{
    bool all = true;
    for (int position = 1; position <= 3; ++position) {
        const TrivSingle &one = singles[static_cast<std::size_t>(position - 1)];
        SqlStatement insert = db_.executeQuery(std::string("INSERT INTO ") + "triv_table" + " (" +
                                               "id,times,sys,dia,pulse,date" + ") VALUES(?,?,?,?,?,?)");
        if (!insert.prepared()) {
            // Each failed insert of a TRIV save is reported on its own.
            alerts_.showAlert("", kDatabaseFull, {kOk});
            Log::write(kLogCategory, fill(kDbError, insert.status().message));
            all = false;
            continue;
        }
        insert.bind(1, series).bind(2, position).bind(3, one.sys).bind(4, one.dia).bind(5, one.pulse);
        insert.bind(6, date);
        if (!insert.run()) {
            Log::write(kLogCategory, fill(kDbError, insert.status().message));
            if (all) // one alert for the series' details, not one per row
                alerts_.showAlert(kNotSavedTitle, fill(kNotSavedMessage, insert.status().message), {kOk});
            all = false;
        }
    }
    return all;
}

ReadingStore::SaveResult ReadingStore::save(Reading reading)
{
    SaveResult result;
    reading.user_id = activeUser();
    result.stored = insertReading(reading);
    result.reading = reading;
    return result;
}

ReadingStore::SaveResult ReadingStore::withDayAverage(SaveResult result)
{
    DayAverage averages(db_, alerts_);
    result.average = averages.day_average(result.reading.date, result.reading.time, result.reading.user_id);
    db_.closeDatabase();
    return result;
}

ReadingStore::SaveResult ReadingStore::saveReading(const Reading &reading)
{
    SaveResult result;
    result.stored = insertReading(reading);
    result.reading = reading;
    return withDayAverage(result);
}

ReadingStore::SaveResult ReadingStore::saveSingle(int sys, int dia, int pulse, const std::string &diary,
                                                  bool pad)
{
    // One reading of the clock for both texts, so a save at midnight cannot mix two days.
    const LocalDateTime now = clock_.localNow();
    Reading r;
    r.date = now.dateText();
    r.time = now.timeText();
    r.sys = sys;
    r.dia = dia;
    r.pulse = pulse;
    r.diary = diary;
    r.is_pad = pad ? 1 : 0;
    SaveResult result = save(r);
    return withDayAverage(result);
}

ReadingStore::SaveResult ReadingStore::saveTriv(int sys, int dia, int pulse, const TrivSingles &singles,
                                                const std::string &diary, bool pad)
{
    db_.ensureDatabaseFileExists();
    const LocalDateTime now = clock_.localNow();
    Reading r;
    r.triv_id = nextTrivSeriesNumber();
    r.date = now.dateText();
    r.time = now.timeText();
    r.sys = sys;
    r.dia = dia;
    r.pulse = pulse;
    r.diary = diary;
    r.is_triv = 1;
    r.is_pad = pad ? 1 : 0;
    SaveResult result = save(r);
    // The details carry the same local date as their reading.
    const bool details = insertTrivRows(r.triv_id, singles, r.date);
    result.stored = result.stored && details;
    return withDayAverage(result);
}

ReadingStore::SaveResult ReadingStore::saveManual(int sys, int dia, int pulse, const std::string &diary,
                                                  const std::string &date, const std::string &time)
{
    Reading r;
    r.date = date;
    r.time = time;
    r.sys = sys;
    r.dia = dia;
    r.pulse = pulse;
    r.diary = diary;
    r.is_manual = 1;
    SaveResult result = save(r);
    return withDayAverage(result);
}

} // namespace tonara
