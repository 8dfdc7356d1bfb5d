// A process that saves readings is killed with SIGKILL at random moments, again
// and again, on the same file. Afterwards the file must be sound, hold every
// save the process reported as done, and hold no half save: no TRIV reading
// without its three details, no details without their reading, no day
// average out of line with that day's readings.
//
// Every fifth kill, the first included, comes while the saver holds inside a
// commit, so the file is surely cut mid-transaction that often.
//
// TONARA_CRASH_KILLS sets the number of kills (30 unless set) and
// TONARA_CRASH_SEED repeats a run (its seed is printed when it fails).

#include "storage/StorageTestSupport.h"

#include <gtest/gtest.h>

#include <signal.h>
#include <spawn.h>
#include <sys/wait.h>
#include <unistd.h>

#include <algorithm>
#include <chrono>
#include <cstdlib>
#include <filesystem>
#include <iostream>
#include <map>
#include <random>
#include <set>
#include <string>
#include <thread>

extern char **environ;

namespace tonara::test {

namespace {

int fromEnvironment(const char *name, int fallback)
{
    const char *text = std::getenv(name);
    return text && *text ? std::atoi(text) : fallback;
}

// One crash_saver process and the pipe of its reports.
class Saver {
public:
    // hold >= 0: that save stops inside its commit and says "holding".
    Saver(const std::string &folder, int run, int hold = -1)
    {
        int fds[2];
        if (::pipe(fds) != 0)
            return;
        posix_spawn_file_actions_t actions;
        posix_spawn_file_actions_init(&actions);
        posix_spawn_file_actions_adddup2(&actions, fds[1], STDOUT_FILENO);
        posix_spawn_file_actions_addclose(&actions, fds[0]);
        posix_spawn_file_actions_addclose(&actions, fds[1]);
        const std::string runText = std::to_string(run);
        const std::string holdText = std::to_string(hold);
        char *argv[] = {const_cast<char *>(TONARA_CRASH_SAVER), const_cast<char *>(folder.c_str()),
                        const_cast<char *>(runText.c_str()),
                        hold >= 0 ? const_cast<char *>(holdText.c_str()) : nullptr, nullptr};
        if (posix_spawn(&pid_, TONARA_CRASH_SAVER, &actions, nullptr, argv, environ) != 0)
            pid_ = -1;
        posix_spawn_file_actions_destroy(&actions);
        ::close(fds[1]);
        out_ = fds[0];
    }
    ~Saver()
    {
        if (pid_ > 0) {
            ::kill(pid_, SIGKILL);
            ::waitpid(pid_, nullptr, 0);
        }
        if (out_ >= 0)
            ::close(out_);
    }
    bool started() const { return pid_ > 0 && out_ >= 0; }

    // The next whole line it wrote; false at the end of its output.
    bool line(std::string &text)
    {
        for (;;) {
            const auto end = buffer_.find('\n');
            if (end != std::string::npos) {
                text = buffer_.substr(0, end);
                buffer_.erase(0, end + 1);
                return true;
            }
            char chunk[512];
            const ssize_t n = ::read(out_, chunk, sizeof chunk);
            if (n <= 0)
                return false; // a line cut off by the kill is not a report
            buffer_.append(chunk, static_cast<std::size_t>(n));
        }
    }

