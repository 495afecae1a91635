#include "platform/PixelFormat.h"

#include <gtest/gtest.h>

#include <cstring>
#include <vector>

namespace
{
uint32_t Bgra(uint8_t b, uint8_t g, uint8_t r, uint8_t a)
{
    return uint32_t(b) | uint32_t(g) << 8 | uint32_t(r) << 16 | uint32_t(a) << 24;
}

// Converts one pixel given in its memory form and gives the destination's memory form.
uint32_t ConvertOne(int sourceCode, uint32_t value, int destCode, const uint32_t* palette = nullptr)
{
    uint8_t in[16] = {};
    uint8_t out[16] = {};
    std::memcpy(in, &value, 4);
    EXPECT_TRUE(ConvertPixels(1, 1, sourceCode, in, 16, palette, destCode, out, 16));
    uint32_t result = 0;
    std::memcpy(&result, out, size_t(GetPixelSize(destCode)) < 4 ? size_t(GetPixelSize(destCode)) : 4u);
    return result;
}
} // namespace

TEST(PixelFormat, SizesOfEveryCode)
{
    const int sizes[] = {4, 2, 2, 2, 1, 1, 16, 4};
    for (int code = 0; code < 8; ++code)
        EXPECT_EQ(GetPixelSize(code), sizes[code]) << code;
    EXPECT_EQ(GetPixelSize(8), 0);
    EXPECT_EQ(GetPixelSize(-1), 0);
}

TEST(PixelFormat, ConversionsKeepTheStatedBits)
{
    struct
    {
        int from;
        uint32_t in;
        int to;
        uint32_t out;
    } cases[] = {
        {0, Bgra(0xFF, 0x80, 0x08, 255), 1, 0x8000u | (0x01u << 10) | (0x10u << 5) | 0x1Fu},
        {0, Bgra(0xFF, 0x80, 0x08, 254), 1, (0x01u << 10) | (0x10u << 5) | 0x1Fu}, // 254 is not opaque
        {0, Bgra(0xFF, 0x84, 0x08, 0), 2, (0x01u << 11) | (0x21u << 5) | 0x1Fu},
        {0, Bgra(0x1F, 0x2F, 0x3F, 0x4F), 3, 0x4321u},
        {1, 0x8000u | (3u << 10) | (5u << 5) | 7u, 0, Bgra(7 << 3, 5 << 3, 3 << 3, 255)},
        {1, (3u << 10) | (5u << 5) | 7u, 0, Bgra(7 << 3, 5 << 3, 3 << 3, 0)},
        {1, 0x8000u | (31u << 10) | (16u << 5) | 2u, 3, 0xF000u | (15u << 8) | (8u << 4) | 1u},
        {1, (4u << 10) | (16u << 5) | 9u, 2, (4u << 11) | (33u << 5) | 9u},
        {2, (3u << 11) | (40u << 5) | 7u, 0, Bgra(7 << 3, 40 << 2, 3 << 3, 255)},
        {2, (31u << 11) | (40u << 5) | 7u, 3, 0xF000u | (15u << 8) | (10u << 4) | 3u},
        {2, (31u << 11) | (40u << 5) | 7u, 1, 0x8000u | (31u << 10) | (20u << 5) | 7u},
    };
    for (const auto& c : cases)
        EXPECT_EQ(ConvertOne(c.from, c.in, c.to), c.out) << c.from << " -> " << c.to << " of " << std::hex << c.in;
}

TEST(PixelFormat, PaletteConvertsToEveryRendererCode)
{
    std::vector<uint32_t> palette(256, 0);
    palette[7] = Bgra(0xFF, 0x80, 0x08, 255);
    for (int to = 0; to <= 3; ++to)
        EXPECT_EQ(ConvertOne(4, 7, to, palette.data()), ConvertOne(0, palette[7], to)) << to;
    uint8_t index = 7, out[4];
    EXPECT_FALSE(ConvertPixels(1, 1, 4, &index, 1, nullptr, 0, out, 4)); // no palette
}

TEST(PixelFormat, UnsupportedPairsWriteNothing)
{
    const int pairs[][2] = {{3, 0}, {6, 0}, {0, 4}, {5, 0}, {0, 5}, {7, 0}, {0, 7}, {0, 9}, {9, 9}, {4, 6}};
    for (const auto& pair : pairs)
    {
        uint8_t in[16] = {1, 2, 3, 4, 5, 6, 7, 8, 9, 10, 11, 12, 13, 14, 15, 16};
        uint8_t out[16];
        std::memset(out, 0xAB, sizeof(out));
        EXPECT_FALSE(ConvertPixels(1, 1, pair[0], in, 16, nullptr, pair[1], out, 16)) << pair[0] << "->" << pair[1];
        for (uint8_t b : out)
            EXPECT_EQ(b, 0xAB);
    }
}

TEST(PixelFormat, RowsFollowTheirPitches)
{
    // Two rows of two 16-byte units; source rows padded to 40 bytes, destination to 36.
    std::vector<uint8_t> source(80, 0xEE), dest(72, 0x11);
    for (int y = 0; y < 2; ++y)
        for (int i = 0; i < 32; ++i)
            source[size_t(y * 40 + i)] = uint8_t(y * 32 + i);
    ASSERT_TRUE(ConvertPixels(2, 2, 6, source.data(), 40, nullptr, 6, dest.data(), 36));
    for (int y = 0; y < 2; ++y)
    {
        for (int i = 0; i < 32; ++i)
            EXPECT_EQ(dest[size_t(y * 36 + i)], uint8_t(y * 32 + i));
        for (int i = 32; i < 36; ++i)
            EXPECT_EQ(dest[size_t(y * 36 + i)], 0x11) << "padding written";
    }
    // 16-bit conversions honour pitches too.
    std::vector<uint16_t> wide = {0xFFFF, 0x7777, 0x1234, 0x7777}; // 0x7777: padding
    std::vector<uint8_t> bgra(2 * 12, 0x55);
    ASSERT_TRUE(ConvertPixels(1, 2, 2, wide.data(), 4, nullptr, 0, bgra.data(), 12));
    EXPECT_EQ(bgra[3], 255);
    EXPECT_EQ(bgra[4], 0x55);
    EXPECT_EQ(bgra[12], uint8_t((0x1234 & 31) << 3));
}
