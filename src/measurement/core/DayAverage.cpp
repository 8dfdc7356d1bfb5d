#include "measurement/core/DayAverage.h"

#include "base/AlertSink.h"
#include "base/Log.h"
#include "storage/DBHelper.h"
#include "storage/DataBaseforCD.h"
#include "storage/SqlStatement.h"
#include "storage/StorageTexts.h"

#include <cstdint>

namespace tonara {

using namespace StorageTexts;

namespace {

void log(const std::string &line)
{
    Log::write(kLogCategory, line);
}

} // namespace

DayAverage::DayAverage(DBHelper &db, AlertSink &alerts) : db_(db), alerts_(alerts) {}

DayAverage::Outcome DayAverage::day_average(const std::string &date, const std::string &time)
{
    DataBaseforCD settings(db_, alerts_);
    return day_average(date, time, settings.activeUser());
}

DayAverage::Outcome DayAverage::day_average(const std::string &date, const std::string &time, int user)
{
    Outcome out;
    std::int64_t sys = 0, dia = 0, pulse = 0;
    {
        SqlStatement rows =
            db_.executeQuery("SELECT * FROM tonaradock_table where date = ? and user_id = ? ");
        rows.bind(1, date).bind(2, user);
        while (rows.next()) {
            sys += rows.columnInt(3);
            dia += rows.columnInt(4);
            pulse += rows.columnInt(5);
            ++out.count;
        }
    }
    if (out.count > 0) {
        out.sys_avg_db = static_cast<int>(sys / out.count);
        out.dia_avg_db = static_cast<int>(dia / out.count);
        out.pulse_avg_db = static_cast<int>(pulse / out.count);
    }

    int existing = 0;
    {
        SqlStatement rows = db_.executeQuery("SELECT * FROM day_average where date = ? and user_id = ? ");
        rows.bind(1, date).bind(2, user);
        while (rows.next())
            ++existing;
    }

    // Decided by whether readings remain, not by the averages being 0: a
    // manual 0/0/0 reading is still a reading of that day.
    if (out.count == 0) {
        if (existing == 0)
            return out;
        SqlStatement del = db_.executeQuery("DELETE FROM day_average WHERE date = ? and user_id = ? ");
        if (!del.prepared()) {
            log(del.status().message);
            out.action = Action::Failed;
            return out;
        }
        del.bind(1, date).bind(2, user);
        if (!del.run()) {
            log(fill(kUpdateStepFailed, del.status().message));
            out.action = Action::Failed;
        } else {
            out.action = Action::Deleted;
        }
        db_.closeDatabase();
        return out;
    }

    if (existing == 0) {
        SqlStatement insert = db_.executeQuery(std::string("INSERT INTO ") + "day_average" + " (" +
                                               "user_id,date,sys,dia,pulse,time" + ") VALUES(?,?,?,?,?,?)");
        if (!insert.prepared()) {
            alerts_.showAlert("", kDatabaseFull, {kOk});
            log(fill(kDbError, insert.status().message));
            out.action = Action::Failed;
            out.alerted = true;
            return out;
        }
        insert.bind(1, user).bind(2, date).bind(3, out.sys_avg_db).bind(4, out.dia_avg_db);
        insert.bind(5, out.pulse_avg_db).bind(6, time);
        if (insert.run()) {
            out.action = Action::Inserted;
        } else {
            log(fill(kDbError, insert.status().message));
            out.action = Action::Failed;
        }
        db_.closeDatabase();
        return out;
    }

    SqlStatement update = db_.executeQuery(
        "UPDATE day_average SET  sys=? , dia = ? , pulse = ?  WHERE date = ? and user_id = ? ");
    if (!update.prepared()) {
        log(fill(kUpdatePrepareFailed, update.status().message));
        out.action = Action::Failed;
        return out;
    }
    update.bind(1, out.sys_avg_db)
        .bind(2, out.dia_avg_db)
        .bind(3, out.pulse_avg_db)
        .bind(4, date)
        .bind(5, user);
    if (update.run()) {
        out.action = Action::Updated;
    } else {
        log(fill(kUpdateStepFailed, update.status().message));
        out.action = Action::Failed;
    }
    update.reset();
    db_.closeDatabase();
    return out;
}

} // namespace tonara
