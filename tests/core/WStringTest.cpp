#include "core/WString.h"
#include "utility/source/QelMemoryReader.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

TEST(WString, LengthCountsTheTerminator)
{
    CWString text;
    EXPECT_TRUE(text.IsEmpty());
    EXPECT_EQ(text.GetLength(), 0u);
    EXPECT_EQ(text.GetBuffer(), nullptr);

    text.AssignWide(u"ab");
    text.AppendNarrow("cd");
    EXPECT_EQ(text.GetLength(), 5u);
    EXPECT_EQ(std::u16string(text.GetBuffer()), u"abcd");

    CWString empty;
    empty.Append(text); // appending to an empty string assigns
    EXPECT_EQ(empty, text);

    text.AssignWideN(u"xyz", 2);
    EXPECT_EQ(text.GetLength(), 3u);
    EXPECT_EQ(std::u16string(text.GetBuffer()), u"xy");

    text.AssignNarrow("\xFF");
    EXPECT_EQ(text.GetBuffer()[0], 0xFFFF);
}

TEST(WString, ComparisonsAndNarrowing)
{
    CWString a(u"Hello");
    CWString b(u"hELLO");
    EXPECT_TRUE(a.EqualsNoCase(b));
    EXPECT_FALSE(a.EqualsNoCase(CWString(u"Hello!")));
    EXPECT_TRUE(a.EqualsNarrow("Hello"));
    EXPECT_FALSE(a.EqualsNarrow("hello"));

    char narrow[4];
    ASSERT_TRUE(a.ToNarrow(narrow, sizeof(narrow)));
    EXPECT_STREQ(narrow, "Hel");
    EXPECT_FALSE(CWString().ToNarrow(narrow, sizeof(narrow)));
    char16_t wide[3];
    EXPECT_FALSE(CWString().CopyTo(wide, 3));
}

TEST(WString, OnDiskFormRoundTrips)
{
    std::vector<uint8_t> bytes;
    CWString(u"Ab\u00e9").AppendTo(bytes);
    CWString().AppendTo(bytes);
    CWString(u"").AppendTo(bytes);
    const std::vector<uint8_t> expected = {4, 0, 0, 0, 'A', 0, 'b', 0, 0xE9, 0, 0, 0, // "Ab\u00e9"
                                           0, 0, 0, 0,                                // empty: no units
                                           1, 0, 0, 0, 0, 0};                         // empty text
    EXPECT_EQ(bytes, expected);

    CQelMemoryReader reader;
    reader.Open(bytes.data(), bytes.size());
    CWString first;
    CWString second;
    CWString third;
    ASSERT_TRUE(first.Read(reader));
    ASSERT_TRUE(second.Read(reader));
    ASSERT_TRUE(third.Read(reader));
    EXPECT_EQ(reader.GetRemaining(), 0u);
    EXPECT_EQ(first, CWString(u"Ab\u00e9"));
    EXPECT_EQ(second.GetLength(), 0u);
    EXPECT_EQ(third.GetLength(), 1u); // an empty text with its terminator
}

TEST(WString, ShortOrOversizedCountsAreRefused)
{
    // Counts that the bytes cannot hold, down to one unit short.
    const std::vector<std::vector<uint8_t>> bad = {
        {3, 0, 0, 0, 'a', 0, 'b', 0},
        {0xFF, 0xFF, 0xFF, 0x7F, 'a', 0},
        {0xFF, 0xFF, 0xFF, 0xFF},
        {2, 0},
    };
    for (const auto& bytes : bad)
    {
        CWString text(u"old");
        CQelMemoryReader reader;
        reader.Open(bytes.data(), bytes.size());
        EXPECT_FALSE(text.Read(reader));
        EXPECT_TRUE(text.IsEmpty());
    }
    // The last unit is the terminator whatever the file held there.
    const std::vector<uint8_t> unterminated = {2, 0, 0, 0, 'a', 0, 'b', 0};
    CWString text;
    CQelMemoryReader reader;
    reader.Open(unterminated.data(), unterminated.size());
    ASSERT_TRUE(text.Read(reader));
    EXPECT_EQ(std::u16string(text.GetBuffer()), u"a");
}
