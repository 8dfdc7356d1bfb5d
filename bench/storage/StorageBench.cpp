// Storage speed on a household database: five users, ten years, 100,000 readings.
//
//   bench_storage                       # builds the file in a temporary folder
//   TONARA_BENCH_DB_DIR=/tmp/x bench_storage   # keeps it there for the sqlite3 shell
//
// MonthQuery is the month list's query of one user; MonthQueryShell runs the same
// text through the sqlite3 command-line shell on the same file (its ".timer"
// figure, so process start-up is not counted) as the reference.

#include "HouseholdDatabase.h"
#include "base/AlertSink.h"
#include "base/Clock.h"
#include "base/Log.h"
#include "measurement/core/DayAverage.h"
#include "measurement/core/ReadingStore.h"
#include "storage/DBHelper.h"
#include "storage/DataBaseforCD.h"
#include "storage/SqlStatement.h"

#include <benchmark/benchmark.h>

#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <memory>
#include <string>
#include <vector>

namespace {

using namespace tonara;
namespace fs = std::filesystem;

constexpr int kUsers = 5;
constexpr int kReadings = 100000;
constexpr int kYears = 10;

class NoAlerts final : public AlertSink {
public:
    void showAlert(const std::string &, const std::string &, const std::vector<std::string> &,
                   Completion) override
    {}
};

// Builds (once) the household file and returns its folder.
const std::string &householdFolder()
{
    static const std::string folder = [] {
        std::string dir;
        if (const char *env = std::getenv("TONARA_BENCH_DB_DIR")) {
            dir = env;
        } else {
            std::string pattern = (fs::temp_directory_path() / "tonara-bench-XXXXXX").string();
            dir = ::mkdtemp(pattern.data());
        }
        std::string error;
        if (!HouseholdDatabase::write(dir, HouseholdDatabase::Shape{kUsers, kYears, kReadings}, &error)) {
            std::fprintf(stderr, "bench_storage: %s\n", error.c_str());
            std::exit(1);
        }
        return dir;
    }();
    return folder;
}

std::string databasePath()
{
    return (fs::path(householdFolder()) / "TonaraDock.sqlite").string();
}

const char *kMonthQuery =
    "SELECT * FROM tonaradock_table where user_id = ? and date > date(?,'start of month','+0 month','-1 "
    "day') "
    "and date < date(?,'start of month','+1 month') and user_id = ? ORDER BY date desc,time desc ";

struct Quiet {
    Quiet()
    {
        Log::setSink([](const std::string &, const std::string &) {});
    }
} quiet;

void BM_MonthQuery(benchmark::State &state)
{
    NoAlerts alerts;
    DBHelper db(householdFolder(), &alerts);
    db.openDatabase();
    std::size_t rows = 0;
    for (auto _ : state) {
        // What the month list fills: eleven column arrays.
        std::vector<int> triv, sys, dia, pulse, isTriv, isManual, user, pad;
        std::vector<std::string> date, time, diary;
        SqlStatement st = db.executeQuery(kMonthQuery);
        st.bind(1, 2).bind(2, "2009-05-01").bind(3, "2009-05-01").bind(4, 2);
        while (st.next()) {
            triv.push_back(st.columnInt(0));
            date.push_back(st.columnText(1));
            time.push_back(st.columnText(2));
            sys.push_back(st.columnInt(3));
            dia.push_back(st.columnInt(4));
            pulse.push_back(st.columnInt(5));
            diary.push_back(st.columnText(6));
            isTriv.push_back(st.columnInt(7));
            isManual.push_back(st.columnInt(8));
            user.push_back(st.columnInt(9));
            pad.push_back(st.columnInt(10));
        }
        date.push_back("0000-00-00");
        rows = sys.size();
        benchmark::DoNotOptimize(rows);
    }
    state.counters["rows"] = static_cast<double>(rows);
}
BENCHMARK(BM_MonthQuery)->Unit(benchmark::kMicrosecond);

void BM_MonthQueryShell(benchmark::State &state)
{
    if (std::system("command -v sqlite3 >/dev/null 2>&1") != 0) {
        state.SkipWithError("sqlite3 shell not installed");
        return;
    }
    const std::string query =
        "SELECT * FROM tonaradock_table where user_id = '2' and date > "
        "date('2009-05-01','start of month','+0 month','-1 day') and date < "
        "date('2009-05-01','start of month','+1 month') and user_id = '2' ORDER BY date "
        "desc,time desc ;";
    constexpr int kRuns = 200;
    const std::string script = (fs::path(householdFolder()) / "month.sql").string();
    {
        std::FILE *f = std::fopen(script.c_str(), "w");
        std::fprintf(f, ".output /dev/null\n.timer on\n");
        for (int i = 0; i < kRuns; ++i)
            std::fprintf(f, "%s\n", query.c_str());
        std::fclose(f);
    }
    for (auto _ : state) {
        // ".timer" prints after each statement even with output going to /dev/null.
        const std::string cmd = "sqlite3 '" + databasePath() + "' < '" + script + "' 2>&1";
        std::FILE *p = popen(cmd.c_str(), "r");
        double total = 0;
        int count = 0;
        char line[256];
        while (std::fgets(line, sizeof line, p)) {
            double real = 0;
            if (std::sscanf(line, "Run Time: real %lf", &real) == 1) {
                total += real;
                ++count;
            }
        }
        pclose(p);
        if (count == 0) {
            state.SkipWithError("no timing from the sqlite3 shell");
            return;
        }
        state.SetIterationTime(total / count);
    }
}
BENCHMARK(BM_MonthQueryShell)->UseManualTime()->Unit(benchmark::kMicrosecond)->Iterations(5);

void BM_DayAverageRecompute(benchmark::State &state)
{
    NoAlerts alerts;
    DBHelper db(householdFolder(), &alerts);
    db.openDatabase();
    DayAverage averages(db, alerts);
    const std::string day = "2009-06-23"; // a day in the middle of the household's ten years
    for (auto _ : state) {
        const auto out = averages.day_average(day, "12:00:00", 2);
        benchmark::DoNotOptimize(out.sys_avg_db);
    }
}
BENCHMARK(BM_DayAverageRecompute)->Unit(benchmark::kMicrosecond);

// The whole save of a single reading: active user, insert, day average; each
// statement its own transaction with SQLite's default synchronous mode.
void BM_InsertWithDayAverage(benchmark::State &state)
{
    NoAlerts alerts;
    DBHelper db(householdFolder(), &alerts);
    db.openDatabase();
    ManualClock clock({2014, 1, 1, 6, 0, 0});
    ReadingStore store(db, alerts, clock);
    int second = 0;
    for (auto _ : state) {
        ++second;
        clock.set({2014, 1, 1 + (second / 3600) % 28, 6 + (second / 60) % 16, second % 60, 0});
        const auto saved = store.saveSingle(120, 80, 70, "", false);
        benchmark::DoNotOptimize(saved.stored);
    }
    SqlStatement::exec(db.database(), "DELETE FROM tonaradock_table WHERE date >= '2014-01-01'");
    SqlStatement::exec(db.database(), "DELETE FROM day_average WHERE date >= '2014-01-01'");
}
BENCHMARK(BM_InsertWithDayAverage)->Unit(benchmark::kMillisecond)->MinTime(2.0);

} // namespace
