#include "platform/Tga.h"

#include <cstring>

std::vector<uint8_t> EncodeTga32(int32_t width, int32_t height, const uint8_t* pixels)
{
    std::vector<uint8_t> bytes;
    if (width <= 0 || height <= 0 || width > 0xFFFF || height > 0xFFFF || !pixels)
        return bytes;
    const size_t rowBytes = size_t(width) * 4;
    bytes.assign(TGA_HEADER_SIZE, 0);
    bytes[2] = 2; // uncompressed true colour
    bytes[12] = uint8_t(width);
    bytes[13] = uint8_t(width >> 8);
    bytes[14] = uint8_t(height);
    bytes[15] = uint8_t(height >> 8);
    bytes[16] = 32;
    bytes[17] = 0x20; // rows from the top
    bytes.insert(bytes.end(), pixels, pixels + rowBytes * size_t(height));
    return bytes;
}
