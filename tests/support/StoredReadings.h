#pragma once

// The readings a test's database holds, in insertion order, read by column
// name so a test does not depend on how the screens read them.

#include "storage/DBHelper.h"
#include "storage/Reading.h"
#include "storage/SqlStatement.h"

#include <vector>

namespace tonara::test {

inline std::vector<Reading> storedReadings(DBHelper &db)
{
    std::vector<Reading> out;
    SqlStatement q = db.executeQuery("SELECT triv_id,date,time,sys,dia,pulse,diary,is_triv,is_manual,is_pad,"
                                     "user_id FROM tonaradock_table");
    while (q.next()) {
        Reading r;
        r.triv_id = q.columnInt(0);
        r.date = q.columnText(1);
        r.time = q.columnText(2);
        r.sys = q.columnInt(3);
        r.dia = q.columnInt(4);
        r.pulse = q.columnInt(5);
        r.diary = q.columnText(6);
        r.is_triv = q.columnInt(7);
        r.is_manual = q.columnInt(8);
        r.is_pad = q.columnInt(9);
        r.user_id = q.columnInt(10);
        out.push_back(r);
    }
    return out;
}

} // namespace tonara::test
