// The campaign's front-end screens on the sample data, drawn as the game draws a
// front-end frame (the sprite bank's planes, among them the backdrop the screen plays
// through the director, with the GUI's layers as their hooks, then the game flow's
// gauges, graphs and texts): exact on the software device, within the
// renderers' tolerance on OpenGL. Set TESS_UPDATE_GOLDENS=1 to write the pictures
// again after an intended change.

#include "frontend/GameFlow.h"
#include "frontend/ResearchScreen.h"
#include "frontend/SequenceDirector.h"
#include "frontend/ShipConstructScreen.h"
#include "frontend/ShipDesignRules.h"
#include "frontend/ShipSelectScreen.h"
#include "frontend/StoresScreen.h"
#include "ships/ShipComponentDatabase.h"
#include "platform/D3D8Renderer.h"
#include "platform/OpenGLRenderer.h"
#include "platform/Tga.h"
#include "presentation/GuiManager.h"
#include "presentation/SpriteBank.h"
#include "tests/frontend/CampaignScreenFixture.h"
#include "tests/support/GoldenImage.h"
#include "tests/support/ImageCompare.h"
#include "tests/support/TempDir.h"
#include "tests/support/frontend/ScriptedDirectorPages.h"
#include "tests/support/platform/OffscreenGl.h"
#include "tests/support/platform/TestWindow.h"

#include <gtest/gtest.h>

#include <functional>
#include <memory>

