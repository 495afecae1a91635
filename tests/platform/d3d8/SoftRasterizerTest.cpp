// The rasteriser's fast span loops and its band split never change a pixel: random
// triangles under random states give the same colour and depth buffers as the reference
// per-pixel loop with every kind of fast loop (SSE2, and AVX2 where the processor has it),
// and the same when drawn band by band.

#include "core/CpuInfo.h"
#include "platform/d3d8/SoftRasterizer.h"
#include "platform/d3d8/SoftSpan.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <limits>
#include <random>
#include <vector>

namespace
{
struct SBuffers
{
    std::vector<uint32_t> colour;
    std::vector<uint32_t> depth;
};

constexpr int kWidth = 97;
constexpr int kHeight = 61;

SRasterTarget MakeTarget(SBuffers& buffers)
{
    SRasterTarget target;
    target.colour = buffers.colour.data();
    target.depth = buffers.depth.data();
    target.width = kWidth;
    target.height = kHeight;
    target.clipX0 = 3;
    target.clipY0 = 2;
    target.clipX1 = kWidth - 1;
    target.clipY1 = kHeight;
    target.depthBits = 24;
    return target;
}

SRasterCombine RandomCombine(std::mt19937& random)
{
    SRasterCombine combine;
    switch (random() % 5)
    {
    case 0:
        combine.op = SRasterCombine::Modulate;
        combine.aIsTexture = true;
        break;
    case 1:
        combine.op = SRasterCombine::Modulate;
        combine.bIsTexture = true;
        break;
    case 2:
        combine.aIsTexture = true;
        break;
    case 3:
        break;
    default:  // texture x texture: only the reference loop draws it
        combine.op = SRasterCombine::Modulate;
        combine.aIsTexture = true;
        combine.bIsTexture = true;
        break;
    }
    return combine;
}

SRasterState RandomState(std::mt19937& random, const std::vector<uint32_t>& texels, int texWidth, int texHeight)
{
    SRasterState state;
    state.zTest = random() % 2 == 0;
    state.zWrite = random() % 2 == 0;
    state.zFunc = SOFT_CMP_LESS + random() % 6;
    state.alphaTest = random() % 2 == 0;
    state.alphaFunc = SOFT_CMP_LESS + random() % 6;
    state.alphaRef = random() % 256;
    state.blend = random() % 4 != 0;
    const uint32_t pairs[5][2] = {{SOFT_BLEND_SRCALPHA, SOFT_BLEND_INVSRCALPHA},
                                  {SOFT_BLEND_ONE, SOFT_BLEND_ONE},
                                  {SOFT_BLEND_ONE, SOFT_BLEND_ZERO},
                                  {SOFT_BLEND_INVSRCALPHA, SOFT_BLEND_SRCALPHA},
                                  {SOFT_BLEND_ZERO, SOFT_BLEND_ONE}};
    const uint32_t pair = random() % 5;
    state.srcBlend = pairs[pair][0];
    state.dstBlend = pairs[pair][1];
    state.colour = RandomCombine(random);
    state.alpha = RandomCombine(random);
    if (random() % 6 != 0)
    {
        state.texels = texels.data();
        state.texWidth = texWidth;
        state.texHeight = texHeight;
    }
    state.wrapU = random() % 2 == 0;
    state.wrapV = random() % 3 == 0 ? !state.wrapU : state.wrapU;
    state.magLinear = random() % 2 == 0;
    state.minLinear = random() % 2 == 0;
    return state;
}

float RandomFloat(std::mt19937& random, float low, float high)
{
    return low + (high - low) * static_cast<float>(random() % 100000) / 100000.0f;
}

// inside: texture coordinates within the texture, as sprites have (their spans fetch
// texels without clamping, the fast loops' quickest way).
std::vector<SRasterVertex> RandomTriangles(std::mt19937& random, int count, bool inside)
{
    std::vector<SRasterVertex> vertices;
    for (int i = 0; i < count * 3; ++i)
    {
        SRasterVertex v;
        v.x = RandomFloat(random, -20, kWidth + 20);
        v.y = RandomFloat(random, -20, kHeight + 20);
        // Half of them on the half-pixel grid, as the game's quads are.
        if (random() % 2 == 0)
        {
            v.x = static_cast<float>(static_cast<int>(v.x)) - 0.5f;
            v.y = static_cast<float>(static_cast<int>(v.y)) - 0.5f;
        }
        v.z = RandomFloat(random, -0.5f, 1.5f);
        v.colour = static_cast<uint32_t>(random());
        v.u = inside ? RandomFloat(random, 0, 1) : RandomFloat(random, -2, 3);
        v.v = inside ? RandomFloat(random, 0, 1) : RandomFloat(random, -2, 3);
        vertices.push_back(v);
    }
    // Every other triangle flat coloured, as sprites are.
    for (int i = 0; i < count; i += 2)
        vertices[i * 3 + 1].colour = vertices[i * 3 + 2].colour = vertices[i * 3].colour;
    return vertices;
}
// Two upright rectangles (four triangles) showing the texture whole or a part of it, maybe
// mirrored, at sizes from well below to well above its own: sprites as the game draws them.
std::vector<SRasterVertex> RandomQuads(std::mt19937& random)
{
    std::vector<SRasterVertex> vertices;
    for (int quad = 0; quad < 2; ++quad)
    {
        const float x0 = RandomFloat(random, -10, kWidth - 10);
        const float y0 = RandomFloat(random, -10, kHeight - 10);
        const float x1 = x0 + RandomFloat(random, 4, 90);
        const float y1 = y0 + RandomFloat(random, 2, 40);
        float u0 = RandomFloat(random, 0, 0.5f);
        float u1 = RandomFloat(random, 0.5f, 1);
        const float v0 = RandomFloat(random, 0, 0.5f);
        const float v1 = RandomFloat(random, 0.5f, 1);
        if (random() % 4 == 0)
            std::swap(u0, u1);
        const uint32_t colour = static_cast<uint32_t>(random());
        const float z = RandomFloat(random, 0, 1);
        const SRasterVertex a{x0, y0, z, colour, u0, v0};
        const SRasterVertex b{x1, y0, z, colour, u1, v0};
        const SRasterVertex c{x0, y1, z, colour, u0, v1};
        const SRasterVertex d{x1, y1, z, colour, u1, v1};
        for (const SRasterVertex& v : {a, b, c, c, b, d})
            vertices.push_back(v);
    }
    return vertices;
}
}  // namespace

