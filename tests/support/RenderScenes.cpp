#include "tests/support/RenderScenes.h"

#include <cmath>

namespace
{
constexpr float kPi = 3.14159265f;

uint32_t Argb(uint32_t a, uint32_t r, uint32_t g, uint32_t b)
{
    return (a << 24) | (r << 16) | (g << 8) | b;
}

// Two triangles covering [x0, x1) x [y0, y1), one colour per corner: top-left, top-right,
// bottom-left, bottom-right.
void AddQuad(SSceneDraw& draw, float x0, float y0, float x1, float y1, const uint32_t (&colours)[4],
             float u0 = 0, float v0 = 0, float u1 = 1, float v1 = 1, float z = 0)
{
    const SSceneVertex a{x0, y0, z, colours[0], u0, v0};
    const SSceneVertex b{x1, y0, z, colours[1], u1, v0};
    const SSceneVertex c{x0, y1, z, colours[2], u0, v1};
    const SSceneVertex d{x1, y1, z, colours[3], u1, v1};
    draw.vertices.insert(draw.vertices.end(), {a, b, c, c, b, d});
}

void AddQuad(SSceneDraw& draw, float x0, float y0, float x1, float y1, uint32_t colour, float u0 = 0,
             float v0 = 0, float u1 = 1, float v1 = 1, float z = 0)
{
    const uint32_t colours[4] = {colour, colour, colour, colour};
    AddQuad(draw, x0, y0, x1, y1, colours, u0, v0, u1, v1, z);
}

// 8 x 8 texels, every one different in colour and alpha.
SSceneTexture MakeChecker()
{
    SSceneTexture texture;
    texture.width = 8;
    texture.height = 8;
    for (uint32_t y = 0; y < 8; ++y)
        for (uint32_t x = 0; x < 8; ++x)
            texture.argb.push_back(Argb(255 - (x + y) * 16, x * 36, y * 36, ((x ^ y) & 1) ? 230 : 40));
    return texture;
}

// 16 x 16 disc whose alpha falls from the centre outwards.
SSceneTexture MakeDisc()
{
    SSceneTexture texture;
    texture.width = 16;
    texture.height = 16;
    for (uint32_t y = 0; y < 16; ++y)
        for (uint32_t x = 0; x < 16; ++x)
        {
            const float dx = (static_cast<float>(x) + 0.5f) / 8.0f - 1.0f;
            const float dy = (static_cast<float>(y) + 0.5f) / 8.0f - 1.0f;
            const float d = std::sqrt(dx * dx + dy * dy);
            const uint32_t alpha = d >= 1.0f ? 0 : static_cast<uint32_t>(255.0f * (1.0f - d));
            texture.argb.push_back(Argb(alpha, 255, 200 - y * 8, 120 + x * 8));
        }
    return texture;
}

// 8 x 1 texels with alpha on both sides of the alpha reference 26 (0.1 of 255).
SSceneTexture MakeAlphaSteps()
{
    SSceneTexture texture;
    texture.width = 8;
    texture.height = 1;
    for (uint32_t alpha : {0u, 25u, 26u, 27u, 100u, 128u, 200u, 255u})
        texture.argb.push_back(Argb(alpha, 255, 255, 255));
    return texture;
}

// 4 x 4 texels of strong contrasts, for filtering and addressing.
SSceneTexture MakeContrast()
{
    SSceneTexture texture;
    texture.width = 4;
    texture.height = 4;
    const uint32_t palette[4] = {Argb(255, 255, 0, 0), Argb(255, 0, 255, 0), Argb(255, 0, 0, 255),
                                 Argb(255, 255, 255, 255)};
    for (uint32_t y = 0; y < 4; ++y)
        for (uint32_t x = 0; x < 4; ++x)
            texture.argb.push_back(palette[(x + y * 2) % 4]);
    return texture;
}

SRenderScene MakeStageOps()
{
    SRenderScene scene;
    scene.name = "stage_ops";
    scene.clearArgb = Argb(255, 32, 48, 64);
    scene.textures.push_back(MakeChecker());
    const uint32_t corners[4] = {Argb(255, 255, 64, 64), Argb(160, 64, 255, 64), Argb(96, 64, 64, 255),
                                 Argb(255, 255, 255, 255)};
    const ESceneStageOp ops[4] = {ESceneStageOp::Modulate, ESceneStageOp::Decal,
                                  ESceneStageOp::ColourFromVertex, ESceneStageOp::Untextured};
    for (int i = 0; i < 4; ++i)
    {
        SSceneDraw draw;
        draw.texture = 0;
        draw.op = ops[i];
        draw.blend = true;
        draw.sourceBlend = 2;
        draw.destBlend = 3;
        const float x = static_cast<float>((i % 2) * 32 + 2);
        const float y = static_cast<float>((i / 2) * 32 + 2);
        AddQuad(draw, x, y, x + 28, y + 28, corners);
        scene.draws.push_back(draw);
    }
    return scene;
}

SRenderScene MakeBlending()
{
    SRenderScene scene;
    scene.name = "blending";
    scene.textures.push_back(MakeDisc());
    SSceneDraw backdrop;
    backdrop.op = ESceneStageOp::Untextured;
    const uint32_t ramp[4] = {Argb(255, 0, 0, 0), Argb(255, 255, 128, 0), Argb(255, 0, 128, 255),
                              Argb(255, 255, 255, 255)};
    AddQuad(backdrop, 0, 0, 64, 64, ramp);
    scene.draws.push_back(backdrop);
    // Blend pairs: the renderer's alpha blend and additive, opaque, and two others.
    const int pairs[6][2] = {{2, 3}, {1, 1}, {1, 0}, {3, 2}, {0, 3}, {2, 1}};
    for (int i = 0; i < 6; ++i)
    {
        SSceneDraw draw;
        draw.texture = 0;
        draw.linear = true;
        draw.blend = true;
        draw.sourceBlend = pairs[i][0];
        draw.destBlend = pairs[i][1];
        const float x = static_cast<float>((i % 3) * 21 + 1);
        const float y = static_cast<float>((i / 3) * 30 + 4);
        AddQuad(draw, x, y, x + 20, y + 24, Argb(200, 255, 255, 160));
        scene.draws.push_back(draw);
    }
    return scene;
}

SRenderScene MakeAlphaTest()
{
    SRenderScene scene;
    scene.name = "alpha_test";
    scene.clearArgb = Argb(255, 40, 40, 40);
    scene.textures.push_back(MakeAlphaSteps());
    for (int function = 0; function < 5; ++function)
    {
        SSceneDraw draw;
        draw.texture = 0;
        draw.op = ESceneStageOp::Decal;
        draw.alphaTest = true;
        draw.alphaFunction = function;
        draw.alphaReference = 0.1f;
        const float y = static_cast<float>(function * 12 + 2);
        AddQuad(draw, 0, y, 64, y + 10, Argb(255, 255, 255, 255));
        scene.draws.push_back(draw);
    }
    return scene;
}

SRenderScene MakeFiltering()
{
    SRenderScene scene;
    scene.name = "filtering";
    scene.textures.push_back(MakeContrast());
    const struct
    {
        bool linear;
        bool wrap;
        float u0;
        float u1;
    } cases[4] = {{false, false, 0, 1}, {true, false, 0, 1}, {true, true, 0, 2}, {false, true, -0.5f, 1.5f}};
    for (int i = 0; i < 4; ++i)
    {
        SSceneDraw draw;
        draw.texture = 0;
        draw.linear = cases[i].linear;
        draw.wrap = cases[i].wrap;
        const float x = static_cast<float>((i % 2) * 32 + 2);
        const float y = static_cast<float>((i / 2) * 32 + 2);
        AddQuad(draw, x, y, x + 28, y + 28, Argb(255, 255, 255, 255), cases[i].u0, cases[i].u0, cases[i].u1,
                cases[i].u1);
        scene.draws.push_back(draw);
    }
    // A texture minified below one texel per pixel.
    SSceneDraw small;
    small.texture = 0;
    small.linear = true;
    AddQuad(small, 29, 29, 35, 35, Argb(255, 255, 255, 255));
    scene.draws.push_back(small);
    return scene;
}

SRenderScene MakeLinesAndDepth()
{
    SRenderScene scene;
    scene.name = "lines_depth";
    // Depth: the middle-depth quad, drawn first, stays in front of the far one drawn after it
    // and behind the near one; a quad without depth writes leaves no trace in depth.
    const struct
    {
        float x;
        float z;
        uint32_t colour;
        bool write;
    } quads[4] = {{4, 0.5f, Argb(255, 255, 0, 0), true},
                  {14, 0.8f, Argb(255, 0, 255, 0), true},
                  {24, 0.2f, Argb(255, 0, 0, 255), false},
                  {34, 0.9f, Argb(255, 255, 255, 0), true}};
    for (const auto& q : quads)
    {
        SSceneDraw draw;
        draw.op = ESceneStageOp::Untextured;
        draw.depthTest = true;
        draw.depthWrite = q.write;
        AddQuad(draw, q.x, 4, q.x + 20, 28, q.colour, 0, 0, 1, 1, q.z);
        scene.draws.push_back(draw);
    }
    // A closed box and a 16-point circle as line strips.
    SSceneDraw box;
    box.op = ESceneStageOp::Untextured;
    box.primitive = EScenePrimitive::LineStrip;
    const float corners[5][2] = {{6, 36}, {30, 36}, {30, 58}, {6, 58}, {6, 36}};
    for (int i = 0; i < 5; ++i)
        box.vertices.push_back({corners[i][0], corners[i][1], 0, Argb(255, 255, 64 * (i % 4), 255), 0, 0});
    scene.draws.push_back(box);
    SSceneDraw circle;
    circle.op = ESceneStageOp::Untextured;
    circle.primitive = EScenePrimitive::LineStrip;
    for (int i = 0; i <= 16; ++i)
    {
        const float angle = static_cast<float>(i % 16) * 22.5f * kPi / 180.0f;
        circle.vertices.push_back(
            {47.0f + 11.0f * std::sin(angle), 47.0f + 11.0f * std::cos(angle), 0, Argb(255, 255, 255, 255), 0, 0});
    }
    scene.draws.push_back(circle);
    return scene;
}

SRenderScene MakeTriangles()
{
    SRenderScene scene;
    scene.name = "triangles";
    // A fan of thin triangles around a centre off the pixel grid: shared edges in every
    // direction, additive so that a pixel drawn twice shows.
    SSceneDraw fan;
    fan.op = ESceneStageOp::Untextured;
    fan.blend = true;
    fan.sourceBlend = 1;
    fan.destBlend = 1;
    const float cx = 20.3f;
    const float cy = 21.7f;
    for (int i = 0; i < 24; ++i)
    {
        const float a0 = static_cast<float>(i) * 15.0f * kPi / 180.0f;
        const float a1 = static_cast<float>(i + 1) * 15.0f * kPi / 180.0f;
        const uint32_t colour = Argb(255, 40 + (i % 3) * 40, 60 + (i % 4) * 30, 100);
        fan.vertices.push_back({cx, cy, 0, colour, 0, 0});
        fan.vertices.push_back({cx + 18.0f * std::cos(a0), cy + 18.0f * std::sin(a0), 0, colour, 0, 0});
        fan.vertices.push_back({cx + 18.0f * std::cos(a1), cy + 18.0f * std::sin(a1), 0, colour, 0, 0});
    }
    scene.draws.push_back(fan);
    // An indexed strip with Gouraud colours, partly outside the target.
    SSceneDraw strip;
    strip.op = ESceneStageOp::Untextured;
    strip.primitive = EScenePrimitive::TriangleStrip;
    for (int i = 0; i < 6; ++i)
    {
        const float x = 38.0f + static_cast<float>(i / 2) * 12.5f;
        const float y = (i % 2) ? 63.0f + static_cast<float>(i) : 44.25f;
        strip.vertices.push_back({x, y, 0, Argb(255, 255 * (i % 2), 40 * i, 255 - 40 * i), 0, 0});
    }
    strip.indices = {0, 1, 2, 3, 4, 5};
    scene.draws.push_back(strip);
    // Slivers and triangles smaller than a pixel.
    SSceneDraw small;
    small.op = ESceneStageOp::Untextured;
    for (int i = 0; i < 8; ++i)
    {
        const float x = 2.0f + static_cast<float>(i) * 4.3f;
        const uint32_t colour = Argb(255, 255, 255, 255);
        small.vertices.push_back({x, 46.0f, 0, colour, 0, 0});
        small.vertices.push_back({x + 0.6f, 46.2f + static_cast<float>(i) * 0.3f, 0, colour, 0, 0});
        small.vertices.push_back({x + 0.2f, 62.0f, 0, colour, 0, 0});
    }
    scene.draws.push_back(small);
    return scene;
}
}  // namespace

std::vector<SRenderScene> MakeRenderScenes()
{
    return {MakeStageOps(), MakeBlending(), MakeAlphaTest(), MakeFiltering(), MakeLinesAndDepth(),
            MakeTriangles()};
}
