#include "data/core/ReadingImporter.h"

#include "base/AlertSink.h"
#include "base/Log.h"
#include "measurement/core/DayAverage.h"
#include "measurement/core/ReadingStore.h"
#include "storage/DBHelper.h"
#include "storage/SqlStatement.h"
#include "storage/SqlTransaction.h"
#include "storage/StorageTexts.h"

#include <algorithm>
#include <map>

namespace tonara {

namespace {

// The store's alerts would pop up once per reading; the import reports one
// outcome with SQLite's reason instead.
class QuietAlerts final : public AlertSink {
public:
    void showAlert(const std::string &, const std::string &, const std::vector<std::string> &,
                   Completion done) override
    {
        if (done)
            done(0);
    }
};

// Import is not a person's measurement: the store's clock is never read.
class NoClock final : public Clock {
public:
    LocalDateTime localNow() const override { return {}; }
};

} // namespace

ReadingImporter::ReadingImporter(DBHelper &db) : db_(db) {}

bool ReadingImporter::inDatabase(const Reading &r)
{
    SqlStatement q =
        db_.executeQuery("SELECT count(*) FROM tonaradock_table WHERE user_id = ? AND date = ? AND "
                         "time = ? AND sys = ? AND dia = ? AND pulse = ?");
    q.bind(1, r.user_id).bind(2, r.date).bind(3, r.time).bind(4, r.sys).bind(5, r.dia).bind(6, r.pulse);
    return q.next() && q.columnInt(0) > 0;
}

void ReadingImporter::markDuplicates(CsvImport::Plan &plan)
{
    db_.openDatabase();
    for (CsvImport::Row &row : plan.rows) {
        if (row.status == CsvImport::Status::Ready && inDatabase(row.reading))
            row.status = CsvImport::Status::DuplicateInDatabase;
        else if (row.status == CsvImport::Status::DuplicateInDatabase && !inDatabase(row.reading))
            row.status = CsvImport::Status::Ready;
    }
    db_.closeDatabase();
}

ReadingImporter::Result ReadingImporter::import(CsvImport::Plan &plan, bool ownFormat)
{
    using namespace StorageTexts;
    Result result;
    db_.openDatabase();
    sqlite3 *conn = db_.database();
    if (!conn) {
        result.error = "the database cannot be opened";
        return result;
    }
    SqlTransaction tx(conn);
    if (!tx.begun()) {
        result.error = tx.status().message;
        return result;
    }
    markDuplicates(plan);

    std::vector<CsvImport::Row *> rows;
    for (CsvImport::Row &row : plan.rows)
        if (row.status == CsvImport::Status::Ready)
            rows.push_back(&row);
    // Our export lists the newest first and, within one moment, the reading
    // stored last first; reversing it stores them in their original order.
    if (ownFormat)
        std::reverse(rows.begin(), rows.end());
    std::stable_sort(rows.begin(), rows.end(), [](const CsvImport::Row *a, const CsvImport::Row *b) {
        return std::tie(a->reading.date, a->reading.time) < std::tie(b->reading.date, b->reading.time);
    });

    QuietAlerts alerts;
    NoClock clock;
    ReadingStore store(db_, alerts, clock);
    std::map<std::string, std::string> days; // date -> time of its first imported reading
    const auto failed = [&](int line, const std::string &why) {
        tx.rollback();
        result = Result{};
        result.failedLine = line;
        result.error = why.empty() ? "the database refused the reading" : why;
        Log::write(kLogCategory, fill(kDbError, result.error));
        // The rows were not stored after all: the preview's counts stay true.
        markDuplicates(plan);
        return result;
    };
    for (CsvImport::Row *row : rows) {
        Reading r = row->reading;
        if (r.is_triv)
            r.triv_id = store.nextTrivSeriesNumber();
        if (!store.insertReading(r) || !tx.intact())
            return failed(row->line, sqlite3_errmsg(conn));
        days.emplace(r.date, r.time);
        ++result.imported;
    }
    for (const auto &[date, time] : days) {
        DayAverage averages(db_, alerts);
        const DayAverage::Outcome o = averages.day_average(date, time, rows.front()->reading.user_id);
        if (o.action == DayAverage::Action::Failed || !tx.intact())
            return failed(0, std::string(sqlite3_errmsg(conn)) + " (the day average of " + date + ")");
    }
    const SqlStatus committed = tx.commit();
    if (!committed.ok())
        return failed(0, committed.message);
    result.stored = true;
    result.duplicatesInDatabase = plan.count(CsvImport::Status::DuplicateInDatabase);
    db_.closeDatabase();
    return result;
}

} // namespace tonara
