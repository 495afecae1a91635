#include "frontend/PilotRecord.h"

#include "tests/frontend/StreamBytes.h"
#include "utility/source/QelMemoryFile.h"

#include <gtest/gtest.h>

#include <cstring>
#include <string>

namespace
{
SPilotRecord MakeRecord()
{
    SPilotRecord record;
    for (int i = 0; i < PILOT_ARRAY_SIZE; ++i)
    {
        record.arrayA[i] = 10 + i;
        record.arrayB[i] = 20 + i;
    }
    for (int i = 0; i < PILOT_PROGRESS_COUNT; ++i)
        record.progress[i] = 30 + i;
    record.campaignValue = 3;
    record.reachedZone = 2;
    record.score = 123456;
    record.secondValue = 77;
    record.playTime = 3600000;
    record.difficulty = 2;
    record.SetName("ACE");
    std::strcpy(record.ships[0].name, "Hammer");
    record.ships[0].value = 12;
    record.ships[0].status = PILOT_SHIP_LISTED;
    record.ships[0].secondValue = 90000;
    std::strcpy(record.ships[4].name, "Anvil");
    record.ships[4].value = 1;
    record.ships[4].status = PILOT_SHIP_LOST;
    return record;
}

std::vector<uint8_t> WriteRecord(const SPilotRecord& record)
{
    CQelMemoryFile file;
    EXPECT_TRUE(record.Write(file));
    return file.GetBytes();
}

bool ReadRecord(const std::vector<uint8_t>& bytes, SPilotRecord& record)
{
    CQelMemoryFile file(bytes);
    return record.Read(file);
}

bool SameRecord(const SPilotRecord& a, const SPilotRecord& b)
{
    for (int i = 0; i < PILOT_SHIP_TABLE_SIZE; ++i)
    {
        const SPilotShipEntry& x = a.ships[i];
        const SPilotShipEntry& y = b.ships[i];
        if (std::strcmp(x.name, y.name) != 0 || x.value != y.value || x.status != y.status ||
            x.secondValue != y.secondValue)
            return false;
    }
    return WriteRecord(a) == WriteRecord(b);
}
} // namespace

TEST(PilotRecord, StreamLaysOutItsFieldsInOrder)
{
    const std::vector<uint8_t> bytes = WriteRecord(MakeRecord());
    // Arrays A and B, the six values, the three unsigned values, then the name.
    EXPECT_EQ(LoadS32(bytes, 0), 10);
    EXPECT_EQ(LoadS32(bytes, 20), 20);
    EXPECT_EQ(LoadS32(bytes, 40), 30);  // kills
    EXPECT_EQ(LoadS32(bytes, 52), 33);  // saves
    EXPECT_EQ(LoadS32(bytes, 56), 3);
    EXPECT_EQ(LoadS32(bytes, 60), 2);
    EXPECT_EQ(LoadU32(bytes, 64), 123456u);
    EXPECT_EQ(LoadU32(bytes, 68), 77u);
    EXPECT_EQ(LoadU32(bytes, 72), 3600000u);
    EXPECT_EQ(LoadU32(bytes, 76), 4u);  // "ACE" and its NUL
    EXPECT_EQ(std::string(reinterpret_cast<const char*>(&bytes[80])), "ACE");
    // First ship entry: "Hammer" (7 bytes), then value, status, second value.
    EXPECT_EQ(LoadU32(bytes, 84), 7u);
    EXPECT_EQ(LoadS32(bytes, 95), 12);
    EXPECT_EQ(LoadS32(bytes, 99), PILOT_SHIP_LISTED);
    EXPECT_EQ(LoadU32(bytes, 103), 90000u);
    // The difficulty chunk ends the record: 4, "DMH", NUL, difficulty.
    const size_t end = bytes.size();
    EXPECT_EQ(LoadU32(bytes, end - 12), 4u);
    EXPECT_EQ(std::memcmp(&bytes[end - 8], "DMH", 4), 0);
    EXPECT_EQ(LoadS32(bytes, end - 4), 2);
}