namespace
{
constexpr int WIDTH = 640;
constexpr int HEIGHT = 480;

enum EScreenScene
{
    SCENE_RESEARCH,
    SCENE_STORES,
    SCENE_SHIP_SELECT,
    SCENE_SHIP_CONSTRUCT,
    SCENE_COUNT,
};

const char* const GOLDEN_NAMES[SCENE_COUNT] = {"research_screen", "stores_screen", "ship_select_screen",
                                               "ship_construct_screen"};
const int SCENE_SCREENS[SCENE_COUNT] = {SCREEN_RESEARCH, SCREEN_STORES, SCREEN_SHIP_SELECT,
                                        SCREEN_SHIP_CONSTRUCT};

std::vector<uint32_t> DrawFrontEndFrame(CRenderer& renderer, CCampaignScreenFixture& fixture)
{
    renderer.Tick();
    renderer.BeginScene();
    fixture.GetHarness().GetWorld().GetSpriteBank().Render();
    fixture.GetFlow().DrawFrontEnd();
    fixture.GetFlow().Draw();
    renderer.EndScene();
    CTempDir dir;
    const std::string path = dir.Join("frame.tga");
    STgaImage image;
    if (!renderer.SaveScreenshot(path.c_str()) || !LoadTga(path.c_str(), image) || image.width != WIDTH ||
        image.height != HEIGHT)
        return {};
    return ArgbFromBgraBytes(image.pixels);
}

// A manufacture of two cargo pods under way for 40 s of zone time, with the panel
// entered on it, and a research of the next engine started.
void SetUpResearch(CCampaignScreenFixture& fixture)
{
    using R = CResearchScreen;
    fixture.SetGems(60, 20, 9);
    fixture.ClearStore();
    SCampaignState& state = fixture.GetState();
    state.pilot.difficulty = 0;
    state.manufactureSlot.rate = 3;
    state.researchSlot.rate = 2;
    fixture.ShowScreen(SCREEN_RESEARCH);
    ASSERT_TRUE(fixture.Act(SCREEN_RESEARCH, R::MANUFACTURE_TAB));
    for (int i = 0; i < COMPONENT_KIND_COUNT; ++i)
        fixture.Act(SCREEN_RESEARCH, R::KIND_LIST, GUI_ACTION_RIGHT);
    fixture.Act(SCREEN_RESEARCH, R::UNITS, GUI_ACTION_RIGHT);
    ASSERT_TRUE(fixture.Act(SCREEN_RESEARCH, R::START));
    ASSERT_TRUE(fixture.Act(SCREEN_RESEARCH, R::RESEARCH_TAB));
    fixture.Act(SCREEN_RESEARCH, R::CREW, GUI_ACTION_RIGHT);
    fixture.Act(SCREEN_RESEARCH, R::CREW, GUI_ACTION_RIGHT);
    ASSERT_TRUE(fixture.Act(SCREEN_RESEARCH, R::START));
    const uint32_t start = state.manufactureSlot.startTime;
    for (uint32_t t = 1; t <= 4; ++t)
        fixture.GetCampaign().AdvanceResearch(start + t * CCampaign::SLOT_STEP_MIN_MS);
    ASSERT_TRUE(fixture.Act(SCREEN_RESEARCH, R::MANUFACTURE_TAB));
}

void SetUpStores(CCampaignScreenFixture& fixture)
{
    fixture.SetGems(80, 30, 5);
    fixture.ClearStore();
    CCampaign& campaign = fixture.GetCampaign();
    for (int32_t kind : {COMPONENT_CARGO, COMPONENT_ENGINE, COMPONENT_GENERATOR, COMPONENT_BATTERY,
                         COMPONENT_PROJECTILE_GUN, COMPONENT_CARGO, COMPONENT_HULL, COMPONENT_GRAVITY_BEAM})
        campaign.AddStoredItem(kind, kind == COMPONENT_HULL ? 1 : 0);
    fixture.ShowScreen(SCREEN_STORES);
    ASSERT_TRUE(fixture.Act(SCREEN_STORES, CStoresScreen::ENTRY));
    ASSERT_TRUE(fixture.Act(SCREEN_STORES, CStoresScreen::FIRST_ROW, GUI_ACTION_DOWN));
}

// The sample game's Dart and Bulwark in bays 2 and 3 (the Dart worn to half), bay 4
// empty, the Dart in hand.
void SetUpShipSelect(CCampaignScreenFixture& fixture)
{
    SCampaignState& state = fixture.GetState();
    state.ships[0].storedHealth = 30;
    state.ships[2].storedHealth = 40;
    state.ships[3].storedHealth = 260;
    fixture.ShowScreen(SCREEN_SHIP_SELECT);
    ASSERT_TRUE(fixture.Act(SCREEN_SHIP_SELECT, CShipSelectScreen::GetSlotButton(2)));
}

// A new sparrow in bay 4 with an engine, a generator and a gun fitted, the lists of
// what is left in the stores open.
void SetUpShipConstruct(CCampaignScreenFixture& fixture)
{
    fixture.SetGems(40, 10, 2);
    fixture.ClearStore();
    CCampaign& campaign = fixture.GetCampaign();
    CShipComponentDatabase& database = fixture.GetDatabase();
    for (int32_t kind : {COMPONENT_HULL, COMPONENT_SHIELD, COMPONENT_GRAVITY_BEAM, COMPONENT_CARGO})
        campaign.AddStoredItem(kind, kind == COMPONENT_HULL ? 1 : 0);
    ASSERT_TRUE(CreateDesign(campaign, database, 4, "Kestrel"));
    ASSERT_TRUE(SetDesignHull(campaign, database, 4, 1));
    CShipConfig& design = *database.GetShipConfig(4);
    const struct
    {
        float x, y;
        EComponentKind kind;
        int32_t definition;
    } fitted[] = {{1, 2, COMPONENT_ENGINE, 1}, {0, 1, COMPONENT_GENERATOR, 1}, {0, 0, COMPONENT_PROJECTILE_GUN, 0}};
    for (const auto& pod : fitted)
    {
        SShipPod& target = design.m_pods[design.FindPodAt(CVector2D(pod.x, pod.y))];
        target.m_kind = pod.kind;
        target.m_defIndex = pod.definition;
    }
    design.AssignToWeaponGroup(1, CVector2D(0.0f, 0.0f));
    static_cast<CShipConstructScreen*>(fixture.GetFlow().GetScreen(SCREEN_SHIP_CONSTRUCT))->SetDesign(4, false);
    fixture.ShowScreen(SCREEN_SHIP_CONSTRUCT);
    ASSERT_TRUE(fixture.Act(SCREEN_SHIP_CONSTRUCT, CShipConstructScreen::ADD_COMPONENT));
    ASSERT_TRUE(fixture.Act(SCREEN_SHIP_CONSTRUCT, CShipConstructScreen::CATEGORY_LIST, GUI_ACTION_RIGHT));
}

std::vector<uint32_t> DrawScreen(std::unique_ptr<CRenderer> renderer, EScreenScene scene)
{
    CRenderer& device = *renderer;
    CCampaignScreenFixture fixture(std::move(renderer));
    if (!fixture.IsReady())
        return {};
    CGuiManager& gui = fixture.GetHarness().GetGui();
    if (!gui.LoadSkin("defaultSkin"))
    {
        ADD_FAILURE() << "the sample skin does not load";
        return {};
    }
    gui.InstallLayerDrawCallbacks(fixture.GetHarness().GetWorld().GetSpriteBank());
    gui.ShowMouseCursor(false);
    CScriptedDirectorPages pages;
    CSequenceDirector director(fixture.GetHarness().GetGame(), fixture.GetFlow(), pages);
    director.Install();
    switch (scene)
    {
    case SCENE_RESEARCH:
        SetUpResearch(fixture);
        break;
    case SCENE_STORES:
        SetUpStores(fixture);
        break;
    case SCENE_SHIP_SELECT:
        SetUpShipSelect(fixture);
        break;
    default:
        SetUpShipConstruct(fixture);
        break;
    }
    // The research status blinks: drawn while its text shows (other screens run the
    // ten frames).
    const CScreenLayout& page = fixture.GetPage(SCENE_SCREENS[scene]);
    for (int frame = 0; frame < 10 && (frame == 0 || !page.IsVisible(CResearchScreen::STATUS)); ++frame)
        fixture.GetHarness().RunFrame();
    return DrawFrontEndFrame(device, fixture);
}

class CampaignScreenGolden : public ::testing::TestWithParam<EScreenScene>
{
};
} // namespace

