#include "core/WString.h"
#include "tests/support/CurrentDir.h"
#include "tests/support/PackBytes.h"
#include "tests/support/TempDir.h"
#include "utility/source/QelCrc32.h"
#include "utility/source/QelFile.h"
#include "utility/source/QelPackArchive.h"

#include <gtest/gtest.h>

#include <cstdlib>
#include <cstring>
#include <ctime>
#include <filesystem>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

namespace
{
std::string ReadAllOf(CFileInterface& file)
{
    std::string text(file.GetFileSize(), '\0');
    uint32_t got = 0;
    if (!file.Read(text.data(), static_cast<uint32_t>(text.size()), &got))
        return "<failed>";
    text.resize(got);
    return text;
}

// A program folder with a main pack mounted from it.
class FileLayer : public ::testing::Test
{
protected:
    void MountPack(const std::string& bytes)
    {
        ASSERT_TRUE(m_dir.WriteFile("Tessavar.000", bytes));
        CCurrentDir inFolder(m_dir.GetPath());
        ASSERT_TRUE(InitPackArchive());
        ASSERT_NE(g_packArchive, nullptr);
    }
    void TearDown() override { FreePackArchive(); }

    CTempDir m_dir;
};

TEST_F(FileLayer, OpenPrefersDiskButWholeFileReadsPreferThePack)
{
    MountPack(MakeStoredRecord("data/both.txt", "packed") + MakeStoredRecord("data/packonly.txt", "only packed"));
    ASSERT_TRUE(m_dir.WriteFile("data/both.txt", "loose"));
    CCurrentDir inFolder(m_dir.GetPath());

    CQelFile file;
    ASSERT_TRUE(file.Open("data/", "both.txt", FILE_OPEN_READ));
    EXPECT_FALSE(file.IsInPack());
    EXPECT_EQ(ReadAllOf(file), "loose");

    const uint8_t* buffer = nullptr;
    uint32_t size = 0;
    bool isCopy = true;
    ASSERT_TRUE(file.ReadWholeFile("data\\both.txt", buffer, size, isCopy));
    EXPECT_FALSE(isCopy);
    EXPECT_EQ(std::string(reinterpret_cast<const char*>(buffer), size), "packed");
    ReleaseWholeFile(buffer, isCopy);
    ASSERT_TRUE(file.Close());

    ASSERT_TRUE(file.Open("\\data\\", "PackOnly.TXT", FILE_OPEN_READ));
    EXPECT_TRUE(file.IsInPack());
    EXPECT_EQ(file.GetFileSize(), 11u);
    EXPECT_EQ(ReadAllOf(file), "only packed");
    uint32_t high = 0, low = 0;
    EXPECT_FALSE(file.GetLastWriteTime(high, low));
    EXPECT_TRUE(FileExists("data/", "packonly.txt"));
    EXPECT_FALSE(FileExists("data/", "absent.txt"));
}

TEST_F(FileLayer, WholeFileFromDiskIsACopy)
{
    ASSERT_TRUE(m_dir.WriteFile("Data/Game1.TXT", "zones"));
    CCurrentDir inFolder(m_dir.GetPath());
    CQelFile file;
    const uint8_t* buffer = nullptr;
    uint32_t size = 0;
    bool isCopy = false;
    EXPECT_FALSE(file.ReadWholeFile("data\\game1.txt", buffer, size, isCopy));  // needs an open object
    ASSERT_TRUE(file.Open("", "data/game1.txt", FILE_OPEN_READ));
    ASSERT_TRUE(file.ReadWholeFile("data\\game1.txt", buffer, size, isCopy));
    EXPECT_TRUE(isCopy);
    EXPECT_EQ(std::string(reinterpret_cast<const char*>(buffer), size), "zones");
    ReleaseWholeFile(buffer, isCopy);
    EXPECT_FALSE(file.ReadWholeFile("data/none.txt", buffer, size, isCopy));
}

TEST(QelFile, DiskPathsTakeEitherSeparatorAndAnyCase)
{
    CTempDir dir;
    ASSERT_TRUE(dir.WriteFile("data/foo.txt", "foo"));
    ASSERT_TRUE(dir.WriteFile("Data2/Sub/Bar.TXT", "bar"));
    struct SCase
    {
        std::string folder, name, text;
    };
    const SCase cases[] = {
        {dir.GetPath() + "\\", "DATA\\Foo.TXT", "foo"},
        {dir.GetPath() + "/data/", "FOO.txt", "foo"},
        {dir.GetPath() + "/data2\\sub/", "bar.txt", "bar"},
    };
    for (const SCase& c : cases)
    {
        CQelFile file;
        ASSERT_TRUE(file.Open(c.folder.c_str(), c.name.c_str(), FILE_OPEN_READ)) << c.folder << c.name;
        EXPECT_EQ(ReadAllOf(file), c.text);
        EXPECT_EQ(std::string(file.GetPath()), c.folder + c.name);
    }
    // A folder is not a file.
    CQelFile file;
    EXPECT_FALSE(file.Open(dir.GetPath().c_str(), "/data", FILE_OPEN_READ));
}

TEST(QelFile, OpenRefusesBadFlagsSecondOpensAndOverlongPaths)
{
    CTempDir dir;
    ASSERT_TRUE(dir.WriteFile("f", "x"));
    std::string folder = dir.GetPath() + "/";
    CQelFile file;
    EXPECT_FALSE(file.Open(folder.c_str(), "f", 0));
    EXPECT_FALSE(file.Open(folder.c_str(), "f", FILE_OPEN_READ | FILE_OPEN_WRITE));
    EXPECT_FALSE(file.Open(folder.c_str(), "f", FILE_OPEN_KEEP));
    ASSERT_TRUE(file.Open(folder.c_str(), "f", FILE_OPEN_READ));
    EXPECT_FALSE(file.Open(folder.c_str(), "f", FILE_OPEN_READ));
    EXPECT_TRUE(file.Close());
    EXPECT_FALSE(file.Close());
    EXPECT_FALSE(file.Open(folder.c_str(), std::string(FILE_PATH_SIZE, 'n').c_str(), FILE_OPEN_WRITE));
}

TEST(QelFile, WritingCreatesOneMissingFolderLevel)
{
    CTempDir dir;
    ASSERT_TRUE(dir.WriteFile("Tessavar/data/keep", ""));
    CQelFile file;
    // "saves" is missing under an existing "data" (found in another case).
    std::string folder = dir.GetPath() + "/tessavar/DATA/saves/";
    ASSERT_TRUE(file.Open(folder.c_str(), "save0zone.bin", FILE_OPEN_WRITE));
    ASSERT_TRUE(file.WriteU32(7));
    ASSERT_TRUE(file.Close());
    std::string bytes;
    ASSERT_TRUE(dir.ReadFile("Tessavar/data/saves/save0zone.bin", bytes));
    EXPECT_EQ(bytes, std::string("\x07\0\0\0", 4));

    // Two missing levels are not created.
    EXPECT_FALSE(file.Open((dir.GetPath() + "/other/saves/").c_str(), "x.bin", FILE_OPEN_WRITE));
    EXPECT_FALSE(std::filesystem::exists(dir.Join("other")));

    // A whole path is split at its last separator of either kind.
    CQelFile byPath;
    ASSERT_TRUE(OpenFileByPath(byPath, (dir.GetPath() + "\\tessavar\\data\\screens\\a.cfg").c_str(), FILE_OPEN_WRITE));
    ASSERT_TRUE(byPath.WriteString("abc"));
    ASSERT_TRUE(byPath.Close());
    EXPECT_TRUE(dir.ReadFile("Tessavar/data/screens/a.cfg", bytes));
}

TEST(QelFile, TypedValuesAreLittleEndianAndRoundTrip)
{
    CTempDir dir;
    std::string folder = dir.GetPath() + "/";
    CQelFile out;
    ASSERT_TRUE(out.Open(folder.c_str(), "typed.bin", FILE_OPEN_WRITE));
    ASSERT_TRUE(out.WriteU8(0xAB));
    ASSERT_TRUE(out.WriteU16(0x1234));
    ASSERT_TRUE(out.WriteU32(0xDEADBEEF));
    ASSERT_TRUE(out.WriteS32(-2));
    ASSERT_TRUE(out.WriteFloat(1.0f));
    ASSERT_TRUE(out.WriteVec2(-2.5f, 0.5f));
    ASSERT_TRUE(out.WriteVec3(1.0f, 2.0f, 3.0f));
    ASSERT_TRUE(out.WriteString("abc"));
    ASSERT_TRUE(out.Close());

    std::string bytes;
    ASSERT_TRUE(dir.ReadFile("typed.bin", bytes));
    const std::string expected = std::string("\xAB\x34\x12\xEF\xBE\xAD\xDE\xFE\xFF\xFF\xFF\x00\x00\x80\x3F", 15) +
                                 std::string("\x00\x00\x20\xC0\x00\x00\x00\x3F", 8) +
                                 std::string("\x00\x00\x80\x3F\x00\x00\x00\x40\x00\x00\x40\x40", 12) +
                                 std::string("\x04\x00\x00\x00" "abc\x00", 8);
    EXPECT_EQ(bytes, expected);

    CQelFile in;
    ASSERT_TRUE(in.Open(folder.c_str(), "typed.bin", FILE_OPEN_READ));
    uint8_t u8;
    int8_t s8;
    uint16_t u16;
    uint32_t u32;
    int32_t s32;
    float f, x, y, z;
    ASSERT_TRUE(in.ReadS8(s8));
    EXPECT_EQ(s8, -85);
    ASSERT_TRUE(in.ReadU16(u16));
    EXPECT_EQ(u16, 0x1234);
    ASSERT_TRUE(in.ReadU32(u32));
    EXPECT_EQ(u32, 0xDEADBEEFu);
    ASSERT_TRUE(in.ReadS32(s32));
    EXPECT_EQ(s32, -2);
    ASSERT_TRUE(in.ReadFloat(f));
    EXPECT_EQ(f, 1.0f);
    ASSERT_TRUE(in.ReadVec2(x, y));
    EXPECT_EQ(x, -2.5f);
    EXPECT_EQ(y, 0.5f);
    ASSERT_TRUE(in.ReadVec3(x, y, z));
    EXPECT_EQ(z, 3.0f);
    char text[8];
    uint32_t length = 0;
    ASSERT_TRUE(in.ReadString(text, sizeof(text), &length));
    EXPECT_EQ(length, 4u);
    EXPECT_STREQ(text, "abc");
    // Typed reads at the end fail.
    EXPECT_FALSE(in.ReadU8(u8));
    EXPECT_FALSE(in.ReadU32(u32));
    ASSERT_TRUE(in.Rewind());
    ASSERT_TRUE(in.Skip(3));
    ASSERT_TRUE(in.ReadU32(u32));
    EXPECT_EQ(u32, 0xDEADBEEFu);
    EXPECT_FALSE(in.Skip(-100));
}

TEST(QelFile, ReadStringChecksTheStoredLength)
{
    struct SCase
    {
        const char* what;
        std::string bytes;
        uint32_t bufferSize;
        bool ok;
        std::string text;
    };
    const SCase cases[] = {
        {"fits exactly", std::string("\x04\0\0\0" "abc\0", 8), 4, true, "abc"},
        {"longer than the buffer", std::string("\x05\0\0\0" "abcd\0", 9), 4, false, ""},
        {"zero length", std::string("\0\0\0\0", 4), 4, false, ""},
        {"short data", std::string("\x06\0\0\0" "ab", 6), 8, false, ""},
        {"no NUL, room to add one", std::string("\x03\0\0\0" "xyz", 7), 8, true, "xyz"},
        {"no NUL and no room", std::string("\x03\0\0\0" "xyz", 7), 3, false, ""},
        {"length cut short", std::string("\x03\0", 2), 8, false, ""},
    };
    for (const SCase& c : cases)
    {
        CTempDir dir;
        ASSERT_TRUE(dir.WriteFile("s", c.bytes));
        CQelFile file;
        ASSERT_TRUE(file.Open((dir.GetPath() + "/").c_str(), "s", FILE_OPEN_READ));
        char buffer[16];
        std::memset(buffer, '#', sizeof(buffer));
        EXPECT_EQ(file.ReadString(buffer, c.bufferSize, nullptr), c.ok) << c.what;
        // Success or not, the buffer holds a terminated text within its size.
        ASSERT_LT(strnlen(buffer, c.bufferSize), c.bufferSize) << c.what;
        EXPECT_EQ(std::string(buffer), c.text) << c.what;
    }
    // A refused length leaves the text unread.
    CTempDir dir;
    ASSERT_TRUE(dir.WriteFile("s", std::string("\x09\0\0\0" "ABCDxxxx\0", 13)));
    CQelFile file;
    ASSERT_TRUE(file.Open((dir.GetPath() + "/").c_str(), "s", FILE_OPEN_READ));
    char small[4];
    EXPECT_FALSE(file.ReadString(small, sizeof(small), nullptr));
    uint32_t next = 0;
    ASSERT_TRUE(file.ReadU32(next));
    EXPECT_EQ(next, 0x44434241u);
}

TEST_F(FileLayer, PackEntryReadsStopAtItsEnd)
{
    MountPack(MakeStoredRecord("data/sixty.bin", std::string(60, 'z')) + MakeStoredRecord("data/next.bin", "NEXT"));
    CCurrentDir inFolder(m_dir.GetPath());
    CQelFile file;
    ASSERT_TRUE(file.Open("", "data/sixty.bin", FILE_OPEN_READ));
    char buffer[100];
    uint32_t got = 0;
    EXPECT_TRUE(file.Read(buffer, 100, &got));
    EXPECT_EQ(got, 60u);
    EXPECT_TRUE(file.Read(buffer, 100, &got));
    EXPECT_EQ(got, 0u);
    uint32_t value = 0;
    EXPECT_FALSE(file.ReadU32(value));
    ASSERT_TRUE(file.Skip(1));
    EXPECT_FALSE(file.Read(buffer, 1, &got));
    ASSERT_TRUE(file.Rewind());
    ASSERT_TRUE(file.Skip(56));
    ASSERT_TRUE(file.ReadU32(value));
    EXPECT_EQ(value, 0x7A7A7A7Au);
    EXPECT_FALSE(file.Skip(-61));
}

TEST(QelFile, FailedOrAbandonedWritesKeepTheOldFile)
{
    CTempDir dir;
    ASSERT_TRUE(dir.WriteFile("data/cfg", "old contents"));
    std::string folder = dir.GetPath() + "/data/";
    std::string bytes;

    {
        CQelFile file;
        ASSERT_TRUE(file.Open(folder.c_str(), "cfg", FILE_OPEN_WRITE));
        ASSERT_TRUE(file.WriteString("half"));
        file.Abandon();
    }
    {
        // Destroyed without Close: same as abandoned.
        CQelFile file;
        ASSERT_TRUE(file.Open(folder.c_str(), "cfg", FILE_OPEN_WRITE));
        ASSERT_TRUE(file.WriteString("half"));
    }
    ASSERT_TRUE(dir.ReadFile("data/cfg", bytes));
    EXPECT_EQ(bytes, "old contents");

    CQelFile file;
    ASSERT_TRUE(file.Open(folder.c_str(), "CFG", FILE_OPEN_WRITE));
    ASSERT_TRUE(file.WriteU8('n'));
    ASSERT_TRUE(file.Close());
    ASSERT_TRUE(dir.ReadFile("data/cfg", bytes));
    EXPECT_EQ(bytes, "n");
    // No temporary file is left behind.
    int count = 0;
    for (const auto& entry : std::filesystem::directory_iterator(dir.Join("data")))
        count += entry.is_regular_file() ? 1 : 0;
    EXPECT_EQ(count, 1);

    // Keeping the contents writes in place.
    ASSERT_TRUE(file.Open(folder.c_str(), "cfg", FILE_OPEN_WRITE | FILE_OPEN_KEEP));
    EXPECT_EQ(file.GetFileSize(), 1u);
    ASSERT_TRUE(file.WriteU8('N'));
    ASSERT_TRUE(file.Close());
    ASSERT_TRUE(dir.ReadFile("data/cfg", bytes));
    EXPECT_EQ(bytes, "N");
}

TEST(QelFile, WritingThroughALinkReplacesTheFileItNames)
{
    // A settings file kept elsewhere and linked into the user folder stays linked.
    CTempDir dir;
    ASSERT_TRUE(dir.WriteFile("kept/real.cfg", "old"));
    ASSERT_TRUE(dir.WriteFile("user/other", ""));
    ASSERT_EQ(symlink("../kept/real.cfg", dir.Join("user/Link.cfg").c_str()), 0);

    CQelFile file;
    ASSERT_TRUE(file.Open((dir.GetPath() + "/user/").c_str(), "link.cfg", FILE_OPEN_WRITE));
    ASSERT_TRUE(file.WriteU8('n'));
    ASSERT_TRUE(file.Close());

    struct stat info;
    ASSERT_EQ(lstat(dir.Join("user/Link.cfg").c_str(), &info), 0);
    EXPECT_TRUE(S_ISLNK(info.st_mode));
    std::string bytes;
    ASSERT_TRUE(dir.ReadFile("kept/real.cfg", bytes));
    EXPECT_EQ(bytes, "n");
}

class LocalTimeIsUtc : public ::testing::Test
{
protected:
    void SetUp() override
    {
        const char* tz = std::getenv("TZ");
        m_hadTz = tz != nullptr;
        if (tz)
            m_oldTz = tz;
        setenv("TZ", "UTC0", 1);
        tzset();
    }
    void TearDown() override
    {
        if (m_hadTz)
            setenv("TZ", m_oldTz.c_str(), 1);
        else
            unsetenv("TZ");
        tzset();
    }
    bool m_hadTz = false;
    std::string m_oldTz;
};

TEST_F(LocalTimeIsUtc, FileTimesCountFrom1601)
{
    CTempDir dir;
    ASSERT_TRUE(dir.WriteFile("t", "x"));
    // 2001-09-09 01:46:40 UTC.
    timespec times[2] = {{1000000000, 0}, {1000000000, 5000}};
    ASSERT_EQ(utimensat(AT_FDCWD, dir.Join("t").c_str(), times, 0), 0);
    CQelFile file;
    ASSERT_TRUE(file.Open((dir.GetPath() + "/").c_str(), "t", FILE_OPEN_READ));
    uint32_t high = 0, low = 0;
    ASSERT_TRUE(file.GetLastWriteTime(high, low));
    uint64_t ticks = (static_cast<uint64_t>(high) << 32) | low;
    EXPECT_EQ(ticks, (1000000000ull + 11644473600ull) * 10000000ull + 50u);
    SFileDate date{};
    ASSERT_TRUE(file.GetDate(date));
    EXPECT_EQ(date.year, 2001);
    EXPECT_EQ(date.month, 9);
    EXPECT_EQ(date.day, 9);
    EXPECT_EQ(date.hour, 1);
    EXPECT_EQ(date.minute, 46);
    EXPECT_EQ(date.second, 40);

    // The month's name comes from the installed lookup, by the month's text id.
    SetMonthNameLookup([](uint32_t textId, CWString& out) {
        out.AssignNarrow(textId == 0xa6000001u ? "September" : "wrong month");
        return true;
    });
    CWString month;
    int day = 0, hour = 0, minute = 0, second = 0;
    ASSERT_TRUE(file.GetDateText(month, day, hour, minute, second));
    SetMonthNameLookup(nullptr);
    EXPECT_TRUE(month.EqualsNarrow("September"));
    EXPECT_EQ(day, 9);
    EXPECT_EQ(hour, 1);
    EXPECT_EQ(minute, 46);
    EXPECT_EQ(second, 40);

    EXPECT_EQ(GetMonthTextId(9), 0xa6000001u);
    EXPECT_EQ(GetMonthTextId(1), 0xbf000007u);
    EXPECT_EQ(GetMonthTextId(12), 0xc3000005u);
    EXPECT_EQ(GetMonthTextId(13), 0u);
}

TEST_F(FileLayer, FileCrcReadsDiskOrPack)
{
    MountPack(MakeStoredRecord("data/packed.txt", "123456789"));
    ASSERT_TRUE(m_dir.WriteFile("data/loose.txt", "abc"));
    ASSERT_TRUE(m_dir.WriteFile("data/empty.txt", ""));
    CCurrentDir inFolder(m_dir.GetPath());
    uint32_t crc = 0;
    ASSERT_TRUE(ComputeFileCrc("data\\packed.txt", crc));
    EXPECT_EQ(crc, 0xCBF43926u);
    ASSERT_TRUE(ComputeFileCrc("DATA/LOOSE.TXT", crc));
    EXPECT_EQ(crc, 0x352441C2u);
    EXPECT_FALSE(ComputeFileCrc("data/empty.txt", crc));
    EXPECT_FALSE(ComputeFileCrc("data/none.txt", crc));
}
} // namespace
