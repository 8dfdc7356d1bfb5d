// Report tab speed on household databases.
//
//   bench_history        # builds the files in temporary folders, runs offscreen
//
// MonthRefresh/300 and /60: the month query, the cards and one paint of the
// list for 300 (and 60) readings of the active user in a 100,000-reading
// household. CsvExport: all readings of one user (100,000) as data.csv,
// written to a file; CsvShell: `sqlite3 -csv` of the same rows on the same
// file into a file, timed around the process (so its start-up counts too).

#include "BenchSupport.h"
#include "base/Clock.h"
#include "base/VirtualScheduler.h"
#include "history/Historyandreports.h"
#include "history/MonthListView.h"
#include "history/core/CsvExport.h"
#include "platform/AlertPresenter.h"
#include "storage/DBHelper.h"
#include "storage/SqlStatement.h"

#include <benchmark/benchmark.h>

#include <QApplication>
#include <QPixmap>

#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <fstream>

namespace {

using namespace tonara;

// Adds n readings of the user in the month (yyyy-MM) in one transaction.
void addMonth(DBHelper &db, int user, const std::string &month, int n)
{
    SqlStatement::exec(db.database(), "BEGIN");
    SqlStatement ins =
        db.executeQuery("INSERT INTO tonaradock_table "
                        "(triv_id,date,time,sys,dia,pulse,diary,is_triv,is_manual,is_pad,user_id) "
                        "VALUES(0,?,?,?,?,?,?,?,?,?,?)");
    for (int i = 0; i < n; ++i) {
        char date[16], time[16];
        std::snprintf(date, sizeof date, "%s-%02d", month.c_str(), 1 + i % 28);
        std::snprintf(time, sizeof time, "%02d:%02d:00", 6 + (i / 28) % 16, i % 60);
        ins.bind(1, date).bind(2, time).bind(3, 110 + i % 60).bind(4, 70 + i % 30).bind(5, 60 + i % 25);
        ins.bind(6, i % 4 == 0 ? "after the walk" : "").bind(7, i % 9 == 0).bind(8, i % 7 == 0);
        ins.bind(9, i % 11 == 0).bind(10, user);
        ins.run();
        ins.reset();
    }
    SqlStatement::exec(db.database(), "COMMIT");
}

const std::string &household()
{
    static const std::string dir = [] {
        std::string d = bench::householdFolder("tonara-bench-history", {});
        DBHelper db(d);
        db.openDatabase();
        addMonth(db, 2, "2030-01", 300);
        addMonth(db, 2, "2030-02", 60);
        return d;
    }();
    return dir;
}

const std::string &oneUser()
{
    static const std::string dir = bench::householdFolder("tonara-bench-csv", {1, 10, 100000});
    return dir;
}

void BM_MonthRefresh(benchmark::State &state)
{
    DBHelper db(household());
    db.openDatabase();
    AlertPresenter alerts;
    ManualClock clock({2030, int(state.range(0) == 300 ? 1 : 2), 15, 12, 0, 0});
    VirtualScheduler scheduler;
    QWidget host;
    host.resize(320, 411);
    Historyandreports report(HistoryContext{&db, &alerts, &clock, &scheduler, FormFactor::Phone480, false},
                             &host);
    report.resize(host.size());
    host.show();
    QApplication::processEvents();
    for (auto _ : state) {
        report.refresh();
        QPixmap shown = report.scrollview()->grab();
        benchmark::DoNotOptimize(shown);
    }
    state.counters["readings"] = report.month().count();
}
BENCHMARK(BM_MonthRefresh)->Arg(300)->Arg(60)->Unit(benchmark::kMillisecond);

void BM_CsvExport(benchmark::State &state)
{
    DBHelper db(oneUser());
    db.openDatabase();
    AlertPresenter alerts;
    const std::string out = oneUser() + "/data.csv";
    int count = 0;
    for (auto _ : state) {
        CsvExport csv(db, alerts);
        const CsvExport::Result r = csv.Mail_csv_format(CsvExport::kAllData, 0, 0, false);
        std::ofstream(out, std::ios::binary) << r.text;
        count = r.count;
    }
    state.counters["readings"] = count;
}
BENCHMARK(BM_CsvExport)->Unit(benchmark::kMillisecond);

void BM_CsvShell(benchmark::State &state)
{
    if (std::system("command -v sqlite3 >/dev/null 2>&1") != 0) {
        state.SkipWithError("sqlite3 shell not installed");
        return;
    }
    const std::string cmd =
        "sqlite3 -csv '" + oneUser() +
        "/TonaraDock.sqlite' \"SELECT date,time,sys,dia,pulse,is_pad,is_triv,is_manual FROM "
        "tonaradock_table WHERE user_id = 0 ORDER BY date desc,time desc\" > '" +
        oneUser() + "/shell.csv'";
    for (auto _ : state) {
        const auto start = std::chrono::steady_clock::now();
        if (std::system(cmd.c_str()) != 0) {
            state.SkipWithError("sqlite3 failed");
            return;
        }
        state.SetIterationTime(
            std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count());
    }
}
BENCHMARK(BM_CsvShell)->UseManualTime()->Unit(benchmark::kMillisecond);

} // namespace

int main(int argc, char **argv)
{
    return tonara::bench::runBenchmarks(argc, argv);
}
