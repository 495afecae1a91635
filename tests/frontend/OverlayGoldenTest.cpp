// The sample game's first level in flight with the whole HUD (the gauges fed by the
// player's ship, the radar, the station icons), and the same flight with the sample
// briefing typed over it, both drawn as the game draws a frame (the sprite bank's
// planes with the pages as plane 17's hook, then the gauges' bars): exact on the
// software device, within the renderers' tolerance on OpenGL. The sample data is read
// from the program folder as the game reads it, loose files and packs. Set
// TESS_UPDATE_GOLDENS=1 to write the pictures again after an intended change.

#include "core/FileBytes.h"
#include "core/StringTable.h"
#include "frontend/GameHud.h"
#include "frontend/GameTextPages.h"
#include "platform/D3D8Renderer.h"
#include "platform/OpenGLRenderer.h"
#include "platform/Tga.h"
#include "presentation/GuiManager.h"
#include "presentation/SpriteBank.h"
#include "presentation/TextPageManager.h"
#include "ships/PlayerShip.h"
#include "ships/ShipObjectTypes.h"
#include "tests/support/CurrentDir.h"
#include "tests/support/GoldenImage.h"
#include "tests/support/ImageCompare.h"
#include "tests/support/TempDir.h"
#include "tests/support/platform/OffscreenGl.h"
#include "tests/support/platform/TestWindow.h"
#include "tests/support/world/WorldHarness.h"
#include "utility/source/QelPackArchive.h"
#include "world/AsteroidField.h"
#include "world/Backdrop.h"
#include "world/Game.h"
#include "world/World.h"
#include "world/ZoneNode.h"

#include <gtest/gtest.h>

#include <memory>

