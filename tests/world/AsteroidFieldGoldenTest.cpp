// A fixed seed's asteroid field over the starfield of the sample level, at a fixed
// camera place, drawn through the Direct3D 8 renderer on the software device (exact,
// against the stored picture) and through the OpenGL renderer (within the renderers'
// tolerance of the same picture). TESS_UPDATE_GOLDENS=1 writes the picture again
// after an intended change.

#include "core/FileBytes.h"
#include "platform/D3D8Renderer.h"
#include "platform/OpenGLRenderer.h"
#include "tests/support/CurrentDir.h"
#include "tests/support/GoldenImage.h"
#include "tests/support/ImageCompare.h"
#include "tests/support/TempDir.h"
#include "tests/support/platform/OffscreenGl.h"
#include "tests/support/platform/TestWindow.h"
#include "tests/support/presentation/SpriteScene.h"
#include "tests/support/world/WorldHarness.h"
#include "world/AsteroidField.h"
#include "world/Backdrop.h"
#include "world/Game.h"
#include "world/ZoneNode.h"

#include <gtest/gtest.h>

#include <memory>

namespace
{
constexpr int WIDTH = 400;
constexpr int HEIGHT = 300;

// The sample level's field at node 5 of zone 1 (seed 21), seen from (1960, 1680)
// (a small, a medium and a large rock) after half a second, cropped to the top-left 400 x 300 pixels (0xAARRGGBB).
std::vector<uint32_t> DrawField(std::unique_ptr<CRenderer> renderer)
{
    std::vector<uint8_t> level;
    if (!ReadFileBytes((std::string(TESS_SOURCE_DIR) + "/data-src/levels/init1.txt").c_str(), level))
    {
        ADD_FAILURE() << "the sample level cannot be read";
        return {};
    }
    CTempDir dir;
    // The level names its sprites by program-folder paths; the build puts them under
    // the resource pack folder beside the program folder.
    CCurrentDir respack(std::string(TESS_BIN_DIR) + "/../respack");
    CRenderer& device = *renderer;
    CWorldHarness harness(21, nullptr, std::move(renderer));
    if (!harness.StartLevel(std::string(level.begin(), level.end())))
    {
        ADD_FAILURE() << "the sample level does not start";
        return {};
    }
    CGame& game = harness.GetGame();
    if (game.GetBackdrop().GetStarCount() == 0)
    {
        ADD_FAILURE() << "the sample sprites (built into the resource pack folder) do not load";
        return {};
    }
    SZoneNode& node = harness.GetZones().m_node;
    node.asteroidCount = GenerateAsteroidMap(node.asteroidMap, 1, ZONE_NODE_NORMAL, 5, false);
    EXPECT_GT(node.asteroidCount, 10);
    PlaceSectorAsteroids();
    game.GetCamera().SetPosition(1960.0f, 1680.0f);
    harness.RunFrames(12);
    return ArgbFromBgraBytes(DrawBankFrame(device, harness.GetSpriteBank(), dir, WIDTH, HEIGHT));
}
} // namespace

TEST(AsteroidFieldGolden, SoftwareDeviceDrawsTheFieldExactly)
{
    auto renderer = std::make_unique<CD3D8Renderer>();
    ASSERT_TRUE(OpenTestWindow(*renderer));
    const std::vector<uint32_t> drawn = DrawField(std::move(renderer));
    ASSERT_EQ(drawn.size(), size_t(WIDTH) * HEIGHT);
    EXPECT_TRUE(MatchesGolden("world", "asteroid_field", WIDTH, HEIGHT, drawn));
}

TEST(AsteroidFieldGolden, OpenGLRendererDrawsTheField)
{
    std::string reason;
    if (!UseOffscreenGl(reason))
        GTEST_SKIP() << reason;
    auto renderer = std::make_unique<COpenGLRenderer>();
    ASSERT_TRUE(OpenTestWindow(*renderer));
    const std::vector<uint32_t> drawn = DrawField(std::move(renderer));
    uint32_t width = 0, height = 0;
    std::vector<uint32_t> golden;
    ASSERT_TRUE(ReadImageTga(std::string(TESS_SOURCE_DIR) + "/tests/world/golden/asteroid_field.tga", width, height,
                             golden));
    ASSERT_EQ(drawn.size(), golden.size());
    EXPECT_TRUE(IsNearRendererPicture("asteroid_field", drawn, golden, width));
}
