#pragma once

#include "base/Clock.h"
#include "platform/AlertPresenter.h"
#include "storage/DBHelper.h"
#include "storage/DataBaseforCD.h"
#include "storage/SqlStatement.h"
#include "users/UsersContext.h"

#include <gtest/gtest.h>

#include <QApplication>
#include <QTemporaryDir>
#include <QTest>
#include <QWidget>

#include <memory>
#include <string>
#include <vector>

namespace tonara::test {

// The users layer's screens over a plain host the size of a phone's tab, on a
// database file and documents folder of their own.
class UsersScreenTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        ASSERT_TRUE(dir.isValid());
        db = std::make_unique<DBHelper>(dir.path().toStdString(), &alerts);
        db->openDatabase();
        store = std::make_unique<DataBaseforCD>(*db, alerts);
        store->check_database();
        alerts.setAnimationsEnabled(false);
        alerts.setHost(&host);
        ctx.db = db.get();
        ctx.alerts = &alerts;
        ctx.clock = &clock;
        ctx.documentsFolder = dir.path();
        ctx.animations = false;
        host.resize(320, 411);
    }

    int scalar(const std::string &sql)
    {
        SqlStatement st = db->executeQuery(sql);
        return st.next() ? st.columnInt(0) : -1;
    }
    void exec(const std::string &sql) { ASSERT_TRUE(SqlStatement::exec(db->database(), sql).ok()) << sql; }
    void reading(int user, const std::string &date)
    {
        exec("INSERT INTO tonaradock_table VALUES(0,'" + date + "','08:00:00',120,80,70,'',0,0," +
             std::to_string(user) + ",0)");
    }
    void dayAverage(int user, const std::string &date)
    {
        exec("INSERT INTO day_average VALUES(" + std::to_string(user) + ",'" + date +
             "',120,80,70,'08:00:00')");
    }

    QTemporaryDir dir;
    AlertPresenter alerts;
    ManualClock clock{LocalDateTime{2026, 3, 10, 9, 15, 0}};
    std::unique_ptr<DBHelper> db;
    std::unique_ptr<DataBaseforCD> store;
    UsersContext ctx;
    QWidget host;
};

} // namespace tonara::test
