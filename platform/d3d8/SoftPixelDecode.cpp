#include "platform/d3d8/SoftPixelDecode.h"

#include <cstddef>

namespace
{
// Widening by repeating the top bits, so that full intensity stays 255 and zero stays 0.
uint32_t Expand5(uint32_t v) { return (v << 3) | (v >> 2); }
uint32_t Expand6(uint32_t v) { return (v << 2) | (v >> 4); }
uint32_t Expand4(uint32_t v) { return v * 17; }

uint32_t Pack(uint32_t a, uint32_t r, uint32_t g, uint32_t b)
{
    return (a << 24) | (r << 16) | (g << 8) | b;
}

uint32_t Read16(const uint8_t* p) { return static_cast<uint32_t>(p[0] | (p[1] << 8)); }

uint32_t Read32(const uint8_t* p)
{
    return static_cast<uint32_t>(p[0]) | (static_cast<uint32_t>(p[1]) << 8) |
           (static_cast<uint32_t>(p[2]) << 16) | (static_cast<uint32_t>(p[3]) << 24);
}

uint32_t DecodeOne(ESoftFormat format, const uint8_t* p)
{
    switch (format)
    {
    case ESoftFormat::A8R8G8B8:
        return Read32(p);
    case ESoftFormat::X8R8G8B8:
        return Read32(p) | 0xFF000000u;
    case ESoftFormat::R5G6B5:
    {
        const uint32_t v = Read16(p);
        return Pack(255, Expand5(v >> 11), Expand6((v >> 5) & 63), Expand5(v & 31));
    }
    case ESoftFormat::X1R5G5B5:
    case ESoftFormat::A1R5G5B5:
    {
        const uint32_t v = Read16(p);
        const uint32_t a = (format == ESoftFormat::X1R5G5B5 || (v & 0x8000)) ? 255 : 0;
        return Pack(a, Expand5((v >> 10) & 31), Expand5((v >> 5) & 31), Expand5(v & 31));
    }
    case ESoftFormat::A4R4G4B4:
    {
        const uint32_t v = Read16(p);
        return Pack(Expand4(v >> 12), Expand4((v >> 8) & 15), Expand4((v >> 4) & 15),
                    Expand4(v & 15));
    }
    default:
        return 0;
    }
}
}  // namespace

uint32_t GetSoftFormatSize(ESoftFormat format)
{
    switch (format)
    {
    case ESoftFormat::A8R8G8B8:
    case ESoftFormat::X8R8G8B8:
        return 4;
    case ESoftFormat::R8G8B8:
        return 3;
    case ESoftFormat::R5G6B5:
    case ESoftFormat::X1R5G5B5:
    case ESoftFormat::A1R5G5B5:
    case ESoftFormat::A4R4G4B4:
        return 2;
    case ESoftFormat::P8:
        return 1;
    default:
        return 0;
    }
}

bool DecodeSoftPixels(ESoftFormat format, const uint8_t* pixels, uint32_t pitch, uint32_t width,
                      uint32_t height, uint32_t* texels, uint32_t texelPitch)
{
    const uint32_t size = GetSoftFormatSize(format);
    if (size != 2 && size != 4)
        return false;
    for (uint32_t y = 0; y < height; ++y)
    {
        const uint8_t* row = pixels + static_cast<size_t>(y) * pitch;
        uint32_t* out = texels + static_cast<size_t>(y) * texelPitch;
        for (uint32_t x = 0; x < width; ++x)
            out[x] = DecodeOne(format, row + x * size);
    }
    return true;
}
