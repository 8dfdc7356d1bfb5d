// A backup, and the files a restore puts in place, are on disk before they
// take their names: the renames here are what a power cut may keep, and the
// operation that follows a backup may delete the data it holds.
//
// This program's own fsync and rename stand in front of the C library's and
// note the order of events, so the test sees what reached the disk when.

#include "BackupTestSupport.h"

#include "base/Clock.h"
#include "data/core/AutoBackups.h"
#include "data/core/BackupRestorer.h"
#include "data/core/BackupWriter.h"

#include <dlfcn.h>
#include <unistd.h>

#include <climits>
#include <mutex>

namespace {

struct DiskEvents {
    std::mutex mutex;
    bool recording = false;
    std::vector<std::string> events; // "sync <path>" and "rename <from> <to>"
};

DiskEvents &diskEvents()
{
    static DiskEvents e;
    return e;
}

std::string canonical(const std::string &path)
{
    std::error_code ec;
    const auto c = std::filesystem::weakly_canonical(path, ec);
    return ec ? path : c.string();
}

void note(std::string event)
{
    DiskEvents &e = diskEvents();
    std::lock_guard lock(e.mutex);
    if (e.recording)
        e.events.push_back(std::move(event));
}

} // namespace

extern "C" int fsync(int fd)
{
    using Fn = int (*)(int);
    static const Fn real = reinterpret_cast<Fn>(dlsym(RTLD_NEXT, "fsync"));
    char target[PATH_MAX];
    const ssize_t n = readlink(("/proc/self/fd/" + std::to_string(fd)).c_str(), target, sizeof target - 1);
    if (n > 0)
        note("sync " + std::string(target, std::size_t(n)));
    return real(fd);
}

extern "C" int rename(const char *from, const char *to) noexcept
{
    using Fn = int (*)(const char *, const char *);
    static const Fn real = reinterpret_cast<Fn>(dlsym(RTLD_NEXT, "rename"));
    const std::string event = "rename " + canonical(from) + " " + canonical(to);
    const int rc = real(from, to);
    if (rc == 0)
        note(event);
    return rc;
}

namespace tonara::test {
namespace {

class BackupDurabilityTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        std::lock_guard lock(diskEvents().mutex);
        diskEvents().events.clear();
        diskEvents().recording = true;
    }
    void TearDown() override
    {
        std::lock_guard lock(diskEvents().mutex);
        diskEvents().recording = false;
    }
    static std::vector<std::string> events()
    {
        std::lock_guard lock(diskEvents().mutex);
        return diskEvents().events;
    }
    // Where the rename that gave `to` its name is, or -1.
    static long renameOnto(const std::vector<std::string> &ev, const std::string &to, std::string *from)
    {
        const std::string suffix = " " + canonical(to);
        for (std::size_t i = 0; i < ev.size(); ++i)
            if (ev[i].rfind("rename ", 0) == 0 && ev[i].size() > suffix.size() &&
                ev[i].compare(ev[i].size() - suffix.size(), suffix.size(), suffix) == 0) {
                *from = ev[i].substr(7, ev[i].size() - suffix.size() - 7);
                return long(i);
            }
        return -1;
    }
    static bool syncedBetween(const std::vector<std::string> &ev, const std::string &path, long from, long to)
    {
        for (long i = std::max(from, 0L); i < to && i < long(ev.size()); ++i)
            if (ev[std::size_t(i)] == "sync " + path)
                return true;
        return false;
    }
    // The file had its bytes synced before the rename that named it, and its
    // folder was synced after.
    static void expectDurable(const std::vector<std::string> &ev, const std::string &path)
    {
        std::string from;
        const long at = renameOnto(ev, path, &from);
        ASSERT_GE(at, 0) << path << " was never renamed into place";
        EXPECT_TRUE(syncedBetween(ev, from, 0, at)) << from << " was renamed to " << path << " unsynced";
        EXPECT_TRUE(syncedBetween(ev, canonical(fs::path(path).parent_path().string()), at, long(ev.size())))
            << "the folder of " << path << " was not synced after the rename";
    }

    TempFolder tmp;
    ManualClock clock{LocalDateTime{2026, 12, 9, 8, 41, 7}};
};

TEST_F(BackupDurabilityTest, BackupsAndRestoredFilesReachTheDiskBeforeTheirNames)
{
    DataFolder home(tmp / "home");
    home.seedFamily();

    // A backup the person asks for, and one taken before a deletion.
    const std::string manual = (tmp / "stick.tonarabackup").string();
    BackupMessage why;
    ASSERT_TRUE(BackupWriter(*home.db, clock).write(manual, "", &why)) << why.english();
    const std::string automatic = AutoBackups(*home.db, clock).take(AutoBackups::kResetData, &why);
    ASSERT_FALSE(automatic.empty()) << why.english();
    expectDurable(events(), manual);
    expectDurable(events(), automatic);

    // Restored over other data: the database and the photos it brings, and
    // the backup of the data it replaces.
    DataFolder other(tmp / "other");
    other.exec("INSERT INTO tonaradock_table VALUES(0,'2026-10-01','08:00:00',150,95,80,'',0,0,0,0)");
    SetUp();
    BackupRestorer restorer(*other.db, clock);
    ASSERT_TRUE(restorer.restore(manual, &why)) << why.english();
    const std::vector<std::string> ev = events();
    expectDurable(ev, restorer.replacedDataBackup());
    expectDurable(ev, other.file("TonaraDock.sqlite"));
    expectDurable(ev, other.file("no1.png"));
    expectDurable(ev, other.file("no2.png"));
    EXPECT_EQ(other.scalar("SELECT count(*) FROM tonaradock_table"), 3);
}

} // namespace
} // namespace tonara::test
