#include "history/core/ReadingDeletion.h"

#include "base/Log.h"
#include "storage/DBHelper.h"
#include "storage/DataBaseforCD.h"
#include "storage/SqlStatement.h"
#include "storage/SqlTransaction.h"
#include "storage/StorageTexts.h"

namespace tonara {

using namespace StorageTexts;

ReadingDeletion::ReadingDeletion(DBHelper &db, AlertSink &alerts) : db_(db), alerts_(alerts) {}

ReadingDeletion::Outcome ReadingDeletion::DeleteSQL(const std::string &date, const std::string &time,
                                                    long long rowid)
{
    Outcome out;
    DataBaseforCD settings(db_, alerts_);
    const int user = settings.activeUser();

    SqlStatement del = db_.executeQuery(
        "DELETE FROM  tonaradock_table   WHERE  rowid = ? AND date = ? AND time = ? AND user_id = ? ");
    if (!del.prepared()) {
        Log::write(kLogCategory, fill(kDeletePrepareFailed, del.status().message));
        return out;
    }
    // The reading and its day average go together or not at all: a day
    // average left behind would keep a deleted reading in the charts.
    SqlTransaction tx(db_.database());
    if (!tx.begun()) {
        Log::write(kLogCategory, fill(kUpdateStepFailed, tx.status().message));
        return out;
    }
    // 64-bit row numbers: the wrapper binds 32-bit integers only.
    sqlite3_bind_int64(del.handle(), 1, rowid);
    del.bind(2, date).bind(3, time).bind(4, user);
    if (del.step() != SQLITE_DONE)
        Log::write(kLogCategory, fill(kUpdateStepFailed, del.status().message));
    else
        out.deleted = sqlite3_changes(db_.database()) == 1;
    del.reset();

    DayAverage averages(db_, alerts_);
    out.average = averages.day_average(date, time, user);
    if (out.average.action == DayAverage::Action::Failed || !tx.intact()) {
        tx.rollback();
        out.deleted = false;
    } else if (const SqlStatus committed = tx.commit(); !committed.ok()) {
        Log::write(kLogCategory, fill(kUpdateStepFailed, committed.message));
        out.deleted = false;
    }
    db_.closeDatabase();
    return out;
}

} // namespace tonara
