#include "data/core/ExportReadings.h"

#include "storage/DBHelper.h"
#include "storage/SqlStatement.h"

namespace tonara {

ExportReadings::ExportReadings(DBHelper &db) : db_(db) {}

ExportReadings::Set ExportReadings::load(int user, const std::optional<Window> &w)
{
    Set set;
    db_.openDatabase();
    {
        SqlStatement q = db_.executeQuery("SELECT lastname FROM users_table_new WHERE user = ?");
        q.bind(1, user);
        if (q.next()) {
            set.userExists = true;
            set.name = q.columnText(0);
        }
    }
    // The first user exists from the start, named "User" until renamed.
    if (!set.userExists && user == 0) {
        set.userExists = true;
        set.name = "User";
    }
    // Readings of the same moment keep the order they were stored in.
    SqlStatement q =
        w ? db_.executeQuery("SELECT * FROM tonaradock_table WHERE user_id = ? AND date >= ? AND "
                             "date <= ? ORDER BY date, time, rowid")
          : db_.executeQuery("SELECT * FROM tonaradock_table WHERE user_id = ? ORDER BY date, time, "
                             "rowid");
    q.bind(1, user);
    if (w)
        q.bind(2, w->from).bind(3, w->to);
    while (q.next()) {
        Item item;
        Reading &r = item.reading;
        r.triv_id = q.columnInt(0);
        r.date = q.columnText(1);
        r.time = q.columnText(2);
        r.sys = q.columnInt(3);
        r.dia = q.columnInt(4);
        r.pulse = q.columnInt(5);
        r.diary = q.columnText(6);
        r.is_triv = q.columnInt(7);
        r.is_manual = q.columnInt(8);
        r.user_id = q.columnInt(9);
        r.is_pad = q.columnInt(10);
        set.readings.push_back(std::move(item));
    }
    for (Item &item : set.readings) {
        if (!item.reading.is_triv || item.reading.triv_id == 0)
            continue;
        SqlStatement s = db_.executeQuery("SELECT * FROM triv_table WHERE id = ? ORDER BY times");
        s.bind(1, item.reading.triv_id);
        while (s.next())
            item.singles.push_back({s.columnInt(1), s.columnInt(2), s.columnInt(3), s.columnInt(4)});
        // Details that are not one whole series name no three readings.
        if (item.singles.size() != 3)
            item.singles.clear();
    }
    db_.closeDatabase();
    return set;
}

} // namespace tonara
