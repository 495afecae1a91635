#pragma once
// One horizontal run of pixels of a primitive and the loops that shade it.

#include "platform/d3d8/SoftPixel.h"
#include "platform/d3d8/SoftRasterizer.h"

#include <cstdint>

struct SSpanContext;
struct SSpan;
// Draws `count` spans of one primitive (sharing their colourChecked and gouraud).
using FastSpanLoop = void (*)(const SSpanContext& context, const SSpan* spans, int count);

// Texel positions (16 fraction bits) between which a span's texels are read without clamping.
struct SDirectBounds
{
    int64_t sLow = 0;
    int64_t sHigh = 0; // exclusive
    int64_t tLow = 0;
    int64_t tHigh = 0;
};

// The fast loops chosen once per draw for its state: [bilinear][Gouraud]; null where the
// state has none.
struct SFastPlan
{
    FastSpanLoop loops[2][2] = {{nullptr, nullptr}, {nullptr, nullptr}};
    uint32_t textureForce = 0;  // texel channels replaced by 255 (the channel uses diffuse only)
    uint32_t diffuseForce = 0;  // diffuse channels replaced by 255 (texture only)
    uint8_t alphaPasses[256] = {};  // the alpha test's answer for every source alpha
    // The same as an interval: alpha passes when alphaLow < alpha < alphaHigh, or (with
    // alphaInvert) when it lies outside; every comparison function gives such a set.
    int16_t alphaLow = -1;
    int16_t alphaHigh = 256;
    bool alphaInvert = false;
    SCompareMask depthCompare;       // the depth test (always passing when off)
    // Pixels whose texels are all of alpha 0 are left unchanged by the state: skip them.
    bool skipTransparent = false;
    SDirectBounds direct[2]; // point sampling, bilinear
};

struct SSpanContext
{
    const SRasterState* state = nullptr;
    SSampler sampler;
    uint32_t depthBits = 16;
    bool hasDepth = false;
    SFastPlan fast;
};

// Fills context.fast for the context's state.
void PlanFastLoops(SSpanContext& context);

// Attribute values at the first pixel and their steps per pixel, in fixed point: colour
// channels (a, r, g, b) and texel positions with 16 fraction bits, depth with 30.
struct SSpan
{
    int32_t colour[4] = {0, 0, 0, 0};
    int32_t colourStep[4] = {0, 0, 0, 0};
    int64_t s = 0;
    int64_t t = 0;
    int64_t sStep = 0;
    int64_t tStep = 0;
    int64_t z = 0;
    int64_t zStep = 0;
    int count = 0;
    // Set by the caller when it knows that the colour steps stay within 32 bits along every
    // span of the primitive, and whether any channel varies.
    bool colourChecked = false;
    bool gouraud = false;
    uint32_t* colourOut = nullptr;
    uint32_t* depthOut = nullptr;
};

SSpanContext MakeSpanContext(const SRasterTarget& target, const SRasterState& state);

// Shades and writes the span's pixels. `linear` chooses bilinear over point sampling.
void DrawSpan(const SSpanContext& context, bool linear, const SSpan& span);
// The same for `count` spans of one primitive, which share colourChecked and gouraud: the
// loop's set-up is paid once for all of them.
void DrawSpans(const SSpanContext& context, bool linear, const SSpan* spans, int count);

// The per-pixel loop every fast loop must agree with bit for bit.
void DrawSpanReference(const SSpanContext& context, bool linear, const SSpan& span);

// A fast loop for the spans' state, or false when there is none (nothing is drawn then).
bool DrawSpansFast(const SSpanContext& context, bool linear, const SSpan* spans, int count);
inline bool DrawSpanFast(const SSpanContext& context, bool linear, const SSpan& span)
{
    return DrawSpansFast(context, linear, &span, 1);
}
