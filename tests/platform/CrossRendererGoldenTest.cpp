// The fixed test scenes drawn through both renderers give the software device's images: the
// Direct3D renderer exactly, the OpenGL renderer (Mesa's software driver in CI) within a
// small tolerance for its own filtering and rounding.

#include "platform/D3D8Renderer.h"
#include "platform/OpenGLRenderer.h"
#include "platform/PixelFormat.h"
#include "platform/Tga.h"
#include "tests/support/platform/OffscreenGl.h"
#include "tests/platform/SceneOnRenderer.h"
#include "tests/platform/d3d8/SceneOnDevice.h"
#include "tests/support/GoldenImage.h"
#include "tests/support/ImageCompare.h"
#include "tests/support/TempDir.h"

#include <gtest/gtest.h>

#include <cstdio>
#include <cstring>
#include <memory>

namespace
{
template <typename T>
std::unique_ptr<T> OpenWindowed(std::unique_ptr<T> renderer, bool filterLinear = true)
{
    renderer->SetDefaultSettings();
    SDisplaySettings& settings = const_cast<SDisplaySettings&>(renderer->GetSettings());
    settings.fullScreen = false;
    settings.width = 640;
    settings.filterLinear = filterLinear;
    if (!renderer->Open("Tessavar", nullptr))
        return nullptr;
    return renderer;
}
} // namespace

TEST(CrossRendererGolden, Direct3DRendererDrawsTheDeviceImagesExactly)
{
    CTempDir dir;
    auto renderer = OpenWindowed(std::make_unique<CD3D8Renderer>());
    ASSERT_TRUE(renderer);
    for (const SRenderScene& scene : MakeRenderScenes())
    {
        const std::vector<uint32_t> expected = DrawSceneOnDevice(WithoutLines(scene), 1);
        const std::vector<uint32_t> drawn = DrawSceneOnRenderer(*renderer, scene, dir.Join("d3d.tga"));
        ASSERT_EQ(drawn.size(), expected.size()) << scene.name;
        const SImageDifference difference = CompareImages(drawn, expected, scene.width, 0, 0);
        EXPECT_EQ(difference.maxChannel, 0) << scene.name;
    }
}

TEST(CrossRendererGolden, OpenGLRendererDrawsTheDeviceImages)
{
    std::string reason;
    if (!UseOffscreenGl(reason))
        GTEST_SKIP() << reason;
    CTempDir dir;
    auto renderer = OpenWindowed(std::make_unique<COpenGLRenderer>());
    ASSERT_TRUE(renderer) << "a context can be made, but the renderer did not open";
    for (const SRenderScene& scene : MakeRenderScenes())
    {
        const bool hasLines = WithoutLines(scene).draws.size() != scene.draws.size();
        const std::vector<uint32_t> expected = DrawSceneOnDevice(WithoutLines(scene), 1);
        if (!hasLines)
        {
            ASSERT_TRUE(MatchesGolden("platform", scene.name, scene.width, scene.height, expected));
        }
        const std::vector<uint32_t> drawn = DrawSceneOnRenderer(*renderer, scene, dir.Join("ogl.tga"));
        ASSERT_EQ(drawn.size(), expected.size()) << scene.name;
        EXPECT_TRUE(IsNearRendererPicture(scene.name, drawn, expected, scene.width));
    }
}

