#include "tests/support/TempDir.h"
#include "utility/source/QelCrc32.h"
#include "utility/source/QelPackArchive.h"
#include "utility/source/QelPackWriter.h"

#include <gtest/gtest.h>

#include <string>

namespace
{
uint32_t Le32(const std::string& bytes, size_t at)
{
    return static_cast<uint8_t>(bytes[at]) | static_cast<uint8_t>(bytes[at + 1]) << 8 |
           static_cast<uint8_t>(bytes[at + 2]) << 16 | static_cast<uint32_t>(static_cast<uint8_t>(bytes[at + 3])) << 24;
}

std::string EntryText(const CPackArchive& archive, const char* name)
{
    uint32_t size = 0;
    const uint8_t* data = archive.ReadWholeFile(name, size);
    return data ? std::string(reinterpret_cast<const char*>(data), size) : std::string("<none>");
}

TEST(PackWriter, HeadersCarryTheSizeTheReaderUses)
{
    struct SCase
    {
        CPackArchiveWriter::ESignature signature;
        std::string magic;
        uint32_t version, crc, uncompressed;
    };
    const SCase cases[] = {
        {CPackArchiveWriter::ESignature::Zip, std::string("PK\x03\x04", 4), 10, 0x352441C2u, 3},
        {CPackArchiveWriter::ESignature::Quar, "QUAR", 0, 0, 0},
    };
    for (const SCase& c : cases)
    {
        CTempDir dir;
        CPackArchiveWriter writer(c.signature);
        ASSERT_TRUE(writer.Open(dir.Join("out.pak").c_str()));
        ASSERT_TRUE(writer.WriteEntry("data\\abc.txt", "abc", 3));
        ASSERT_TRUE(writer.Close());
        std::string bytes;
        ASSERT_TRUE(dir.ReadFile("out.pak", bytes));
        ASSERT_EQ(bytes.size(), 30u + 12u + 3u);
        EXPECT_EQ(bytes.substr(0, 4), c.magic);
        EXPECT_EQ(Le32(bytes, 4) & 0xFFFF, c.version);
        EXPECT_EQ(Le32(bytes, 8), 0u);  // method 0, time 0
        EXPECT_EQ(Le32(bytes, 14), c.crc);
        EXPECT_EQ(Le32(bytes, 18), 3u);
        EXPECT_EQ(Le32(bytes, 22), c.uncompressed);
        EXPECT_EQ(Le32(bytes, 26), 12u);  // name length 12, extra length 0
        EXPECT_EQ(bytes.substr(30), "data/abc.txtabc");
    }
}

TEST(PackWriter, StreamedEntriesReadBackThroughTheArchive)
{
    CTempDir dir;
    CPackArchiveWriter writer(CPackArchiveWriter::ESignature::Quar);
    ASSERT_TRUE(writer.Open(dir.Join("p").c_str()));
    ASSERT_TRUE(writer.BeginEntry("data/stream.bin"));
    ASSERT_TRUE(writer.WriteBytes("head", 4));
    ASSERT_TRUE(writer.WriteU32(0x64636261));
    ASSERT_TRUE(writer.WriteBytes("", 0));
    ASSERT_TRUE(writer.EndEntry());
    ASSERT_TRUE(writer.WriteEntry("data/empty.bin", nullptr, 0));
    std::string big(100000, 'q');
    ASSERT_TRUE(writer.WriteEntry("data/big.bin", big.data(), static_cast<uint32_t>(big.size())));
    EXPECT_FALSE(writer.EndEntry());  // no entry open
    EXPECT_FALSE(writer.BeginEntry(""));
    EXPECT_EQ(writer.GetEntryCount(), 3u);
    ASSERT_TRUE(writer.Close());

    CPackArchive archive;
    ASSERT_TRUE(archive.MountMainPack(dir.Join("p").c_str()));
    EXPECT_EQ(EntryText(archive, "data/stream.bin"), "headabcd");
    EXPECT_EQ(EntryText(archive, "data/empty.bin"), "");
    EXPECT_EQ(EntryText(archive, "data/big.bin"), big);
}

TEST(PackWriter, AbandonedOrFailedPackKeepsTheOldFile)
{
    CTempDir dir;
    ASSERT_TRUE(dir.WriteFile("p", "old pack"));
    {
        CPackArchiveWriter writer;
        ASSERT_TRUE(writer.Open(dir.Join("p").c_str()));
        ASSERT_TRUE(writer.WriteEntry("a", "x", 1));
        writer.Abandon();
        EXPECT_FALSE(writer.Close());
    }
    {
        CPackArchiveWriter writer;
        ASSERT_TRUE(writer.Open(dir.Join("p").c_str()));
        ASSERT_TRUE(writer.BeginEntry("a"));
        ASSERT_TRUE(writer.WriteBytes("x", 1));
        // Destroyed unfinished.
    }
    std::string bytes;
    ASSERT_TRUE(dir.ReadFile("p", bytes));
    EXPECT_EQ(bytes, "old pack");

    CPackArchiveWriter writer;
    EXPECT_FALSE(writer.Open(dir.Join("no/such/folder/p").c_str()));
}
} // namespace