    // Kills it and tells whether it was still running (rather than ended on its own).
    bool kill()
    {
        ::kill(pid_, SIGKILL);
        int status = 0;
        ::waitpid(pid_, &status, 0);
        pid_ = -1;
        return WIFSIGNALED(status) && WTERMSIG(status) == SIGKILL;
    }

private:
    pid_t pid_ = -1;
    int out_ = -1;
    std::string buffer_;
};

// "user|date|sys|dia|pulse" rows, sorted.
std::vector<std::string> averages(sqlite3 *db, const std::string &sql)
{
    auto rows = column(db, sql);
    std::sort(rows.begin(), rows.end());
    return rows;
}

} // namespace

TEST(CrashConsistency, EveryReportedSaveSurvivesAKillAndNoSaveIsLeftHalfDone)
{
    const int kills = fromEnvironment("TONARA_CRASH_KILLS", 30);
    if (kills <= 0)
        GTEST_SKIP() << "the soak run kills TONARA_SOAK_KILLS times; set it to run";
    const unsigned seed = static_cast<unsigned>(fromEnvironment("TONARA_CRASH_SEED", std::random_device{}()));
    SCOPED_TRACE("TONARA_CRASH_SEED=" + std::to_string(seed));
    std::mt19937 rng(seed);

    TempDir dir;
    const std::string journal = dir.path() + "/TonaraDock.sqlite-journal";
    std::set<std::string> reported;
    int killedInsideATransaction = 0;
    double saveTime = 1000; // microseconds, learnt from the reports
    const auto started = std::chrono::steady_clock::now();

    int heldRuns = 0;
    for (int run = 0; run < kills; ++run) {
        // Kill after a few complete saves, then at a random point of the next ones.
        const int before = std::uniform_int_distribution<int>(2, 4)(rng);
        const bool held = run % 5 == 0;
        Saver saver(dir.path(), run, held ? before : -1);
        ASSERT_TRUE(saver.started());
        std::string text;
        auto last = std::chrono::steady_clock::now();
        for (int got = 0; got < before;) {
            ASSERT_TRUE(saver.line(text)) << "the saver ended by itself in run " << run;
            ASSERT_EQ(text.rfind("saved ", 0), 0u) << text;
            reported.insert(text.substr(6));
            const auto now = std::chrono::steady_clock::now();
            if (++got > 1) // how long one save takes here, to spread the kills over whole saves
                saveTime =
                    0.8 * saveTime + 0.2 * std::chrono::duration<double, std::micro>(now - last).count();
            last = now;
        }
        if (held) {
            // Killed in the middle of its commit.
            ASSERT_TRUE(saver.line(text)) << "the saver ended by itself in run " << run;
            ASSERT_EQ(text, "holding " + std::to_string(run) + " " + std::to_string(before));
            ++heldRuns;
        } else {
            // The kill moment: anywhere in the next two saves, commits and reports included.
            std::this_thread::sleep_for(std::chrono::microseconds(
                static_cast<long>(std::uniform_real_distribution<double>(0, 2 * saveTime)(rng))));
        }
        ASSERT_TRUE(saver.kill()) << "the saver ended by itself in run " << run;
        // Reports written before the kill are saves that went in, too.
        while (saver.line(text)) {
            ASSERT_EQ(text.rfind("saved ", 0), 0u) << text;
            reported.insert(text.substr(6));
        }
        std::error_code ec;
        const bool journalLeft =
            std::filesystem::exists(journal, ec) && std::filesystem::file_size(journal, ec) > 0;
        if (journalLeft)
            ++killedInsideATransaction;
        // A kill inside the commit must leave the journal the next opening rolls back.
        EXPECT_TRUE(journalLeft || !held) << "no journal after the held kill of run " << run;
    }
    EXPECT_GT(heldRuns, 0) << "no kill was sure to fall inside a transaction";
    const double seconds = std::chrono::duration<double>(std::chrono::steady_clock::now() - started).count();

    RecordingAlerts alerts;
    DBHelper db(dir.path(), &alerts);
    db.openDatabase();
    sqlite3 *conn = db.database();
    ASSERT_NE(conn, nullptr);
    EXPECT_EQ(column(conn, "PRAGMA integrity_check"), std::vector<std::string>{"ok"});

    // Every reported save is there once; nothing else is (each diary names its save).
    std::map<std::string, int> stored;
    for (const auto &diary : column(conn, "SELECT diary FROM tonaradock_table"))
        ++stored[diary.rfind("run ", 0) == 0 ? diary.substr(4) : diary];
    for (const auto &save : reported) {
        const auto space = save.find(' ');
        const std::string key = save.substr(0, space) + " save " + save.substr(space + 1);
        EXPECT_EQ(stored[key], 1) << "reported save " << save;
    }
    for (const auto &[key, count] : stored)
        EXPECT_EQ(count, 1) << key;

    // Each TRIV reading has exactly its positions 1, 2 and 3; no details are left without their reading.
    EXPECT_EQ(scalar(conn, "SELECT count(*) FROM tonaradock_table r WHERE is_triv = 1 AND "
                           "(SELECT group_concat(times, ',') FROM (SELECT times FROM triv_table t "
                           "WHERE t.id = r.triv_id ORDER BY times)) IS NOT '1,2,3'"),
              0);
    EXPECT_EQ(scalar(conn, "SELECT count(*) FROM triv_table WHERE id NOT IN "
                           "(SELECT triv_id FROM tonaradock_table WHERE is_triv = 1)"),
              0);
    EXPECT_EQ(
        scalar(conn, "SELECT count(*) - count(DISTINCT triv_id) FROM tonaradock_table WHERE is_triv = 1"), 0);

    // Each day average is the recomputation from its day's readings, one row per user and day.
    EXPECT_EQ(averages(conn, "SELECT user_id || '|' || date || '|' || sys || '|' || dia || '|' || pulse "
                             "FROM day_average"),
              averages(conn, "SELECT user_id || '|' || date || '|' || (sum(sys) / count(*)) || '|' || "
                             "(sum(dia) / count(*)) || '|' || (sum(pulse) / count(*)) "
                             "FROM tonaradock_table GROUP BY user_id, date"));

    const int readings = scalar(conn, "SELECT count(*) FROM tonaradock_table");
    EXPECT_GE(readings, static_cast<int>(reported.size()));
    std::cout << kills << " kills (" << killedInsideATransaction << " inside a transaction) in " << seconds
              << " s, a save taking about " << saveTime / 1000 << " ms; " << reported.size()
              << " saves reported, " << readings << " readings stored\n";
    RecordProperty("kills", kills);
    RecordProperty("killed_inside_a_transaction", killedInsideATransaction);
}

} // namespace tonara::test
