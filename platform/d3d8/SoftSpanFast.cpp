// Span loops specialised for the states the game draws most: stage 0 modulating (or
// selecting) texture and diffuse, point or bilinear sampling with clamp or wrap on either axis,
// no blending, source-alpha blending or additive blending, with or without alpha and depth
// tests. They use SSE2 for the colour arithmetic and must give exactly the pixels of
// DrawSpanReference; any other state takes the reference loop.

#include "platform/d3d8/SoftSpan.h"

#if defined(__SSE2__)

#include <emmintrin.h>

#include <algorithm>
#include <cstddef>
#include <cstdint>
#include <limits>

// The per-pixel helpers must fold into the loops that call them.
#if defined(__GNUC__)
#define SOFT_PIXEL_INLINE inline __attribute__((always_inline))
#else
#define SOFT_PIXEL_INLINE inline
#endif

namespace
{
enum EBlendKind
{
    BlendNone,
    BlendSourceAlpha,  // source alpha, inverse source alpha
    BlendAdd,          // one, one
};

// (a * b + 128 + ((a * b + 128) >> 8)) >> 8 on 16-bit lanes: a * b / 255 rounded.
SOFT_PIXEL_INLINE __m128i Mul255x8(__m128i a, __m128i b)
{
    const __m128i t = _mm_add_epi16(_mm_mullo_epi16(a, b), _mm_set1_epi16(128));
    return _mm_srli_epi16(_mm_add_epi16(t, _mm_srli_epi16(t, 8)), 8);
}

// [256 - f, 256 - f, 256 - f, 256 - f, f, f, f, f] as 16-bit lanes.
SOFT_PIXEL_INLINE __m128i LerpWeights(uint32_t f)
{
    const __m128i weight = _mm_set1_epi16(static_cast<short>(f));
    return _mm_unpacklo_epi64(_mm_sub_epi16(_mm_set1_epi16(256), weight), weight);
}

// Bilinear filter of four texels with 8-bit weights, rows first, on the low four 16-bit
// lanes: per channel (a * (256 - f) + b * f) >> 8, exactly as LerpTexel.
SOFT_PIXEL_INLINE __m128i Bilinear(uint32_t c00, uint32_t c10, uint32_t c01, uint32_t c11, uint32_t fx, uint32_t fy)
{
    const __m128i zero = _mm_setzero_si128();
    // left = [c00 | c01], right = [c10 | c11]
    const __m128i left = _mm_unpacklo_epi8(_mm_unpacklo_epi32(_mm_cvtsi32_si128(static_cast<int>(c00)),
                                                              _mm_cvtsi32_si128(static_cast<int>(c01))),
                                           zero);
    const __m128i right = _mm_unpacklo_epi8(_mm_unpacklo_epi32(_mm_cvtsi32_si128(static_cast<int>(c10)),
                                                               _mm_cvtsi32_si128(static_cast<int>(c11))),
                                            zero);
    const __m128i wx = _mm_set1_epi16(static_cast<short>(fx));
    const __m128i ix = _mm_sub_epi16(_mm_set1_epi16(256), wx);
    // rows = [top | bottom]
    const __m128i rows =
        _mm_srli_epi16(_mm_add_epi16(_mm_mullo_epi16(left, ix), _mm_mullo_epi16(right, wx)), 8);
    const __m128i products = _mm_mullo_epi16(rows, LerpWeights(fy));
    return _mm_srli_epi16(_mm_add_epi16(products, _mm_srli_si128(products, 8)), 8);
}

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
// their border, if any) can be read without clamping.
template <bool Linear>
bool IsDirectSpan(const SSampler& sampler, const SSpan& span)
{
    const int64_t offset = Linear ? 32768 : 0;
    const int64_t lowest = Linear && sampler.bordered ? -1 : 0;
    const int64_t extra = Linear && !sampler.bordered ? 1 : 0;
    const int64_t last = span.count - 1;
    const int64_t s0 = (span.s - offset) >> 16;
    const int64_t s1 = (span.s + span.sStep * last - offset) >> 16;
    const int64_t t0 = (span.t - offset) >> 16;
    const int64_t t1 = (span.t + span.tStep * last - offset) >> 16;
    return std::min(s0, s1) >= lowest && std::max(s0, s1) + extra <= sampler.width - 1 &&
           std::min(t0, t1) >= lowest && std::max(t0, t1) + extra <= sampler.height - 1;
}

// True when every texel the pixel samples has alpha 0, so the filtered alpha is 0.
template <bool Linear>
SOFT_PIXEL_INLINE bool IsTransparent(const STaps& taps)
{
    return ((Linear ? (taps.c00 | taps.c10 | taps.c01 | taps.c11) : taps.c00) >> 24) == 0;
}

// The filtered texel on 16-bit lanes [b, g, r, a], with the forced channels at 255.
template <bool Textured, bool Linear>
SOFT_PIXEL_INLINE __m128i FilterTaps(const STaps& taps, uint32_t force)
{
    if (!Textured)
        return _mm_set1_epi16(255);
    const __m128i forced = _mm_unpacklo_epi8(_mm_cvtsi32_si128(static_cast<int>(force)), _mm_setzero_si128());
    if (!Linear)
        return _mm_or_si128(_mm_unpacklo_epi8(_mm_cvtsi32_si128(static_cast<int>(taps.c00)), _mm_setzero_si128()),
                            forced);
    // Forcing a channel to 255 after filtering equals filtering texels whose channel is 255.
    return _mm_or_si128(Bilinear(taps.c00, taps.c10, taps.c01, taps.c11, taps.fx, taps.fy), forced);
}

template <bool Textured, bool Linear, bool Wrap, bool Gouraud, int Blend, bool AlphaTest, bool Depth>
void FastLoop(const SSpanContext& context, const SSpan& span)
{
    const SFastPlan& setup = context.fast;
    const SRasterState& state = *context.state;
    const SSampler& sampler = context.sampler;
    const __m128i zero = _mm_setzero_si128();
    const __m128i diffuseForce = _mm_unpacklo_epi8(_mm_cvtsi32_si128(static_cast<int>(setup.diffuseForce)), zero);
    __m128i colour = _mm_set_epi32(span.colour[0], span.colour[1], span.colour[2], span.colour[3]);
    const __m128i colourStep =
        _mm_set_epi32(span.colourStep[0], span.colourStep[1], span.colourStep[2], span.colourStep[3]);
    __m128i diffuse = zero;
    if (!Gouraud)
    {
        const __m128i words = _mm_packs_epi32(_mm_srai_epi32(colour, 16), zero);
        diffuse = _mm_or_si128(_mm_unpacklo_epi8(_mm_packus_epi16(words, zero), zero), diffuseForce);
    }
    int64_t s = span.s;
    int64_t t = span.t;
    int64_t z = span.z;
    uint32_t* out = span.colourOut;
    uint32_t* depthOut = span.depthOut;
    const bool direct = Textured && !Wrap && IsDirectSpan<Linear>(sampler, span);
    const SCompareMask& depthCompare = setup.depthCompare;
    const uint32_t depthWrite = state.zWrite ? 1 : 0;
    const bool skipTransparent = setup.skipTransparent;

    // Two pixels at a time: their texels side by side in one register for the arithmetic.
    const __m128i diffuseForcePair = _mm_unpacklo_epi64(diffuseForce, diffuseForce);
    int i = 0;
    for (; i + 1 < span.count; i += 2)
    {
        __m128i diffusePair;
        if (Gouraud)
        {
            const __m128i next = _mm_add_epi32(colour, colourStep);
            const __m128i words = _mm_packs_epi32(_mm_srai_epi32(colour, 16), _mm_srai_epi32(next, 16));
            diffusePair = _mm_or_si128(_mm_unpacklo_epi8(_mm_packus_epi16(words, zero), zero), diffuseForcePair);
            colour = _mm_add_epi32(next, colourStep);
        }
        else
        {
            diffusePair = _mm_unpacklo_epi64(diffuse, diffuse);
        }
        const STaps tapsA = FetchTaps<Textured, Linear, Wrap>(sampler, s, t, direct);
        s += span.sStep;
        t += span.tStep;
        const STaps tapsB = FetchTaps<Textured, Linear, Wrap>(sampler, s, t, direct);
        s += span.sStep;
        t += span.tStep;
        if (skipTransparent && IsTransparent<Linear>(tapsA) && IsTransparent<Linear>(tapsB))
        {
            z += 2 * span.zStep;
            continue;
        }
        const __m128i texelA = FilterTaps<Textured, Linear>(tapsA, setup.textureForce);
        const __m128i texelB = FilterTaps<Textured, Linear>(tapsB, setup.textureForce);
        __m128i source = Mul255x8(_mm_unpacklo_epi64(texelA, texelB), diffusePair);

        uint32_t passA = 1;
        uint32_t passB = 1;
        if (AlphaTest)
        {
            passA = setup.alphaPasses[_mm_extract_epi16(source, 3)];
            passB = setup.alphaPasses[_mm_extract_epi16(source, 7)];
        }
        if (Depth)
        {
            const uint32_t depthA = QuantizeDepthFixed(z, context.depthBits);
            z += span.zStep;
            const uint32_t depthB = QuantizeDepthFixed(z, context.depthBits);
            z += span.zStep;
            const uint32_t storedA = depthOut[i];
            const uint32_t storedB = depthOut[i + 1];
            passA &= depthCompare.Passes(depthA, storedA);
            passB &= depthCompare.Passes(depthB, storedB);
            depthOut[i] = (passA & depthWrite) ? depthA : storedA;
            depthOut[i + 1] = (passB & depthWrite) ? depthB : storedB;
        }
        const uint32_t destinationA = out[i];
        const uint32_t destinationB = out[i + 1];
        const __m128i destinations = _mm_loadl_epi64(reinterpret_cast<const __m128i*>(out + i));
        if (Blend == BlendSourceAlpha)
        {
            const __m128i alpha =
                _mm_shufflehi_epi16(_mm_shufflelo_epi16(source, _MM_SHUFFLE(3, 3, 3, 3)), _MM_SHUFFLE(3, 3, 3, 3));
            const __m128i dest = _mm_unpacklo_epi8(destinations, zero);
            const __m128i inverse = _mm_sub_epi16(_mm_set1_epi16(255), alpha);
            source = _mm_adds_epu16(Mul255x8(source, alpha), Mul255x8(dest, inverse));
        }
        __m128i packed = _mm_packus_epi16(source, zero);
        if (Blend == BlendAdd)
            packed = _mm_adds_epu8(packed, destinations);
        const uint32_t resultA = static_cast<uint32_t>(_mm_cvtsi128_si32(packed));
        const uint32_t resultB = static_cast<uint32_t>(_mm_cvtsi128_si32(_mm_srli_si128(packed, 4)));
        out[i] = passA ? resultA : destinationA;
        out[i + 1] = passB ? resultB : destinationB;
    }

    for (; i < span.count; ++i)
    {
        if (Gouraud)
        {
            const __m128i words = _mm_packs_epi32(_mm_srai_epi32(colour, 16), zero);
            diffuse = _mm_or_si128(_mm_unpacklo_epi8(_mm_packus_epi16(words, zero), zero), diffuseForce);
            colour = _mm_add_epi32(colour, colourStep);
        }
        const __m128i texel =
            FilterTaps<Textured, Linear>(FetchTaps<Textured, Linear, Wrap>(sampler, s, t, direct), setup.textureForce);
        s += span.sStep;
        t += span.tStep;
        __m128i source = Mul255x8(texel, diffuse);

        // Pixels failing a test are written back unchanged rather than skipped: no branch.
        uint32_t pass = 1;
        if (AlphaTest)
            pass = setup.alphaPasses[_mm_extract_epi16(source, 3)];
        if (Depth)
        {
            const uint32_t depth = QuantizeDepthFixed(z, context.depthBits);
            z += span.zStep;
            const uint32_t stored = depthOut[i];
            pass &= depthCompare.Passes(depth, stored);
            depthOut[i] = (pass & depthWrite) ? depth : stored;
        }
        const uint32_t destination = out[i];
        if (Blend == BlendSourceAlpha)
        {
            const __m128i alpha = _mm_shufflelo_epi16(source, _MM_SHUFFLE(3, 3, 3, 3));
            const __m128i dest = _mm_unpacklo_epi8(_mm_cvtsi32_si128(static_cast<int>(destination)), zero);
            const __m128i inverse = _mm_sub_epi16(_mm_set1_epi16(255), alpha);
            source = _mm_adds_epu16(Mul255x8(source, alpha), Mul255x8(dest, inverse));
        }
        __m128i packed = _mm_packus_epi16(source, zero);
        if (Blend == BlendAdd)
            packed = _mm_adds_epu8(packed, _mm_cvtsi32_si128(static_cast<int>(destination)));
        const uint32_t result = static_cast<uint32_t>(_mm_cvtsi128_si32(packed));
        out[i] = pass ? result : destination;
    }
}

using FastLoopFunction = FastSpanLoop;

template <bool Textured, bool Linear, bool Wrap, bool Gouraud, int Blend, bool AlphaTest>
FastLoopFunction PickDepth(bool depth)
{
    return depth ? &FastLoop<Textured, Linear, Wrap, Gouraud, Blend, AlphaTest, true>
                 : &FastLoop<Textured, Linear, Wrap, Gouraud, Blend, AlphaTest, false>;
}

template <bool Textured, bool Linear, bool Wrap, bool Gouraud, int Blend>
FastLoopFunction PickAlphaTest(bool alphaTest, bool depth)
{
    return alphaTest ? PickDepth<Textured, Linear, Wrap, Gouraud, Blend, true>(depth)
                     : PickDepth<Textured, Linear, Wrap, Gouraud, Blend, false>(depth);
}

template <bool Textured, bool Linear, bool Wrap, bool Gouraud>
FastLoopFunction PickBlend(int blend, bool alphaTest, bool depth)
{
    switch (blend)
    {
    case BlendSourceAlpha:
        return PickAlphaTest<Textured, Linear, Wrap, Gouraud, BlendSourceAlpha>(alphaTest, depth);
    case BlendAdd:
        return PickAlphaTest<Textured, Linear, Wrap, Gouraud, BlendAdd>(alphaTest, depth);
    default:
        return PickAlphaTest<Textured, Linear, Wrap, Gouraud, BlendNone>(alphaTest, depth);
    }
}

template <bool Textured, bool Linear, bool Wrap>
FastLoopFunction PickGouraud(bool gouraud, int blend, bool alphaTest, bool depth)
{
    return gouraud ? PickBlend<Textured, Linear, Wrap, true>(blend, alphaTest, depth)
                   : PickBlend<Textured, Linear, Wrap, false>(blend, alphaTest, depth);
}

FastLoopFunction PickLoop(bool textured, bool linear, bool wrap, bool gouraud, int blend, bool alphaTest,
                          bool depth)
{
    if (!textured)
        return PickGouraud<false, false, false>(gouraud, blend, alphaTest, depth);
    if (linear)
        return wrap ? PickGouraud<true, true, true>(gouraud, blend, alphaTest, depth)
                    : PickGouraud<true, true, false>(gouraud, blend, alphaTest, depth);
    return wrap ? PickGouraud<true, false, true>(gouraud, blend, alphaTest, depth)
                : PickGouraud<true, false, false>(gouraud, blend, alphaTest, depth);
}

// The channel masks that turn the stage's combine into texel x diffuse; false when the
// combine is not of that shape (texture x texture, diffuse x diffuse).
bool CombineMasks(const SRasterCombine& combine, uint32_t channels, uint32_t& textureForce,
                  uint32_t& diffuseForce)
{
    if (combine.op == SRasterCombine::Modulate)
    {
        if (combine.aIsTexture == combine.bIsTexture)
            return false;
        return true;
    }
    if (combine.aIsTexture)
        diffuseForce |= channels;
    else
        textureForce |= channels;
    return true;
}

bool FitsInt32(int64_t start, int64_t step, int count)
{
    const int64_t end = start + step * (count - 1);
    const int64_t limit = std::numeric_limits<int32_t>::max();
    return start > -limit && start < limit && end > -limit && end < limit;
}
}  // namespace

