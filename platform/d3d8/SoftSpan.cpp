#include "platform/d3d8/SoftSpan.h"

namespace
{
bool IsPowerOfTwo(int value) { return value > 0 && (value & (value - 1)) == 0; }

uint32_t CombineChannel(const SRasterCombine& combine, uint32_t texel, uint32_t diffuse)
{
    const uint32_t a = combine.aIsTexture ? texel : diffuse;
    if (combine.op == SRasterCombine::SelectA)
        return a;
    const uint32_t b = combine.bIsTexture ? texel : diffuse;
    return Mul255(a, b);
}

uint32_t ClampChannel(int64_t fixed)
{
    const int64_t v = fixed >> 16;
    return static_cast<uint32_t>(v < 0 ? 0 : (v > 255 ? 255 : v));
}
}  // namespace

SSpanContext MakeSpanContext(const SRasterTarget& target, const SRasterState& state)
{
    SSpanContext context;
    context.state = &state;
    context.depthBits = target.depthBits;
    context.hasDepth = target.depth != nullptr;
    if (state.texels != nullptr && state.texWidth > 0 && state.texHeight > 0)
    {
        context.sampler.texels = state.texels;
        context.sampler.width = state.texWidth;
        context.sampler.height = state.texHeight;
        context.sampler.pitch = state.texPitch > 0 ? state.texPitch : state.texWidth;
        context.sampler.bordered = state.texBordered;
        context.sampler.maskU = IsPowerOfTwo(state.texWidth) ? state.texWidth - 1 : -1;
        context.sampler.maskV = IsPowerOfTwo(state.texHeight) ? state.texHeight - 1 : -1;
    }
    context.sampler.wrapU = state.wrapU;
    context.sampler.wrapV = state.wrapV;
    if (state.spanLoops != ESpanLoops::Reference)
        PlanFastLoops(context);
    return context;
}

void DrawSpanReference(const SSpanContext& context, bool linear, const SSpan& span)
{
    const SRasterState& state = *context.state;
    const bool zTest = state.zTest && context.hasDepth;
    const bool zWrite = state.zWrite && context.hasDepth;
    for (int i = 0; i < span.count; ++i)
    {
        uint32_t diffuse[4];
        for (int c = 0; c < 4; ++c)
            diffuse[c] = ClampChannel(span.colour[c] + int64_t{span.colourStep[c]} * i);
        const int64_t s = span.s + span.sStep * i;
        const int64_t t = span.t + span.tStep * i;
        const uint32_t texel = linear ? context.sampler.SampleLinear(s, t)
                                      : context.sampler.SamplePoint(s, t);
        uint32_t source[4];
        source[0] = CombineChannel(state.alpha, texel >> 24, diffuse[0]);
        for (int c = 1; c < 4; ++c)
            source[c] = CombineChannel(state.colour, (texel >> (24 - 8 * c)) & 0xFF, diffuse[c]);

        if (state.alphaTest && !CompareSoft(state.alphaFunc, source[0], state.alphaRef))
            continue;
        if (zTest || zWrite)
        {
            const uint32_t z = QuantizeDepthFixed(span.z + span.zStep * i, context.depthBits);
            if (zTest && !CompareSoft(state.zFunc, z, span.depthOut[i]))
                continue;
            if (zWrite)
                span.depthOut[i] = z;
        }
        if (state.blend)
        {
            const uint32_t dest = span.colourOut[i];
            const uint32_t fs = BlendFactor(state.srcBlend, source[0]);
            const uint32_t fd = BlendFactor(state.dstBlend, source[0]);
            for (int c = 0; c < 4; ++c)
            {
                const uint32_t d = (dest >> (24 - 8 * c)) & 0xFF;
                const uint32_t sum = Mul255(source[c], fs) + Mul255(d, fd);
                source[c] = sum > 255 ? 255 : sum;
            }
        }
        span.colourOut[i] = (source[0] << 24) | (source[1] << 16) | (source[2] << 8) | source[3];
    }
}

void DrawSpans(const SSpanContext& context, bool linear, const SSpan* spans, int count)
{
    if (DrawSpansFast(context, linear, spans, count))
        return;
    for (int i = 0; i < count; ++i)
        DrawSpanReference(context, linear, spans[i]);
}

void DrawSpan(const SSpanContext& context, bool linear, const SSpan& span)
{
    DrawSpans(context, linear, &span, 1);
}
