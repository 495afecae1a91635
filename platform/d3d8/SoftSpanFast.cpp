// Span loops specialised for the states the game draws most: stage 0 modulating (or
// selecting) texture and diffuse, point or bilinear sampling with clamp or wrap on either axis,
// no blending, source-alpha blending or additive blending, with or without alpha and depth
// tests. They use SSE2 for the colour arithmetic, two pixels a step, and must give exactly
// the pixels of DrawSpanReference; any other state takes the reference loop. Where the
// processor has AVX2, the plan takes the loops of SoftSpanAvx2.cpp instead.

#include "core/CpuInfo.h"
#include "platform/d3d8/SoftSpan.h"
#include "platform/d3d8/SoftSpanTaps.h"

#if defined(__SSE2__)

#include <emmintrin.h>

#include <algorithm>
#include <cstddef>
#include <cstdint>
#include <limits>

namespace
{
using namespace softspan;

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
SOFT_PIXEL_INLINE void FastSpan(const SSpanContext& context, const SSpan& span)
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
    const bool direct = Textured && !Wrap && IsDirectSpan<Linear>(setup, span);
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

template <bool Textured, bool Linear, bool Wrap, bool Gouraud, int Blend, bool AlphaTest, bool Depth>
struct SSse2Loop
{
    static void Draw(const SSpanContext& context, const SSpan* spans, int count)
    {
        for (int i = 0; i < count; ++i)
            FastSpan<Textured, Linear, Wrap, Gouraud, Blend, AlphaTest, Depth>(context, spans[i]);
    }
};

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

// The alpha test's passing values as an interval or the outside of one.
void SetAlphaInterval(SFastPlan& plan)
{
    // The passing values, or else the failing ones, run from `first` to `last`.
    const bool invert = plan.alphaPasses[0] != 0 && plan.alphaPasses[255] != 0 &&
                        std::find(plan.alphaPasses, plan.alphaPasses + 256, 0) != plan.alphaPasses + 256;
    const uint8_t inside = invert ? 0 : 1;
    int first = 0;
    while (first < 256 && plan.alphaPasses[first] != inside)
        ++first;
    int last = first;
    while (last + 1 < 256 && plan.alphaPasses[last + 1] == inside)
        ++last;
    plan.alphaInvert = invert;
    plan.alphaLow = static_cast<int16_t>(first - 1);
    plan.alphaHigh = static_cast<int16_t>(first < 256 ? last + 1 : first);
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
    SetAlphaInterval(plan);
    SetDirectBounds(context.sampler, plan);
    // AVX2 where the processor has it, unless the SSE2 loops are asked for by name.
    const bool avx2 = GetCpuInfo().avx2 && state.spanLoops != ESpanLoops::Sse2;
    for (int linear = 0; linear < 2; ++linear)
        for (int gouraud = 0; gouraud < 2; ++gouraud)
        {
            FastSpanLoop& loop = plan.loops[linear][gouraud];
            loop = avx2 ? PickAvx2Loop(textured, linear != 0, textured && wrap, gouraud != 0, blend,
                                       state.alphaTest, depth)
                        : nullptr;
            if (loop == nullptr)
                loop = PickFastLoop<SSse2Loop>(textured, linear != 0, textured && wrap, gouraud != 0, blend,
                                               state.alphaTest, depth);
        }
    context.fast = plan;
}

bool DrawSpansFast(const SSpanContext& context, bool linear, const SSpan* spans, int count)
{
    if (context.fast.loops[0][0] == nullptr || count <= 0)
        return false;
    const SSpan& span = spans[0];
    bool gouraud = span.gouraud;
    if (!span.colourChecked)
    {
        // One span at a time where the caller has not checked the colour steps (lines).
        if (count > 1)
        {
            for (int i = 0; i < count; ++i)
                if (!DrawSpansFast(context, linear, spans + i, 1))
                    DrawSpanReference(context, linear, spans[i]);
            return true;
        }
        gouraud = false;
        for (int c = 0; c < 4; ++c)
        {
            if (!FitsInt32(span.colour[c], span.colourStep[c], span.count))
                return false;
            gouraud = gouraud || span.colourStep[c] != 0;
        }
    }
    context.fast.loops[linear ? 1 : 0][gouraud ? 1 : 0](context, spans, count);
    return true;
}

#else

void PlanFastLoops(SSpanContext&)
{
}

bool DrawSpansFast(const SSpanContext&, bool, const SSpan*, int)
{
    return false;
}

#endif
