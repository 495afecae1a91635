#pragma once
// Bytes of a picture in one of the utility library's pixel formats:
//   1: 16 bytes a pixel, 2: 8, 3: 4 (blue, green, red, alpha), 4: 3 (blue, green, red),
//   5, 6, 7 and 10: 2, 8 and 12: 1, 13: 8 bytes a 4 x 4 block, 14 to 17: 16 a block.
// Any other format gives 0.

#include <cstdint>

enum EQelPixelFormat : int
{
    QEL_PIXEL_ARGB8 = 3,
    QEL_PIXEL_RGB8 = 4,
};

uint64_t GetPixelDataSize(uint32_t width, uint32_t height, int pixelFormat);
