#include "tests/support/AssertCapture.h"
#include "utility/source/QelMemoryReader.h"
#include "utility/source/QelMemoryTracker.h"

#include <gtest/gtest.h>

#include <cstdint>
#include <cstdlib>
#include <cstring>
#include <vector>

namespace
{
struct STestThing
{
    int m_value = 5;
};
} // namespace

TEST(QelMemoryTracker, RecordsAndForgetsTrackedBlocks)
{
    CMemoryTrackerAllocContainer& tracker = GetMemoryTracker();
    size_t before = tracker.GetLiveCount();
    // Enough blocks that several land in each list, removed out of order.
    std::vector<STestThing*> things;
    for (int i = 0; i < 600; ++i)
        things.push_back(QEL_NEW(STestThing));
    EXPECT_EQ(tracker.GetLiveCount(), before + 600);

    SMemoryTrackerAlloc record;
    ASSERT_TRUE(tracker.FindRecord(things[17], record));
    EXPECT_STREQ(record.m_typeName, "STestThing");
    EXPECT_EQ(record.m_size, sizeof(STestThing));
    EXPECT_NE(std::strstr(record.m_file, "QelMemoryTrackerTest.cpp"), nullptr);
    EXPECT_GT(record.m_line, 0);

    for (size_t i = 0; i < things.size(); i += 2)
        QEL_DELETE(things[i]);
    for (size_t i = 1; i < things.size(); i += 2)
    {
        EXPECT_TRUE(tracker.FindRecord(things[i], record));
        QEL_DELETE(things[i]);
    }
    EXPECT_EQ(tracker.GetLiveCount(), before);
}

TEST(QelMemoryTracker, BadRemovesAndDeletesAreReported)
{
    CMemoryTrackerAllocContainer tracker;
    CAssertCapture capture;
    int notRecorded = 0;
    EXPECT_FALSE(tracker.Remove(&notRecorded, "x.cpp", 3));
    ASSERT_EQ(capture.GetTexts().size(), 1u);
    EXPECT_NE(capture.GetTexts()[0].find("Assert failed!"), std::string::npos);

    struct SCase
    {
        uintptr_t m_address;
        const char* m_start;
    };
    const SCase cases[] = {
        {0, "Deletion of NULL pointer, \r\r\n"},
        {100, "Deletion of invalid pointer\r\r\n\r\r\nAssert failed!\r\r\nExpression: (t_uint32)pObj > 4095"},
        {4095, "Deletion of invalid pointer"},
    };
    for (const SCase& c : cases)
    {
        capture.Clear();
        QelDebugDelete(reinterpret_cast<const void*>(c.m_address), "y.cpp", 9);
        ASSERT_EQ(capture.GetTexts().size(), 1u) << c.m_address;
        EXPECT_EQ(capture.GetTexts()[0].rfind(c.m_start, 0), 0u) << capture.GetTexts()[0];
    }
    capture.Clear();
    EXPECT_EQ(QelDebugNew(nullptr, "SThing", 8, "z.cpp", 4), nullptr);
    ASSERT_EQ(capture.GetTexts().size(), 1u);
    EXPECT_EQ(capture.GetTexts()[0].rfind("Memory allocation failed, ", 0), 0u);
    EXPECT_NE(capture.GetTexts()[0].find("File: z.cpp\r\r\nLine: 4"), std::string::npos);
}

TEST(QelMemoryTracker, ReleaseAllFreesOnlyMallocBlocks)
{
    CMemoryTrackerAllocContainer tracker;
    void* fromMalloc = std::calloc(1, 32);
    int owned = 0;
    tracker.Allocate(fromMalloc, "malloc", 32, __FILE__, __LINE__);
    tracker.Allocate(&owned, "int", sizeof(owned), __FILE__, __LINE__);
    EXPECT_EQ(tracker.GetLiveCount(), 2u);
    tracker.ReleaseAll(); // the malloc block is freed here (the leak checker sees it otherwise)
    EXPECT_EQ(tracker.GetLiveCount(), 0u);
    SMemoryTrackerAlloc record;
    EXPECT_FALSE(tracker.FindRecord(&owned, record));
}

TEST(QelMemoryTracker, ReallocMovesTheRecord)
{
    CMemoryTrackerAllocContainer& tracker = GetMemoryTracker();
    size_t before = tracker.GetLiveCount();
    void* block = QelDebugNew(std::malloc(16), "malloc", 16, __FILE__, __LINE__);
    std::memset(block, 7, 16);
    void* grown = QelRealloc(block, 1 << 20, __FILE__, __LINE__);
    ASSERT_NE(grown, nullptr);
    EXPECT_EQ(static_cast<unsigned char*>(grown)[15], 7);
    SMemoryTrackerAlloc record;
    ASSERT_TRUE(tracker.FindRecord(grown, record));
    EXPECT_STREQ(record.m_typeName, "realloc");
    EXPECT_EQ(record.m_size, 1u << 20);
    EXPECT_EQ(tracker.GetLiveCount(), before + 1);
    QelDebugDelete(grown, __FILE__, __LINE__);
    std::free(grown);
    EXPECT_EQ(tracker.GetLiveCount(), before);
}

TEST(QelMemoryTracker, ReallocToNothingStillGivesALiveRecordedBlock)
{
    // realloc may free the block for a size of 0 and give null, which would leave
    // the caller holding, and the tracker recording, a block that is gone.
    CMemoryTrackerAllocContainer& tracker = GetMemoryTracker();
    size_t before = tracker.GetLiveCount();
    void* block = QelDebugNew(std::malloc(16), "malloc", 16, __FILE__, __LINE__);
    void* shrunk = QelRealloc(block, 0, __FILE__, __LINE__);
    ASSERT_NE(shrunk, nullptr);
    SMemoryTrackerAlloc record;
    ASSERT_TRUE(tracker.FindRecord(shrunk, record));
    EXPECT_STREQ(record.m_typeName, "realloc");
    EXPECT_EQ(tracker.GetLiveCount(), before + 1);
    QelDebugDelete(shrunk, __FILE__, __LINE__);
    std::free(shrunk);
    EXPECT_EQ(tracker.GetLiveCount(), before);
}

TEST(QelMemoryReader, ReadsFailWithoutMovingWhenTooFewBytesRemain)
{
    const uint8_t bytes[6] = {0x78, 0x56, 0x34, 0x12, 0xAA, 0xBB};
    CQelMemoryReader reader;
    reader.Open(bytes, sizeof(bytes));
    uint32_t value = 0;
    ASSERT_TRUE(reader.ReadU32(value));
    EXPECT_EQ(value, 0x12345678u);
    EXPECT_FALSE(reader.ReadU32(value));
    EXPECT_EQ(reader.GetPosition(), 4u);
    const uint8_t* inPlace = nullptr;
    EXPECT_FALSE(reader.ReadInPlace(SIZE_MAX, inPlace)); // no pointer wrap
    EXPECT_FALSE(reader.Skip(3));
    ASSERT_TRUE(reader.ReadInPlace(2, inPlace)); // exactly to the end
    EXPECT_EQ(inPlace, bytes + 4);
    EXPECT_EQ(reader.GetRemaining(), 0u);
    EXPECT_TRUE(reader.Read(&value, 0));
    EXPECT_FALSE(reader.Read(&value, 1));
}
