// AVX2 span loops for the states of SoftSpanFast.cpp, eight pixels a step: the colour
// channels of four pixels fill the 16-bit lanes of one register, so bilinear weights,
// modulation and blending run on four pixels at once with the same integer formulas as
// the reference loop, and give exactly its pixels. Spans whose texels need no clamping
// take them from two loads per texel row where eight pixels read at most 16 texels of one
// row (sprites drawn about their own size; decided once for a span that stays in one row
// pair), else with gathers; clamped or wrapped spans
// fetch them one by one as the SSE2 loops do. Only this file's own functions use AVX2, and
// the plan picks them only where the processor has it.

#include "platform/d3d8/SoftSpanTaps.h"

#if (defined(__x86_64__) || defined(__i386__)) && defined(__GNUC__)

#include <immintrin.h>

#include <algorithm>
#include <cstddef>
#include <cstdint>

#define SOFT_AVX2 __attribute__((target("avx2")))
#define SOFT_AVX2_INLINE inline __attribute__((always_inline, target("avx2")))

namespace
{
using namespace softspan;

constexpr int kStep = 8;

// a * b / 255 rounded, on 16-bit lanes of values up to 255, as Mul255: with t = a * b + 128
// (below 2^16), (t + (t >> 8)) >> 8 is the high half of t * 257.
SOFT_AVX2_INLINE __m256i Mul255x16(__m256i a, __m256i b)
{
    const __m256i t = _mm256_add_epi16(_mm256_mullo_epi16(a, b), _mm256_set1_epi16(128));
    return _mm256_mulhi_epu16(t, _mm256_set1_epi16(257));
}

// (a * (256 - f) + b * f) >> 8 as LerpTexel, written a + ((b - a) * f) >> 8 (256 a divides
// exactly): the signed high half of (b - a) * 2 times f * 128, all within 16 bits.
SOFT_AVX2_INLINE __m256i Lerp(__m256i a, __m256i b, __m256i weight128)
{
    return _mm256_add_epi16(a, _mm256_mulhi_epi16(_mm256_slli_epi16(_mm256_sub_epi16(b, a), 1), weight128));
}

// The 16-bit lanes of half h of eight packed pixels: half 0 holds pixels 0 and 1 in its low
// 128 bits and 4 and 5 in its high ones, half 1 pixels 2, 3, 6 and 7, so that packing the two
// halves back gives the pixels in order.
SOFT_AVX2_INLINE __m256i Widen(__m256i pixels, int h)
{
    return h == 0 ? _mm256_unpacklo_epi8(pixels, _mm256_setzero_si256())
                  : _mm256_unpackhi_epi8(pixels, _mm256_setzero_si256());
}

// Eight 32-bit weights times 128 (below 2^15) spread over the four channel lanes of their
// pixels in half h.
SOFT_AVX2_INLINE __m256i SpreadWeights(__m256i weights128, int h)
{
    const __m256i pattern = h == 0 ? _mm256_setr_epi8(0, 1, 0, 1, 0, 1, 0, 1, 4, 5, 4, 5, 4, 5, 4, 5, 0, 1, 0, 1, 0, 1,
                                                      0, 1, 4, 5, 4, 5, 4, 5, 4, 5)
                                   : _mm256_setr_epi8(8, 9, 8, 9, 8, 9, 8, 9, 12, 13, 12, 13, 12, 13, 12, 13, 8, 9, 8,
                                                      9, 8, 9, 8, 9, 12, 13, 12, 13, 12, 13, 12, 13);
    return _mm256_shuffle_epi8(weights128, pattern);
}

// The weights (bits 8 to 15) of eight texel positions times 128.
SOFT_AVX2_INLINE __m256i Weights128(__m256i positions)
{
    return _mm256_and_si256(_mm256_srli_epi32(positions, 1), _mm256_set1_epi32(0x7F80));
}

// Each pixel's alpha lane copied to its four lanes.
SOFT_AVX2_INLINE __m256i SpreadAlpha(__m256i pixels)
{
    return _mm256_shufflehi_epi16(_mm256_shufflelo_epi16(pixels, _MM_SHUFFLE(3, 3, 3, 3)), _MM_SHUFFLE(3, 3, 3, 3));
}

// The texels of eight pixels in order, and the weights of each half (see Widen).
struct SGroupTaps
{
    __m256i c00;
    __m256i c10;
    __m256i c01;
    __m256i c11;
    __m256i wx[2];
    __m256i wy[2];
};

SOFT_AVX2_INLINE void SetWeights(__m256i fx128, __m256i fy128, SGroupTaps& group)
{
    for (int h = 0; h < 2; ++h)
    {
        group.wx[h] = SpreadWeights(fx128, h);
        group.wy[h] = SpreadWeights(fy128, h);
    }
}

// Taps of the first `count` pixels one by one; the others stay transparent black.
template <bool Textured, bool Linear, bool Wrap>
SOFT_AVX2_INLINE void FetchEach(const SSampler& sampler, int64_t s, int64_t t, int64_t sStep, int64_t tStep,
                                bool direct, int count, SGroupTaps& group)
{
    alignas(32) uint32_t c00[kStep] = {};
    alignas(32) uint32_t c10[kStep] = {};
    alignas(32) uint32_t c01[kStep] = {};
    alignas(32) uint32_t c11[kStep] = {};
    alignas(32) uint32_t fx[kStep] = {};
    alignas(32) uint32_t fy[kStep] = {};
    for (int i = 0; i < count; ++i, s += sStep, t += tStep)
    {
        const STaps taps = FetchTaps<Textured, Linear, Wrap>(sampler, s, t, direct);
        c00[i] = taps.c00;
        c10[i] = taps.c10;
        c01[i] = taps.c01;
        c11[i] = taps.c11;
        fx[i] = taps.fx << 7;
        fy[i] = taps.fy << 7;
    }
    group.c00 = _mm256_load_si256(reinterpret_cast<const __m256i*>(c00));
    group.c10 = _mm256_load_si256(reinterpret_cast<const __m256i*>(c10));
    group.c01 = _mm256_load_si256(reinterpret_cast<const __m256i*>(c01));
    group.c11 = _mm256_load_si256(reinterpret_cast<const __m256i*>(c11));
    SetWeights(_mm256_load_si256(reinterpret_cast<const __m256i*>(fx)),
               _mm256_load_si256(reinterpret_cast<const __m256i*>(fy)), group);
}

// Positions of eight pixels in a span whose texel indices need no clamping: they fit 32
// bits there, and so do the steps between them.
struct SDirectWalk
{
    __m256i sStep;
    __m256i tStep;
    __m256i sOffsets; // sStep * [0..7], wrapping in 32 bits as the exact values do
    __m256i tOffsets;
    __m256i pitch;
    // Texel columns from which 16 texels of a row can be loaded without leaving the row
    // (its border included).
    int firstRowStart;
    int lastRowStart;
};

// The left and right texels of eight pixels from the 16 texels of a row at `texels`;
// left: each pixel's left column counted from there (0 to 14).
SOFT_AVX2_INLINE void PickFromRow(const uint32_t* texels, __m256i left, __m256i right, __m256i leftHigh,
                                  __m256i rightHigh, __m256i& first, __m256i& second)
{
    const __m256i low = _mm256_loadu_si256(reinterpret_cast<const __m256i*>(texels));
    const __m256i high = _mm256_loadu_si256(reinterpret_cast<const __m256i*>(texels + 8));
    first = _mm256_blendv_epi8(_mm256_permutevar8x32_epi32(low, left), _mm256_permutevar8x32_epi32(high, left),
                               leftHigh);
    second = _mm256_blendv_epi8(_mm256_permutevar8x32_epi32(low, right), _mm256_permutevar8x32_epi32(high, right),
                                rightHigh);
}

// The texels of eight pixels with u (their left columns) from a row pair whose top row is
// at `top`, loading 16 columns from column `base`.
SOFT_AVX2_INLINE void PickFromRows(const uint32_t* top, int pitch, __m256i u, int base, SGroupTaps& group)
{
    const __m256i left = _mm256_sub_epi32(u, _mm256_set1_epi32(base));
    const __m256i right = _mm256_add_epi32(left, _mm256_set1_epi32(1));
    const __m256i seven = _mm256_set1_epi32(7);
    const __m256i leftHigh = _mm256_cmpgt_epi32(left, seven);
    const __m256i rightHigh = _mm256_cmpgt_epi32(right, seven);
    PickFromRow(top + base, left, right, leftHigh, rightHigh, group.c00, group.c10);
    PickFromRow(top + pitch + base, left, right, leftHigh, rightHigh, group.c01, group.c11);
}

// Eight pixels' taps by gathers: a texel and its right neighbour are one 64-bit load.
// sOffsets and tOffsets place the pixels from the first one.
template <bool Linear>
SOFT_AVX2_INLINE void GatherDirect(const SSampler& sampler, const SDirectWalk& walk, __m256i sOffsets,
                                   __m256i tOffsets, int64_t s, int64_t t, SGroupTaps& group)
{
    const int offset = Linear ? 32768 : 0;
    const __m256i ss = _mm256_add_epi32(_mm256_set1_epi32(static_cast<int>(s) - offset), sOffsets);
    const __m256i tt = _mm256_add_epi32(_mm256_set1_epi32(static_cast<int>(t) - offset), tOffsets);
    const __m256i u = _mm256_srai_epi32(ss, 16);
    const __m256i v = _mm256_srai_epi32(tt, 16);
    const __m256i index = _mm256_add_epi32(_mm256_mullo_epi32(v, walk.pitch), u);
    if (!Linear)
    {
        group.c00 = _mm256_i32gather_epi32(reinterpret_cast<const int*>(sampler.texels), index, 4);
        return;
    }
    SetWeights(Weights128(ss), Weights128(tt), group);
    const int u0 = _mm256_cvtsi256_si32(u);
    const int u7 = _mm256_extract_epi32(u, 7);
    const int lowest = u0 < u7 ? u0 : u7;
    const int highest = u0 < u7 ? u7 : u0;
    // The 16 columns loaded end at the row's last one when the pixels' texels lie near it.
    const int base = lowest < walk.lastRowStart ? lowest : walk.lastRowStart;
    const int v0 = _mm256_cvtsi256_si32(v);
    if (v0 == _mm256_extract_epi32(v, 7) && highest - base <= 14 && base >= walk.firstRowStart)
    {
        // One row pair and at most 16 columns (magnified, or shrunk by up to 2): two loads
        // per row, and each pixel's texels picked from them.
        PickFromRows(sampler.texels + static_cast<ptrdiff_t>(v0) * sampler.pitch, sampler.pitch, u, base, group);
        return;
    }
    const long long* row0 = reinterpret_cast<const long long*>(sampler.texels);
    const long long* row1 = reinterpret_cast<const long long*>(sampler.texels + sampler.pitch);
    const __m128i first = _mm256_castsi256_si128(index);
    const __m128i second = _mm256_extracti128_si256(index, 1);
    for (int row = 0; row < 2; ++row)
    {
        // [c00 c10] pairs of pixels 0 to 3 and 4 to 7, split into the left and the right
        // texels in pixel order.
        const __m256 a = _mm256_castsi256_ps(_mm256_i32gather_epi64(row ? row1 : row0, first, 4));
        const __m256 b = _mm256_castsi256_ps(_mm256_i32gather_epi64(row ? row1 : row0, second, 4));
        const __m256i lefts = _mm256_castps_si256(_mm256_shuffle_ps(a, b, _MM_SHUFFLE(2, 0, 2, 0)));
        const __m256i rights = _mm256_castps_si256(_mm256_shuffle_ps(a, b, _MM_SHUFFLE(3, 1, 3, 1)));
        (row ? group.c01 : group.c00) = _mm256_permute4x64_epi64(lefts, _MM_SHUFFLE(3, 1, 2, 0));
        (row ? group.c11 : group.c10) = _mm256_permute4x64_epi64(rights, _MM_SHUFFLE(3, 1, 2, 0));
    }
}

// True when every texel the eight pixels sample has alpha 0.
template <bool Linear>
SOFT_AVX2_INLINE bool IsGroupTransparent(const SGroupTaps& group)
{
    __m256i any = group.c00;
    if (Linear)
        any = _mm256_or_si256(_mm256_or_si256(any, group.c10), _mm256_or_si256(group.c01, group.c11));
    return _mm256_testz_si256(any, _mm256_set1_epi32(static_cast<int>(0xFF000000u))) != 0;
}

// The filtered texels of one half on 16-bit lanes, with the forced channels at 255.
template <bool Textured, bool Linear>
SOFT_AVX2_INLINE __m256i FilterHalf(const SGroupTaps& group, int h, __m256i forced)
{
    if (!Textured)
        return _mm256_set1_epi16(255);
    const __m256i c00 = Widen(group.c00, h);
    if (!Linear)
        return _mm256_or_si256(c00, forced);
    const __m256i top = Lerp(c00, Widen(group.c10, h), group.wx[h]);
    const __m256i bottom = Lerp(Widen(group.c01, h), Widen(group.c11, h), group.wx[h]);
    // Forcing a channel to 255 after filtering equals filtering texels whose channel is 255.
    return _mm256_or_si256(Lerp(top, bottom, group.wy[h]), forced);
}

// Clamped diffuse colours of four pixels from the [a, r, g, b] colour words of two pixels in
// `evens` (one per 128 bits) and of the pixels after them in `odds`, as ClampChannel.
SOFT_AVX2_INLINE __m256i ClampColours(__m256i evens, __m256i odds)
{
    const __m256i words = _mm256_packs_epi32(_mm256_srai_epi32(evens, 16), _mm256_srai_epi32(odds, 16));
    return _mm256_min_epi16(_mm256_max_epi16(words, _mm256_setzero_si256()), _mm256_set1_epi16(255));
}

// What every span of one draw shares, made once for all of them.
struct SAvx2Setup
{
    __m256i textureForce;
    __m256i diffuseForce;
    __m256i alphaLow; // the alpha test passes for alphaLow < alpha < alphaHigh, or outside it
    __m256i alphaHigh;
    __m256i alphaInvert;
    __m256i lanes;
    __m256i laneBits;
    SDirectWalk walk;
    int64_t walkSStep;
    int64_t walkTStep;
};

// Diffuse colours along a span: in `evens` the colours of the first pixels of half 0 (pixels
// 0 and 4 of the group), in `odds` those of the pixels after them.
struct SColourWalk
{
    __m256i evens;
    __m256i odds;
    __m256i step2; // two pixels: half 1 from half 0
    __m256i step8; // the next group
    __m256i flat;  // the clamped colour of every pixel without Gouraud shading
};

// Shades eight pixels (the first `count` of them live) from their taps and writes them.
template <bool Textured, bool Linear, bool Gouraud, int Blend, bool AlphaTest, bool Depth>
SOFT_AVX2_INLINE void ShadeGroup(const SSpanContext& context, const SAvx2Setup& shared, const SGroupTaps& group,
                                 const SColourWalk& colours, int count, __m256i live, uint32_t* out,
                                 uint32_t* depthOut, int64_t z, int64_t zStep)
{
    const __m256i destinations = count == kStep ? _mm256_loadu_si256(reinterpret_cast<const __m256i*>(out))
                                                : _mm256_maskload_epi32(reinterpret_cast<const int*>(out), live);
    __m256i source[2];
    __m256i pass[2];
    for (int h = 0; h < 2; ++h)
    {
        __m256i diffuse = colours.flat;
        if (Gouraud)
        {
            const __m256i evens = h == 0 ? colours.evens : _mm256_add_epi32(colours.evens, colours.step2);
            const __m256i odds = h == 0 ? colours.odds : _mm256_add_epi32(colours.odds, colours.step2);
            diffuse = _mm256_or_si256(ClampColours(evens, odds), shared.diffuseForce);
        }
        source[h] = Mul255x16(FilterHalf<Textured, Linear>(group, h, shared.textureForce), diffuse);
        pass[h] = _mm256_set1_epi16(-1);
        if (AlphaTest)
        {
            const __m256i alpha = SpreadAlpha(source[h]);
            pass[h] = _mm256_xor_si256(_mm256_and_si256(_mm256_cmpgt_epi16(alpha, shared.alphaLow),
                                                        _mm256_cmpgt_epi16(shared.alphaHigh, alpha)),
                                       shared.alphaInvert);
        }
        if (Blend == BlendSourceAlpha)
        {
            const __m256i alpha = SpreadAlpha(source[h]);
            const __m256i inverse = _mm256_sub_epi16(_mm256_set1_epi16(255), alpha);
            source[h] = _mm256_adds_epu16(Mul255x16(source[h], alpha), Mul255x16(Widen(destinations, h), inverse));
        }
    }
    __m256i packed = _mm256_packus_epi16(source[0], source[1]);
    if (Blend == BlendAdd)
        packed = _mm256_adds_epu8(packed, destinations);
    __m256i passes = _mm256_packs_epi16(pass[0], pass[1]);
    if (Depth)
    {
        // Depth in order, pixel by pixel, where the alpha test let the pixel through.
        const SCompareMask& depthCompare = context.fast.depthCompare;
        const uint32_t depthWrite = context.state->zWrite ? 1 : 0;
        const uint32_t alphaBits = static_cast<uint32_t>(_mm256_movemask_ps(_mm256_castsi256_ps(passes)));
        uint32_t depthBits = 0;
        for (int k = 0; k < count; ++k, z += zStep)
        {
            const uint32_t depth = QuantizeDepthFixed(z, context.depthBits);
            const uint32_t stored = depthOut[k];
            const uint32_t passed = ((alphaBits >> k) & 1) & depthCompare.Passes(depth, stored);
            depthOut[k] = (passed & depthWrite) ? depth : stored;
            depthBits |= passed << k;
        }
        const __m256i bits = _mm256_set1_epi32(static_cast<int>(depthBits));
        passes = _mm256_cmpeq_epi32(_mm256_and_si256(bits, shared.laneBits), shared.laneBits);
    }
    const __m256i result = _mm256_blendv_epi8(destinations, packed, passes);
    if (count == kStep)
        _mm256_storeu_si256(reinterpret_cast<__m256i*>(out), result);
    else
        _mm256_maskstore_epi32(reinterpret_cast<int*>(out), live, result);
}

// The groups of one span. RowSpan: a bilinear span within one row pair (no step down the
// texture) whose pixels are at most two texels apart, so that every group's texels lie within
// 16 columns of that row pair (see DrawSpanAvx2).
template <bool RowSpan, bool Textured, bool Linear, bool Wrap, bool Gouraud, int Blend, bool AlphaTest, bool Depth>
SOFT_AVX2_INLINE void DrawGroups(const SSpanContext& context, const SAvx2Setup& shared, const SSpan& span,
                                 SColourWalk colours, bool direct)
{
    const SSampler& sampler = context.sampler;
    const SDirectWalk& walk = shared.walk;
    const bool skipTransparent = Textured && context.fast.skipTransparent;
    const uint32_t* top = nullptr;
    __m256i wy = _mm256_setzero_si256();
    __m256i ss = _mm256_setzero_si256(); // the group's texel positions less half a texel
    __m256i ssStep = _mm256_setzero_si256();
    int64_t lowAdvance = 0; // from a full group's first pixel to its leftmost one
    if (RowSpan)
    {
        const int64_t tt = span.t - 32768;
        top = sampler.texels + static_cast<ptrdiff_t>(tt >> 16) * sampler.pitch;
        wy = _mm256_set1_epi16(static_cast<short>(((tt >> 8) & 0xFF) << 7));
        ss = _mm256_add_epi32(_mm256_set1_epi32(static_cast<int>(span.s) - 32768), walk.sOffsets);
        ssStep = _mm256_slli_epi32(walk.sStep, 3);
        lowAdvance = span.sStep < 0 ? span.sStep * (kStep - 1) : 0;
    }
    int64_t s = span.s;
    int64_t t = span.t;
    int64_t z = span.z;
    for (int i = 0; i < span.count; i += kStep)
    {
        const int count = span.count - i < kStep ? span.count - i : kStep;
        // Lanes past the span's end: masked out of loads and stores.
        const __m256i live = _mm256_cmpgt_epi32(_mm256_set1_epi32(count), shared.lanes);
        SGroupTaps group;
        if (RowSpan)
        {
            // Lanes past the end pick from the same 16 columns and are never stored.
            const int64_t advance = span.sStep < 0 && count < kStep ? span.sStep * (count - 1) : lowAdvance;
            const int lowest = static_cast<int>((s + advance - 32768) >> 16);
            PickFromRows(top, sampler.pitch, _mm256_srai_epi32(ss, 16), std::min(lowest, walk.lastRowStart), group);
            group.wx[0] = SpreadWeights(Weights128(ss), 0);
            group.wx[1] = SpreadWeights(Weights128(ss), 1);
            group.wy[0] = group.wy[1] = wy;
            ss = _mm256_add_epi32(ss, ssStep);
        }
        else if (Textured)
        {
            if (direct && count == kStep)
                GatherDirect<Linear>(sampler, walk, walk.sOffsets, walk.tOffsets, s, t, group);
            else if (direct)
            {
                // The last pixel's texels stand in for those of the lanes past the end.
                const __m256i last = _mm256_min_epi32(shared.lanes, _mm256_set1_epi32(count - 1));
                GatherDirect<Linear>(sampler, walk, _mm256_mullo_epi32(last, walk.sStep),
                                     _mm256_mullo_epi32(last, walk.tStep), s, t, group);
            }
            else
                FetchEach<Textured, Linear, Wrap>(sampler, s, t, span.sStep, span.tStep, direct, count, group);
        }
        s += span.sStep * kStep;
        t += span.tStep * kStep;
        if (!(skipTransparent && IsGroupTransparent<Linear>(group)))
            ShadeGroup<Textured, Linear, Gouraud, Blend, AlphaTest, Depth>(
                context, shared, group, colours, count, live, span.colourOut + i,
                Depth ? span.depthOut + i : nullptr, z, span.zStep);
        if (Gouraud)
        {
            colours.evens = _mm256_add_epi32(colours.evens, colours.step8);
            colours.odds = _mm256_add_epi32(colours.odds, colours.step8);
        }
        if (Depth)
            z += span.zStep * kStep;
    }
}

template <bool Textured, bool Linear, bool Wrap, bool Gouraud, int Blend, bool AlphaTest, bool Depth>
SOFT_AVX2_INLINE void DrawSpanAvx2(const SSpanContext& context, SAvx2Setup& shared, const SSpan& span)
{
    const SFastPlan& setup = context.fast;

    // Colours as words [b, g, r, a] in each 128-bit lane.
    const __m128i colour = _mm_set_epi32(span.colour[0], span.colour[1], span.colour[2], span.colour[3]);
    SColourWalk colours;
    colours.evens = _mm256_broadcastsi128_si256(colour);
    colours.odds = colours.evens;
    colours.step2 = colours.step8 = _mm256_setzero_si256();
    // Without Gouraud shading every pixel has the first one's colour.
    colours.flat = _mm256_or_si256(ClampColours(colours.evens, colours.evens), shared.diffuseForce);
    if (Gouraud)
    {
        const __m128i colourStep =
            _mm_set_epi32(span.colourStep[0], span.colourStep[1], span.colourStep[2], span.colourStep[3]);
        const __m256i step = _mm256_broadcastsi128_si256(colourStep);
        // Pixels 0 and 4, then 1 and 5; 32-bit arithmetic wraps exactly as the checked values do.
        colours.evens = _mm256_add_epi32(colours.evens,
                                         _mm256_inserti128_si256(_mm256_setzero_si256(), _mm_slli_epi32(colourStep, 2), 1));
        colours.odds = _mm256_add_epi32(colours.evens, step);
        colours.step2 = _mm256_slli_epi32(step, 1);
        colours.step8 = _mm256_slli_epi32(step, 3);
    }

    const bool direct = Textured && !Wrap && IsDirectSpan<Linear>(setup, span);
    SDirectWalk& walk = shared.walk;
    if (direct && (span.sStep != shared.walkSStep || span.tStep != shared.walkTStep))
    {
        // The steps of one triangle's spans are the same: made once for it.
        shared.walkSStep = span.sStep;
        shared.walkTStep = span.tStep;
        walk.sStep = _mm256_set1_epi32(static_cast<int>(span.sStep));
        walk.tStep = _mm256_set1_epi32(static_cast<int>(span.tStep));
        walk.sOffsets = _mm256_mullo_epi32(shared.lanes, walk.sStep);
        walk.tOffsets = _mm256_mullo_epi32(shared.lanes, walk.tStep);
    }
    if constexpr (Textured && Linear && !Wrap)
    {
        // A direct span's left texel columns lie from firstRowStart to lastRowStart + 14, so
        // the 16 columns loaded from min(lowest, lastRowStart) hold the texels of eight
        // pixels at most two texels apart (seven steps reach at most 14 columns further).
        if (direct && span.tStep == 0 && span.sStep <= 2 * 65536 && span.sStep >= -2 * 65536 &&
            walk.lastRowStart >= walk.firstRowStart)
        {
            DrawGroups<true, Textured, Linear, Wrap, Gouraud, Blend, AlphaTest, Depth>(context, shared, span,
                                                                                      colours, direct);
            return;
        }
    }
    DrawGroups<false, Textured, Linear, Wrap, Gouraud, Blend, AlphaTest, Depth>(context, shared, span, colours,
                                                                               direct);
}


template <bool Textured, bool Linear, bool Wrap, bool Gouraud, int Blend, bool AlphaTest, bool Depth>
SOFT_AVX2 void FastLoopAvx2(const SSpanContext& context, const SSpan* spans, int count)
{
    const SFastPlan& plan = context.fast;
    SAvx2Setup shared;
    shared.textureForce = _mm256_cvtepu8_epi16(_mm_set1_epi32(static_cast<int>(plan.textureForce)));
    shared.diffuseForce = _mm256_cvtepu8_epi16(_mm_set1_epi32(static_cast<int>(plan.diffuseForce)));
    shared.alphaLow = _mm256_set1_epi16(plan.alphaLow);
    shared.alphaHigh = _mm256_set1_epi16(plan.alphaHigh);
    shared.alphaInvert = _mm256_set1_epi16(plan.alphaInvert ? -1 : 0);
    shared.lanes = _mm256_setr_epi32(0, 1, 2, 3, 4, 5, 6, 7);
    shared.laneBits = _mm256_setr_epi32(1, 2, 4, 8, 16, 32, 64, 128);
    // Steps no span has: the first direct span makes the walk.
    shared.walkSStep = INT64_MIN;
    shared.walkTStep = INT64_MIN;
    shared.walk.sStep = shared.walk.tStep = shared.walk.sOffsets = shared.walk.tOffsets = _mm256_setzero_si256();
    shared.walk.pitch = _mm256_set1_epi32(context.sampler.pitch);
    shared.walk.firstRowStart = context.sampler.bordered ? -1 : 0;
    shared.walk.lastRowStart = context.sampler.width - 16 + (context.sampler.bordered ? 1 : 0);
    for (int i = 0; i < count; ++i)
    {
        // The next row's pixels are on their way while this row is shaded.
        if (i + 1 < count)
        {
            const SSpan& next = spans[i + 1];
            _mm_prefetch(reinterpret_cast<const char*>(next.colourOut), _MM_HINT_T0);
            _mm_prefetch(reinterpret_cast<const char*>(next.colourOut + next.count - 1), _MM_HINT_T0);
        }
        DrawSpanAvx2<Textured, Linear, Wrap, Gouraud, Blend, AlphaTest, Depth>(context, shared, spans[i]);
    }
}

template <bool Textured, bool Linear, bool Wrap, bool Gouraud, int Blend, bool AlphaTest, bool Depth>
struct SAvx2Loop
{
    static void Draw(const SSpanContext& context, const SSpan* spans, int count)
    {
        FastLoopAvx2<Textured, Linear, Wrap, Gouraud, Blend, AlphaTest, Depth>(context, spans, count);
    }
};
}  // namespace

FastSpanLoop softspan::PickAvx2Loop(bool textured, bool linear, bool wrap, bool gouraud, int blend, bool alphaTest,
                                    bool depth)
{
    return PickFastLoop<SAvx2Loop>(textured, linear, wrap, gouraud, blend, alphaTest, depth);
}

#else

FastSpanLoop softspan::PickAvx2Loop(bool, bool, bool, bool, int, bool, bool)
{
    return nullptr;
}

#endif
