#pragma once

// The home-monitoring weeks people started in the app, one row per week in
// home_week_table (created when missing, in the same file as the readings).
//
//   HomeWeekStore weeks(DBHelper::newInstance());
//   weeks.startWeek(user, today, HomeThreshold::standard());
//   if (std::optional<HomeWeek> w = weeks.currentWeek(user)) ...   // the one the tab shows
//   weeks.endWeek(user);          // after its result: kept, still the latest for a report
//   weeks.abandonWeek(user);      // given up: kept out of reports
//   std::optional<HomeWeek> last = weeks.latestWeek(user);          // what `--week` reports
//
// A week belongs to its user's number. Deleting a user (DataBaseforCD)
// deletes that user's weeks and moves the weeks of the higher numbers down
// with their profiles, in the same transaction, through triggers this class
// installs once the users table exists. Failures are logged under "reports";
// nothing throws.

#include "charts/core/CivilDate.h"
#include "reports/core/HomeThreshold.h"

#include <optional>

namespace tonara {

class DBHelper;

struct HomeWeek {
    enum class State { Running = 0, Ended = 1, Abandoned = 2 };

    int id = 0;
    int user = 0;
    CivilDate start{2000, 1, 1};
    HomeThreshold threshold = HomeThreshold::standard();
    State state = State::Running;
};

class HomeWeekStore {
public:
    static constexpr const char *kTable = "home_week_table";

    explicit HomeWeekStore(DBHelper &db);

    // Creates the table (and the user triggers, once users_table_new exists)
    // when missing; false when the file cannot take it.
    bool ensureTable();

    // A new running week for the user; a week still running for that user ends.
    std::optional<HomeWeek> startWeek(int user, const CivilDate &start, HomeThreshold threshold);
    // The user's running week, if any.
    std::optional<HomeWeek> currentWeek(int user);
    // The user's latest week that was not abandoned (running or ended).
    std::optional<HomeWeek> latestWeek(int user);
    // Ends or abandons the user's running week; false when there is none or the write failed.
    bool endWeek(int user);
    bool abandonWeek(int user);

private:
    std::optional<HomeWeek> latest(int user, bool runningOnly);
    bool finish(int user, HomeWeek::State state);

    DBHelper &db_;
};

} // namespace tonara
