// tonara-data import and export run as a script runs them: exit status,
// messages, and the files they leave.

#include "ImportTestSupport.h"

#include <gtest/gtest.h>

#include <cstdio>
#include <fstream>
#include <sstream>

namespace tonara::test {
namespace {

struct ToolRun {
    int status = -1;
    std::string out; // stdout and stderr together
};

ToolRun tool(const std::string &arguments)
{
    ToolRun r;
    FILE *pipe = ::popen((std::string(TONARA_DATA_TOOL) + " " + arguments + " 2>&1").c_str(), "r");
    if (!pipe)
        return r;
    char buf[512];
    while (std::fgets(buf, sizeof buf, pipe))
        r.out += buf;
    const int raw = ::pclose(pipe);
    r.status = WIFEXITED(raw) ? WEXITSTATUS(raw) : -1;
    return r;
}

std::string slurp(const std::string &path)
{
    std::ifstream in(path, std::ios::binary);
    std::ostringstream s;
    s << in.rdbuf();
    return s.str();
}

void spit(const std::string &path, const std::string &bytes)
{
    std::ofstream(path, std::ios::binary) << bytes;
}

TEST(ImportCommandTest, ExportAndImportFromTheCommandLine)
{
    Household home;
    home.add(0, "2013-05-03", "09:05:07", 128, 84, 70, 1);
    home.add(0, "2013-05-04", "18:00:00", 118, 76, 66, 0, 1);
    TempDir other;
    const std::string csv = other.path() + "/data.csv";
    const std::string dir = " --data-dir " + home.dir.path() + " ";

    ToolRun r = tool(dir + "export csv " + csv);
    ASSERT_EQ(r.status, 0) << r.out;
    EXPECT_EQ(r.out, "Exported 2 readings of user 0 to " + csv + ".\n");
    EXPECT_EQ(slurp(csv), home.exportCsv(0));

    // Into a folder without a database yet, as a new computer's first start.
    r = tool("--data-dir " + other.path() + " import " + csv);
    ASSERT_EQ(r.status, 0) << r.out;
    EXPECT_EQ(r.out,
              "Imported 2 readings for user 0; skipped 0 duplicates, 0 out of bounds, 0 unreadable.\n");
    r = tool("--data-dir " + other.path() + " export csv " + other.path() + "/again.csv");
    EXPECT_EQ(slurp(other.path() + "/again.csv"), slurp(csv));

    r = tool(dir + "export fhir --from 2013-05-04 --to 2013-05-04 " + other.path() + "/bundle.json");
    ASSERT_EQ(r.status, 0) << r.out;
    EXPECT_NE(slurp(other.path() + "/bundle.json").find("\"collection\""), std::string::npos);

    // Failures: a reason on the console, a non-zero status, nothing written.
    const std::string ambiguous = other.path() + "/ambiguous.csv";
    spit(ambiguous, "Date;Time;Sys;Dia;Pulse\n03.05.2013;08:00;120;80;60\n");
    const std::string noTimes = other.path() + "/no-times.csv";
    spit(noTimes, "Date;Sys;Dia;Pulse\n13.05.2013;120;80;60\n");
    for (const std::string &bad :
         {dir + "import " + ambiguous, dir + "import " + noTimes, dir + "import " + csv + " --user 7",
          dir + "import /no/such/file.csv", dir + "export csv --user x " + csv, dir + "export pdf " + csv,
          "--data-dir " + other.path() + "/missing export csv " + other.path() + "/x.csv",
          dir + "export csv /no/such/folder/x.csv",
          dir + "export fhir --from 2013-05-04 --to 2013-05-03 " + other.path() + "/x.csv"}) {
        r = tool(bad);
        EXPECT_NE(r.status, 0) << bad;
        EXPECT_NE(r.out.find("tonara-data: "), std::string::npos) << bad << "\n" << r.out;
    }
    EXPECT_EQ(scalar(home.conn(), "SELECT count(*) FROM tonaradock_table"), 2);
    EXPECT_FALSE(std::filesystem::exists(other.path() + "/x.csv"));

    r = tool(dir + "import " + ambiguous + " --date-order dmy");
    ASSERT_EQ(r.status, 0) << r.out;
    EXPECT_EQ(column(home.conn(), "SELECT date FROM tonaradock_table WHERE sys = 120"),
              std::vector<std::string>{"2013-05-03"});
}

} // namespace
} // namespace tonara::test
