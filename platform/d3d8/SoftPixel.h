#pragma once
// Per-pixel arithmetic of the rasteriser, shared by the reference loop and the fast span
// loops so that both compute every value with the same integer formulas.

#include "platform/d3d8/SoftRasterizer.h"

#include <cstddef>
#include <cstdint>

// Depth is interpolated with 30 fraction bits and stored with the buffer's bit count.
constexpr double kDepthOne = 1073741824.0;

inline uint32_t QuantizeDepthFixed(int64_t z, uint32_t depthBits)
{
    const int64_t top = (int64_t{1} << depthBits) - 1;
    const int64_t q = z >> (30 - depthBits);
    return static_cast<uint32_t>(q < 0 ? 0 : (q > top ? top : q));
}

// a * b / 255, rounded to nearest, for 8-bit a and b.
inline uint32_t Mul255(uint32_t a, uint32_t b)
{
    const uint32_t t = a * b + 128;
    return (t + (t >> 8)) >> 8;
}

// Per-channel (a * (256 - f) + b * f) / 256, rounded down, on packed 0xAARRGGBB values.
inline uint32_t LerpTexel(uint32_t a, uint32_t b, uint32_t f)
{
    const uint32_t g = 256 - f;
    const uint32_t rb = (((a & 0x00FF00FFu) * g + (b & 0x00FF00FFu) * f) >> 8) & 0x00FF00FFu;
    const uint32_t ag = (((a >> 8) & 0x00FF00FFu) * g + ((b >> 8) & 0x00FF00FFu) * f) & 0xFF00FF00u;
    return rb | ag;
}

inline bool CompareSoft(uint32_t func, uint32_t value, uint32_t reference)
{
    switch (func)
    {
    case SOFT_CMP_LESS:
        return value < reference;
    case SOFT_CMP_EQUAL:
        return value == reference;
    case SOFT_CMP_LESSEQUAL:
        return value <= reference;
    case SOFT_CMP_GREATER:
        return value > reference;
    case SOFT_CMP_GREATEREQUAL:
        return value >= reference;
    default:
        return true;
    }
}

inline uint32_t BlendFactor(uint32_t code, uint32_t srcAlpha)
{
    switch (code)
    {
    case SOFT_BLEND_ZERO:
        return 0;
    case SOFT_BLEND_SRCALPHA:
        return srcAlpha;
    case SOFT_BLEND_INVSRCALPHA:
        return 255 - srcAlpha;
    default:
        return 255;
    }
}

// A comparison function as the outcomes it accepts, so that a test needs no branch.
struct SCompareMask
{
    uint32_t less = 1;
    uint32_t equal = 1;
    uint32_t greater = 1;

    SCompareMask() = default;
    explicit SCompareMask(uint32_t function)
    {
        less = CompareSoft(function, 0, 1) ? 1 : 0;
        equal = CompareSoft(function, 1, 1) ? 1 : 0;
        greater = CompareSoft(function, 1, 0) ? 1 : 0;
    }

    uint32_t Passes(uint32_t value, uint32_t reference) const
    {
        return (static_cast<uint32_t>(value < reference) & less) |
               (static_cast<uint32_t>(value == reference) & equal) |
               (static_cast<uint32_t>(value > reference) & greater);
    }
};

struct SSampler
{
    const uint32_t* texels = nullptr;  // null: opaque white
    int width = 1;
    int height = 1;
    bool wrapU = true;
    bool wrapV = true;
    int maskU = -1;  // width - 1 when the width is a power of two, else -1
    int maskV = -1;
    int pitch = 1;
    bool bordered = false;  // indices -1 and width (height) hold the edge texels

    int AddressU(int64_t i) const { return Address(i, width, wrapU, maskU); }
    int AddressV(int64_t i) const { return Address(i, height, wrapV, maskV); }

    static int Address(int64_t i, int size, bool wrap, int mask)
    {
        if (wrap)
        {
            if (mask >= 0)
                return static_cast<int>(i & mask);
            const int64_t m = i % size;
            return static_cast<int>(m < 0 ? m + size : m);
        }
        return static_cast<int>(i < 0 ? 0 : (i >= size ? size - 1 : i));
    }

    uint32_t Fetch(int x, int y) const { return texels[static_cast<ptrdiff_t>(y) * pitch + x]; }

    // s and t are texel positions with 16 fraction bits.
    uint32_t SamplePoint(int64_t s, int64_t t) const
    {
        if (texels == nullptr)
            return 0xFFFFFFFFu;
        return Fetch(AddressU(s >> 16), AddressV(t >> 16));
    }

    // Bilinear between the four texels around the position, with 8-bit weights; texel
    // centres lie at half-texel positions.
    uint32_t SampleLinear(int64_t s, int64_t t) const
    {
        if (texels == nullptr)
            return 0xFFFFFFFFu;
        const int64_t ss = s - 32768;
        const int64_t tt = t - 32768;
        const uint32_t fx = static_cast<uint32_t>((ss >> 8) & 0xFF);
        const uint32_t fy = static_cast<uint32_t>((tt >> 8) & 0xFF);
        const int x0 = AddressU(ss >> 16);
        const int x1 = AddressU((ss >> 16) + 1);
        const int y0 = AddressV(tt >> 16);
        const int y1 = AddressV((tt >> 16) + 1);
        const uint32_t top = LerpTexel(Fetch(x0, y0), Fetch(x1, y0), fx);
        const uint32_t bottom = LerpTexel(Fetch(x0, y1), Fetch(x1, y1), fx);
        return LerpTexel(top, bottom, fy);
    }
};
