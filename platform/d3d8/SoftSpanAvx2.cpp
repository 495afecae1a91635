// AVX2 span loops for the states of SoftSpanFast.cpp, eight pixels a step: the colour
// channels of four pixels fill the 16-bit lanes of one register, so bilinear weights,
// modulation and blending run on four pixels at once with the same integer formulas as
// the reference loop, and give exactly its pixels. Spans whose texels need no clamping
// take them from two loads per texel row where eight pixels read at most 16 texels of one
// row (sprites drawn about their own size), else with gathers; clamped or wrapped spans
// fetch them one by one as the SSE2 loops do. Only this file's own functions use AVX2, and
// the plan picks them only where the processor has it.

#include "platform/d3d8/SoftSpanTaps.h"

#if (defined(__x86_64__) || defined(__i386__)) && defined(__GNUC__)

#include <immintrin.h>

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

// Four 32-bit weights (below 256) times 128 spread over the four channel lanes of their pixels.
SOFT_AVX2_INLINE __m256i SpreadWeights128(__m128i weights)
{
    const __m256i pattern = _mm256_setr_epi8(0, 1, 0, 1, 0, 1, 0, 1, 8, 9, 8, 9, 8, 9, 8, 9, 0, 1, 0, 1, 0, 1, 0, 1, 8,
                                             9, 8, 9, 8, 9, 8, 9);
    return _mm256_shuffle_epi8(_mm256_cvtepu32_epi64(_mm_slli_epi32(weights, 7)), pattern);
}

// Each pixel's alpha lane copied to its four lanes.
SOFT_AVX2_INLINE __m256i SpreadAlpha(__m256i pixels)
{
    return _mm256_shufflehi_epi16(_mm256_shufflelo_epi16(pixels, _MM_SHUFFLE(3, 3, 3, 3)), _MM_SHUFFLE(3, 3, 3, 3));
}

// Two halves of four pixels each on 16-bit lanes as eight packed pixels, in order.
SOFT_AVX2_INLINE __m256i PackPixels(__m256i first, __m256i second)
{
    return _mm256_permute4x64_epi64(_mm256_packus_epi16(first, second), _MM_SHUFFLE(3, 1, 2, 0));
}

// The same for masks of 0 or all ones per lane.
SOFT_AVX2_INLINE __m256i PackMasks(__m256i first, __m256i second)
{
    return _mm256_permute4x64_epi64(_mm256_packs_epi16(first, second), _MM_SHUFFLE(3, 1, 2, 0));
}

// The texels of eight pixels, four to a register: for half h, taps[h] holds pixels
// 4h to 4h + 3.
struct SGroupTaps
{
    __m128i c00[2];
    __m128i c10[2];
    __m128i c01[2];
    __m128i c11[2];
    __m128i fx[2];
    __m128i fy[2];
};

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
        fx[i] = taps.fx;
        fy[i] = taps.fy;
    }
    for (int h = 0; h < 2; ++h)
    {
        group.c00[h] = _mm_load_si128(reinterpret_cast<const __m128i*>(c00 + 4 * h));
        group.c10[h] = _mm_load_si128(reinterpret_cast<const __m128i*>(c10 + 4 * h));
        group.c01[h] = _mm_load_si128(reinterpret_cast<const __m128i*>(c01 + 4 * h));
        group.c11[h] = _mm_load_si128(reinterpret_cast<const __m128i*>(c11 + 4 * h));
        group.fx[h] = _mm_load_si128(reinterpret_cast<const __m128i*>(fx + 4 * h));
        group.fy[h] = _mm_load_si128(reinterpret_cast<const __m128i*>(fy + 4 * h));
    }
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

