#pragma once
// Float helpers shared by the vectors and the contact tests.

#include <cstdint>
#include <cstring>
#include <limits>

// Strictly between -0.0001 and 0.0001.
inline bool IsNearlyZero(float value)
{
    return value > -0.0001f && value < 0.0001f;
}

// 1 / sqrt(x): a first guess from the float's bits, then four Newton steps.
inline float FastInvSqrt(float x)
{
    uint32_t bits;
    std::memcpy(&bits, &x, sizeof(bits));
    bits = 0x5F3759DFu - (bits >> 1);
    float y;
    std::memcpy(&y, &bits, sizeof(y));
    for (int step = 0; step < 4; ++step)
        y = y * (1.5f - 0.5f * x * y * y);
    return y;
}

inline float FastSqrt(float x)
{
    return x * FastInvSqrt(x);
}

// The process-wide infinities (bits 0x7F800000 and 0xFF800000).
constexpr float FLOAT_INFINITY = std::numeric_limits<float>::infinity();
constexpr float FLOAT_NEG_INFINITY = -std::numeric_limits<float>::infinity();

constexpr float DEG_TO_RAD = 3.1415927f * 0.0055555557f;
constexpr float RAD_TO_DEG = 180.0f * 0.31830987f;
