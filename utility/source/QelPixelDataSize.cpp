#include "utility/source/QelPixelDataSize.h"

uint64_t GetPixelDataSize(uint32_t width, uint32_t height, int pixelFormat)
{
    const uint64_t pixels = uint64_t(width) * height;
    // Partial blocks at the right and bottom edges count as whole blocks.
    const uint64_t blocks = ((uint64_t(width) + 3) / 4) * ((uint64_t(height) + 3) / 4);
    switch (pixelFormat)
    {
    case 1: return pixels * 16;
    case 2: return pixels * 8;
    case 3: return pixels * 4;
    case 4: return pixels * 3;
    case 5:
    case 6:
    case 7:
    case 10: return pixels * 2;
    case 8:
    case 12: return pixels;
    case 13: return blocks * 8;
    case 14:
    case 15:
    case 16:
    case 17: return blocks * 16;
    default: return 0;
    }
}
