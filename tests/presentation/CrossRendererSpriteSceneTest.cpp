// The sprite test scene drawn through the OpenGL renderer (Mesa's software driver in CI)
// gives the software device's stored picture within the tolerance that the fixed
// renderer scenes use (see tests/platform/CrossRendererGoldenTest.cpp).

#include "platform/OpenGLRenderer.h"
#include "platform/Tga.h"
#include "presentation/SpriteBank.h"
#include "tests/support/ImageCompare.h"
#include "tests/support/platform/OffscreenGl.h"
#include "tests/support/presentation/SpriteScene.h"
#include "tests/support/TempDir.h"

#include <gtest/gtest.h>

#include <cstdio>
#include <string>

namespace
{
// Blue, green, red, alpha bytes as 0xAARRGGBB.
std::vector<uint32_t> ToArgb(const std::vector<uint8_t>& bytes)
{
    std::vector<uint32_t> argb(bytes.size() / 4);
    for (size_t i = 0; i < argb.size(); ++i)
        argb[i] = uint32_t(bytes[i * 4]) | uint32_t(bytes[i * 4 + 1]) << 8 | uint32_t(bytes[i * 4 + 2]) << 16 |
                  uint32_t(bytes[i * 4 + 3]) << 24;
    return argb;
}
} // namespace

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
    const std::vector<uint32_t> drawn = ToArgb(DrawSpriteScene(renderer, bank, dir));

    STgaImage golden;
    ASSERT_TRUE(LoadTga((std::string(TESS_SOURCE_DIR) + "/tests/presentation/golden/sprite_scene.tga").c_str(),
                        golden));
    const std::vector<uint32_t> expected = ToArgb(golden.pixels);
    ASSERT_EQ(drawn.size(), expected.size());
    EXPECT_TRUE(IsNearRendererPicture("sprite_scene", drawn, expected, SPRITE_SCENE_WIDTH));
    bank.Shutdown();
    renderer.Close();
}
