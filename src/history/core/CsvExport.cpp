#include "history/core/CsvExport.h"

#include "storage/DBHelper.h"
#include "storage/DataBaseforCD.h"
#include "storage/SqlStatement.h"

#include <charconv>
#include <cstdio>

namespace tonara {

namespace {

void appendInt(std::string &out, int v)
{
    char buf[16];
    auto r = std::to_chars(buf, buf + sizeof buf, v);
    out.append(buf, r.ptr);
}

const char *yn(const SqlStatement &q, int col)
{
    return q.columnInt(col) == 1 ? "Y" : "N";
}

} // namespace

CsvExport::CsvExport(DBHelper &db, AlertSink &alerts) : db_(db), alerts_(alerts) {}

std::string CsvExport::usDate(const std::string &stored)
{
    const auto a = stored.find('-');
    const auto b = a == std::string::npos ? a : stored.find('-', a + 1);
    if (b == std::string::npos)
        return stored;
    return stored.substr(a + 1, b - a - 1) + "/" + stored.substr(b + 1) + "/" + stored.substr(0, a);
}

CsvExport::Result CsvExport::Mail_csv_format(int mode, int year, int month, bool countOnly)
{
    db_.ensureDatabaseFileExists();
    DataBaseforCD settings(db_, alerts_);
    return Mail_csv_format(mode, year, month, countOnly, settings.activeUser());
}

CsvExport::Result CsvExport::Mail_csv_format(int mode, int year, int month, bool countOnly, int user)
{
    Result out;
    aArray_email_date.clear();
    if (!countOnly)
        out.text = kHeader;

    db_.ensureDatabaseFileExists();
    user_ = user;

    SqlStatement q;
    if (mode == kThisMonth) {
        char first[32];
        std::snprintf(first, sizeof first, "%d-%02d-01", year, month);
        q = db_.executeQuery("SELECT * FROM tonaradock_table where user_id = ? and date > date(?,'start of "
                             "month','+0 month','-1 day') and date < date(?,'start of month','+1 month') "
                             "ORDER BY date desc,time desc ");
        q.bind(1, user_).bind(2, first).bind(3, first);
    } else {
        q = db_.executeQuery(
            "SELECT * FROM tonaradock_table where user_id = ? ORDER BY date desc,time desc  ");
        q.bind(1, user_);
    }

    while (q.next()) {
        ++out.count;
        const std::string date = usDate(q.columnText(1));
        if (!countOnly) {
            out.text += date;
            out.text += ',';
            out.text += q.columnText(2);
            out.text += ',';
            appendInt(out.text, q.columnInt(3));
            out.text += ',';
            appendInt(out.text, q.columnInt(4));
            out.text += ',';
            appendInt(out.text, q.columnInt(5));
            out.text += ',';
            out.text += yn(q, 10);
            out.text += ',';
            out.text += yn(q, 7);
            out.text += ',';
            out.text += yn(q, 8);
            out.text += '\n';
        }
        aArray_email_date.push_back(date);
    }
    db_.closeDatabase();
    return out;
}

} // namespace tonara
