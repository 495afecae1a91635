#include "platform/PixelFormat.h"

#include <cstring>

namespace
{
struct SRgba
{
    uint8_t b, g, r, a;
};

SRgba ReadBgra(const uint8_t* p)
{
    return SRgba{p[0], p[1], p[2], p[3]};
}

SRgba FromPalette(const uint32_t* palette, uint8_t index)
{
    uint32_t v = palette[index];
    return SRgba{uint8_t(v), uint8_t(v >> 8), uint8_t(v >> 16), uint8_t(v >> 24)};
}

uint16_t Read16(const uint8_t* p)
{
    uint16_t v;
    std::memcpy(&v, p, 2);
    return v;
}

void Write16(uint8_t* p, uint16_t v)
{
    std::memcpy(p, &v, 2);
}

uint16_t ToA1R5G5B5(SRgba c)
{
    return uint16_t((c.a == 255 ? 0x8000 : 0) | ((c.r >> 3) << 10) | ((c.g >> 3) << 5) | (c.b >> 3));
}

uint16_t ToR5G6B5(SRgba c)
{
    return uint16_t(((c.r >> 3) << 11) | ((c.g >> 2) << 5) | (c.b >> 3));
}

uint16_t ToA4R4G4B4(SRgba c)
{
    return uint16_t(((c.a >> 4) << 12) | ((c.r >> 4) << 8) | ((c.g >> 4) << 4) | (c.b >> 4));
}

uint16_t FromCode0(int destCode, SRgba c)
{
    switch (destCode)
    {
    case PIXEL_A1R5G5B5: return ToA1R5G5B5(c);
    case PIXEL_R5G6B5: return ToR5G6B5(c);
    default: return ToA4R4G4B4(c);
    }
}

// One pixel of a 16-bit source into a 16-bit or 32-bit destination.
void Convert16(int sourceCode, uint16_t v, int destCode, uint8_t* out)
{
    if (sourceCode == PIXEL_A1R5G5B5)
    {
        unsigned r = (v >> 10) & 31, g = (v >> 5) & 31, b = v & 31;
        bool alpha = (v & 0x8000) != 0;
        if (destCode == PIXEL_BGRA8888)
        {
            out[0] = uint8_t(b << 3);
            out[1] = uint8_t(g << 3);
            out[2] = uint8_t(r << 3);
            out[3] = alpha ? 255 : 0;
        }
        else if (destCode == PIXEL_A4R4G4B4)
            Write16(out, uint16_t((alpha ? 0xF000 : 0) | ((r >> 1) << 8) | ((g >> 1) << 4) | (b >> 1)));
        else // R5G6B5: the top bit of green repeats into the new low bit
            Write16(out, uint16_t((r << 11) | (((g << 1) | (g >> 4)) << 5) | b));
        return;
    }
    // R5G6B5
    unsigned r = (v >> 11) & 31, g = (v >> 5) & 63, b = v & 31;
    if (destCode == PIXEL_BGRA8888)
    {
        out[0] = uint8_t(b << 3);
        out[1] = uint8_t(g << 2);
        out[2] = uint8_t(r << 3);
        out[3] = 255;
    }
    else if (destCode == PIXEL_A4R4G4B4)
        Write16(out, uint16_t(0xF000 | ((r >> 1) << 8) | ((g >> 2) << 4) | (b >> 1)));
    else // A1R5G5B5
        Write16(out, uint16_t(0x8000 | (r << 10) | ((g >> 1) << 5) | b));
}
} // namespace

int GetPixelSize(int code)
{
    switch (code)
    {
    case PIXEL_BGRA8888: return 4;
    case PIXEL_A1R5G5B5: return 2;
    case PIXEL_R5G6B5: return 2;
    case PIXEL_A4R4G4B4: return 2;
    case PIXEL_PALETTE8: return 1;
    case PIXEL_ALPHA8: return 1;
    case PIXEL_BLOCK16: return 16;
    case PIXEL_OPAQUE32: return 4;
    default: return 0;
    }
}

bool CanConvertPixels(int sourceCode, int destCode)
{
    if (GetPixelSize(sourceCode) == 0 || GetPixelSize(destCode) == 0)
        return false;
    if (sourceCode == destCode)
        return true;
    switch (sourceCode)
    {
    case PIXEL_BGRA8888:
    case PIXEL_PALETTE8:
        return destCode >= PIXEL_BGRA8888 && destCode <= PIXEL_A4R4G4B4;
    case PIXEL_A1R5G5B5:
    case PIXEL_R5G6B5:
        return destCode == PIXEL_BGRA8888 || destCode == PIXEL_A4R4G4B4 || destCode == PIXEL_A1R5G5B5 ||
               destCode == PIXEL_R5G6B5;
    default:
        return false;
    }
}

bool ConvertPixels(int width, int height, int sourceCode, const void* source, int sourcePitch,
                   const uint32_t* palette, int destCode, void* dest, int destPitch)
{
    if (!CanConvertPixels(sourceCode, destCode) || width < 0 || height < 0 || !source || !dest)
        return false;
    if (sourceCode == PIXEL_PALETTE8 && !palette)
        return false;
    const auto* src = static_cast<const uint8_t*>(source);
    auto* dst = static_cast<uint8_t*>(dest);
    const int sourceSize = GetPixelSize(sourceCode);
    const int destSize = GetPixelSize(destCode);

    if (sourceCode == destCode)
    {
        for (int y = 0; y < height; ++y)
            std::memcpy(dst + size_t(y) * destPitch, src + size_t(y) * sourcePitch, size_t(width) * sourceSize);
        return true;
    }

    // A palette is converted once per call; each index is then a lookup.
    uint16_t table[256];
    if (sourceCode == PIXEL_PALETTE8 && destCode != PIXEL_BGRA8888)
        for (int i = 0; i < 256; ++i)
            table[i] = FromCode0(destCode, FromPalette(palette, uint8_t(i)));

    for (int y = 0; y < height; ++y)
    {
        const uint8_t* in = src + size_t(y) * sourcePitch;
        uint8_t* out = dst + size_t(y) * destPitch;
        for (int x = 0; x < width; ++x, in += sourceSize, out += destSize)
        {
            switch (sourceCode)
            {
            case PIXEL_BGRA8888:
                Write16(out, FromCode0(destCode, ReadBgra(in)));
                break;
            case PIXEL_PALETTE8:
                if (destCode == PIXEL_BGRA8888)
                {
                    SRgba c = FromPalette(palette, *in);
                    out[0] = c.b;
                    out[1] = c.g;
                    out[2] = c.r;
                    out[3] = c.a;
                }
                else
                    Write16(out, table[*in]);
                break;
            default:
                Convert16(sourceCode, Read16(in), destCode, out);
                break;
            }
        }
    }
    return true;
}
