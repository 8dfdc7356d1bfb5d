#include "measurement/core/ReadingStore.h"

#include "base/AlertSink.h"
#include "base/Clock.h"
#include "base/Log.h"
#include "storage/DBHelper.h"
#include "storage/DataBaseforCD.h"
#include "storage/SqlStatement.h"
#include "storage/SqlTransaction.h"
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
        tellNotSaved(insert.status().message);
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
            // The rows after it would be thrown away with the save.
            Log::write(kLogCategory, fill(kDbError, insert.status().message));
            tellNotSaved(insert.status().message);
            return false;
        }
    }
    return all;
}

void ReadingStore::tellNotSaved(const std::string &why)
{
    if (toldNotSaved_)
        return;
    toldNotSaved_ = true;
    alerts_.showAlert(kNotSavedTitle, fill(kNotSavedMessage, why), {kOk});
}

ReadingStore::SaveResult ReadingStore::save(Reading reading, bool forActiveUser, const TrivSingles *details)
{
    toldNotSaved_ = false;
    SaveResult result;
    sqlite3 *conn = db_.database();
    // Without a connection every insert fails to prepare and says so below.
    SqlTransaction tx(conn);
    if (conn && !tx.begun()) {
        // Another program holds the file for writing, or it cannot be locked.
        Log::write(kLogCategory, fill(kDbError, tx.status().message));
        tellNotSaved(tx.status().message);
        result.reading = reading;
        return result;
    }
    // After a full disk or an I/O error SQLite may have rolled the transaction
    // back already; anything written then would go in on its own.
    const auto mayWrite = [&] { return !conn || tx.intact(); };

    if (forActiveUser)
        reading.user_id = activeUser();
    if (details)
        reading.triv_id = nextTrivSeriesNumber();
    const bool readingIn = insertReading(reading);
    bool all = readingIn;
    result.reading = reading;
    // A failed step has been told; the rest would be rolled back with it.
    if (details && !toldNotSaved_ && mayWrite()) // the details carry their reading's local date
        all = insertTrivRows(reading.triv_id, *details, reading.date) && all;
    // A reading that did not go in has no day average to follow: the save stops
    // here, told already, and is rolled back.
    if (readingIn && !toldNotSaved_ && mayWrite()) {
        DayAverage averages(db_, alerts_);
        result.average = averages.day_average(reading.date, reading.time, reading.user_id);
        if (result.average.action == DayAverage::Action::Failed) {
            all = false;
            if (!result.average.alerted)
                tellNotSaved("the day average could not be updated");
        }
    }
    if (all && !mayWrite()) {
        all = false;
        tellNotSaved("the database rolled the save back");
    }
    if (all) {
        const SqlStatus committed = tx.commit();
        if (!committed.ok()) {
            Log::write(kLogCategory, fill(kDbError, committed.message));
            tellNotSaved(committed.message);
            all = false;
        }
    } else {
        tx.rollback();
    }
    result.stored = all;
    db_.closeDatabase();
    return result;
}

ReadingStore::SaveResult ReadingStore::saveReading(const Reading &reading)
{
    return save(reading, false);
}

Reading ReadingStore::takenNow(int sys, int dia, int pulse, const std::string &diary, bool pad) const
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
    return r;
}

ReadingStore::SaveResult ReadingStore::saveSingle(int sys, int dia, int pulse, const std::string &diary,
                                                  bool pad)
{
    return save(takenNow(sys, dia, pulse, diary, pad), true);
}

ReadingStore::SaveResult ReadingStore::saveTriv(int sys, int dia, int pulse, const TrivSingles &singles,
                                                const std::string &diary, bool pad)
{
    db_.ensureDatabaseFileExists();
    Reading r = takenNow(sys, dia, pulse, diary, pad);
    r.is_triv = 1;
    return save(r, true, &singles);
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
    return save(r, true);
}

} // namespace tonara