// Eight pixels' taps by gathers: a texel and its right neighbour are one 64-bit load.
// sOffsets and tOffsets place the pixels from the first one.
template <bool Linear>
SOFT_AVX2_INLINE void GatherDirect(const SSampler& sampler, const SDirectWalk& walk, __m256i sOffsets,
                                   __m256i tOffsets, int64_t s, int64_t t, SGroupTaps& group)
{
    const int offset = Linear ? 32768 : 0;
    const __m256i ss = _mm256_add_epi32(_mm256_set1_epi32(static_cast<int>(s) - offset), sOffsets);
    const __m256i tt = _mm256_add_epi32(_mm256_set1_epi32(static_cast<int>(t) - offset), tOffsets);
    const __m256i index =
        _mm256_add_epi32(_mm256_mullo_epi32(_mm256_srai_epi32(tt, 16), walk.pitch), _mm256_srai_epi32(ss, 16));
    if (!Linear)
    {
        const __m256i texels = _mm256_i32gather_epi32(reinterpret_cast<const int*>(sampler.texels), index, 4);
        group.c00[0] = _mm256_castsi256_si128(texels);
        group.c00[1] = _mm256_extracti128_si256(texels, 1);
        return;
    }
    const __m256i mask = _mm256_set1_epi32(0xFF);
    const __m256i fx = _mm256_and_si256(_mm256_srli_epi32(ss, 8), mask);
    const __m256i fy = _mm256_and_si256(_mm256_srli_epi32(tt, 8), mask);
    const __m256i u = _mm256_srai_epi32(ss, 16);
    const __m256i v = _mm256_srai_epi32(tt, 16);
    const int u0 = _mm256_cvtsi256_si32(u);
    const int u7 = _mm256_extract_epi32(u, 7);
    const int base = u0 < u7 ? u0 : u7;
    if (_mm256_cvtsi256_si32(v) == _mm256_extract_epi32(v, 7) && (u7 - u0 <= 14 && u0 - u7 <= 14) &&
        base >= walk.firstRowStart && base <= walk.lastRowStart)
    {
        // One row pair and at most 16 columns (magnified, or shrunk by up to 2): two loads
        // per row, and each pixel's texels picked from them.
        const uint32_t* top = sampler.texels + static_cast<ptrdiff_t>(_mm256_cvtsi256_si32(v)) * sampler.pitch + base;
        const __m256i left = _mm256_sub_epi32(u, _mm256_set1_epi32(base));
        const __m256i right = _mm256_add_epi32(left, _mm256_set1_epi32(1));
        const __m256i seven = _mm256_set1_epi32(7);
        const __m256i leftHigh = _mm256_cmpgt_epi32(left, seven);
        const __m256i rightHigh = _mm256_cmpgt_epi32(right, seven);
        for (int row = 0; row < 2; ++row)
        {
            const uint32_t* texels = top + (row ? sampler.pitch : 0);
            const __m256i low = _mm256_loadu_si256(reinterpret_cast<const __m256i*>(texels));
            const __m256i high = _mm256_loadu_si256(reinterpret_cast<const __m256i*>(texels + 8));
            const __m256i first = _mm256_blendv_epi8(_mm256_permutevar8x32_epi32(low, left),
                                                     _mm256_permutevar8x32_epi32(high, left), leftHigh);
            const __m256i second = _mm256_blendv_epi8(_mm256_permutevar8x32_epi32(low, right),
                                                      _mm256_permutevar8x32_epi32(high, right), rightHigh);
            (row ? group.c01 : group.c00)[0] = _mm256_castsi256_si128(first);
            (row ? group.c01 : group.c00)[1] = _mm256_extracti128_si256(first, 1);
            (row ? group.c11 : group.c10)[0] = _mm256_castsi256_si128(second);
            (row ? group.c11 : group.c10)[1] = _mm256_extracti128_si256(second, 1);
        }
        group.fx[0] = _mm256_castsi256_si128(fx);
        group.fx[1] = _mm256_extracti128_si256(fx, 1);
        group.fy[0] = _mm256_castsi256_si128(fy);
        group.fy[1] = _mm256_extracti128_si256(fy, 1);
        return;
    }
    const long long* row0 = reinterpret_cast<const long long*>(sampler.texels);
    const long long* row1 = reinterpret_cast<const long long*>(sampler.texels + sampler.pitch);
    // [c00 c10] pairs to [c00 c00 c00 c00 | c10 c10 c10 c10].
    const __m256i split = _mm256_setr_epi32(0, 2, 4, 6, 1, 3, 5, 7);
    for (int h = 0; h < 2; ++h)
    {
        const __m128i quarter = h == 0 ? _mm256_castsi256_si128(index) : _mm256_extracti128_si256(index, 1);
        const __m256i top = _mm256_permutevar8x32_epi32(_mm256_i32gather_epi64(row0, quarter, 4), split);
        const __m256i bottom = _mm256_permutevar8x32_epi32(_mm256_i32gather_epi64(row1, quarter, 4), split);
        group.c00[h] = _mm256_castsi256_si128(top);
        group.c10[h] = _mm256_extracti128_si256(top, 1);
        group.c01[h] = _mm256_castsi256_si128(bottom);
        group.c11[h] = _mm256_extracti128_si256(bottom, 1);
        group.fx[h] = h == 0 ? _mm256_castsi256_si128(fx) : _mm256_extracti128_si256(fx, 1);
        group.fy[h] = h == 0 ? _mm256_castsi256_si128(fy) : _mm256_extracti128_si256(fy, 1);
    }
}

