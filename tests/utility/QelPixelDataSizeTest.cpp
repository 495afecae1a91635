#include "utility/source/QelPixelDataSize.h"

#include <gtest/gtest.h>

TEST(QelPixelDataSize, BytesPerFormat)
{
    struct SCase
    {
        int m_format;
        uint32_t m_width;
        uint32_t m_height;
        uint64_t m_bytes;
    };
    const SCase cases[] = {
        {1, 3, 2, 96},  {2, 3, 2, 48},  {3, 3, 2, 24},  {4, 3, 2, 18},  {5, 3, 2, 12}, {10, 3, 2, 12},
        {8, 3, 2, 6},   {12, 3, 2, 6},  {0, 3, 2, 0},   {9, 3, 2, 0},   {18, 3, 2, 0}, {-1, 3, 2, 0},
        // Block formats count partial 4 x 4 blocks at the edges as whole ones.
        {13, 4, 4, 8},  {13, 5, 4, 16}, {13, 1, 1, 8},  {14, 8, 5, 64}, {17, 9, 9, 144},
        // No 32-bit wrap for the largest sides.
        {1, 65536, 65536, uint64_t(1) << 36},
    };
    for (const SCase& c : cases)
        EXPECT_EQ(GetPixelDataSize(c.m_width, c.m_height, c.m_format), c.m_bytes)
            << "format " << c.m_format << " " << c.m_width << "x" << c.m_height;
}