TEST(PilotRecord, EmptyRecordTakes178Bytes)
{
    // 76 bytes of values, a name of 5, five entries of 17 and the chunk of 12.
    EXPECT_EQ(WriteRecord(SPilotRecord()).size(), 178u);
}

TEST(PilotRecord, WrittenRecordReadsBackWholeAndKeepsEntriesBeyondTheStream)
{
    const SPilotRecord written = MakeRecord();
    SPilotRecord read;
    std::strcpy(read.ships[6].name, "Kept");
    read.ships[6].value = 5;
    ASSERT_TRUE(ReadRecord(WriteRecord(written), read));
    SPilotRecord expected = written;
    expected.ships[6] = read.ships[6];
    EXPECT_TRUE(SameRecord(read, expected));
    EXPECT_STREQ(read.ships[6].name, "Kept");
}

TEST(PilotRecord, OlderEndingIsOneDifficultyByte)
{
    struct SCase
    {
        uint8_t byte;
        int32_t difficulty;
    };
    for (const SCase& c : {SCase{1, 2}, SCase{0, 0}, SCase{7, 2}})
    {
        std::vector<uint8_t> bytes = WriteRecord(SPilotRecord());
        bytes.resize(bytes.size() - 12);
        bytes.push_back(c.byte);
        SPilotRecord read;
        ASSERT_TRUE(ReadRecord(bytes, read)) << int(c.byte);
        EXPECT_EQ(read.difficulty, c.difficulty) << int(c.byte);
    }
}

TEST(PilotRecord, DamagedStreamLeavesTheRecordAsItWas)
{
    const std::vector<uint8_t> good = WriteRecord(MakeRecord());
    struct SCase
    {
        const char* what;
        size_t offset;
        uint32_t value;
    };
    const size_t end = good.size();
    const SCase cases[] = {
        {"name length 0", 76, 0},
        {"name longer than its field", 76, 11},
        {"reached zone beyond the zones", 60, 6},
        {"reached zone negative", 60, 0xFFFFFFFF},
        {"ship status unknown", 99, 3},
        {"difficulty 3", end - 4, 3},
        {"difficulty negative", end - 4, 0xFFFFFFFF},
    };
    for (const SCase& c : cases)
    {
        std::vector<uint8_t> bytes = good;
        StoreU32(bytes, c.offset, c.value);
        SPilotRecord read;
        read.score = 99;
        EXPECT_FALSE(ReadRecord(bytes, read)) << c.what;
        EXPECT_EQ(read.score, 99u) << c.what;
    }
    for (size_t cut : {size_t(0), size_t(40), size_t(80), end - 13, end - 2})
    {
        SPilotRecord read;
        read.score = 99;
        EXPECT_FALSE(ReadRecord(std::vector<uint8_t>(good.begin(), good.begin() + cut), read)) << cut;
        EXPECT_EQ(read.score, 99u) << cut;
    }
}

TEST(PilotRecord, NamesFitTheirTenBytes)
{
    SPilotRecord record;
    record.SetName("NINECHARS");
    SPilotRecord read;
    ASSERT_TRUE(ReadRecord(WriteRecord(record), read));
    EXPECT_STREQ(read.name, "NINECHARS");

    record.SetName("TENCHARSXY");  // cut to nine on the way in
    EXPECT_STREQ(record.name, "TENCHARSX");

    // A stored name of ten characters (eleven bytes) does not fit and is refused.
    std::vector<uint8_t> bytes = WriteRecord(SPilotRecord());
    std::vector<uint8_t> longName = {11, 0, 0, 0};
    for (char ch : std::string("TENCHARSXY"))
        longName.push_back(static_cast<uint8_t>(ch));
    longName.push_back(0);
    bytes.erase(bytes.begin() + 76, bytes.begin() + 81);
    bytes.insert(bytes.begin() + 76, longName.begin(), longName.end());
    EXPECT_FALSE(ReadRecord(bytes, read));
}