// True when every texel the eight pixels sample has alpha 0.
template <bool Linear>
SOFT_AVX2_INLINE bool IsGroupTransparent(const SGroupTaps& group)
{
    __m128i any = _mm_or_si128(group.c00[0], group.c00[1]);
    if (Linear)
        any = _mm_or_si128(any, _mm_or_si128(_mm_or_si128(group.c10[0], group.c10[1]),
                                             _mm_or_si128(_mm_or_si128(group.c01[0], group.c01[1]),
                                                          _mm_or_si128(group.c11[0], group.c11[1]))));
    return _mm_testz_si128(any, _mm_set1_epi32(static_cast<int>(0xFF000000u))) != 0;
}

// The filtered texels of one half on 16-bit lanes, with the forced channels at 255.
template <bool Textured, bool Linear>
SOFT_AVX2_INLINE __m256i FilterHalf(const SGroupTaps& group, int h, __m256i forced)
{
    if (!Textured)
        return _mm256_set1_epi16(255);
    const __m256i c00 = _mm256_cvtepu8_epi16(group.c00[h]);
    if (!Linear)
        return _mm256_or_si256(c00, forced);
    const __m256i wx = SpreadWeights128(group.fx[h]);
    const __m256i top = Lerp(c00, _mm256_cvtepu8_epi16(group.c10[h]), wx);
    const __m256i bottom = Lerp(_mm256_cvtepu8_epi16(group.c01[h]), _mm256_cvtepu8_epi16(group.c11[h]), wx);
    // Forcing a channel to 255 after filtering equals filtering texels whose channel is 255.
    return _mm256_or_si256(Lerp(top, bottom, SpreadWeights128(group.fy[h])), forced);
}

// Clamped diffuse colours of four pixels from [a, b] colour words of pixels (k, k + 2) and
// (k + 1, k + 3), as ClampChannel.
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

