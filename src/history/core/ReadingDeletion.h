#pragma once

// Deletes one reading of the active user and brings that user's day average
// back in line with the readings left.
//
//   ReadingDeletion deletion(DBHelper::newInstance(), alertSink);
//   auto out = deletion.DeleteSQL(month.aArray_date[i], month.aArray_time[i], month.aArray_rowid[i]);
//
// Only the row touched goes, and only if it still is the active user's reading
// of that date and time: a reading of another user in the same second, or a
// second reading of the same second, stays. The TRIV details of a deleted TRIV
// reading stay in triv_table. When the row cannot be deleted, the day average
// is left as it is; when the day average cannot be brought in line, the
// reading stays too.

#include "measurement/core/DayAverage.h"

#include <string>

namespace tonara {

class AlertSink;
class DBHelper;

class ReadingDeletion {
public:
    static constexpr const char *kDeletePrepareFailed =
        "Error: failed to tonaradock_table update_progress_statement with message '%s'.";

    struct Outcome {
        bool deleted = false;
        DayAverage::Outcome average;
    };

    ReadingDeletion(DBHelper &db, AlertSink &alerts);

    Outcome DeleteSQL(const std::string &date, const std::string &time, long long rowid);

private:
    DBHelper &db_;
    AlertSink &alerts_;
};

} // namespace tonara
