#pragma once
// The busy frame of the game's kind that the drawing benchmarks share, at 800 x 600: a
// full-screen textured backdrop, 2000 alpha-blended, vertex-coloured, linearly filtered
// 32 x 32 sprites in four textures and 1500 text-sized quads, each group drawn in batches of
// at most 1020 vertices. Vertices are any type with the screen-vertex layout.

#include <algorithm>
#include <cmath>
#include <cstdint>
#include <vector>

namespace busy
{
constexpr uint32_t WIDTH = 800;
constexpr uint32_t HEIGHT = 600;
constexpr uint32_t SPRITES = 2000;
constexpr uint32_t GLYPHS = 1500;
constexpr uint32_t BATCH_VERTICES = 1020;
constexpr uint32_t PER_BATCH = BATCH_VERTICES / 6 * 6;

// Texture sizes: backdrop (kind 0), four sprites (kinds 1 to 4), font (kind 5).
inline uint32_t TextureSize(uint32_t kind)
{
    return kind == 0 ? 256 : kind == 5 ? 128 : 64;
}

// 0xAARRGGBB of a texel: a disc of falling alpha (opaque for the backdrop) over gradients.
inline uint32_t Texel(uint32_t kind, uint32_t x, uint32_t y)
{
    const uint32_t size = TextureSize(kind);
    const float dx = (static_cast<float>(x) + 0.5f) / static_cast<float>(size) - 0.5f;
    const float dy = (static_cast<float>(y) + 0.5f) / static_cast<float>(size) - 0.5f;
    const float d = std::sqrt(dx * dx + dy * dy) * 2.0f;
    const uint32_t alpha = kind == 0 ? 255 : static_cast<uint32_t>(255 * std::max(0.0f, 1.0f - d));
    const uint32_t r = (x * 255 / size) ^ (kind * 40);
    const uint32_t g = (y * 255 / size);
    const uint32_t b = ((x ^ y) * 8) & 0xFF;
    return (alpha << 24) | ((r & 0xFF) << 16) | (g << 8) | b;
}

template <typename V>
struct SScene
{
    std::vector<V> backdrop;
    std::vector<V> sprites[4];
    std::vector<V> glyphs;
};

// shift: -0.5 where pixel centres lie on whole numbers; argb false swaps red and blue of
// the vertex colours.
template <typename V>
SScene<V> MakeScene(float shift, bool argb)
{
    uint32_t seed = 12345;
    auto next = [&seed] {
        seed = seed * 1103515245u + 12345u;
        return (seed >> 8) & 0xFFFFFF;
    };
    auto add = [shift, argb](std::vector<V>& out, float x, float y, float w, float h, float z, uint32_t colour) {
        if (!argb)
            colour = (colour & 0xFF00FF00u) | (colour >> 16 & 0xFFu) | (colour & 0xFFu) << 16;
        const V a{x + shift, y + shift, z, 1, colour, 0, 0};
        const V b{x + w + shift, y + shift, z, 1, colour, 1, 0};
        const V c{x + shift, y + h + shift, z, 1, colour, 0, 1};
        const V d{x + w + shift, y + h + shift, z, 1, colour, 1, 1};
        for (const V& corner : {a, b, c, c, b, d})
            out.push_back(corner);
    };
    SScene<V> scene;
    add(scene.backdrop, 0, 0, WIDTH, HEIGHT, 1.0f, 0xFFFFFFFF);
    for (uint32_t i = 0; i < SPRITES; ++i)
    {
        const float x = static_cast<float>(next() % (WIDTH - 16)) - 8;
        const float y = static_cast<float>(next() % (HEIGHT - 16)) - 8;
        const uint32_t colour = 0x80000000u | (next() | 0x404040);
        add(scene.sprites[i % 4], x + static_cast<float>(next() % 256) / 256.0f, y, 32, 32, 0.5f,
            colour | 0xFF000000u);
    }
    for (uint32_t i = 0; i < GLYPHS; ++i)
    {
        const float x = static_cast<float>((i % 75) * 10 + 20);
        const float y = static_cast<float>((i / 75) * 14 + 100);
        add(scene.glyphs, x, y, 8, 12, 0.0f, 0xFFFFFFFF);
    }
    return scene;
}
} // namespace busy
