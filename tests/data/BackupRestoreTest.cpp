// Backups made and restored on real database files and photo files in
// temporary folders: what comes back, what is refused, and that a refusal
// changes nothing.

#include "BackupTestSupport.h"

#include "base/Clock.h"
#include "data/core/BackupArchive.h"
#include "data/core/BackupRestorer.h"
#include "data/core/BackupWriter.h"
#include "data/core/Manifest.h"
#include "data/core/Sha256.h"
#include "storage/SqlConnection.h"

#include <atomic>
#include <thread>

namespace tonara::test {
namespace {

class BackupRestoreTest : public ::testing::Test {
protected:
    std::string make(DataFolder &from, const std::string &name = "backup.tonarabackup")
    {
        const std::string path = (tmp / name).string();
        BackupMessage why;
        EXPECT_TRUE(BackupWriter(*from.db, clock).write(path, "", &why)) << why.english();
        return path;
    }
    // Restores into the folder; the refusal, or empty on success.
    std::string restore(DataFolder &into, const std::string &archive)
    {
        BackupMessage why;
        return BackupRestorer(*into.db, clock).restore(archive, &why) ? std::string() : why.english();
    }

    TempFolder tmp;
    ManualClock clock{LocalDateTime{2026, 12, 9, 8, 41, 7}};
};

TEST_F(BackupRestoreTest, RestoreOnAnEmptyFolderGivesTheSameRowsAndPhotos)
{
    DataFolder home(tmp / "home");
    home.seedFamily();
    home.exec("CREATE TABLE my_notes (note text); INSERT INTO my_notes VALUES('kept too')");
    const std::string archive = make(home);

    // The manifest names what was taken.
    std::vector<BackupArchive::Member> members;
    std::string why;
    ASSERT_TRUE(BackupArchive::read(archive, &members, &why)) << why;
    ASSERT_EQ(members.front().name, "manifest.txt");
    const auto manifest = Manifest::parse(members.front().data, &why);
    ASSERT_TRUE(manifest) << why;
    EXPECT_EQ(manifest->schemaVersion, 1);
    EXPECT_EQ(manifest->application.rfind("Tonara+ ", 0), 0u);
    EXPECT_EQ(manifest->created, "2026-12-09 08:41:07");
    EXPECT_EQ(manifest->count("tonaradock_table"), 3);
    EXPECT_EQ(manifest->count("triv_table"), 3);
    EXPECT_EQ(manifest->count("users_table_new"), 3);
    EXPECT_EQ(manifest->count("my_notes"), 1);
    ASSERT_NE(manifest->member("photos/no2.png"), nullptr);
    EXPECT_EQ(manifest->member("photos/no2.png")->sha256, Sha256::hex(readBytes(home.file("no2.png"))));

    DataFolder fresh(tmp / "new computer");
    ASSERT_EQ(restore(fresh, archive), "");

    // The shared connection reads the restored file; the photo paths point here.
    auto expected = home.rows();
    for (std::string &row : expected["users_table_new"]) {
        const auto at = row.find(home.path.string());
        if (at != std::string::npos)
            row.replace(at, home.path.string().size(), fresh.path.string());
    }
    EXPECT_EQ(fresh.rows(), expected);
    EXPECT_EQ(readBytes(fresh.file("no1.png")), readBytes(home.file("no1.png")));
    EXPECT_EQ(readBytes(fresh.file("no2.png")), readBytes(home.file("no2.png")));
    // The empty database it replaced was kept among the automatic backups,
    // and nothing of the work is left lying about.
    EXPECT_EQ(std::distance(fs::directory_iterator(fresh.path / "Backups"), fs::directory_iterator()), 1);
    EXPECT_EQ(fresh.names(),
              (std::vector<std::string>{"Backups", "TonaraDock.sqlite", "no1.png", "no2.png"}));
    EXPECT_EQ(fresh.db->openCount(), 2);
}

TEST_F(BackupRestoreTest, ADiarySQLiteCannotReadIsKeptAsItIsAndTheBackupComesBack)
{
    DataFolder home(tmp / "home");
    home.seedFamily();
    const std::string archive = make(home);
    // The one time a restore is needed most: the diary is damaged, so no
    // automatic backup of it can be taken.
    const fs::path broken = tmp / "broken";
    fs::create_directories(broken);
    const std::string damaged = "SQLite format 3" + std::string(5000, '\x13');
    writeBytes(broken / "TonaraDock.sqlite", damaged);
    SilentAlerts quiet;
    DBHelper db(broken.string(), &quiet);
    db.openDatabase();
    writeBytes(broken / "TonaraDock.sqlite-journal", "a journal of the damaged file");
    BackupRestorer restorer(db, clock);
    BackupMessage why;
    ASSERT_TRUE(restorer.restore(archive, &why)) << why.english();

    EXPECT_TRUE(restorer.replacedDataWasDamaged());
    const std::string kept = restorer.replacedDataBackup();
    EXPECT_EQ(fs::path(kept), broken / "Backups" / "Damaged-TonaraDock-2026-12-09-084107.sqlite");
    EXPECT_EQ(readBytes(kept), damaged) << "kept byte for byte";
    EXPECT_EQ(readBytes(kept + "-journal"), "a journal of the damaged file");
    EXPECT_FALSE(fs::exists(broken / "TonaraDock.sqlite-journal"))
        << "never played back into the restored file";
    SqlStatement readings(db.database(), "SELECT count(*) FROM tonaradock_table");
    ASSERT_TRUE(readings.next());
    EXPECT_EQ(readings.columnInt(0), 3);
}

TEST_F(BackupRestoreTest, ABackupIsNeverWrittenOverTheDiaryItIsTakenFrom)
{
    // A file dialog lets a person pick any name; picking the database or a
    // photo of the data folder replaced it with the archive and said "saved".
    DataFolder home(tmp / "home");
    home.seedFamily();
    const auto before = home.rows();
    const std::string photo = readBytes(home.file("no1.png"));
    for (const std::string &target :
         {home.file("TonaraDock.sqlite"), (home.path / "." / "TonaraDock.sqlite").string(),
          home.file("no1.png"), home.file("TonaraDock.lock")}) {
        SCOPED_TRACE(target);
        BackupMessage why;
        EXPECT_FALSE(BackupWriter(*home.db, clock).write(target, "", &why));
        EXPECT_NE(why.english().find("in use"), std::string::npos) << why.english();
    }
    EXPECT_EQ(home.rows(), before);
    EXPECT_EQ(readBytes(home.file("no1.png")), photo);
    // Beside them, under a name of its own, it is written as always.
    BackupMessage why;
    EXPECT_TRUE(BackupWriter(*home.db, clock).write(home.file("mine.tonarabackup"), "", &why))
        << why.english();
}

TEST_F(BackupRestoreTest, RestoreOverDataReplacesItsPhotosAsASet)
{
    DataFolder home(tmp / "home");
    home.exec("INSERT INTO users_table_new VALUES(0,'','','User','','',0,'')");
    const std::string onlyUser = make(home);
    home.seedFamily(); // the later state has photos the backup does not
    ASSERT_EQ(restore(home, onlyUser), "");
    EXPECT_EQ(home.scalar("SELECT count(*) FROM users_table_new"), 1);
    EXPECT_EQ(home.scalar("SELECT count(*) FROM tonaradock_table"), 0);
    EXPECT_FALSE(fs::exists(home.file("no1.png")));
    EXPECT_FALSE(fs::exists(home.file("no2.png")));
    // ...and the automatic backup taken first brings them all back.
    std::vector<fs::path> autos(fs::directory_iterator(home.path / "Backups"), fs::directory_iterator{});
    ASSERT_EQ(autos.size(), 1u);
    ASSERT_EQ(restore(home, autos.front().string()), "");
    EXPECT_EQ(home.scalar("SELECT count(*) FROM tonaradock_table"), 3);
    EXPECT_EQ(readBytes(home.file("no2.png")).substr(3000), "father");
}

// Each damaged, foreign or newer archive is refused with its own words, and
// the folder (database, photos, backups) stays byte for byte as it was.
TEST_F(BackupRestoreTest, RefusedArchivesChangeNothing)
{
    DataFolder source(tmp / "source");
    source.seedFamily();
    const std::string good = make(source);
    const std::string bytes = readBytes(good);

    auto variant = [&](const std::string &name, const std::string &content) {
        writeBytes(tmp / name, content);
        return (tmp / name).string();
    };
    std::string flippedMiddle = bytes, flippedLate = bytes;
    flippedMiddle[bytes.size() / 2] ^= 0x10;
    flippedLate[bytes.size() - 20] ^= 0x01;

    // A foreign SQLite file, bare and inside a well-formed archive.
    DataFolder other(tmp / "other");
    other.exec("DROP TABLE tonaradock_table; CREATE TABLE recipes (name text)");
    const std::string foreignArchive = make(other, "foreign.tonarabackup");
    DataFolder shuffled(tmp / "shuffled");
    shuffled.exec(
        "DROP TABLE day_average; CREATE TABLE day_average (date text, user_id integer, sys integer, "
        "dia integer, pulse integer, time text)");
    const std::string shuffledArchive = make(shuffled, "shuffled.tonarabackup");
    // A later version's database.
    DataFolder later(tmp / "later");
    later.exec("PRAGMA user_version = 2");
    const std::string newer = make(later, "newer.tonarabackup");

    const struct {
        std::string archive;
        std::string says;
    } cases[] = {
        {variant("cut.tonarabackup", bytes.substr(0, bytes.size() * 2 / 3)), "is damaged: it is incomplete"},
        {variant("cut-early.tonarabackup", bytes.substr(0, 40)), "is damaged"},
        {variant("flipped.tonarabackup", flippedMiddle), "is damaged"},
        {variant("flipped-late.tonarabackup", flippedLate), "is damaged"},
        {source.db->getDatabaseFullPath(), "is a database, not a Tonara+ backup"},
        {variant("notes.tonarabackup", "just some text\n"), "is not a Tonara+ backup"},
        {(tmp / "no such file").string(), "could not be opened"},
        {foreignArchive, "does not hold a Tonara+ database: the table tonaradock_table is missing"},
        {shuffledArchive, "the columns of day_average are not those of Tonara+ (date, user_id"},
        {newer, "was made by a newer version of Tonara+ (database version 2; this version reads up to 1)"},
    };

    DataFolder home(tmp / "home");
    home.seedFamily();
    home.exec("DELETE FROM triv_table"); // differs from the source, so a change would show
    const auto rowsBefore = home.rows();
    const auto filesBefore = home.files();
    for (const auto &c : cases) {
        SCOPED_TRACE(c.archive);
        const BackupRestorer::Checked checked = BackupRestorer(*home.db, clock).inspect(c.archive);
        EXPECT_FALSE(checked.ok);
        const std::string said = checked.refusal.english();
        EXPECT_NE(said.find(c.says), std::string::npos) << said;
        EXPECT_TRUE(said.ends_with("Nothing was changed.")) << said;
        EXPECT_EQ(restore(home, c.archive), said);
        EXPECT_EQ(home.rows(), rowsBefore);
        EXPECT_EQ(home.files(), filesBefore);
        EXPECT_EQ(home.names(), (std::vector<std::string>{"TonaraDock.sqlite", "no1.png", "no2.png"}));
    }
    // The good one still restores, so the refusals were about the damage.
    EXPECT_EQ(restore(home, good), "");
    EXPECT_EQ(home.scalar("SELECT count(*) FROM triv_table"), 3);
}

TEST_F(BackupRestoreTest, AManifestThatDoesNotMatchItsMembersIsRefused)
{
    DataFolder source(tmp / "source");
    source.seedFamily();
    std::vector<BackupArchive::Member> members;
    std::string why;
    ASSERT_TRUE(BackupArchive::read(make(source), &members, &why));
    const Manifest manifest = *Manifest::parse(members[0].data, nullptr);

    auto refusal = [&](const std::vector<BackupArchive::Member> &changed) {
        const std::string path = (tmp / "changed.tonarabackup").string();
        EXPECT_TRUE(BackupArchive::write(path, changed, &why)) << why;
        return BackupRestorer(*source.db, clock).inspect(path).refusal.english();
    };
    auto withManifest = [&](const Manifest &m) {
        auto changed = members;
        changed[0].data = m.text();
        return changed;
    };
    auto says = [](const std::string &text, const std::string &part) {
        return text.find(part) != std::string::npos;
    };
    // A photo swapped for another picture.
    auto swapped = members;
    swapped.back().data = "another picture";
    EXPECT_PRED2(says, refusal(swapped), "photos/no1.png does not match its checksum");
    // A member the manifest does not list, one it lists that is not there, and no manifest.
    auto extra = members;
    extra.push_back({"photos/intruder.png", "x"});
    EXPECT_PRED2(says, refusal(extra), "which its manifest does not list");
    EXPECT_PRED2(says, refusal({members.begin(), members.end() - 1}), "photos/no1.png is missing");
    EXPECT_PRED2(says, refusal({members.begin() + 1, members.end()}), "it has no manifest");
    // A manifest changed by hand, without its checksum.
    auto edited = members;
    edited[0].data.replace(edited[0].data.find("Tonara+ 0"), 9, "Tonara+ 9");
    EXPECT_PRED2(says, refusal(edited),
                 "its manifest cannot be read (the manifest does not match its own checksum)");
    // Counts that do not match the database: a manifest written for other data.
    Manifest wrongCount = manifest;
    for (auto &[table, n] : wrongCount.tableCounts)
        if (table == "tonaradock_table")
            n = 2;
    EXPECT_PRED2(says, refusal(withManifest(wrongCount)),
                 "tonaradock_table holds 3 rows, its manifest says 2");
    // A path that would leave the folder, even with a matching checksum.
    auto escaping = members;
    escaping.back().name = "photos/../../evil.png";
    Manifest escapingManifest = manifest;
    escapingManifest.members.back().name = "photos/../../evil.png";
    escaping[0].data = escapingManifest.text();
    EXPECT_PRED2(says, refusal(escaping), "which is neither the database nor a photo");
    // A manifest of a later archive format.
    Manifest laterFormat = manifest;
    laterFormat.format = 2;
    EXPECT_PRED2(says, refusal(withManifest(laterFormat)), "was made by a newer version of Tonara+");
}

// The copy is taken through SQLite's backup while another connection keeps
// saving whole TRIV readings (reading, three details and the day's count in
// one transaction): every backup holds whole saves only.
TEST_F(BackupRestoreTest, ABackupTakenWhileSavingRestoresConsistent)
{
    DataFolder home(tmp / "home");
    std::atomic<int> saved{0};
    std::atomic<bool> stop{false};
    std::thread saver([&] {
        SqlStatus status;
        SqlConnection conn =
            SqlConnection::open(home.db->getDatabaseFullPath(), SQLITE_OPEN_READWRITE, status);
        sqlite3_busy_timeout(conn.get(), 10000);
        for (int n = 1; !stop; ++n) {
            const std::string id = std::to_string(n);
            std::string sql = "BEGIN IMMEDIATE; INSERT INTO tonaradock_table VALUES(" + id +
                              ",'2026-12-09','08:00:00',130,85,70,'',1,0,0,0);";
            for (int t = 1; t <= 3; ++t)
                sql += "INSERT INTO triv_table VALUES(" + id + "," + std::to_string(t) +
                       ",130,85,70,'2026-12-09');";
            sql += "DELETE FROM day_average; INSERT INTO day_average VALUES(0,'2026-12-09',130,85," + id +
                   ",'08:00:00'); COMMIT;";
            if (!SqlStatement::exec(conn.get(), sql).ok()) {
                SqlStatement::exec(conn.get(), "ROLLBACK");
                --n;
                continue;
            }
            saved = n;
            std::this_thread::yield(); // a writer that never pauses is not what the app is
        }
    });
    auto waitForSaves = [&](int count) {
        // On the saver itself: each backup lands between different saves.
        const int before = saved;
        while (saved < before + count)
            std::this_thread::yield();
    };
    std::vector<std::string> archives;
    for (int i = 0; i < 4; ++i) {
        waitForSaves(3);
        archives.push_back(make(home, "during-" + std::to_string(i) + ".tonarabackup"));
    }
    waitForSaves(3);
    stop = true;
    saver.join();

    for (std::size_t i = 0; i < archives.size(); ++i) {
        SCOPED_TRACE(i);
        DataFolder restored(tmp / ("restored-" + std::to_string(i)));
        ASSERT_EQ(restore(restored, archives[i]), "");
        const int readings = restored.scalar("SELECT count(*) FROM tonaradock_table");
        EXPECT_GT(readings, 0);
        EXPECT_LT(readings, saved.load()); // taken while the saves went on
        EXPECT_EQ(restored.scalar("SELECT count(*) FROM triv_table"), 3 * readings);
        EXPECT_EQ(restored.scalar("SELECT pulse FROM day_average"), readings);
        EXPECT_EQ(restored.scalar("SELECT max(triv_id) FROM tonaradock_table"), readings);
    }
}

} // namespace
} // namespace tonara::test
