#pragma once

#include "base/AlertSink.h"
#include "base/Log.h"
#include "storage/DBHelper.h"
#include "storage/SqlStatement.h"

#include <gtest/gtest.h>

#include <cstdlib>
#include <filesystem>
#include <memory>
#include <string>
#include <vector>

namespace tonara::test {

// A fresh folder under the system's temporary folder, removed afterwards.
class TempDir {
public:
    TempDir()
    {
        std::string pattern = (std::filesystem::temp_directory_path() / "tonara-storage-XXXXXX").string();
        path_ = ::mkdtemp(pattern.data());
    }
    ~TempDir()
    {
        std::error_code ec;
        std::filesystem::permissions(path_, std::filesystem::perms::owner_all,
                                     std::filesystem::perm_options::add, ec);
        std::filesystem::remove_all(path_, ec);
    }
    const std::string &path() const { return path_; }

private:
    std::string path_;
};

struct RecordedAlert {
    std::string title;
    std::string message;
    std::vector<std::string> buttons;
};

class RecordingAlerts final : public AlertSink {
public:
    void showAlert(const std::string &title, const std::string &message,
                   const std::vector<std::string> &buttons, Completion done) override
    {
        alerts.push_back({title, message, buttons});
        if (done)
            done(0);
    }
    std::vector<RecordedAlert> alerts;
};

// Collects the storage log lines while it lives.
class LogCapture {
public:
    LogCapture()
    {
        Log::setSink([this](const std::string &category, const std::string &line) {
            if (category == "storage")
                lines.push_back(line);
        });
    }
    ~LogCapture() { quiet(); }
    // Storage log lines are expected in these tests; keep them off the console.
    static void quiet()
    {
        Log::setSink([](const std::string &, const std::string &) {});
    }
    bool contains(const std::string &line) const
    {
        for (const auto &l : lines)
            if (l == line)
                return true;
        return false;
    }
    std::vector<std::string> lines;
};

// Runs a query and returns the first column of every row as text.
inline std::vector<std::string> column(sqlite3 *db, const std::string &sql)
{
    std::vector<std::string> out;
    SqlStatement st(db, sql);
    while (st.next())
        out.push_back(st.columnText(0));
    return out;
}

inline int scalar(sqlite3 *db, const std::string &sql)
{
    SqlStatement st(db, sql);
    return st.next() ? st.columnInt(0) : -1;
}

// A database in its own temporary folder, opened as the app would.
class StorageTest : public ::testing::Test {
protected:
    StorageTest() : db(dir.path(), &alerts) { db.openDatabase(); }
    sqlite3 *conn() { return db.database(); }

    TempDir dir;
    RecordingAlerts alerts;
    DBHelper db;
};

} // namespace tonara::test