namespace
{
constexpr int WIDTH = 640;
constexpr int HEIGHT = 480;
constexpr int DIK_UP = 200;
constexpr int DIK_RIGHT = 205;

enum EOverlayScene
{
    SCENE_FLIGHT,
    SCENE_PAGE,
};

const char* const GOLDEN_NAMES[] = {"hud_flight", "page_over_flight"};

uint32_t OverlayClock()
{
    return 100000;
}

// One frame as the game draws it, read back through a screenshot (0xAARRGGBB).
std::vector<uint32_t> DrawGameFrame(CRenderer& renderer, CSpriteBank& bank, CGame& game)
{
    renderer.Tick();
    renderer.BeginScene();
    bank.Render();
    game.GetHud().Draw(bank.GetCameraX(), bank.GetCameraY());
    renderer.EndScene();
    CTempDir dir;
    const std::string path = dir.Join("frame.tga");
    STgaImage image;
    if (!renderer.SaveScreenshot(path.c_str()) || !LoadTga(path.c_str(), image) || image.width != WIDTH ||
        image.height != HEIGHT)
        return {};
    return ArgbFromBgraBytes(image.pixels);
}

// Two seconds of the starter ship turning and thrusting through the field of zone 1's
// node 5 (seed 21), then (SCENE_PAGE) the first briefing typed for two seconds more.
std::vector<uint32_t> DrawOverlay(std::unique_ptr<CRenderer> renderer, EOverlayScene scene)
{
    std::vector<uint32_t> pixels;
    std::vector<uint8_t> level;
    const std::string program = TESS_BIN_DIR;
    if (!ReadFileBytes((program + "/data/init1.txt").c_str(), level))
    {
        ADD_FAILURE() << "the sample level cannot be read";
        return pixels;
    }
    CCurrentDir current(program);
    InitPackArchive();
    CStringTable strings;
    if (!strings.Load(STRING_TABLE_PATH) || !strings.SelectLanguage(0))
    {
        ADD_FAILURE() << "the sample string table does not load";
        FreePackArchive();
        return pixels;
    }
    CStringTable* const savedStrings = g_stringTable;
    g_stringTable = &strings;
    CRenderer& device = *renderer;
    {
        CWorldHarness harness(21, &RegisterShipObjectTypes, std::move(renderer));
        CGame& game = harness.GetGame();
        CGuiManager gui(device);
        gui.SetClock(&OverlayClock);
        CTextPageManager pages(gui);
        g_textPages = &pages;
        pages.InstallDrawCallback(harness.GetSpriteBank());
        InstallGameTextPages(game);
        EXPECT_TRUE(InstallGameHud(game));
        if (!gui.LoadSkin("defaultSkin") || !harness.StartLevel(std::string(level.begin(), level.end())))
            ADD_FAILURE() << "the sample skin or level does not load";
        else
        {
            // Space stays black behind the HUD: the level's backdrop has a picture of its own.
            game.GetBackdrop().Show(false);
            SZoneNode& node = harness.GetZones().m_node;
            node.asteroidCount = GenerateAsteroidMap(node.asteroidMap, 1, ZONE_NODE_NORMAL, 5, false);
            PlaceSectorAsteroids();
            int32_t handle = NO_OBJECT;
            CPlayerShip* ship = nullptr;
            if (game.GetWorld()->CreateObject(OBJECT_PLAYER_SHIP, handle))
                ship = dynamic_cast<CPlayerShip*>(game.GetWorld()->GetObject(handle));
            if (!ship || !ship->ApplyConfig(1))
                ADD_FAILURE() << "the level's starter ship cannot be made";
            else
            {
                ship->SetPosition(CVector2D(2000.0f, 2000.0f));
                ship->GetBody().previousPosition = ship->GetPosition();
                ship->PlaceShape();
                ship->SetFrozen(false);
                game.SetPlayerShipHandle(handle);
                game.GetCamera().CenterOn(handle, *game.GetWorld());
                game.GetCamera().Follow(handle, false);
                game.GetHud().Show(true);
                harness.ScriptKey(5, DIK_RIGHT, true);
                harness.ScriptKey(12, DIK_RIGHT, false);
                harness.ScriptKey(14, DIK_UP, true);
                harness.ScriptKey(45, DIK_UP, false);
                harness.RunFrames(50);
                if (scene == SCENE_PAGE)
                {
                    int page = -1;
                    game.GetTextPages().SetPilotName(u"KIM");
                    EXPECT_TRUE(pages.LoadPage("data\\chat\\briefing0.txt", 0, page)) << pages.GetLoadFailure();
                    EXPECT_TRUE(pages.ShowPage(page, nullptr, 0));
                    STextPageInput input;
                    for (int frame = 0; frame < 50; ++frame)
                    {
                        harness.RunFrame();
                        input.now = 200000 + 40 * static_cast<uint32_t>(frame);
                        pages.Update(input);
                    }
                    EXPECT_TRUE(pages.IsPageShowing(page));
                }
                pixels = DrawGameFrame(device, harness.GetSpriteBank(), game);
            }
        }
        RemoveGameTextPages(game);
        RemoveGameHud(game);
        pages.Destroy();
        g_textPages = nullptr;
        gui.Shutdown();
    }
    g_stringTable = savedStrings;
    FreePackArchive();
    return pixels;
}

class OverlayGolden : public ::testing::TestWithParam<EOverlayScene>
{
};
} // namespace

TEST_P(OverlayGolden, SoftwareDeviceDrawsTheOverlayExactly)
{
    auto renderer = std::make_unique<CD3D8Renderer>();
    ASSERT_TRUE(OpenTestWindow(*renderer));
    const std::vector<uint32_t> drawn = DrawOverlay(std::move(renderer), GetParam());
    ASSERT_EQ(drawn.size(), size_t(WIDTH) * HEIGHT);
    EXPECT_TRUE(MatchesGolden("frontend", GOLDEN_NAMES[GetParam()], WIDTH, HEIGHT, drawn));
}

TEST_P(OverlayGolden, OpenGLRendererDrawsTheOverlay)
{
    std::string reason;
    if (!UseOffscreenGl(reason))
        GTEST_SKIP() << reason;
    auto renderer = std::make_unique<COpenGLRenderer>();
    ASSERT_TRUE(OpenTestWindow(*renderer));
    const std::vector<uint32_t> drawn = DrawOverlay(std::move(renderer), GetParam());
    EXPECT_TRUE(IsNearRendererGolden("frontend", GOLDEN_NAMES[GetParam()], drawn));
}

INSTANTIATE_TEST_SUITE_P(Scenes, OverlayGolden, ::testing::Values(SCENE_FLIGHT, SCENE_PAGE),
                         [](const ::testing::TestParamInfo<EOverlayScene>& scene) {
                             return std::string(GOLDEN_NAMES[scene.param]);
                         });
