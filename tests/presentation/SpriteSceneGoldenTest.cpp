// The sprite test scene drawn through the Direct3D 8 renderer on the software device
// and compared pixel for pixel with the stored picture. Set TESS_UPDATE_GOLDEN=1 to write
// the picture again after an intended change (and look at it before committing).

#include "platform/D3D8Renderer.h"
#include "platform/Tga.h"
#include "presentation/SpriteBank.h"
#include "tests/support/presentation/SpriteScene.h"
#include "tests/support/TempDir.h"

#include <gtest/gtest.h>

#include <cstdio>
#include <cstdlib>
#include <string>

namespace
{
// 640 x 480 in a window, now and after any display reset.
bool OpenWindowed(CD3D8Renderer& renderer)
{
    renderer.SetDefaultSettings();
    SDisplaySettings& pending = renderer.GetPendingSettings();
    pending.fullScreen = false;
    pending.width = 640;
    pending.height = 480;
    const_cast<SDisplaySettings&>(renderer.GetSettings()) = pending;
    return renderer.Open("Tessavar", nullptr);
}
} // namespace

TEST(SpriteSceneGolden, SoftwareDeviceDrawsTheSceneExactly)
{
    CTempDir dir;
    CD3D8Renderer renderer;
    ASSERT_TRUE(OpenWindowed(renderer));
    CSpriteBank bank;
    ASSERT_TRUE(bank.Init(&renderer));
    ASSERT_TRUE(BuildSpriteScene(bank, dir));
    std::vector<uint8_t> scene = DrawSpriteScene(renderer, bank, dir);
    const int kCropWidth = SPRITE_SCENE_WIDTH, kCropHeight = SPRITE_SCENE_HEIGHT;
    ASSERT_EQ(scene.size(), size_t(kCropWidth) * kCropHeight * 4);

    const std::string golden = std::string(TESS_SOURCE_DIR) + "/tests/presentation/golden/sprite_scene.tga";
    const char* update = std::getenv("TESS_UPDATE_GOLDENS");
    if (update && *update == '1')
    {
        ASSERT_TRUE(SaveTga32(golden.c_str(), kCropWidth, kCropHeight, scene.data()));
    }
    STgaImage expected;
    ASSERT_TRUE(LoadTga(golden.c_str(), expected)) << golden;
    ASSERT_EQ(expected.width, kCropWidth);
    ASSERT_EQ(expected.height, kCropHeight);
    size_t differing = 0, first = 0;
    for (size_t i = 0; i < scene.size(); ++i)
        if (scene[i] != expected.pixels[i])
        {
            if (differing == 0)
                first = i / 4;
            ++differing;
        }
    if (differing)
        SaveTga32(dir.Join("actual.tga").c_str(), kCropWidth, kCropHeight, scene.data());
    EXPECT_EQ(differing, 0u) << "first at (" << first % kCropWidth << ", " << first / kCropWidth << ")";
    bank.Shutdown();
    renderer.Close();
}

// After a display reset the device has new textures and buffers; the scene draws the
// same without its files, which are gone by then.
TEST(SpriteSceneGolden, DisplayResetDrawsTheSameSceneFromMemory)
{
    CTempDir dir;
    CD3D8Renderer renderer;
    ASSERT_TRUE(OpenWindowed(renderer));
    CSpriteBank bank;
    ASSERT_TRUE(bank.Init(&renderer));
    ASSERT_TRUE(BuildSpriteScene(bank, dir));
    std::vector<uint8_t> before = DrawSpriteScene(renderer, bank, dir);
    ASSERT_FALSE(before.empty());
    for (int i = 0; i < 7; ++i)
        ASSERT_EQ(std::remove(dir.Join("s" + std::to_string(i) + ".spr").c_str()), 0);
    ASSERT_TRUE(renderer.ResetDisplay());
    std::vector<uint8_t> after = DrawSpriteScene(renderer, bank, dir);
    EXPECT_TRUE(after == before);
    bank.Shutdown();
    renderer.Close();
}
