// The animation scene made of the sample data, drawn through the Direct3D 8 renderer on
// the software device (exact, against the stored picture) and through the OpenGL
// renderer (within the renderers' tolerance of the same picture). Set
// TESS_UPDATE_GOLDENS=1 to write the picture again after an intended change.

#include "platform/D3D8Renderer.h"
#include "platform/OpenGLRenderer.h"
#include "presentation/SpriteBank.h"
#include "tests/support/GoldenImage.h"
#include "tests/support/ImageCompare.h"
#include "tests/support/TempDir.h"
#include "tests/support/platform/OffscreenGl.h"
#include "tests/support/platform/TestWindow.h"
#include "tests/support/presentation/AnimationScene.h"

#include <gtest/gtest.h>

#include <memory>

namespace
{

// The scene through the renderer, as 0xAARRGGBB pixels.
std::vector<uint32_t> DrawScene(CRenderer& renderer)
{
    CTempDir dir;
    CSpriteBank bank;
    if (!bank.Init(&renderer))
        return {};
    std::vector<uint32_t> pixels;
    {
        CAnimationScene scene;
        std::string error;
        if (!scene.Build(bank, error))
        {
            ADD_FAILURE() << error;
            return {};
        }
        pixels = ArgbFromBgraBytes(scene.Draw(renderer, bank, dir));
    }
    bank.Shutdown();
    return pixels;
}
} // namespace

TEST(AnimationSceneGolden, SoftwareDeviceDrawsTheSceneExactly)
{
    CD3D8Renderer renderer;
    ASSERT_TRUE(OpenTestWindow(renderer));
    const std::vector<uint32_t> drawn = DrawScene(renderer);
    renderer.Close();
    ASSERT_EQ(drawn.size(), size_t(ANIMATION_SCENE_WIDTH) * ANIMATION_SCENE_HEIGHT);
    EXPECT_TRUE(MatchesGolden("presentation", "animation_scene", ANIMATION_SCENE_WIDTH, ANIMATION_SCENE_HEIGHT, drawn));
}

TEST(CrossRendererAnimationScene, OpenGLRendererDrawsTheAnimationScene)
{
    std::string reason;
    if (!UseOffscreenGl(reason))
        GTEST_SKIP() << reason;
    COpenGLRenderer renderer;
    ASSERT_TRUE(OpenTestWindow(renderer));
    const std::vector<uint32_t> drawn = DrawScene(renderer);
    renderer.Close();
    uint32_t width = 0, height = 0;
    std::vector<uint32_t> golden;
    ASSERT_TRUE(ReadImageTga(std::string(TESS_SOURCE_DIR) + "/tests/presentation/golden/animation_scene.tga", width,
                             height, golden));
    ASSERT_EQ(drawn.size(), golden.size());
    EXPECT_TRUE(IsNearRendererPicture("animation_scene", drawn, golden, width));
}