// The fast loop kinds this processor runs.
std::vector<ESpanLoops> FastLoopKinds()
{
    std::vector<ESpanLoops> kinds = {ESpanLoops::Sse2};
    if (GetCpuInfo().avx2)
        kinds.push_back(ESpanLoops::Avx2);
    return kinds;
}

TEST(SoftRasterizer, FastLoopsAndBandsMatchTheReferenceLoop)
{
    std::mt19937 random(20261210);
    int changed = 0;
    const int sizes[6][2] = {{1, 1}, {4, 8}, {16, 16}, {5, 7}, {32, 2}, {64, 48}};
    for (int round = 0; round < 480; ++round)
    {
        const int texWidth = sizes[round % 6][0];
        const int texHeight = sizes[round % 6][1];
        // Every other round the texels sit in rows with a repeated border around them, as
        // the device stores them.
        const bool bordered = round % 2 == 0;
        const int pitch = bordered ? texWidth + 2 : texWidth;
        std::vector<uint32_t> storage(static_cast<size_t>(pitch * (texHeight + 2)));
        const size_t origin = bordered ? static_cast<size_t>(pitch + 1) : 0;
        for (int y = 0; y < texHeight; ++y)
            for (int x = 0; x < texWidth; ++x)
            {
                // Many fully transparent texels, as sprite pages have.
                const uint32_t texel = static_cast<uint32_t>(random());
                storage[origin + static_cast<size_t>(y * pitch + x)] = random() % 2 ? texel : texel & 0x00FFFFFFu;
            }
        if (bordered)
        {
            for (int y = 0; y < texHeight + 2; ++y)
                for (int x = 0; x < pitch; ++x)
                {
                    const int cx = std::min(std::max(x - 1, 0), texWidth - 1);
                    const int cy = std::min(std::max(y - 1, 0), texHeight - 1);
                    storage[static_cast<size_t>(y * pitch + x)] =
                        storage[origin + static_cast<size_t>(cy * pitch + cx)];
                }
        }
        const std::vector<uint32_t> texels(storage.begin() + static_cast<std::ptrdiff_t>(origin), storage.end());
        SRasterState state = RandomState(random, texels, texWidth, texHeight);
        state.texels = state.texels != nullptr ? storage.data() + origin : nullptr;
        state.texPitch = pitch;
        state.texBordered = bordered;
        const std::vector<SRasterVertex> triangles =
            round % 4 == 1 ? RandomQuads(random) : RandomTriangles(random, 4, round % 4 == 3);

        SBuffers start;
        for (int i = 0; i < kWidth * kHeight; ++i)
        {
            start.colour.push_back(static_cast<uint32_t>(random()));
            start.depth.push_back(static_cast<uint32_t>(random()) & 0xFFFFFF);
        }
        SBuffers reference = start;
        state.spanLoops = ESpanLoops::Reference;
        RasterizeTriangles(MakeTarget(reference), state, triangles.data(), 4, SRasterBands{});
        RasterizeLines(MakeTarget(reference), state, triangles.data(), 6, SRasterBands{});
        for (ESpanLoops kind : FastLoopKinds())
        {
            state.spanLoops = kind;
            const char* name = kind == ESpanLoops::Avx2 ? "AVX2" : "SSE2";
            SBuffers fast = start;
            SBuffers banded = start;
            RasterizeTriangles(MakeTarget(fast), state, triangles.data(), 4, SRasterBands{});
            RasterizeLines(MakeTarget(fast), state, triangles.data(), 6, SRasterBands{});
            for (int band = 0; band < 3; ++band)
            {
                RasterizeTriangles(MakeTarget(banded), state, triangles.data(), 4, SRasterBands{3, band});
                RasterizeLines(MakeTarget(banded), state, triangles.data(), 6, SRasterBands{3, band});
            }
            ASSERT_TRUE(fast.colour == reference.colour) << name << " colour, round " << round;
            ASSERT_TRUE(fast.depth == reference.depth) << name << " depth, round " << round;
            ASSERT_TRUE(banded.colour == fast.colour) << name << " bands, round " << round;
            ASSERT_TRUE(banded.depth == fast.depth) << name << " bands depth, round " << round;
        }
        changed += reference.colour != start.colour ? 1 : 0;
    }
    // The comparison means something only if most rounds drew pixels.
    EXPECT_GT(changed, 240);
}

