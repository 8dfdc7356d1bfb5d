#include "users/core/OldDataDeletion.h"

#include "base/Clock.h"
#include "base/Log.h"
#include "storage/DBHelper.h"
#include "storage/SqlStatement.h"
#include "storage/SqlTransaction.h"
#include "storage/StorageTexts.h"

#include <chrono>
#include <vector>

namespace tonara {

namespace {

using namespace StorageTexts;

void log(const std::string &line)
{
    Log::write(kLogCategory, line);
}

std::string minusDays(const LocalDateTime &today, int days)
{
    using namespace std::chrono;
    const year_month_day ymd{year{today.year}, month{unsigned(today.month)}, day{unsigned(today.day)}};
    const year_month_day then{sys_days{ymd} - std::chrono::days{days}};
    LocalDateTime at;
    at.year = int(then.year());
    at.month = int(unsigned(then.month()));
    at.day = int(unsigned(then.day()));
    return at.dateText();
}

} // namespace

OldDataDeletion::OldDataDeletion(DBHelper &db, const Clock &clock) : db_(db), clock_(clock) {}

std::string OldDataDeletion::cutOffDate(int Monthdata) const
{
    const LocalDateTime now = clock_.localNow();
    switch (Monthdata) {
    case kSixMonths:
        return minusDays(now, 180);
    case kOneYear:
        return minusDays(now, 365);
    default:
        return now.dateText();
    }
}

bool OldDataDeletion::run(const std::string &sql)
{
    SqlStatement st = db_.executeQuery(sql);
    if (!st.prepared()) {
        lastError_ = st.status().message;
        log(fill(kUpdatePrepareFailed, lastError_));
        return false;
    }
    if (!st.run()) {
        lastError_ = st.status().message;
        log(fill(kUpdateStepFailed, lastError_));
        return false;
    }
    return true;
}

bool OldDataDeletion::SQLDeleteFactory(int Monthdata)
{
    lastError_.clear();
    std::vector<std::string> statements;
    if (Monthdata == kAllData) {
        // Every row, whatever its date: a reading dated after today (a clock
        // that was wrong, a time-zone change) is data too.
        statements = {"DELETE FROM  tonaradock_table", "DELETE FROM  day_average", "DELETE FROM  triv_table"};
    } else {
        // The cut-off is our own "yyyy-MM-dd" text, never anything typed.
        const std::string cut = cutOffDate(Monthdata);
        statements = {"DELETE FROM  tonaradock_table  WHERE date <= '" + cut + "'",
                      "DELETE FROM  day_average   WHERE date <= '" + cut + "' ",
                      "DELETE FROM  triv_table   WHERE date <= '" + cut + "' "};
    }

    SqlTransaction tx(db_.database());
    if (!tx.begun()) {
        lastError_ = tx.status().message;
        log(fill(kUpdatePrepareFailed, lastError_));
        db_.closeDatabase();
        return false;
    }
    bool done = true;
    for (const std::string &sql : statements) {
        if (!run(sql)) {
            done = false;
            break;
        }
    }
    if (done) {
        const SqlStatus commit = tx.commit();
        if (!commit.ok()) {
            lastError_ = commit.message;
            log(fill(kUpdateStepFailed, lastError_));
            done = false;
        }
    }
    if (!done)
        tx.rollback();
    db_.closeDatabase();
    return done;
}

} // namespace tonara
