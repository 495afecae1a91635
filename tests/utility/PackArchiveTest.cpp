#include "tests/support/CurrentDir.h"
#include "tests/support/PackBytes.h"
#include "tests/support/TempDir.h"
#include "utility/source/QelPackArchive.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <map>
#include <string>
#include <vector>

namespace
{
std::string EntryText(const CPackArchive& archive, const char* name)
{
    uint32_t size = 0;
    const uint8_t* data = archive.ReadWholeFile(name, size);
    return data ? std::string(reinterpret_cast<const char*>(data), size) : std::string("<none>");
}

std::map<std::string, std::string> AllEntries(const CPackArchive& archive)
{
    std::map<std::string, std::string> entries;
    archive.ForEachEntry([&](const SPackEntry& entry) {
        entries[entry.name] = std::string(reinterpret_cast<const char*>(entry.data), entry.size);
    });
    return entries;
}

class PackArchiveInFolder : public ::testing::Test
{
protected:
    void TearDown() override { FreePackArchive(); }
    CTempDir m_dir;
};

TEST_F(PackArchiveInFolder, LaterPatchPacksOverrideEarlierOnesFoundInAnyCase)
{
    ASSERT_TRUE(m_dir.WriteFile("Tessavar.000", MakeStoredRecord("data/a.txt", "main a") +
                                                    MakeStoredRecord("data/b.txt", "main b") +
                                                    MakeStoredRecord("data/c.txt", "main c")));
    ASSERT_TRUE(m_dir.WriteFile("tessavar.003", MakeStoredRecord("data/a.txt", "patch3 a") +
                                                    MakeStoredRecord("DATA/B.TXT", "patch3 b")));
    ASSERT_TRUE(m_dir.WriteFile("TESSAVAR.005", MakeStoredRecord("data/b.txt", "patch5 b")));
    ASSERT_TRUE(m_dir.WriteFile("Tessavar.012", MakeStoredRecord("data/c.txt", "not a patch")));
    CCurrentDir inFolder(m_dir.GetPath());

    ASSERT_TRUE(InitPackArchive());
    ASSERT_NE(g_packArchive, nullptr);
    EXPECT_EQ(g_packArchive->GetMountedCount(), 3u);
    EXPECT_EQ(EntryText(*g_packArchive, "data/a.txt"), "patch3 a");
    EXPECT_EQ(EntryText(*g_packArchive, "data/b.txt"), "patch5 b");
    EXPECT_EQ(EntryText(*g_packArchive, "data/c.txt"), "main c");
    // One entry per name is visible, under the name first stored.
    std::map<std::string, std::string> expected = {
        {"data/a.txt", "patch3 a"}, {"data/b.txt", "patch5 b"}, {"data/c.txt", "main c"}};
    EXPECT_EQ(AllEntries(*g_packArchive), expected);
}

TEST_F(PackArchiveInFolder, WithoutMainPackNoPatchIsUsed)
{
    ASSERT_TRUE(m_dir.WriteFile("Tessavar.001", MakeStoredRecord("data/a.txt", "patch")));
    CCurrentDir inFolder(m_dir.GetPath());
    ASSERT_TRUE(InitPackArchive());
    EXPECT_EQ(g_packArchive, nullptr);
    // The player hears that the patch pack goes unused, and why.
    ASSERT_EQ(GetPackArchiveNotes().size(), 1u);
    EXPECT_NE(GetPackArchiveNotes()[0].find("Tessavar.001 is not used"), std::string::npos);
    EXPECT_NE(GetPackArchiveNotes()[0].find("Tessavar.000"), std::string::npos);
}

TEST_F(PackArchiveInFolder, EmptyMainPackStillEnablesPatches)
{
    ASSERT_TRUE(m_dir.WriteFile("Tessavar.000", ""));
    ASSERT_TRUE(m_dir.WriteFile("tessavar.001", MakeStoredRecord("data/a.txt", "patch")));
    // A damaged patch pack still gives what it holds before the damage, and is named.
    std::string second = MakeStoredRecord("data/b.txt", "patch b");
    ASSERT_TRUE(m_dir.WriteFile("tessavar.002", second + second.substr(0, 20)));
    CCurrentDir inFolder(m_dir.GetPath());
    ASSERT_TRUE(InitPackArchive());
    ASSERT_NE(g_packArchive, nullptr);
    EXPECT_EQ(EntryText(*g_packArchive, "data/a.txt"), "patch");
    EXPECT_EQ(EntryText(*g_packArchive, "data/b.txt"), "patch b");
    ASSERT_EQ(GetPackArchiveNotes().size(), 1u);
    EXPECT_NE(GetPackArchiveNotes()[0].find("tessavar.002 is damaged"), std::string::npos);
}

TEST(PackArchive, NamesMatchWithEitherSeparatorAndAnyCase)
{
    CTempDir dir;
    ASSERT_TRUE(dir.WriteFile("p", MakeStoredRecord("data/foo.txt", "foo") +
                                       MakeStoredRecord("data\\gui\\Skin.txt", "skin")));
    CPackArchive archive;
    ASSERT_TRUE(archive.MountMainPack(dir.Join("p").c_str()));
    for (const char* query : {"data/foo.txt", "DATA\\Foo.TXT", "Data/FOO.txt"})
        EXPECT_EQ(EntryText(archive, query), "foo") << query;
    EXPECT_EQ(EntryText(archive, "data/gui/skin.txt"), "skin");
    for (const char* miss : {"data/foo.tx", "data/foo.txt ", "/data/foo.txt", "foo.txt", ""})
        EXPECT_EQ(archive.FindPackEntry(miss), nullptr) << miss;
    EXPECT_EQ(GetPackBucket("data/foo.txt"), GetPackBucket("DATA/FOO.TXT"));
}

TEST(PackArchive, DuplicateInOnePackFindsTheLaterRecord)
{
    CTempDir dir;
    ASSERT_TRUE(dir.WriteFile("p", MakeStoredRecord("a", "first") + MakeStoredRecord("A", "second")));
    CPackArchive archive;
    ASSERT_TRUE(archive.MountMainPack(dir.Join("p").c_str()));
    EXPECT_EQ(EntryText(archive, "a"), "second");
}

TEST(PackArchive, OnlyStoredRecordsAreIndexedButAllAreWalked)
{
    CTempDir dir;
    std::string bytes;
    for (uint16_t method : {8, 0, 12, 0xFFFF})
    {
        SPackRecordBytes record;
        record.name = "m" + std::to_string(method);
        record.data = std::string(37, 'x');
        record.method = method;
        record.signature = method == 12 ? "QUAR" : record.signature;
        bytes += MakePackRecord(record);
    }
    bytes += MakeStoredRecord("last", "stored");
    ASSERT_TRUE(dir.WriteFile("p", bytes));
    CPackArchive archive;
    ASSERT_TRUE(archive.MountMainPack(dir.Join("p").c_str()));
    EXPECT_EQ(archive.FindPackEntry("m8"), nullptr);
    EXPECT_EQ(archive.FindPackEntry("m12"), nullptr);
    EXPECT_NE(archive.FindPackEntry("m0"), nullptr);
    EXPECT_NE(archive.FindPackEntry("m65535"), nullptr);
    EXPECT_EQ(EntryText(archive, "last"), "stored");
}

TEST(PackArchive, ZipToolLayoutWithExtraFieldsAndCentralDirectory)
{
    SPackRecordBytes records[3];
    records[0].name = "data/one.txt";
    records[0].data = "first entry";
    records[0].extra = std::string("UT\x05\x00\x03\x01\x02\x03\x04", 9);
    records[0].uncompressedField = 11;
    records[1].name = "data/empty.bin";
    records[2].name = "data/two.bin";
    records[2].data = std::string("\x00\x01PK\x03\x04zz", 8);
    records[2].extra = std::string(40, '\x7F');
    std::string bytes;
    for (const SPackRecordBytes& r : records)
        bytes += MakePackRecord(r);
    bytes += MakeZipTrailer(records, 3);

    CTempDir dir;
    ASSERT_TRUE(dir.WriteFile("p", bytes));
    CPackArchive archive;
    ASSERT_TRUE(archive.MountMainPack(dir.Join("p").c_str()));
    std::map<std::string, std::string> expected;
    for (const SPackRecordBytes& r : records)
        expected[r.name] = r.data;
    EXPECT_EQ(AllEntries(archive), expected);
    // The directory is how such a pack ends, not damage.
    ASSERT_EQ(archive.GetMountReports().size(), 1u);
    EXPECT_FALSE(archive.GetMountReports()[0].damaged);
    EXPECT_EQ(archive.GetMountReports()[0].entries, 3u);
    EXPECT_EQ(DescribePackDamage(archive.GetMountReports()[0]), "");
}

// Every damaged pack keeps exactly the complete records before the damage, and its
// report says where the walk stopped and why. "good" takes 30 + 4 + 9 = 43 bytes.
TEST(PackArchive, DamagedPacksKeepOnlyWholeRecordsBeforeTheDamage)
{
    const std::string good = MakeStoredRecord("good", "fine data");
    SPackRecordBytes oversized;
    oversized.name = "big";
    oversized.data = "short";
    oversized.sizeField = 6;
    SPackRecordBytes wrapping = oversized;
    wrapping.sizeField = 0xFFFFFFF0;
    const std::string header = MakeStoredRecord("cut", "abc");

    struct SCase
    {
        const char* what;
        std::string bytes;
        std::vector<std::string> names;
        bool damaged;
        bool cutShort;
        uint64_t end;
    };
    const SCase cases[] = {
        {"empty file", "", {}, false, false, 0},
        {"only a signature", "PK\x03\x04", {}, true, true, 0},
        {"header cut short", good + header.substr(0, 29), {"good"}, true, true, 43},
        {"name runs past the end", good + header.substr(0, 32), {"good"}, true, true, 43},
        {"data runs past the end", good + MakePackRecord(oversized), {"good"}, true, true, 43},
        {"size wraps 32 bits", good + MakePackRecord(wrapping) + good, {"good"}, true, true, 43},
        {"bad signature ends the walk", good + "JUNK" + header, {"good"}, true, false, 43},
        {"trailing bytes after the records", good + header + "xyz", {"good", "cut"}, true, false, 79},
        {"zero-size entry", MakeStoredRecord("zero", "") + good, {"zero", "good"}, false, false, 77},
    };
    for (const SCase& c : cases)
    {
        CTempDir dir;
        ASSERT_TRUE(dir.WriteFile("p", c.bytes));
        CPackArchive archive;
        ASSERT_TRUE(archive.MountMainPack(dir.Join("p").c_str())) << c.what;
        std::map<std::string, std::string> found = AllEntries(archive);
        std::vector<std::string> names;
        for (const auto& entry : found)
            names.push_back(entry.first);
        std::vector<std::string> want = c.names;
        std::sort(want.begin(), want.end());
        EXPECT_EQ(names, want) << c.what;
        if (found.count("good"))
        {
            EXPECT_EQ(found["good"], "fine data") << c.what;
        }
        ASSERT_EQ(archive.GetMountReports().size(), 1u) << c.what;
        const SPackMountReport& report = archive.GetMountReports()[0];
        EXPECT_EQ(report.damaged, c.damaged) << c.what;
        EXPECT_EQ(report.cutShort, c.cutShort) << c.what;
        EXPECT_EQ(report.end, c.end) << c.what;
        EXPECT_EQ(report.entries, c.names.size()) << c.what;
        EXPECT_EQ(report.size, c.bytes.size()) << c.what;
        EXPECT_EQ(DescribePackDamage(report).empty(), !c.damaged) << c.what;
    }
}

TEST(PackArchive, MissingFilesAndFoldersDoNotMount)
{
    CTempDir dir;
    CPackArchive archive;
    EXPECT_FALSE(archive.MountMainPack(dir.Join("nothing").c_str()));
    EXPECT_FALSE(archive.MountPatchPack(dir.GetPath().c_str()));
    EXPECT_FALSE(archive.MountMainPack(nullptr));
    EXPECT_EQ(archive.GetMountedCount(), 0u);
}

TEST(ZipFileView, ReadsStopAtTheEndAndFailBeyondIt)
{
    CTempDir dir;
    std::string sixty;
    for (int i = 0; i < 60; ++i)
        sixty += static_cast<char>('A' + i % 26);
    SPackRecordBytes record;
    record.name = "data/sixty.bin";
    record.data = sixty;
    ASSERT_TRUE(dir.WriteFile("p", MakePackRecord(record) + MakeStoredRecord("after", "NEXT")));
    CPackArchive archive;
    ASSERT_TRUE(archive.MountMainPack(dir.Join("p").c_str()));

    CZipFileView view(&archive);
    ASSERT_TRUE(view.OpenEntry("DATA\\sixty.bin"));
    EXPECT_EQ(view.GetSize(), 60u);
    char buffer[100] = {};
    uint32_t count = 100;
    EXPECT_EQ(view.Read(buffer, count), CZipFileView::READ_SHORT);
    EXPECT_EQ(count, 60u);
    EXPECT_EQ(std::string(buffer, 60), sixty);
    count = 10;
    EXPECT_EQ(view.Read(buffer, count), CZipFileView::READ_SHORT);
    EXPECT_EQ(count, 0u);

    view.Rewind();
    count = 60;
    EXPECT_EQ(view.Read(buffer, count), CZipFileView::READ_FULL);
    EXPECT_EQ(count, 60u);

    // A skip past the end makes the next read fail; one to before the start is refused.
    ASSERT_TRUE(view.Skip(1));
    count = 4;
    EXPECT_EQ(view.Read(buffer, count), CZipFileView::READ_PAST_END);
    EXPECT_EQ(count, 0u);
    EXPECT_FALSE(view.Skip(-62));
    EXPECT_EQ(view.GetPosition(), 61u);
    ASSERT_TRUE(view.Skip(-61));
    count = 3;
    EXPECT_EQ(view.Read(buffer, count), CZipFileView::READ_FULL);
    EXPECT_EQ(std::string(buffer, 3), "ABC");
    EXPECT_FALSE(view.Skip(INT64_MIN));

    EXPECT_FALSE(view.OpenEntry("data/missing.bin"));
    count = 1;
    EXPECT_EQ(view.Read(buffer, count), CZipFileView::READ_PAST_END);
}

TEST(PackArchive, WholeFileSizeComesFromTheCompressedSizeField)
{
    SPackRecordBytes record;
    record.name = "x";
    record.data = "twelve bytes";
    record.uncompressedField = 0;  // as the unpacker writes it
    CTempDir dir;
    ASSERT_TRUE(dir.WriteFile("p", MakePackRecord(record)));
    CPackArchive archive;
    ASSERT_TRUE(archive.MountMainPack(dir.Join("p").c_str()));
    EXPECT_EQ(EntryText(archive, "x"), "twelve bytes");
}
} // namespace
