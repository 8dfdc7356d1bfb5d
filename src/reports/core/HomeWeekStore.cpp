#include "reports/core/HomeWeekStore.h"

#include "base/Log.h"
#include "storage/DBHelper.h"
#include "storage/SqlStatement.h"
#include "storage/SqlTransaction.h"

namespace tonara {

namespace {

const char *const kCreate =
    "CREATE TABLE IF NOT EXISTS home_week_table (id integer PRIMARY KEY, user_id integer, "
    "start_date text, threshold_sys integer, threshold_dia integer, state integer)";

// A deleted profile takes its weeks along, and the weeks of the profiles above
// it move down with them, as their readings do. Inside the deletion's own
// transaction, so a deletion that is rolled back leaves the weeks too.
const char *const kUserTrigger =
    "CREATE TRIGGER IF NOT EXISTS home_week_user_deleted AFTER DELETE ON users_table_new "
    "WHEN NOT EXISTS (SELECT 1 FROM users_table_new WHERE user = old.user) BEGIN "
    "DELETE FROM home_week_table WHERE user_id = old.user; "
    "UPDATE home_week_table SET user_id = user_id - 1 WHERE user_id > old.user; END";

void log(const std::string &line)
{
    Log::write("reports", line);
}

} // namespace

HomeWeekStore::HomeWeekStore(DBHelper &db) : db_(db) {}

bool HomeWeekStore::ensureTable()
{
    sqlite3 *conn = db_.database();
    if (!conn)
        return false;
    const SqlStatus created = SqlStatement::exec(conn, kCreate);
    if (!created.ok()) {
        log("home_week_table: " + created.message);
        return false;
    }
    SqlStatement users = db_.executeQuery("SELECT 1 FROM sqlite_master WHERE type = 'table' AND name = "
                                          "'users_table_new'");
    if (users.next()) {
        const SqlStatus trigger = SqlStatement::exec(conn, kUserTrigger);
        if (!trigger.ok())
            log("home_week_table trigger: " + trigger.message);
    }
    return true;
}

std::optional<HomeWeek> HomeWeekStore::startWeek(int user, const CivilDate &start, HomeThreshold threshold)
{
    if (!ensureTable())
        return std::nullopt;
    SqlTransaction tx(db_.database());
    if (!tx.begun()) {
        log("home_week_table: " + tx.status().message);
        return std::nullopt;
    }
    SqlStatement end =
        db_.executeQuery("UPDATE home_week_table SET state = ? WHERE user_id = ? AND state = ?");
    end.bind(1, static_cast<int>(HomeWeek::State::Ended))
        .bind(2, user)
        .bind(3, static_cast<int>(HomeWeek::State::Running));
    SqlStatement insert = db_.executeQuery("INSERT INTO home_week_table (user_id, start_date, threshold_sys, "
                                           "threshold_dia, state) VALUES(?,?,?,?,?)");
    insert.bind(1, user).bind(2, start.text()).bind(3, threshold.sys()).bind(4, threshold.dia());
    insert.bind(5, static_cast<int>(HomeWeek::State::Running));
    if (!end.run() || !insert.run()) {
        log("home_week_table: " + (end.status().ok() ? insert.status().message : end.status().message));
        return std::nullopt;
    }
    const int id = static_cast<int>(sqlite3_last_insert_rowid(db_.database()));
    if (const SqlStatus done = tx.commit(); !done.ok()) {
        log("home_week_table: " + done.message);
        return std::nullopt;
    }
    db_.closeDatabase();
    return HomeWeek{id, user, start, threshold, HomeWeek::State::Running};
}

std::optional<HomeWeek> HomeWeekStore::latest(int user, bool runningOnly)
{
    if (!ensureTable())
        return std::nullopt;
    SqlStatement q =
        db_.executeQuery(runningOnly ? "SELECT id, user_id, start_date, threshold_sys, threshold_dia, state "
                                       "FROM home_week_table WHERE user_id = ? AND state = ? "
                                       "ORDER BY id DESC LIMIT 1"
                                     : "SELECT id, user_id, start_date, threshold_sys, threshold_dia, state "
                                       "FROM home_week_table WHERE user_id = ? AND state <> ? "
                                       "ORDER BY id DESC LIMIT 1");
    q.bind(1, user).bind(
        2, static_cast<int>(runningOnly ? HomeWeek::State::Running : HomeWeek::State::Abandoned));
    std::optional<HomeWeek> out;
    // A row whose start is no date (a damaged file) is no week.
    if (q.next()) {
        if (const std::optional<CivilDate> start = CivilDate::parse(q.columnText(2))) {
            const int state = q.columnInt(5);
            out = HomeWeek{q.columnInt(0), q.columnInt(1), *start,
                           HomeThreshold::fromValues(q.columnInt(3), q.columnInt(4)),
                           state == 1 ? HomeWeek::State::Ended : HomeWeek::State::Running};
        } else {
            log("home_week_table: week " + std::to_string(q.columnInt(0)) + " has no start date");
        }
    }
    db_.closeDatabase();
    return out;
}

std::optional<HomeWeek> HomeWeekStore::currentWeek(int user)
{
    return latest(user, true);
}

std::optional<HomeWeek> HomeWeekStore::latestWeek(int user)
{
    return latest(user, false);
}

bool HomeWeekStore::finish(int user, HomeWeek::State state)
{
    if (!ensureTable())
        return false;
    SqlStatement update =
        db_.executeQuery("UPDATE home_week_table SET state = ? WHERE user_id = ? AND state = ?");
    update.bind(1, static_cast<int>(state)).bind(2, user).bind(3, static_cast<int>(HomeWeek::State::Running));
    const bool ran = update.run();
    if (!ran)
        log("home_week_table: " + update.status().message);
    const bool changed = ran && sqlite3_changes(db_.database()) > 0;
    db_.closeDatabase();
    return changed;
}

bool HomeWeekStore::endWeek(int user)
{
    return finish(user, HomeWeek::State::Ended);
}

bool HomeWeekStore::abandonWeek(int user)
{
    return finish(user, HomeWeek::State::Abandoned);
}

} // namespace tonara
