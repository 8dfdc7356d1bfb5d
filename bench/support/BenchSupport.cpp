#include "BenchSupport.h"

#include "base/Log.h"
#include "storage/DBHelper.h"
#include "storage/SqlStatement.h"

#include <QApplication>

#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <vector>

namespace tonara::bench {

namespace fs = std::filesystem;

namespace {

std::vector<std::string> &madeFolders()
{
    static std::vector<std::string> folders;
    return folders;
}

} // namespace

std::string temporaryFolder(const char *name)
{
    std::string pattern = (fs::temp_directory_path() / (std::string(name) + "-XXXXXX")).string();
    if (!::mkdtemp(pattern.data())) {
        std::fprintf(stderr, "%s: no temporary folder could be made\n", name);
        std::exit(1);
    }
    madeFolders().push_back(pattern);
    return pattern;
}

std::string householdFolder(const char *name, const HouseholdDatabase::Shape &shape)
{
    std::string dir = temporaryFolder(name);
    std::string error;
    if (!HouseholdDatabase::write(dir, shape, &error)) {
        std::fprintf(stderr, "%s: %s\n", name, error.c_str());
        std::exit(1);
    }
    return dir;
}

void plainQuery(benchmark::State &state, const std::string &folder, const char *sql,
                std::initializer_list<int> columns)
{
    DBHelper db(folder);
    db.openDatabase();
    int rows = 0;
    for (auto _ : state) {
        SqlStatement st = db.executeQuery(sql);
        st.bind(1, 0);
        rows = 0;
        long long sum = 0;
        while (st.next()) {
            for (int c : columns)
                sum += st.columnInt(c);
            ++rows;
        }
        benchmark::DoNotOptimize(sum);
    }
    state.counters["rows"] = rows;
}

int runBenchmarks(int argc, char **argv)
{
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    Log::setSink([](const std::string &, const std::string &) {});
    QApplication app(argc, argv);
    benchmark::Initialize(&argc, argv);
    if (benchmark::ReportUnrecognizedArguments(argc, argv))
        return 1;
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    for (const std::string &folder : madeFolders()) {
        std::error_code ignored;
        fs::remove_all(folder, ignored);
    }
    return 0;
}

} // namespace tonara::bench
