// The fixed test scenes drawn through both renderers give the software device's images: the
// Direct3D renderer exactly, the OpenGL renderer (Mesa's software driver in CI) within a
// small tolerance for its own filtering and rounding.

#include "platform/D3D8Renderer.h"
#include "platform/OpenGLRenderer.h"
#include "tests/support/OffscreenGl.h"
#include "tests/platform/SceneOnRenderer.h"
#include "tests/platform/d3d8/SceneOnDevice.h"
#include "tests/support/GoldenImage.h"
#include "tests/support/ImageCompare.h"
#include "tests/support/TempDir.h"

#include <gtest/gtest.h>

#include <cstdio>
#include <memory>

namespace
{
// Largest channel difference that still counts as the same pixel, and the share of pixels
// allowed beyond it. Nearest sampling exactly on a texel boundary and pixels exactly on an
// edge may go either way, so a pixel also counts as placed right when it is within 16 of a
// neighbour of the expected one (neighbours differ in vertex colour too); no more than 0.5 %
// may fail even that, and no more than 10 % may need it.
constexpr int CHANNEL_TOLERANCE = 3;
constexpr int NEIGHBOUR_TOLERANCE = 16;
constexpr double MISPLACED_SHARE = 0.005;
constexpr double DIFFERING_SHARE = 0.10;

template <typename T>
std::unique_ptr<T> OpenWindowed(std::unique_ptr<T> renderer)
{
    renderer->SetDefaultSettings();
    SDisplaySettings& settings = const_cast<SDisplaySettings&>(renderer->GetSettings());
    settings.fullScreen = false;
    settings.width = 640;
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
        const SImageDifference difference = CompareImages(drawn, expected, scene.width, CHANNEL_TOLERANCE, NEIGHBOUR_TOLERANCE);
        std::printf("%-12s largest channel difference %3d; beyond %d: %.2f%% of pixels, %.2f%% not even at a "
                    "neighbour\n",
                    scene.name.c_str(), difference.maxChannel, CHANNEL_TOLERANCE, difference.differingShare * 100.0,
                    difference.misplacedShare * 100.0);
        EXPECT_LE(difference.misplacedShare, MISPLACED_SHARE) << scene.name;
        EXPECT_LE(difference.differingShare, DIFFERING_SHARE) << scene.name;
        if (difference.misplacedShare > MISPLACED_SHARE || difference.differingShare > DIFFERING_SHARE)
            WriteImageTga(scene.name + ".ogl.tga", scene.width, scene.height, drawn);
    }
}
