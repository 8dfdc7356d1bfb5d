#include "HouseholdDatabase.h"

#include "base/AlertSink.h"
#include "storage/DBHelper.h"
#include "storage/DataBaseforCD.h"
#include "storage/SqlStatement.h"

#include <chrono>
#include <cstdint>
#include <cstdio>
#include <filesystem>
#include <vector>

namespace tonara {

namespace {

class NoAlerts final : public AlertSink {
public:
    void showAlert(const std::string &, const std::string &, const std::vector<std::string> &,
                   Completion) override
    {}
};

// "YYYY-MM-DD" of the day so many days after 2004-01-01.
std::string dayText(int dayNumber)
{
    using namespace std::chrono;
    const year_month_day d{sys_days{year{2004} / January / 1} + days{dayNumber}};
    char text[16];
    std::snprintf(text, sizeof text, "%04d-%02u-%02u", int(d.year()), unsigned(d.month()), unsigned(d.day()));
    return text;
}

} // namespace

bool HouseholdDatabase::write(const std::string &folder, const Shape &shape, std::string *error)
{
    auto fail = [error](std::string why) {
        if (error)
            *error = std::move(why);
        return false;
    };
    namespace fs = std::filesystem;
    std::error_code ec;
    fs::create_directories(folder, ec);
    fs::remove(fs::path(folder) / (std::string(DBHelper::kBaseName) + DBHelper::kExtension), ec);

    NoAlerts alerts;
    DBHelper db(folder, &alerts);
    db.openDatabase();
    if (!db.database() || db.unusable())
        return fail("cannot open a database in " + folder);
    DataBaseforCD store(db, alerts);
    store.check_database();
    for (int u = 0; u < shape.users; ++u)
        store.insertDataBase_user_table(u, "", "", "User " + std::to_string(u), "", "", 0, "");
    store.insertDataBase_setting_table(shape.users > 2 ? 2 : 0, -1, -1);
    if (shape.readings <= 0)
        return true;

    const int days = 365 * shape.years + shape.years / 4;
    SqlStatement::exec(db.database(), "BEGIN");
    SqlStatement insert(
        db.database(),
        "INSERT INTO tonaradock_table (triv_id,date,time,sys,dia,pulse,diary,is_triv,is_manual,"
        "is_pad,user_id) VALUES(?,?,?,?,?,?,?,?,?,?,?)");
    SqlStatement triv(db.database(),
                      "INSERT INTO triv_table (id,times,sys,dia,pulse,date) VALUES(?,?,?,?,?,?)");
    if (!insert.prepared() || !triv.prepared())
        return fail("the schema has no reading tables");

    // A fixed sequence, so every run measures the same file.
    std::uint32_t seed = 12345;
    auto rnd = [&seed](int n) {
        seed = seed * 1664525u + 1013904223u;
        return static_cast<int>((seed >> 8) % static_cast<std::uint32_t>(n));
    };
    int series = 0;
    for (int i = 0; i < shape.readings; ++i) {
        const std::string date = dayText(int(static_cast<long long>(i) * days / shape.readings));
        // Drawn in the same order as the storage benchmark's builder, so both make the same file.
        const int user = rnd(shape.users);
        const bool isTriv = rnd(10) == 0;
        char time[16];
        std::snprintf(time, sizeof time, "%02d:%02d:%02d", 6 + rnd(16), rnd(60), rnd(60));
        const int sys = 105 + rnd(60), dia = 65 + rnd(35), pulse = 55 + rnd(40);
        insert.reset();
        insert.bind(1, isTriv ? ++series : 0).bind(2, date).bind(3, time).bind(4, sys).bind(5, dia);
        insert.bind(6, pulse).bind(7, rnd(4) == 0 ? "after a walk" : "").bind(8, isTriv ? 1 : 0);
        insert.bind(9, rnd(20) == 0 ? 1 : 0).bind(10, 0).bind(11, user);
        if (!insert.run())
            return fail("insert failed: " + insert.status().message);
        for (int t = 1; isTriv && t <= 3; ++t) {
            triv.reset();
            triv.bind(1, series).bind(2, t).bind(3, sys + t - 2).bind(4, dia).bind(5, pulse).bind(6, date);
            if (!triv.run())
                return fail("TRIV insert failed: " + triv.status().message);
        }
    }
    SqlStatement::exec(db.database(),
                       "INSERT INTO day_average (user_id,date,sys,dia,pulse,time) SELECT user_id, date, "
                       "sum(sys)/count(*), sum(dia)/count(*), sum(pulse)/count(*), min(time) FROM "
                       "tonaradock_table GROUP BY user_id, date");
    if (!SqlStatement::exec(db.database(), "COMMIT").ok())
        return fail("commit failed");
    SqlStatement::exec(db.database(), "ANALYZE");
    return true;
}

} // namespace tonara
