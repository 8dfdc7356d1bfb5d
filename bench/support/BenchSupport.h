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

#include <string>

namespace tonara::bench {

// A new empty folder under the system's temporary folder, named NAME-XXXXXX.
std::string temporaryFolder(const char *name);

// A temporary folder holding a household diary of that shape. A benchmark
// without its data means nothing, so the program stops with the reason.
std::string householdFolder(const char *name, const HouseholdDatabase::Shape &shape);

// Runs the registered benchmarks with a QApplication (offscreen unless a
// platform is set) and the log silenced, then removes the folders.
int runBenchmarks(int argc, char **argv);

} // namespace tonara::bench