TEST(SoftRasterizer, SpriteStatesTakeAFastLoop)
{
    // The states of the game's batches must not fall back to the slow loop unnoticed.
    std::vector<uint32_t> texels(64 * 64, 0x80FFFFFFu);
    std::vector<uint32_t> colour(16, 0);
    SRasterTarget target;
    target.colour = colour.data();
    target.width = 16;
    target.height = 1;
    target.clipX1 = 16;
    target.clipY1 = 1;
    SRasterState state;
    state.colour.op = SRasterCombine::Modulate;
    state.colour.aIsTexture = true;
    state.alpha = state.colour;
    state.texels = texels.data();
    state.texWidth = 64;
    state.texHeight = 64;
    state.wrapU = state.wrapV = false;
    state.magLinear = state.minLinear = true;
    state.blend = true;
    state.srcBlend = SOFT_BLEND_SRCALPHA;
    state.dstBlend = SOFT_BLEND_INVSRCALPHA;
    state.alphaTest = true;
    state.alphaFunc = SOFT_CMP_GREATER;
    state.alphaRef = 26;
    SSpan span;
    span.count = 16;
    span.colourOut = colour.data();
    span.colour[0] = span.colour[1] = span.colour[2] = span.colour[3] = 255 << 16;
    for (ESpanLoops kind : FastLoopKinds())
    {
        SRasterState variant = state;
        variant.spanLoops = kind;
        EXPECT_TRUE(DrawSpanFast(MakeSpanContext(target, variant), true, span)) << "sprites";
        variant.blend = false;
        EXPECT_TRUE(DrawSpanFast(MakeSpanContext(target, variant), false, span)) << "opaque, point sampled";
        variant.srcBlend = SOFT_BLEND_ONE;
        variant.dstBlend = SOFT_BLEND_ONE;
        variant.blend = true;
        EXPECT_TRUE(DrawSpanFast(MakeSpanContext(target, variant), true, span)) << "additive";
        variant.texels = nullptr;
        EXPECT_TRUE(DrawSpanFast(MakeSpanContext(target, variant), false, span)) << "untextured";

        // Ribbons and tiled backdrops: wrapping on one axis, a size that is no power of two.
        variant = state;
        variant.spanLoops = kind;
        variant.texWidth = 48;
        variant.wrapV = true;
        EXPECT_TRUE(DrawSpanFast(MakeSpanContext(target, variant), true, span)) << "wrapped";
    }
}