template <bool Textured, bool Linear, bool Wrap, bool Gouraud, int Blend, bool AlphaTest, bool Depth>
SOFT_AVX2_INLINE void DrawSpanAvx2(const SSpanContext& context, SAvx2Setup& shared, const SSpan& span)
{
    const SFastPlan& setup = context.fast;
    const SSampler& sampler = context.sampler;

    // Colours as words [b, g, r, a] in each 128-bit lane: pixel k in the low lane and k + 2
    // in the high one (and k + 1, k + 3 beside them), so that packing keeps pixel order.
    const __m128i colour = _mm_set_epi32(span.colour[0], span.colour[1], span.colour[2], span.colour[3]);
    __m256i evens = _mm256_broadcastsi128_si256(colour);
    __m256i odds = evens;
    __m256i step4 = _mm256_setzero_si256();
    if (Gouraud)
    {
        const __m128i colourStep =
            _mm_set_epi32(span.colourStep[0], span.colourStep[1], span.colourStep[2], span.colourStep[3]);
        const __m256i step = _mm256_broadcastsi128_si256(colourStep);
        // Steps of 1, 2 and 4 pixels; 32-bit arithmetic wraps exactly as the checked values do.
        evens = _mm256_add_epi32(evens, _mm256_inserti128_si256(_mm256_setzero_si256(), _mm_slli_epi32(colourStep, 1), 1));
        odds = _mm256_add_epi32(evens, step);
        step4 = _mm256_slli_epi32(step, 2);
    }
    // Without Gouraud shading all four pixels have the first one's colour.
    const __m256i diffuse = _mm256_or_si256(ClampColours(evens, evens), shared.diffuseForce);

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
    const SCompareMask& depthCompare = setup.depthCompare;
    const uint32_t depthWrite = context.state->zWrite ? 1 : 0;

    int64_t s = span.s;
    int64_t t = span.t;
    int64_t z = span.z;
    for (int i = 0; i < span.count; i += kStep)
    {
        const int count = span.count - i < kStep ? span.count - i : kStep;
        // Lanes past the span's end: masked out of loads and stores.
        const __m256i live = _mm256_cmpgt_epi32(_mm256_set1_epi32(count), shared.lanes);
        SGroupTaps group;
        if (Textured)
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
        const __m256i colourEvens = evens;
        const __m256i colourOdds = odds;
        s += span.sStep * kStep;
        t += span.tStep * kStep;
        evens = _mm256_add_epi32(evens, _mm256_slli_epi32(step4, 1));
        odds = _mm256_add_epi32(odds, _mm256_slli_epi32(step4, 1));
        if (Textured && setup.skipTransparent && IsGroupTransparent<Linear>(group))
        {
            z += span.zStep * kStep;
            continue;
        }

        uint32_t* out = span.colourOut + i;
        const __m256i destinations = count == kStep
                                         ? _mm256_loadu_si256(reinterpret_cast<const __m256i*>(out))
                                         : _mm256_maskload_epi32(reinterpret_cast<const int*>(out), live);

        __m256i source[2];
        __m256i pass[2];
        for (int h = 0; h < 2; ++h)
        {
            __m256i diffuseHalf = diffuse;
            if (Gouraud)
            {
                const __m256i evensHalf = h == 0 ? colourEvens : _mm256_add_epi32(colourEvens, step4);
                const __m256i oddsHalf = h == 0 ? colourOdds : _mm256_add_epi32(colourOdds, step4);
                diffuseHalf = _mm256_or_si256(ClampColours(evensHalf, oddsHalf), shared.diffuseForce);
            }
            source[h] = Mul255x16(FilterHalf<Textured, Linear>(group, h, shared.textureForce), diffuseHalf);
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
                const __m128i quarter =
                    h == 0 ? _mm256_castsi256_si128(destinations) : _mm256_extracti128_si256(destinations, 1);
                const __m256i dest = _mm256_cvtepu8_epi16(quarter);
                const __m256i inverse = _mm256_sub_epi16(_mm256_set1_epi16(255), alpha);
                source[h] = _mm256_adds_epu16(Mul255x16(source[h], alpha), Mul255x16(dest, inverse));
            }
        }
        __m256i packed = PackPixels(source[0], source[1]);
        if (Blend == BlendAdd)
            packed = _mm256_adds_epu8(packed, destinations);
        __m256i passes = PackMasks(pass[0], pass[1]);
        if (Depth)
        {
            // Depth in order, pixel by pixel, where the alpha test let the pixel through.
            const uint32_t alphaBits = static_cast<uint32_t>(_mm256_movemask_ps(_mm256_castsi256_ps(passes)));
            uint32_t* depthOut = span.depthOut + i;
            uint32_t depthBits = 0;
            for (int k = 0; k < count; ++k, z += span.zStep)
            {
                const uint32_t depth = QuantizeDepthFixed(z, context.depthBits);
                const uint32_t stored = depthOut[k];
                const uint32_t passed = ((alphaBits >> k) & 1) & depthCompare.Passes(depth, stored);
                depthOut[k] = (passed & depthWrite) ? depth : stored;
                depthBits |= passed << k;
            }
            z += span.zStep * (kStep - count);
            const __m256i bits = _mm256_set1_epi32(static_cast<int>(depthBits));
            passes = _mm256_cmpeq_epi32(_mm256_and_si256(bits, shared.laneBits), shared.laneBits);
        }
        const __m256i result = _mm256_blendv_epi8(destinations, packed, passes);
        if (count == kStep)
            _mm256_storeu_si256(reinterpret_cast<__m256i*>(out), result);
        else
            _mm256_maskstore_epi32(reinterpret_cast<int*>(out), live, result);
    }
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
