#include "utility/source/QelCrc32.h"

#include <gtest/gtest.h>

#include <string>

namespace
{
struct SCrcCase
{
    std::string bytes;
    uint32_t crc;
};

// Check values shared by every ZIP and zlib implementation.
TEST(Crc32, MatchesStandardCheckValues)
{
    const SCrcCase cases[] = {
        {"", 0x00000000u},
        {"abc", 0x352441C2u},
        {"123456789", 0xCBF43926u},
        {"The quick brown fox jumps over the lazy dog", 0x414FA339u},
        {std::string("\0\0\0\0", 4), 0x2144DF1Cu},
        {std::string("\xFF\xFF\xFF\xFF", 4), 0xFFFFFFFFu},
    };
    for (const SCrcCase& c : cases)
        EXPECT_EQ(Crc32(c.bytes.data(), c.bytes.size()), c.crc) << '"' << c.bytes << '"';
}

// The table is a compile-time constant: a wrong entry breaks the build.
static_assert(qel_crc::TABLE[0] == 0u);
static_assert(qel_crc::TABLE[1] == 0x77073096u);
static_assert(qel_crc::TABLE[255] == 0x2D02EF8Du);

TEST(Crc32, UpdateInPiecesEqualsWhole)
{
    const std::string text = "123456789";
    for (size_t split = 0; split <= text.size(); ++split)
    {
        uint32_t crc = Crc32Update(0, text.data(), split);
        crc = Crc32Update(crc, text.data() + split, text.size() - split);
        EXPECT_EQ(crc, 0xCBF43926u) << "split at " << split;
    }
}

TEST(Crc32, FoldsXorTheParts)
{
    // 0x352441C2: bytes 35 24 41 C2, halves 3524 41C2.
    EXPECT_EQ(Crc32FoldByte("abc", 3), 0x92);
    EXPECT_EQ(Crc32FoldWord("abc", 3), 0x74E6);
    EXPECT_EQ(Crc32FoldByte(0x01020408u), 0x0F);
    EXPECT_EQ(Crc32FoldWord(0xFFFF0000u), 0xFFFF);
    EXPECT_EQ(Crc32FoldByte(0xA5A5A5A5u), 0x00);
}
} // namespace