TEST_P(CampaignScreenGolden, SoftwareDeviceDrawsTheScreenExactly)
{
    auto renderer = std::make_unique<CD3D8Renderer>();
    ASSERT_TRUE(OpenTestWindow(*renderer));
    const std::vector<uint32_t> drawn = DrawScreen(std::move(renderer), GetParam());
    ASSERT_EQ(drawn.size(), size_t(WIDTH) * HEIGHT);
    EXPECT_TRUE(MatchesGolden("frontend", GOLDEN_NAMES[GetParam()], WIDTH, HEIGHT, drawn));
}

TEST_P(CampaignScreenGolden, OpenGLRendererDrawsTheScreen)
{
    std::string reason;
    if (!UseOffscreenGl(reason))
        GTEST_SKIP() << reason;
    auto renderer = std::make_unique<COpenGLRenderer>();
    ASSERT_TRUE(OpenTestWindow(*renderer));
    const std::vector<uint32_t> drawn = DrawScreen(std::move(renderer), GetParam());
    EXPECT_TRUE(IsNearRendererGolden("frontend", GOLDEN_NAMES[GetParam()], drawn));
}

INSTANTIATE_TEST_SUITE_P(Screens, CampaignScreenGolden,
                         ::testing::Values(SCENE_RESEARCH, SCENE_STORES, SCENE_SHIP_SELECT, SCENE_SHIP_CONSTRUCT),
                         [](const ::testing::TestParamInfo<EScreenScene>& scene) {
                             return std::string(GOLDEN_NAMES[scene.param]);
                         });
