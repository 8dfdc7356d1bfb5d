#pragma once

// A household database in a temporary folder, filled through the reading
// store as the measurement screen fills it.

#include "storage/StorageTestSupport.h"

#include "base/Clock.h"
#include "measurement/core/ReadingStore.h"
#include "storage/DataBaseforCD.h"

namespace tonara::test {

class HistoryTest : public StorageTest {
protected:
    HistoryTest()
    {
        users.check_database();
        // Hundreds of saves in a test: no need to wait for the disk each time.
        SqlStatement::exec(conn(), "PRAGMA synchronous=OFF");
    }

    void becomeActive(int user) { ASSERT_TRUE(users.insertDataBase_setting_table(user, -1, -1)); }

    // A reading of the given user, with its day average as a save makes it.
    void add(int user, const std::string &date, const std::string &time, int sys, int dia, int pulse,
             int triv = 0, int manual = 0, int pad = 0, const std::string &diary = "", int series = 0)
    {
        Reading r{series, date, time, sys, dia, pulse, diary, triv, manual, user, pad};
        ASSERT_TRUE(store.saveReading(r).stored);
    }

    struct AvgRow {
        int user, sys, dia, pulse;
        bool operator==(const AvgRow &) const = default;
    };
    std::vector<AvgRow> averagesOf(const std::string &date)
    {
        std::vector<AvgRow> out;
        SqlStatement st(conn(),
                        "SELECT user_id, sys, dia, pulse FROM day_average WHERE date = ? ORDER BY user_id");
        st.bind(1, date);
        while (st.next())
            out.push_back({st.columnInt(0), st.columnInt(1), st.columnInt(2), st.columnInt(3)});
        return out;
    }

    ManualClock clock{{2013, 5, 20, 12, 0, 0}};
    DataBaseforCD users{db, alerts};
    ReadingStore store{db, alerts, clock};
};

} // namespace tonara::test
