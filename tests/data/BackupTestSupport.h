#pragma once

// A documents folder with its own database for the backup tests, and what
// they compare: every row of every table, and every file with its bytes.

#include "base/AlertSink.h"
#include "storage/DBHelper.h"
#include "storage/DataBaseforCD.h"
#include "storage/SqlStatement.h"

#include <gtest/gtest.h>

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <map>
#include <memory>
#include <string>
#include <vector>

namespace tonara::test {

namespace fs = std::filesystem;

class SilentAlerts final : public AlertSink {
public:
    void showAlert(const std::string &, const std::string &, const std::vector<std::string> &,
                   Completion) override
    {}
};

inline std::string readBytes(const fs::path &path)
{
    std::ifstream in(path, std::ios::binary);
    return {std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
}

inline void writeBytes(const fs::path &path, const std::string &bytes)
{
    std::ofstream out(path, std::ios::binary | std::ios::trunc);
    out << bytes;
}

// A folder of its own under the system's temporary folder, gone afterwards.
class TempFolder {
public:
    TempFolder()
    {
        std::string pattern = (fs::temp_directory_path() / "tonara-data-test-XXXXXX").string();
        path_ = ::mkdtemp(pattern.data());
    }
    ~TempFolder()
    {
        std::error_code ec;
        fs::remove_all(path_, ec);
    }
    fs::path operator/(const std::string &name) const { return path_ / name; }
    const fs::path &path() const { return path_; }

private:
    fs::path path_;
};

struct DataFolder {
    explicit DataFolder(const fs::path &where) : path(where)
    {
        fs::create_directories(path);
        db = std::make_unique<DBHelper>(path.string(), &alerts);
        db->openDatabase();
        DataBaseforCD(*db, alerts).check_database();
    }

    void exec(const std::string &sql) const
    {
        const SqlStatus s = SqlStatement::exec(db->database(), sql);
        ASSERT_TRUE(s.ok()) << sql << ": " << s.message;
    }
    std::string file(const std::string &name) const { return (path / name).string(); }

    // Three profiles (two with photos), the active user 1 with a target,
    // single and TRIV readings of two users with their day averages.
    void seedFamily() const
    {
        exec("INSERT INTO users_table_new VALUES(0,'','','User','','',0,'')");
        exec("INSERT INTO users_table_new VALUES(1,'','','Mother','','" + file("no1.png") + "',0,'')");
        exec("INSERT INTO users_table_new VALUES(2,'','','Väter','','" + file("no2.png") + "',0,'')");
        writeBytes(file("no1.png"), std::string("\x89PNG mother\0\x01\x02", 14));
        writeBytes(file("no2.png"), std::string(3000, '\x7f') + "father");
        exec("INSERT INTO setting_table VALUES(1,120,80)");
        exec("INSERT INTO tonaradock_table VALUES(0,'2026-11-01','08:00:00',121,79,66,'after "
             "coffee',0,0,1,0)");
        exec("INSERT INTO tonaradock_table VALUES(1,'2026-11-02','09:05:07',135,88,71,'',1,0,1,1)");
        exec("INSERT INTO tonaradock_table VALUES(0,'2026-11-02','21:30:00',118,75,60,'',0,1,2,0)");
        for (int t = 1; t <= 3; ++t)
            exec("INSERT INTO triv_table VALUES(1," + std::to_string(t) + ",13" + std::to_string(t) +
                 ",88,71,'2026-11-02')");
        exec("INSERT INTO day_average VALUES(1,'2026-11-01',121,79,66,'08:00:00')");
        exec("INSERT INTO day_average VALUES(1,'2026-11-02',135,88,71,'09:05:07')");
        exec("INSERT INTO day_average VALUES(2,'2026-11-02',118,75,60,'21:30:00')");
    }

    // Every row of every table as text, tables by name.
    std::map<std::string, std::vector<std::string>> rows() const
    {
        std::map<std::string, std::vector<std::string>> out;
        std::vector<std::string> tables;
        {
            SqlStatement names(db->database(),
                               "SELECT name FROM sqlite_master WHERE type='table' ORDER BY name");
            while (names.next())
                tables.push_back(names.columnText(0));
        }
        for (const std::string &t : tables) {
            SqlStatement all(db->database(), "SELECT * FROM \"" + t + "\"");
            auto &list = out[t];
            while (all.next()) {
                std::string row;
                for (int c = 0; c < all.columnCount(); ++c)
                    row += (c ? "|" : "") + all.columnText(c);
                list.push_back(row);
            }
        }
        return out;
    }
    int scalar(const std::string &sql) const
    {
        SqlStatement st(db->database(), sql);
        return st.next() ? st.columnInt(0) : -1;
    }

    // Every file under the folder (relative path, bytes).
    std::map<std::string, std::string> files() const
    {
        std::map<std::string, std::string> out;
        for (const auto &entry : fs::recursive_directory_iterator(path))
            if (entry.is_regular_file())
                out[fs::relative(entry.path(), path).string()] = readBytes(entry.path());
        return out;
    }
    // The names directly in the folder, hidden ones too, sorted.
    std::vector<std::string> names() const
    {
        std::vector<std::string> out;
        for (const auto &entry : fs::directory_iterator(path))
            out.push_back(entry.path().filename().string());
        std::sort(out.begin(), out.end());
        return out;
    }

    fs::path path;
    SilentAlerts alerts;
    std::unique_ptr<DBHelper> db;
};

} // namespace tonara::test