void PlanFastLoops(SSpanContext& context)
{
    const SRasterState& state = *context.state;
    SFastPlan plan;
    if (!CombineMasks(state.colour, 0x00FFFFFFu, plan.textureForce, plan.diffuseForce) ||
        !CombineMasks(state.alpha, 0xFF000000u, plan.textureForce, plan.diffuseForce))
        return;

    int blend = BlendNone;
    if (state.blend)
    {
        if (state.srcBlend == SOFT_BLEND_SRCALPHA && state.dstBlend == SOFT_BLEND_INVSRCALPHA)
            blend = BlendSourceAlpha;
        else if (state.srcBlend == SOFT_BLEND_ONE && state.dstBlend == SOFT_BLEND_ONE)
            blend = BlendAdd;
        else if (!(state.srcBlend == SOFT_BLEND_ONE && state.dstBlend == SOFT_BLEND_ZERO))
            return;
    }

    const SSampler& sampler = context.sampler;
    const bool textured = sampler.texels != nullptr && plan.textureForce != 0xFFFFFFFFu;
    const bool wrap = sampler.wrapU || sampler.wrapV;
    const bool depth = context.hasDepth && (state.zTest || state.zWrite);
    for (uint32_t alpha = 0; alpha < 256; ++alpha)
        plan.alphaPasses[alpha] = CompareSoft(state.alphaFunc, alpha, state.alphaRef) ? 1 : 0;
    plan.depthCompare = SCompareMask(state.zTest ? state.zFunc : uint32_t{SOFT_CMP_ALWAYS});
    // A source alpha of 0 leaves a pixel as it was when the alpha test then fails, or when it
    // is blended by its alpha without a depth write; texels of alpha 0 give that alpha when the
    // stage takes alpha from the texture.
    const bool alphaFromTexture = textured && (plan.textureForce & 0xFF000000u) == 0;
    const bool unchangedAtZero = (state.alphaTest && plan.alphaPasses[0] == 0) ||
                                 (blend == BlendSourceAlpha && !(depth && state.zWrite));
    plan.skipTransparent = alphaFromTexture && unchangedAtZero;
    for (int linear = 0; linear < 2; ++linear)
        for (int gouraud = 0; gouraud < 2; ++gouraud)
            plan.loops[linear][gouraud] =
                PickLoop(textured, linear != 0, textured && wrap, gouraud != 0, blend, state.alphaTest, depth);
    context.fast = plan;
}

bool DrawSpanFast(const SSpanContext& context, bool linear, const SSpan& span)
{
    if (context.fast.loops[0][0] == nullptr)
        return false;
    bool gouraud = span.gouraud;
    if (!span.colourChecked)
    {
        gouraud = false;
        for (int c = 0; c < 4; ++c)
        {
            if (!FitsInt32(span.colour[c], span.colourStep[c], span.count))
                return false;
            gouraud = gouraud || span.colourStep[c] != 0;
        }
    }
    context.fast.loops[linear ? 1 : 0][gouraud ? 1 : 0](context, span);
    return true;
}

#else

void PlanFastLoops(SSpanContext&)
{
}

bool DrawSpanFast(const SSpanContext&, bool, const SSpan&)
{
    return false;
}

#endif
