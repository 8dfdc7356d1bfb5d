#pragma once

#include "storage/DBHelper.h"
#include "storage/DataBaseforCD.h"
#include "storage/SqlStatement.h"
#include "storage/StorageTestSupport.h"

#include <filesystem>
#include <fstream>
#include <string>

namespace tonara::test {

// A database in its own folder with the users store on it, and helpers to
// put readings, day averages, TRIV details and photo files in place.
class UsersCoreTest : public StorageTest {
protected:
    UsersCoreTest() : store(db, alerts) { store.check_database(); }

    void reading(int user, const std::string &date, int trivId = 0)
    {
        SqlStatement st(conn(), "INSERT INTO tonaradock_table VALUES(?,?,'08:00:00',120,80,70,'',?,0,?,0)");
        st.bind(1, trivId).bind(2, date).bind(3, trivId ? 1 : 0).bind(4, user);
        ASSERT_TRUE(st.run()) << st.status().message;
    }
    void dayAverage(int user, const std::string &date)
    {
        SqlStatement st(conn(), "INSERT INTO day_average VALUES(?,?,120,80,70,'08:00:00')");
        st.bind(1, user).bind(2, date);
        ASSERT_TRUE(st.run()) << st.status().message;
    }
    void trivDetail(int id, const std::string &date)
    {
        SqlStatement st(conn(), "INSERT INTO triv_table VALUES(?,1,120,80,70,?)");
        st.bind(1, id).bind(2, date);
        ASSERT_TRUE(st.run()) << st.status().message;
    }
    void profile(int user, const std::string &name, const std::string &photo = "")
    {
        ASSERT_TRUE(store.insertDataBase_user_table(user, "", "", name, "", photo, 0, ""));
    }
    std::string docPath(const std::string &file) const
    {
        return (std::filesystem::path(dir.path()) / file).string();
    }
    // A photo file whose content tells whose it is.
    std::string photoFile(const std::string &file, const std::string &content)
    {
        const std::string path = docPath(file);
        std::ofstream(path, std::ios::binary) << content;
        return path;
    }
    static std::string contentOf(const std::string &path)
    {
        std::ifstream in(path, std::ios::binary);
        return std::string(std::istreambuf_iterator<char>(in), {});
    }

    DataBaseforCD store;
};

} // namespace tonara::test
