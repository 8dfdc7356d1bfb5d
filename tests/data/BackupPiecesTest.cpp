// The small pieces of a backup: checksums, the manifest's text, file names,
// and messages.

#include "BackupTestSupport.h"

#include "data/core/BackupArchive.h"
#include "data/core/BackupFileName.h"
#include "data/core/BackupMessage.h"
#include "data/core/Manifest.h"
#include "data/core/Sha256.h"

#include <gtest/gtest.h>

namespace tonara {
namespace {

TEST(BackupPiecesTest, Sha256MatchesTheStandardsVectorsWhateverThePieces)
{
    EXPECT_EQ(Sha256::hex(""), "e3b0c44298fc1c149afbf4c8996fb92427ae41e4649b934ca495991b7852b855");
    EXPECT_EQ(Sha256::hex("abc"), "ba7816bf8f01cfea414140de5dae2223b00361a396177a9cb410ff61f20015ad");
    const std::string twoBlocks = "abcdbcdecdefdefgefghfghighijhijkijkljklmklmnlmnomnopnopq";
    EXPECT_EQ(Sha256::hex(twoBlocks), "248d6a61d20638b8e5c026930c3e6039a33ce45964ff2167f6ecedd419db06c1");
    // Fed in odd pieces across the block edges, a million 'a's.
    Sha256 h;
    const std::string piece(997, 'a');
    std::size_t fed = 0;
    while (fed < 1000000) {
        const std::size_t n = std::min(piece.size(), 1000000 - fed);
        h.update(piece.data(), n);
        fed += n;
    }
    EXPECT_EQ(h.hexDigest(), "cdc76e5c9914fb9281a1c7e284d73e67f1809a48a497200e046d39ccc7112cd0");
}

TEST(BackupPiecesTest, TheManifestReadsBackAsWrittenAndVouchesForItself)
{
    Manifest m;
    m.application = "Tonara+ 0.1.0";
    m.schemaVersion = 1;
    m.created = "2026-12-09 08:41:07";
    m.operation = "reset-data";
    m.tableCounts = {{"day_average", 2}, {"my notes", 0}};
    m.members = {{"TonaraDock.sqlite", 20480, std::string(64, 'a')},
                 {"photos/no 1.png", 3, std::string(64, 'b')}};
    std::string why;
    const auto back = Manifest::parse(m.text(), &why);
    ASSERT_TRUE(back) << why;
    EXPECT_EQ(*back, m);
    EXPECT_EQ(back->count("my notes"), 0);
    EXPECT_EQ(back->count("nowhere"), -1);

    std::string changed = m.text();
    changed.replace(changed.find("20480"), 5, "20481");
    EXPECT_FALSE(Manifest::parse(changed, &why));
    EXPECT_EQ(why, "the manifest does not match its own checksum");
    EXPECT_FALSE(Manifest::parse("PK\x03\x04 something else", &why));
    bool newer = false;
    Manifest later = m;
    later.format = Manifest::kFormat + 1;
    EXPECT_FALSE(Manifest::parse(later.text(), &why, &newer));
    EXPECT_TRUE(newer);
}

TEST(BackupPiecesTest, FileNamesCarryTheMomentAndTheOperation)
{
    const LocalDateTime at{2026, 3, 4, 9, 5, 7};
    EXPECT_EQ(BackupFileName::manual(at), "Tonara-backup-2026-03-04-0905.tonarabackup");
    EXPECT_EQ(BackupFileName::automatic(at, "delete-profile"),
              "Tonara-backup-2026-03-04-090507-delete-profile.tonarabackup");
    const auto parsed = BackupFileName::parse(BackupFileName::automatic(at, "reset-data", 3));
    ASSERT_TRUE(parsed);
    EXPECT_EQ(parsed->at, at);
    EXPECT_EQ(parsed->operation, "reset-data");
    EXPECT_EQ(parsed->sequence, 3);
    for (const char *other : {"Tonara-backup-2026-03-04-0905.tonarabackup",
                              "Tonara-backup-2026-13-04-090507-reset-data.tonarabackup",
                              "Tonara-backup-2026-03-04-090507-.tonarabackup",
                              "Tonara-backup-2026-03-04-090507-reset-data.tonarabackup.part", "notes.txt"})
        EXPECT_FALSE(BackupFileName::parse(other)) << other;
}

TEST(BackupPiecesTest, AnArchiveIsReadableByItsOwnerOnly)
{
    using namespace test;
    TempFolder tmp;
    const fs::path path = tmp / "mine.tonarabackup";
    writeBytes(path.string() + ".part", "left by an earlier attempt"); // with the usual rights
    fs::permissions(path.string() + ".part",
                    fs::perms::owner_all | fs::perms::group_read | fs::perms::others_read);
    std::string why;
    ASSERT_TRUE(BackupArchive::write(path.string(), {{"manifest.txt", "x"}}, &why)) << why;
    EXPECT_EQ(fs::status(path).permissions() & fs::perms::all,
              fs::perms::owner_read | fs::perms::owner_write);
}

TEST(BackupPiecesTest, MessagesFillTheirValuesInOnePass)
{
    EXPECT_EQ(BackupMessage::fill("%2 then %1, %3 stays", {"a%2", "b"}), "b then a%2, %3 stays");
    EXPECT_EQ((BackupMessage{"100% of \"%1\"", {"x"}}.english()), "100% of \"x\"");
}

} // namespace
} // namespace tonara
