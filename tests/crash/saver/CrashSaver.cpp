// Saves readings in a loop through the store the screens use, until it is
// killed. Usage: crash_saver FOLDER RUN [HOLD]. After every save that went in
// it writes "saved RUN N" on stdout (unbuffered), so whoever kills it knows
// which saves were complete. A save that fails prints "failed RUN N: ..."
// and ends the program with status 2. With HOLD, save number HOLD stops in
// the middle of its commit, says "holding RUN HOLD" and waits to be killed:
// random kill moments alone may miss every transaction on a fast machine.

#include "base/AlertSink.h"
#include "base/Clock.h"
#include "base/Log.h"
#include "measurement/core/ReadingStore.h"
#include "storage/DBHelper.h"
#include "storage/DataBaseforCD.h"

#include <sqlite3.h>
#include <unistd.h>

#include <cstdio>
#include <cstdlib>
#include <random>
#include <string>

namespace {

using namespace tonara;

void say(const std::string &line)
{
    const std::string text = line + "\n";
    std::size_t done = 0;
    while (done < text.size()) {
        const ssize_t n = ::write(STDOUT_FILENO, text.data() + done, text.size() - done);
        if (n <= 0)
            std::_Exit(3); // nobody listens any more
        done += static_cast<std::size_t>(n);
    }
}

class FailingAlerts final : public AlertSink {
public:
    void showAlert(const std::string &title, const std::string &message, const std::vector<std::string> &,
                   Completion) override
    {
        last = title + ": " + message;
    }
    std::string last;
};

struct Hold {
    int run = 0;
    int at = -1;  // the save to hold, -1 none
    int save = 0; // the save under way
};

// Runs as a transaction is about to commit, with its rollback journal on disk.
int holdInCommit(void *context)
{
    auto *hold = static_cast<Hold *>(context);
    if (hold->save == hold->at) {
        say("holding " + std::to_string(hold->run) + " " + std::to_string(hold->at));
        for (;;)
            ::pause();
    }
    return 0;
}

} // namespace

int main(int argc, char **argv)
{
    if (argc != 3 && argc != 4) {
        std::fprintf(stderr, "usage: crash_saver FOLDER RUN [HOLD]\n");
        return 1;
    }
    const std::string folder = argv[1];
    const int run = std::atoi(argv[2]);
    Log::setSink([](const std::string &, const std::string &) {});

    FailingAlerts alerts;
    DBHelper db(folder, &alerts);
    db.openDatabase();
    DataBaseforCD users(db, alerts);
    users.check_database();
    // Two users take turns, so day averages of two users share days.
    users.insertDataBase_setting_table(1 + run % 2, -1, -1);

    Hold hold{run, argc == 4 ? std::atoi(argv[3]) : -1};
    sqlite3_commit_hook(db.database(), holdInCommit, &hold);

    ManualClock clock;
    ReadingStore store(db, alerts, clock);
    std::mt19937 rng(static_cast<unsigned>(run) * 7919u + 17u);
    auto value = [&](int lo, int hi) { return std::uniform_int_distribution<int>(lo, hi)(rng); };

    for (int n = 0;; ++n) {
        hold.save = n;
        // A handful of days, so each save recomputes an average over many readings.
        const LocalDateTime at{2013, 3, value(1, 4), value(0, 23), value(0, 59), value(0, 59)};
        clock.set(at);
        const std::string diary = "run " + std::to_string(run) + " save " + std::to_string(n);
        const int sys = value(90, 200), dia = value(50, 120), pulse = value(40, 150);
        ReadingStore::SaveResult saved;
        switch (value(0, 2)) {
        case 0:
            saved = store.saveSingle(sys, dia, pulse, diary, value(0, 1) == 1);
            break;
        case 1:
            saved = store.saveTriv(
                sys, dia, pulse,
                {{{sys + 2, dia + 1, pulse}, {sys - 2, dia - 1, pulse + 1}, {sys, dia, pulse - 1}}}, diary,
                false);
            break;
        default:
            saved = store.saveManual(sys, dia, pulse, diary, at.dateText(), at.timeText());
            break;
        }
        if (!saved.stored) {
            say("failed " + std::to_string(run) + " " + std::to_string(n) + ": " + alerts.last);
            return 2;
        }
        say("saved " + std::to_string(run) + " " + std::to_string(n));
    }
}
