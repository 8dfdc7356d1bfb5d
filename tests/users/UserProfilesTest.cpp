#include "UsersCoreSupport.h"

#include "users/core/UserProfiles.h"

namespace tonara::test {
namespace {

namespace fs = std::filesystem;

class Profiles : public UsersCoreTest {
protected:
    // 0 User without a photo, 1 Mother and 2 Father with theirs, each with a
    // reading and a day average; Mother is active.
    void SetUp() override
    {
        profile(0, "User");
        profile(1, "Mother", photoFile("no1.png", "mother"));
        profile(2, "Father", photoFile("no2.png", "father"));
        for (int user = 0; user < 3; ++user) {
            reading(user, "2026-03-0" + std::to_string(user + 1));
            dayAverage(user, "2026-03-0" + std::to_string(user + 1));
        }
        ASSERT_TRUE(store.insertDataBase_setting_table(2, -1, -1));
    }
    std::string photoOf(int user)
    {
        store.ReadDataBase_user_table();
        for (std::size_t i = 0; i < store.aArray_user_user.size(); ++i)
            if (store.aArray_user_user[i] == user)
                return store.aArray_photo_user[i];
        return "(no profile)";
    }

    UserProfiles profiles{store, db, dir.path()};
};

TEST_F(Profiles, DeletingAProfileMovesTheHigherOnesWithTheirDataAndPhoto)
{
    ASSERT_TRUE(profiles.deleteProfile(1)) << profiles.lastError();
    store.ReadDataBase_user_table();
    EXPECT_EQ(store.aArray_lastname_user, (std::vector<std::string>{"Father", "User"}));
    EXPECT_EQ(store.aArray_user_user, (std::vector<int>{1, 0}));
    // Father's reading and day average now carry his new number; Mother's are gone.
    EXPECT_EQ(column(conn(), "SELECT date FROM tonaradock_table WHERE user_id = 1"),
              std::vector<std::string>{"2026-03-03"});
    EXPECT_EQ(column(conn(), "SELECT date FROM day_average WHERE user_id = 1"),
              std::vector<std::string>{"2026-03-03"});
    EXPECT_EQ(scalar(conn(), "SELECT count(*) FROM tonaradock_table"), 2);
    // His photo file moved with him; hers is gone; no file is left at no2.png.
    EXPECT_EQ(photoOf(1), docPath("no1.png"));
    EXPECT_EQ(contentOf(docPath("no1.png")), "father");
    EXPECT_FALSE(fs::exists(docPath("no2.png")));
    EXPECT_EQ(std::distance(fs::directory_iterator(dir.path()), fs::directory_iterator{}), 2)
        << "the database and Father's photo only";
    // The active user moved with his profile.
    EXPECT_EQ(store.activeUser(), 1);
    // A new profile gets number 2 and a free photo name that overwrites nobody's.
    EXPECT_EQ(profiles.photoPathFor(2), docPath("no2.png"));
}

TEST_F(Profiles, AFailedFileMoveLeavesTheDatabaseAndTheFilesAsTheyWere)
{
    // Something at no1.png that a file cannot replace: Father's move fails
    // after Mother's photo was set aside and the database already changed.
    ASSERT_TRUE(fs::remove(docPath("no1.png")));
    ASSERT_TRUE(store.updataDataBase_forUser_table(1, "Mother", docPath("mother.png")));
    photoFile("mother.png", "mother");
    fs::create_directory(docPath("no1.png"));
    photoFile("no1.png/keep", "x");

    EXPECT_FALSE(profiles.deleteProfile(1));
    EXPECT_NE(profiles.lastError(), "");
    store.ReadDataBase_user_table();
    EXPECT_EQ(store.aArray_lastname_user, (std::vector<std::string>{"Father", "Mother", "User"}));
    EXPECT_EQ(photoOf(2), docPath("no2.png"));
    EXPECT_EQ(contentOf(docPath("no2.png")), "father");
    EXPECT_EQ(contentOf(docPath("mother.png")), "mother");
    EXPECT_EQ(scalar(conn(), "SELECT count(*) FROM tonaradock_table WHERE user_id = 1"), 1);
    EXPECT_EQ(scalar(conn(), "SELECT count(*) FROM day_average"), 3);
    EXPECT_EQ(store.activeUser(), 2);
    EXPECT_TRUE(sqlite3_get_autocommit(conn()));
}

TEST_F(Profiles, ANewPhotoNeverGoesOverAFileAnotherProfileNames)
{
    // A file written while photos kept their old numbers: profile 1 still
    // names no2.png, and profile 2 is about to be made.
    ASSERT_TRUE(profiles.deleteProfile(2));
    ASSERT_TRUE(store.updataDataBase_forUser_table(1, "Mother", photoFile("no2.png", "mother")));
    photoFile("no2-1.png", "left over by nobody");
    EXPECT_EQ(profiles.photoPathFor(2), docPath("no2-1.png"));
    // The profile's own file may be written again.
    EXPECT_EQ(profiles.photoPathFor(1), docPath("no1.png"));
}

TEST_F(Profiles, AProfileWhosePhotoFileIsMissingMovesWithoutIt)
{
    ASSERT_TRUE(fs::remove(docPath("no2.png")));
    ASSERT_TRUE(profiles.deleteProfile(0));
    EXPECT_EQ(photoOf(0), docPath("no0.png"));
    EXPECT_EQ(contentOf(docPath("no0.png")), "mother");
    EXPECT_EQ(photoOf(1), docPath("no2.png")) << "the path that shows no picture is kept as it was";
    EXPECT_FALSE(profiles.deleteProfile(7));
}

} // namespace
} // namespace tonara::test
