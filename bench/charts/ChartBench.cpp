// Landscape chart speed on ten years of one person's readings: 36,500
// readings, 3,652 day averages, "now" on the last day.
//
//   bench_charts        # builds the file in a temporary folder, runs offscreen
//
// PlainDayAverages / PlainReadings: the bare SELECT of all day averages (all
// readings) of the user, stepped through: the reference. TrendQuery: the "all"
// period's lists. DistributionCount: the "all" readings counted into the six
// WHO classes and turned into percentages. TrendPage / DistributionPage: a tap
// on "all" (queries, the chart built and fed whole) and one paint of the view.

#include "BenchSupport.h"
#include "base/Clock.h"
#include "base/VirtualScheduler.h"
#include "charts/HorizontalView.h"
#include "charts/core/PeriodQueries.h"
#include "charts/core/WhoDistribution.h"
#include "platform/AlertPresenter.h"
#include "storage/DBHelper.h"

#include <benchmark/benchmark.h>

#include <QApplication>
#include <QPixmap>

namespace {

using namespace tonara;

const LocalDateTime kNow{2013, 12, 31, 12, 0, 0};

const std::string &tenYears()
{
    static const std::string dir = bench::householdFolder("tonara-bench-charts", {1, 10, 36500});
    return dir;
}

void BM_PlainDayAverages(benchmark::State &state)
{
    bench::plainQuery(state, tenYears(), "SELECT * FROM day_average WHERE user_id = ? order by date desc",
                      {2, 3});
}
BENCHMARK(BM_PlainDayAverages)->Unit(benchmark::kMillisecond);

void BM_PlainReadings(benchmark::State &state)
{
    bench::plainQuery(state, tenYears(),
                      "SELECT * FROM tonaradock_table WHERE user_id = ? order by date desc", {2, 3});
}
BENCHMARK(BM_PlainReadings)->Unit(benchmark::kMillisecond);

void BM_TrendQuery(benchmark::State &state)
{
    DBHelper db(tenYears());
    db.openDatabase();
    AlertPresenter alerts;
    ManualClock clock(kNow);
    PeriodQueries periods(db, alerts, clock);
    int rows = 0;
    for (auto _ : state) {
        rows = periods.chackSQL_line(PeriodQueries::kAll);
        benchmark::DoNotOptimize(periods.SQL_Avg(rows, 1) + periods.SQL_Avg(rows, 2));
        benchmark::DoNotOptimize(periods.displayType(PeriodQueries::kAll));
    }
    state.counters["rows"] = rows;
}
BENCHMARK(BM_TrendQuery)->Unit(benchmark::kMillisecond);

void BM_DistributionCount(benchmark::State &state)
{
    DBHelper db(tenYears());
    db.openDatabase();
    AlertPresenter alerts;
    ManualClock clock(kNow);
    PeriodQueries periods(db, alerts, clock);
    std::size_t rows = 0;
    for (auto _ : state) {
        WhoDistribution who;
        const auto readings = periods.distributionReadings(PeriodQueries::kAll);
        for (const auto &r : readings)
            who.who_bar_chart_Distinguish(r.sys, r.dia);
        who.barChart_Percentage(int(readings.size()));
        rows = readings.size();
        benchmark::DoNotOptimize(who.barTip(0));
    }
    state.counters["rows"] = double(rows);
}
BENCHMARK(BM_DistributionCount)->Unit(benchmark::kMillisecond);

// One chart view on the file, as the tablet shows it (the larger picture).
struct Shown {
    DBHelper db{tenYears()};
    AlertPresenter alerts;
    ManualClock clock{kNow};
    VirtualScheduler scheduler;
    QWidget host;
    std::unique_ptr<HorizontalView> view;

    Shown()
    {
        db.openDatabase();
        host.resize(1024, 768);
        alerts.setHost(&host);
        view = std::make_unique<HorizontalView>(
            ChartContext{&db, &alerts, &clock, &scheduler, FormFactor::Tablet, false}, &host);
        host.show();
        QApplication::processEvents();
    }
};

void BM_TrendPage(benchmark::State &state)
{
    Shown shown;
    for (auto _ : state) {
        shown.view->d1_button_touch(PeriodQueries::kAll);
        QPixmap picture = shown.view->grab();
        benchmark::DoNotOptimize(picture);
    }
    state.counters["points"] = double(shown.view->dataForPlot().size());
}
BENCHMARK(BM_TrendPage)->Unit(benchmark::kMillisecond);

void BM_DistributionPage(benchmark::State &state)
{
    Shown shown;
    shown.view->scrollToPage(1);
    for (auto _ : state) {
        shown.view->d2_button_touch(PeriodQueries::kAll);
        QPixmap picture = shown.view->grab();
        benchmark::DoNotOptimize(picture);
    }
    state.counters["optimal%"] = shown.view->who().barTip(5);
}
BENCHMARK(BM_DistributionPage)->Unit(benchmark::kMillisecond);

} // namespace

int main(int argc, char **argv)
{
    return tonara::bench::runBenchmarks(argc, argv);
}
