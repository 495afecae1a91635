// The sprite test scene drawn through the OpenGL renderer (Mesa's software driver without a
// display) gives the stored picture of the software device within a small tolerance: the
// sprite bank's colour order and half-pixel shift for this renderer are right.

#include "platform/OpenGLRenderer.h"
#include "platform/Tga.h"
#include "presentation/SpriteBank.h"
#include "tests/support/ImageCompare.h"
#include "tests/support/OffscreenGl.h"
#include "tests/support/SpriteScene.h"
#include "tests/support/TempDir.h"

#include <gtest/gtest.h>

#include <cstdio>
#include <cstring>
#include <string>

namespace
{
std::vector<uint32_t> ToWords(const std::vector<uint8_t>& bytes)
{
    std::vector<uint32_t> words(bytes.size() / 4);
    std::memcpy(words.data(), bytes.data(), words.size() * 4);
    return words;
}
} // namespace

TEST(SpriteSceneGolden, OpenGLRendererDrawsTheSceneOfTheSoftwareDevice)
{
    std::string reason;
    if (!UseOffscreenGl(reason))
        GTEST_SKIP() << reason;
    CTempDir dir;
    COpenGLRenderer renderer;
    const_cast<SDisplaySettings&>(renderer.GetSettings()).fullScreen = false;
    const_cast<SDisplaySettings&>(renderer.GetSettings()).width = 640;
    ASSERT_TRUE(renderer.Open("Tessavar", nullptr));
    CSpriteBank bank;
    ASSERT_TRUE(bank.Init(&renderer));
    ASSERT_TRUE(BuildSpriteScene(bank, dir));
    const std::vector<uint8_t> scene = DrawSpriteScene(renderer, bank, dir);
    ASSERT_EQ(scene.size(), size_t(SPRITE_SCENE_WIDTH) * SPRITE_SCENE_HEIGHT * 4);

    STgaImage expected;
    const std::string golden = std::string(TESS_SOURCE_DIR) + "/tests/presentation/golden/sprite_scene.tga";
    ASSERT_TRUE(LoadTga(golden.c_str(), expected)) << golden;
    // Tolerances as for the fixed device scenes: 3 per channel, a pixel may take a
    // neighbour's value (within 16) where an edge or texel boundary falls exactly on it.
    const SImageDifference difference =
        CompareImages(ToWords(scene), ToWords(expected.pixels), SPRITE_SCENE_WIDTH, 3, 16);
    std::printf("sprite scene: largest channel difference %d; beyond 3: %.2f%% of pixels, %.2f%% not even at a "
                "neighbour\n",
                difference.maxChannel, difference.differingShare * 100.0, difference.misplacedShare * 100.0);
    EXPECT_LE(difference.misplacedShare, 0.005);
    EXPECT_LE(difference.differingShare, 0.10);
    if (difference.misplacedShare > 0.005 || difference.differingShare > 0.10)
        SaveTga32("sprite_scene.ogl.tga", SPRITE_SCENE_WIDTH, SPRITE_SCENE_HEIGHT, scene.data());
    bank.Shutdown();
    renderer.Close();
}
