#pragma once

// A household database in a temporary folder for the import and export tests,
// filled through the reading store as the measurement screen fills it.

#include "storage/StorageTestSupport.h"
#include "support/StoredReadings.h"

#include "base/Clock.h"
#include "data/core/CsvImport.h"
#include "data/core/ReadingImporter.h"
#include "history/core/CsvExport.h"
#include "measurement/core/ReadingStore.h"
#include "storage/DataBaseforCD.h"

#include <string>
#include <vector>

namespace tonara::test {

class Household {
public:
    Household() : db(dir.path(), &alerts)
    {
        LogCapture::quiet();
        db.openDatabase();
        users.check_database();
        users.insertDataBase_user_table(0, "", "", "User", "", "", 0, "");
    }

    sqlite3 *conn() { return db.database(); }

    void add(int user, const std::string &date, const std::string &time, int sys, int dia, int pulse,
             int triv = 0, int manual = 0, int pad = 0, const std::string &diary = "")
    {
        Reading r{0, date, time, sys, dia, pulse, diary, triv, manual, user, pad};
        if (triv) {
            r.triv_id = store.nextTrivSeriesNumber();
            store.insertTrivRows(
                r.triv_id,
                {{{sys + 2, dia + 1, pulse}, {sys, dia, pulse + 1}, {sys - 2, dia - 1, pulse - 1}}}, date);
        }
        ASSERT_TRUE(store.saveReading(r).stored);
    }

    std::string exportCsv(int user)
    {
        CsvExport csv(db, alerts);
        return csv.Mail_csv_format(CsvExport::kAllData, 0, 0, false, user).text;
    }

    // Detects the file's shape, plans it for the user and stores it.
    ReadingImporter::Result importText(const std::string &bytes, int user, CsvImport::Plan *planOut = nullptr)
    {
        CsvImport file(bytes);
        const CsvImport::Options options = file.detect().options;
        CsvImport::Plan plan = file.plan(options, user, clock.localNow());
        ReadingImporter importer(db);
        ReadingImporter::Result r = importer.import(plan, options.ownFormat);
        if (planOut)
            *planOut = plan;
        return r;
    }

    // "date time sys/dia pulse" of every day_average row, oldest first.
    std::vector<std::string> averages(int user)
    {
        return column(conn(), "SELECT date || ' ' || time || ' ' || sys || '/' || dia || ' ' || pulse FROM "
                              "day_average WHERE user_id = " +
                                  std::to_string(user) + " ORDER BY date");
    }

    TempDir dir;
    RecordingAlerts alerts;
    DBHelper db;
    ManualClock clock{{2013, 5, 20, 12, 0, 0}};
    DataBaseforCD users{db, alerts};
    ReadingStore store{db, alerts, clock};
};

} // namespace tonara::test