namespace
{
// The renderer's own primitives at fractional positions: rectangles, and ribbons in both
// constructions with a texture. Returns the top-left 128 x 96 pixels.
std::vector<uint32_t> DrawPrimitives(CRenderer& renderer, const std::string& shotPath)
{
    std::vector<uint32_t> texels;
    for (uint32_t y = 0; y < 8; ++y)
        for (uint32_t x = 0; x < 8; ++x)
            texels.push_back(0xFF000000u | (x * 32) << 16 | (y * 32) << 8 | ((x + y) & 1 ? 0xC0u : 0x40u));
    int texture = NO_TEXTURE;
    if (!renderer.CreateTexture(true, 0, 1, TEXTURE_ALPHA, true, 8, 8, PIXEL_BGRA8888, texels.data(), nullptr,
                                &texture))
        return {};
    renderer.Tick();
    if (renderer.BeginScene() != 1)
        return {};
    renderer.DrawRectF(3.3f, 2.6f, 40.5f, 20.25f, 0.2f, 0.4f, 0.8f, 1.0f, false);
    // Packed in each renderer's own order: half-transparent orange.
    renderer.DrawRect(20.7f, 12.2f, 30.0f, 25.5f, renderer.IsColourArgb() ? 0x80FF8000u : 0xFF800080u, true);
    const float points[] = {60, 10, 90.5f, 14.25f, 118, 30, 100.3f, 52.7f};
    const float start[3] = {1, 1, 1}, end[3] = {1, 0.5f, 0.25f};
    renderer.DrawRibbon(texture, 9.0f, points, 3, 0, 0, start, end, 1.0f, 0.6f, true, false, false, false);
    const float lower[] = {8, 60, 40.5f, 70.5f, 70, 62, 120, 88};
    renderer.DrawRibbon(texture, 7.0f, lower, 3, 0, 0, end, start, 0.9f, 1.0f, true, false, false, true);
    renderer.EndScene();
    renderer.ReleaseTexture(texture);
    STgaImage image;
    if (!renderer.SaveScreenshot(shotPath.c_str()) || !LoadTga(shotPath.c_str(), image))
        return {};
    std::vector<uint32_t> out;
    for (int y = 0; y < 96; ++y)
        for (int x = 0; x < 128; ++x)
        {
            uint32_t pixel = 0;
            std::memcpy(&pixel, &image.pixels[(size_t(y) * size_t(image.width) + size_t(x)) * 4], 4);
            out.push_back(pixel);
        }
    return out;
}
} // namespace

TEST(CrossRendererGolden, RectanglesAndRibbonsCoverTheSamePixelsOnBothRenderers)
{
    std::string reason;
    if (!UseOffscreenGl(reason))
        GTEST_SKIP() << reason;
    CTempDir dir;
    std::vector<uint32_t> software, opengl;
    {
        auto renderer = OpenWindowed(std::make_unique<CD3D8Renderer>());
        ASSERT_TRUE(renderer);
        software = DrawPrimitives(*renderer, dir.Join("d3d.tga"));
    }
    {
        auto renderer = OpenWindowed(std::make_unique<COpenGLRenderer>());
        ASSERT_TRUE(renderer);
        opengl = DrawPrimitives(*renderer, dir.Join("ogl.tga"));
    }
    ASSERT_EQ(software.size(), 128u * 96u);
    EXPECT_TRUE(IsNearRendererPicture("primitives", opengl, software, 128));
}

TEST(CrossRendererGolden, WithoutLinearFilteringBothRenderersSampleTheNearestTexel)
{
    std::string reason;
    if (!UseOffscreenGl(reason))
        GTEST_SKIP() << reason;
    CTempDir dir;
    SRenderScene filtering;
    for (const SRenderScene& scene : MakeRenderScenes())
        if (scene.name == "filtering")
            filtering = scene;
    ASSERT_FALSE(filtering.draws.empty());
    // "r_filterlinear" off turns every linear draw of the scene into a nearest one.
    SRenderScene nearest = filtering;
    for (SSceneDraw& draw : nearest.draws)
        draw.linear = false;
    const std::vector<uint32_t> expected = DrawSceneOnDevice(nearest, 1);
    ASSERT_TRUE(expected != DrawSceneOnDevice(filtering, 1)) << "the scene filters linearly somewhere";

    auto software = OpenWindowed(std::make_unique<CD3D8Renderer>(), false);
    ASSERT_TRUE(software);
    const std::vector<uint32_t> d3d = DrawSceneOnRenderer(*software, filtering, dir.Join("d3d.tga"));
    EXPECT_EQ(CompareImages(d3d, expected, filtering.width, 0, 0).maxChannel, 0);
    software.reset();
    auto opengl = OpenWindowed(std::make_unique<COpenGLRenderer>(), false);
    ASSERT_TRUE(opengl);
    const std::vector<uint32_t> ogl = DrawSceneOnRenderer(*opengl, filtering, dir.Join("ogl.tga"));
    EXPECT_TRUE(IsNearRendererPicture("nearest", ogl, expected, filtering.width));
}