TEST(PilotRecord, CopyKeepsBothArraysInTheirPlaces)
{
    SPilotRecord copy;
    copy.CopyFrom(MakeRecord());
    EXPECT_EQ(copy.arrayA[0], 10);
    EXPECT_EQ(copy.arrayB[0], 20);
    EXPECT_EQ(copy.arrayB[4], 24);
    EXPECT_STREQ(copy.name, "ACE");
    EXPECT_STREQ(copy.ships[4].name, "Anvil");
}

TEST(PilotRecord, ShipTableStaysRankedByValue)
{
    struct SCase
    {
        const char* what;
        SPilotShipSource source;
        const char* expectedNames[4];
        int32_t expectedValues[4];
    };
    const SCase cases[] = {
        {"between two entries", {"Mid", 7, 1}, {"Top", "Mid", "Low", ""}, {9, 7, 5, 0}},
        {"above all", {"Best", 20, 1}, {"Best", "Top", "Low", ""}, {20, 9, 5, 0}},
        {"equal to one goes below it", {"Same", 5, 1}, {"Top", "Low", "Same", ""}, {9, 5, 5, 0}},
        {"listed name takes its new value", {"Low", 6, 1}, {"Top", "Low", "", ""}, {9, 6, 0, 0}},
        {"no kills: below every entry", {"New", 0, 1}, {"Top", "Low", "", ""}, {9, 5, 0, 0}},
        {"long design name is cut", {"Longdesignname", 1, 1}, {"Top", "Low", "Longdesig", ""}, {9, 5, 1, 0}},
    };
    for (const SCase& c : cases)
    {
        SPilotRecord record;
        const SPilotShipSource start[] = {{"Top", 9, 0}, {"Low", 5, 0}};
        record.UpdateShipTable(start, 2);
        record.UpdateShipTable(&c.source, 1);
        for (int i = 0; i < 4; ++i)
        {
            EXPECT_STREQ(record.ships[i].name, c.expectedNames[i]) << c.what << " entry " << i;
            EXPECT_EQ(record.ships[i].value, c.expectedValues[i]) << c.what << " entry " << i;
        }
    }
}

TEST(PilotRecord, FullShipTableDropsItsLastEntry)
{
    SPilotRecord record;
    for (int i = 0; i < PILOT_SHIP_TABLE_SIZE; ++i)
    {
        const std::string name = "S" + std::to_string(i);
        const SPilotShipSource source{name.c_str(), 100 - i, 0};
        record.UpdateShipTable(&source, 1);
    }
    const SPilotShipSource low{"Low", 1, 0};
    record.UpdateShipTable(&low, 1);
    EXPECT_STREQ(record.ships[PILOT_SHIP_TABLE_SIZE - 1].name, "S7");  // below every entry: left out

    const SPilotShipSource high{"High", 95, 0};
    record.UpdateShipTable(&high, 1);
    EXPECT_STREQ(record.ships[6].name, "High");
    EXPECT_STREQ(record.ships[PILOT_SHIP_TABLE_SIZE - 1].name, "S6");
}

TEST(PilotRecord, ShipStatusMarksTheListedEntry)
{
    SPilotRecord record;
    const SPilotShipSource ships[] = {{"Hammer", 3, 0}, {"Anvil", 2, 0}};
    record.UpdateShipTable(ships, 2);
    record.SetShipStatus("Hammer", false);
    record.SetShipStatus("Anvil", true);
    EXPECT_EQ(record.ships[0].status, PILOT_SHIP_LOST);
    EXPECT_EQ(record.ships[1].status, PILOT_SHIP_REMOVED);
    // A lost entry is no longer listed: a ship of the same name is entered anew, by value.
    record.UpdateShipTable(ships, 1);
    EXPECT_EQ(record.ships[0].status, PILOT_SHIP_LOST);
    EXPECT_STREQ(record.ships[1].name, "Hammer");
    EXPECT_EQ(record.ships[1].status, PILOT_SHIP_LISTED);
    EXPECT_STREQ(record.ships[2].name, "Anvil");
}
