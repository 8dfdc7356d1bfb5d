// Report speed on one person's diary.
//
//   bench_reports        # builds the files in temporary folders, runs offscreen
//
// PlainReadings: the bare SELECT of the 100,000 readings' values, stepped
// through: the reference. Statistics: every figure of the report over all of
// them. PlainReport / Report: the 1,000 readings of three years read plainly,
// and a whole PDF of them (gathered, laid out over its pages, written).

#include "BenchSupport.h"
#include "base/Clock.h"
#include "platform/AlertPresenter.h"
#include "reports/ReportPdf.h"
#include "reports/core/PeriodStatistics.h"
#include "reports/core/ReportContent.h"
#include "storage/DBHelper.h"

#include <benchmark/benchmark.h>

namespace {

using namespace tonara;

const LocalDateTime kNow{2013, 12, 31, 12, 0, 0};

const std::string &largeDiary()
{
    static const std::string dir = bench::householdFolder("tonara-bench-stats", {1, 10, 100000});
    return dir;
}

const std::string &reportDiary()
{
    static const std::string dir = bench::householdFolder("tonara-bench-report", {1, 3, 1000});
    return dir;
}

void plain(benchmark::State &state, const std::string &folder)
{
    bench::plainQuery(state, folder, "SELECT sys, dia, pulse, time FROM tonaradock_table WHERE user_id = ?",
                      {0, 1, 2});
}

void BM_PlainReadings(benchmark::State &state)
{
    plain(state, largeDiary());
}
BENCHMARK(BM_PlainReadings)->Unit(benchmark::kMillisecond);

void BM_Statistics(benchmark::State &state)
{
    DBHelper db(largeDiary());
    db.openDatabase();
    int count = 0;
    for (auto _ : state) {
        const PeriodStatistics s = PeriodStatistics::compute(db, 0, ReportPeriod::allReadings());
        count = s.count;
        benchmark::DoNotOptimize(s.sys.sd);
    }
    state.counters["readings"] = count;
}
BENCHMARK(BM_Statistics)->Unit(benchmark::kMillisecond);

void BM_PlainReport(benchmark::State &state)
{
    plain(state, reportDiary());
}
BENCHMARK(BM_PlainReport)->Unit(benchmark::kMillisecond);

void BM_Report(benchmark::State &state)
{
    DBHelper db(reportDiary());
    db.openDatabase();
    AlertPresenter alerts;
    ManualClock clock(kNow);
    int pages = 0;
    for (auto _ : state) {
        ReportPdf pdf(ReportContent::gather(db, alerts, 0, ReportPeriod::allReadings(), clock));
        const QByteArray bytes = pdf.bytes();
        pages = pdf.pageCount();
        benchmark::DoNotOptimize(bytes.size());
    }
    state.counters["pages"] = pages;
}
BENCHMARK(BM_Report)->Unit(benchmark::kMillisecond);

} // namespace

int main(int argc, char **argv)
{
    return tonara::bench::runBenchmarks(argc, argv);
}
