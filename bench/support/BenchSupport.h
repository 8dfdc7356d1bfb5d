#pragma once

// What the widget benchmark programs share: their main() and the temporary
// diaries they measure on.
//
//   const std::string &diary() {
//       static const std::string dir = bench::householdFolder("tonara-bench-x", {1, 10, 100000});
//       return dir;
//   }
//   int main(int argc, char **argv) { return bench::runBenchmarks(argc, argv); }
//
// Every folder made here is removed when runBenchmarks returns.

#include "HouseholdDatabase.h"

#include <benchmark/benchmark.h>

#include <initializer_list>
#include <string>

namespace tonara::bench {

// A new empty folder under the system's temporary folder, named NAME-XXXXXX.
std::string temporaryFolder(const char *name);

// A temporary folder holding a household diary of that shape. A benchmark
// without its data means nothing, so the program stops with the reason.
std::string householdFolder(const char *name, const HouseholdDatabase::Shape &shape);

// The reference a figure is measured against: the bare query of user 0's
// rows (the one value bound), stepped through with the named integer columns
// read; the rows counter says how many.
void plainQuery(benchmark::State &state, const std::string &folder, const char *sql,
                std::initializer_list<int> columns);

// Runs the registered benchmarks with a QApplication (offscreen unless a
// platform is set) and the log silenced, then removes the folders.
int runBenchmarks(int argc, char **argv);

} // namespace tonara::bench
