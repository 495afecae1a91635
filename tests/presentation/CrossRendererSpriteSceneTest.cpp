// The sprite test scene drawn through the OpenGL renderer (Mesa's software driver in CI)
// gives the software device's stored picture within the tolerance that the fixed
// renderer scenes use (see tests/platform/CrossRendererGoldenTest.cpp).

#include "platform/OpenGLRenderer.h"
#include "platform/Tga.h"
#include "presentation/SpriteBank.h"
#include "tests/support/GoldenImage.h"
#include "tests/support/ImageCompare.h"
#include "tests/support/platform/OffscreenGl.h"
#include "tests/support/presentation/SpriteScene.h"
#include "tests/support/TempDir.h"

#include <gtest/gtest.h>

#include <cstdio>
#include <string>

TEST(CrossRendererSpriteScene, OpenGLRendererDrawsTheSpriteScene)
{
    std::string reason;
    if (!UseOffscreenGl(reason))
        GTEST_SKIP() << reason;
    CTempDir dir;
    COpenGLRenderer renderer;
    renderer.SetDefaultSettings();
    SDisplaySettings& settings = const_cast<SDisplaySettings&>(renderer.GetSettings());
    settings.fullScreen = false;
    settings.width = 640;
    settings.height = 480;
    ASSERT_TRUE(renderer.Open("Tessavar", nullptr));
    CSpriteBank bank;
    ASSERT_TRUE(bank.Init(&renderer));
    ASSERT_TRUE(BuildSpriteScene(bank, dir));
    const std::vector<uint32_t> drawn = ArgbFromBgraBytes(DrawSpriteScene(renderer, bank, dir));

    STgaImage golden;
    ASSERT_TRUE(LoadTga((std::string(TESS_SOURCE_DIR) + "/tests/presentation/golden/sprite_scene.tga").c_str(),
                        golden));
    const std::vector<uint32_t> expected = ArgbFromBgraBytes(golden.pixels);
    ASSERT_EQ(drawn.size(), expected.size());
    EXPECT_TRUE(IsNearRendererPicture("sprite_scene", drawn, expected, SPRITE_SCENE_WIDTH));
    bank.Shutdown();
    renderer.Close();
}
