#pragma once
// What the fast span loops share (the SSE2 loops and the AVX2 ones): the texels one pixel
// samples, found exactly as the reference sampler finds them, and the blend kinds.

#include "platform/d3d8/SoftSpan.h"

#include <algorithm>
#include <cstddef>
#include <cstdint>

// The per-pixel helpers must fold into the loops that call them.
#if defined(__GNUC__)
#define SOFT_PIXEL_INLINE inline __attribute__((always_inline))
#else
#define SOFT_PIXEL_INLINE inline
#endif

namespace softspan
{
enum EBlendKind
{
    BlendNone,
    BlendSourceAlpha,  // source alpha, inverse source alpha
    BlendAdd,          // one, one
};

SOFT_PIXEL_INLINE int ClampIndex(int64_t i, int top)
{
    return static_cast<int>(i < 0 ? 0 : (i > top ? top : i));
}


// The texels one pixel samples (one for point sampling, four for bilinear) and the weights.
struct STaps
{
    uint32_t c00 = 0xFFFFFFFFu;
    uint32_t c10 = 0;
    uint32_t c01 = 0;
    uint32_t c11 = 0;
    uint32_t fx = 0;
    uint32_t fy = 0;
};

// `direct`: the span's texel indices are known to lie where no clamping is needed.
template <bool Textured, bool Linear, bool Wrap>
SOFT_PIXEL_INLINE STaps FetchTaps(const SSampler& sampler, int64_t s, int64_t t, bool direct)
{
    STaps taps;
    if (!Textured)
        return taps;
    if (!Wrap && direct)
    {
        if (!Linear)
        {
            taps.c00 = sampler.Fetch(static_cast<int>(s >> 16), static_cast<int>(t >> 16));
            return taps;
        }
        const int64_t ss = s - 32768;
        const int64_t tt = t - 32768;
        taps.fx = static_cast<uint32_t>((ss >> 8) & 0xFF);
        taps.fy = static_cast<uint32_t>((tt >> 8) & 0xFF);
        const uint32_t* row0 = sampler.texels + static_cast<ptrdiff_t>(tt >> 16) * sampler.pitch + (ss >> 16);
        taps.c00 = row0[0];
        taps.c10 = row0[1];
        taps.c01 = row0[sampler.pitch];
        taps.c11 = row0[sampler.pitch + 1];
        return taps;
    }
    // Clamp takes width - 1 and height - 1 as the largest index.
    const int limitU = sampler.width - 1;
    const int limitV = sampler.height - 1;
    if (!Linear)
    {
        taps.c00 = sampler.Fetch(Wrap ? sampler.AddressU(s >> 16) : ClampIndex(s >> 16, limitU),
                                 Wrap ? sampler.AddressV(t >> 16) : ClampIndex(t >> 16, limitV));
        return taps;
    }
    const int64_t ss = s - 32768;
    const int64_t tt = t - 32768;
    taps.fx = static_cast<uint32_t>((ss >> 8) & 0xFF);
    taps.fy = static_cast<uint32_t>((tt >> 8) & 0xFF);
    const int64_t u = ss >> 16;
    const int64_t v = tt >> 16;
    const int x0 = Wrap ? sampler.AddressU(u) : ClampIndex(u, limitU);
    const int x1 = Wrap ? sampler.AddressU(u + 1) : ClampIndex(u + 1, limitU);
    const int y0 = Wrap ? sampler.AddressV(v) : ClampIndex(v, limitV);
    const int y1 = Wrap ? sampler.AddressV(v + 1) : ClampIndex(v + 1, limitV);
    const uint32_t* row0 = sampler.texels + static_cast<ptrdiff_t>(y0) * sampler.pitch;
    const uint32_t* row1 = sampler.texels + static_cast<ptrdiff_t>(y1) * sampler.pitch;
    taps.c00 = row0[x0];
    taps.c10 = row0[x1];
    taps.c01 = row1[x0];
    taps.c11 = row1[x1];
    return taps;
}

// True when the span's clamped texel indices never leave the range where the texels (with
// their border, if any) can be read without clamping: its first and last texel positions lie
// within the plan's bounds (the positions run in a straight line between them).
template <bool Linear>
SOFT_PIXEL_INLINE bool IsDirectSpan(const SFastPlan& plan, const SSpan& span)
{
    const SDirectBounds& bounds = plan.direct[Linear ? 1 : 0];
    const int64_t last = span.count - 1;
    const int64_t s1 = span.s + span.sStep * last;
    const int64_t t1 = span.t + span.tStep * last;
    return std::min(span.s, s1) >= bounds.sLow && std::max(span.s, s1) < bounds.sHigh &&
           std::min(span.t, t1) >= bounds.tLow && std::max(span.t, t1) < bounds.tHigh;
}

// The bounds for point sampling (0) and bilinear (1): a texel index (s - offset) >> 16 must
// reach from `lowest` (-1 into a border, else 0) to size - 1 - extra (bilinear without a
// border also reads index + 1), with offset half a texel for bilinear.
inline void SetDirectBounds(const SSampler& sampler, SFastPlan& plan)
{
    for (int linear = 0; linear < 2; ++linear)
    {
        const int64_t offset = linear ? 32768 : 0;
        const int64_t lowest = linear && sampler.bordered ? -1 : 0;
        const int64_t extra = linear && !sampler.bordered ? 1 : 0;
        SDirectBounds& bounds = plan.direct[linear];
        bounds.sLow = lowest * 65536 + offset;
        bounds.tLow = bounds.sLow;
        bounds.sHigh = (sampler.width - extra) * int64_t{65536} + offset;
        bounds.tHigh = (sampler.height - extra) * int64_t{65536} + offset;
    }
}

// True when every texel the pixel samples has alpha 0, so the filtered alpha is 0.
template <bool Linear>
SOFT_PIXEL_INLINE bool IsTransparent(const STaps& taps)
{
    return ((Linear ? (taps.c00 | taps.c10 | taps.c01 | taps.c11) : taps.c00) >> 24) == 0;
}

// The loop of a family (a class template with a static Draw, one per state) for a state:
// the run-time choices turned into the template's arguments.
template <template <bool, bool, bool, bool, int, bool, bool> class Family, bool Textured, bool Linear, bool Wrap,
          bool Gouraud, int Blend, bool AlphaTest>
FastSpanLoop PickDepth(bool depth)
{
    return depth ? &Family<Textured, Linear, Wrap, Gouraud, Blend, AlphaTest, true>::Draw
                 : &Family<Textured, Linear, Wrap, Gouraud, Blend, AlphaTest, false>::Draw;
}

template <template <bool, bool, bool, bool, int, bool, bool> class Family, bool Textured, bool Linear, bool Wrap,
          bool Gouraud, int Blend>
FastSpanLoop PickAlphaTest(bool alphaTest, bool depth)
{
    return alphaTest ? PickDepth<Family, Textured, Linear, Wrap, Gouraud, Blend, true>(depth)
                     : PickDepth<Family, Textured, Linear, Wrap, Gouraud, Blend, false>(depth);
}

template <template <bool, bool, bool, bool, int, bool, bool> class Family, bool Textured, bool Linear, bool Wrap,
          bool Gouraud>
FastSpanLoop PickBlend(int blend, bool alphaTest, bool depth)
{
    switch (blend)
    {
    case BlendSourceAlpha:
        return PickAlphaTest<Family, Textured, Linear, Wrap, Gouraud, BlendSourceAlpha>(alphaTest, depth);
    case BlendAdd:
        return PickAlphaTest<Family, Textured, Linear, Wrap, Gouraud, BlendAdd>(alphaTest, depth);
    default:
        return PickAlphaTest<Family, Textured, Linear, Wrap, Gouraud, BlendNone>(alphaTest, depth);
    }
}

template <template <bool, bool, bool, bool, int, bool, bool> class Family, bool Textured, bool Linear, bool Wrap>
FastSpanLoop PickGouraud(bool gouraud, int blend, bool alphaTest, bool depth)
{
    return gouraud ? PickBlend<Family, Textured, Linear, Wrap, true>(blend, alphaTest, depth)
                   : PickBlend<Family, Textured, Linear, Wrap, false>(blend, alphaTest, depth);
}

template <template <bool, bool, bool, bool, int, bool, bool> class Family>
FastSpanLoop PickFastLoop(bool textured, bool linear, bool wrap, bool gouraud, int blend, bool alphaTest, bool depth)
{
    if (!textured)
        return PickGouraud<Family, false, false, false>(gouraud, blend, alphaTest, depth);
    if (linear)
        return wrap ? PickGouraud<Family, true, true, true>(gouraud, blend, alphaTest, depth)
                    : PickGouraud<Family, true, true, false>(gouraud, blend, alphaTest, depth);
    return wrap ? PickGouraud<Family, true, false, true>(gouraud, blend, alphaTest, depth)
                : PickGouraud<Family, true, false, false>(gouraud, blend, alphaTest, depth);
}

// The AVX2 loop for a state (see PlanFastLoops); built for every processor, run only
// where the processor has AVX2.
FastSpanLoop PickAvx2Loop(bool textured, bool linear, bool wrap, bool gouraud, int blend, bool alphaTest,
                          bool depth);
}  // namespace softspan