TEST(SoftRasterizer, DegenerateAndExtremeInputsStayInsideTheTarget)
{
    // Non-finite and enormous values, slivers and huge texture coordinates must neither crash
    // nor write outside the clip rectangle, and the fast loops still agree with the reference.
    const float huge = 1.0e30f;
    const float nan = std::numeric_limits<float>::quiet_NaN();
    const float inf = std::numeric_limits<float>::infinity();
    const std::vector<SRasterVertex> triangles = {
        {nan, 1, 0, 0xFFFFFFFF, 0, 0}, {10, 1, 0, 0xFFFFFFFF, 1, 0}, {1, 10, 0, 0xFFFFFFFF, 0, 1},
        {inf, 1, 0, 0xFFFFFFFF, 0, 0}, {10, 1, 0, 0xFFFFFFFF, 1, 0}, {1, 10, 0, 0xFFFFFFFF, 0, 1},
        {-huge, -huge, 0, 0xFFFFFFFF, 0, 0}, {huge, 0, 0, 0xFFFFFFFF, 1, 0}, {0, huge, 0, 0xFFFFFFFF, 0, 1},
        {5, 5, 0, 0xFF00FF00, -huge, huge}, {60, 7, 0, 0xFFFF0000, huge, -huge}, {9, 50, 0, 0xFF0000FF, 0, 1},
        {4, 4, 0, 0xFF00FF00, 0, 0}, {80, 4.001f, 0, 0xFFFF0000, 3000, 0}, {4.002f, 4.003f, 5, 0xFF0000FF, 0, 9000},
        {20, 20, 0, 0xFFFFFFFF, 0, 0}, {20, 20, 0, 0xFFFFFFFF, 1, 0}, {20, 20, 0, 0xFFFFFFFF, 0, 1},
        {-1.0e6f, 30, -9, 0x80FFFFFF, 0, 0}, {1.0e6f, 31, 9, 0x80FFFFFF, 1.0e7f, 0}, {0, 40, 0, 0x80FFFFFF, 0, 1.0e7f},
    };
    const size_t count = triangles.size() / 3;
    std::vector<uint32_t> texels(16 * 16, 0x80FF8040u);
    texels[5] = 0x00000000u;
    for (bool wrap : {false, true})
        for (bool linear : {false, true})
        {
            SRasterState state;
            state.colour.op = SRasterCombine::Modulate;
            state.colour.aIsTexture = true;
            state.alpha = state.colour;
            state.texels = texels.data();
            state.texWidth = state.texHeight = 16;
            state.wrapU = state.wrapV = wrap;
            state.magLinear = state.minLinear = linear;
            state.blend = true;
            state.srcBlend = SOFT_BLEND_SRCALPHA;
            state.dstBlend = SOFT_BLEND_INVSRCALPHA;
            state.zTest = state.zWrite = true;

            const SBuffers start{std::vector<uint32_t>(kWidth * kHeight, 0x11223344u),
                                 std::vector<uint32_t>(kWidth * kHeight, 0xFFFFFFu)};
            SBuffers reference = start;
            state.spanLoops = ESpanLoops::Reference;
            RasterizeTriangles(MakeTarget(reference), state, triangles.data(), count, SRasterBands{});
            RasterizeLines(MakeTarget(reference), state, triangles.data(), triangles.size() / 2, SRasterBands{});
            SBuffers fast = start;
            for (ESpanLoops kind : FastLoopKinds())
            {
                state.spanLoops = kind;
                fast = start;
                RasterizeTriangles(MakeTarget(fast), state, triangles.data(), count, SRasterBands{});
                RasterizeLines(MakeTarget(fast), state, triangles.data(), triangles.size() / 2, SRasterBands{});
                EXPECT_TRUE(fast.colour == reference.colour) << "wrap " << wrap << " linear " << linear;
                EXPECT_TRUE(fast.depth == reference.depth) << "wrap " << wrap << " linear " << linear;
            }
            // Column 0, the last column and rows 0 and 1 lie outside the clip rectangle.
            for (int y = 0; y < kHeight; ++y)
            {
                for (int x = 0; x < kWidth; ++x)
                {
                    const size_t i = static_cast<size_t>(y * kWidth + x);
                    if (x < 3 || x >= kWidth - 1 || y < 2)
                    {
                        ASSERT_EQ(fast.colour[i], start.colour[i]) << x << "," << y;
                    }
                }
            }
            EXPECT_TRUE(fast.colour != start.colour) << "the usable triangles drew";
        }
}
