#include "frontend/GameFlow.h"
#include "frontend/ZoneMapScreen.h"
#include "platform/input/DikCodes.h"
#include "tests/frontend/CampaignScreenFixture.h"
#include "world/GalaxyMap.h"
#include "world/Game.h"
#include "world/ZoneDefinition.h"
#include "world/ZoneManager.h"

#include <gtest/gtest.h>

namespace
{
using S = CZoneMapScreen;
// W, the key of the back action in the default key map.
constexpr int KEY_W = 0x11;

// The zone map on the sample zones: zone 0 with the player at its start node 13.
class ZoneMapScreenTest : public ::testing::Test
{
protected:
    void SetUp() override
    {
        ASSERT_TRUE(m_fixture.IsReady());
        ASSERT_NE(Zones(), nullptr);
        ASSERT_GE(Zones()->GetZoneCount(), 1);
        Zones()->SetCurrentZone(0);
        Zones()->InitNodeState();
        ASSERT_EQ(Zones()->GetCurrentNodeIndex(), 13);
    }

    CZoneManager* Zones() { return m_fixture.GetHarness().GetGame().GetZoneManager(); }
    CGalaxyMap& Map() { return Zones()->GetGalaxyMap(); }
    S& Screen() { return *static_cast<S*>(m_fixture.GetFlow().GetScreen(SCREEN_ZONE_MAP)); }
    const CScreenLayout& Page() { return m_fixture.GetPage(SCREEN_ZONE_MAP); }
    bool Act(int id, int action = GUI_ACTION_SELECT) { return m_fixture.Act(SCREEN_ZONE_MAP, id, action); }
    void ExpectButtons(bool back, bool mapView, bool jump, bool info)
    {
        EXPECT_EQ(Page().IsEnabled(S::BACK), back);
        EXPECT_EQ(Page().IsEnabled(S::MAP_VIEW), mapView);
        EXPECT_EQ(Page().IsEnabled(S::JUMP), jump);
        EXPECT_EQ(Page().IsEnabled(S::INFO), info);
    }
    // Runs frames until the map's jump is over (at most `frames`).
    void RunUntilChoosing(int frames = 200)
    {
        for (int i = 0; i < frames && Map().GetJumpState() != MAP_CHOOSING; ++i)
            m_fixture.GetHarness().RunFrame();
        ASSERT_EQ(Map().GetJumpState(), MAP_CHOOSING);
    }

    CCampaignScreenFixture m_fixture;
};

TEST_F(ZoneMapScreenTest, ShowingOpensTheMapWithTheButtonsAndTexts)
{
    m_fixture.ShowScreen(SCREEN_ZONE_MAP);
    EXPECT_EQ(m_fixture.GetFocusId(), S::BACK);
    ExpectButtons(true, true, true, true);
    EXPECT_FALSE(Page().IsVisible(S::MARKER));
    EXPECT_TRUE(Map().IsShown());
    // The map only shows until the map view hands it the keys.
    EXPECT_FALSE(Map().IsEnabled());
    EXPECT_TRUE(Map().GetTargets().empty());
    EXPECT_TRUE(Screen().GetPanel().IsVisible(S::PANEL));
    EXPECT_EQ(Screen().GetPanel().GetText(CGalaxyMap::TEXT_VIEW_TITLE), u"Zone map");
    EXPECT_EQ(Screen().GetPanel().GetText(CGalaxyMap::TEXT_ZONE_FIRST), u"Zone 1");
    // Both slots of a new game stand idle.
    EXPECT_EQ(Page().GetText(S::MANUFACTURING_STATE),
              LookUpText(S::TEXT_MANUFACTURING) + u" " + LookUpText(0x25000003));
    EXPECT_EQ(Page().GetText(S::RESEARCH_STATE),
              LookUpText(S::TEXT_RESEARCH) + u" " + LookUpText(0x25000003));

    // Back to the bridge: the map goes with the screen.
    ASSERT_TRUE(Act(S::BACK));
    m_fixture.GetHarness().RunFrame();
    EXPECT_EQ(m_fixture.GetFlow().GetCurrentScreenId(), SCREEN_HUB);
    EXPECT_FALSE(Map().IsShown());
    EXPECT_FALSE(Screen().GetPanel().IsVisible(S::PANEL));
}

TEST_F(ZoneMapScreenTest, TheMapViewHandsTheKeysToTheMapUntilTheBackAction)
{
    m_fixture.ShowScreen(SCREEN_ZONE_MAP);
    ASSERT_TRUE(Act(S::MAP_VIEW));
    EXPECT_TRUE(Screen().IsMapView());
    ExpectButtons(false, false, false, false);
    // No button keeps the focus (the map's panel may take it).
    EXPECT_TRUE(m_fixture.GetFocusId() < S::BACK || m_fixture.GetFocusId() > S::INFO) << m_fixture.GetFocusId();
    EXPECT_TRUE(Map().IsEnabled());
    EXPECT_EQ(Map().GetView(), MAP_VIEW_ZONE); // node 13 is a normal node
    m_fixture.GetHarness().WaitForInputGate();
    // The targets within reach are offered, the current node first among them.
    EXPECT_FALSE(Map().GetTargets().empty());

    // W, the back action, leaves the map view.
    m_fixture.GetHarness().PressKey(KEY_W);
    m_fixture.GetHarness().RunFrames(2);
    m_fixture.GetHarness().ReleaseKey(KEY_W);
    m_fixture.GetHarness().RunFrame();
    EXPECT_FALSE(Screen().IsMapView());
    ExpectButtons(true, true, true, true);
    EXPECT_EQ(m_fixture.GetFocusId(), S::BACK);
    EXPECT_FALSE(Map().IsEnabled());
}

TEST_F(ZoneMapScreenTest, TheJumpButtonPassesAMinuteWhereThePlayerStands)
{
    m_fixture.ShowScreen(SCREEN_ZONE_MAP);
    const uint32_t clock = Zones()->GetClock();
    ASSERT_TRUE(Act(S::JUMP));
    EXPECT_TRUE(Screen().IsJumpRequested());
    m_fixture.GetHarness().RunFrame();
    // The request went to the map with that frame's update.
    EXPECT_FALSE(Screen().IsJumpRequested());
    EXPECT_EQ(Zones()->GetClock(), clock + 60000u);
    RunUntilChoosing();
    EXPECT_EQ(Zones()->GetCurrentNodeIndex(), 13);
    EXPECT_EQ(m_fixture.GetFlow().GetMode(), GAME_MODE_FRONT_END);
    ExpectButtons(true, true, true, true);
}

TEST_F(ZoneMapScreenTest, AChosenTargetJumpsThereAndGivesTheButtonsBack)
{
    m_fixture.ShowScreen(SCREEN_ZONE_MAP);
    ASSERT_TRUE(Act(S::MAP_VIEW));
    m_fixture.GetHarness().WaitForInputGate();
    // The first target within reach other than where the player stands.
    int32_t target = MAP_NO_TARGET;
    for (const SMapCandidate& candidate : Map().GetTargets())
        if (candidate.target != 13 && target == MAP_NO_TARGET)
            target = candidate.target;
    ASSERT_NE(target, MAP_NO_TARGET);
    ASSERT_TRUE(Map().ChooseTarget(target));
    const uint32_t clock = Zones()->GetClock();
    // A quarter second later the jump starts.
    for (int i = 0; i < 10 && Map().GetJumpState() == MAP_CHOOSING; ++i)
        m_fixture.GetHarness().RunFrame();
    EXPECT_EQ(Map().GetJumpState(), MAP_JUMPING);
    EXPECT_EQ(Zones()->GetCurrentNodeIndex(), target);
    EXPECT_EQ(Zones()->GetClock(), clock + 60000u);
    RunUntilChoosing();
    // No enemies wait there: the map stays, its buttons usable again.
    EXPECT_EQ(m_fixture.GetFlow().GetMode(), GAME_MODE_FRONT_END);
    ExpectButtons(true, true, true, true);
}

TEST_F(ZoneMapScreenTest, TheTutorialsMapStepsStartTheMapViewWithOneButton)
{
    struct SCase
    {
        int step;
        int focus;
        bool back, mapView, jump, info;
    };
    const SCase cases[] = {
        {S::TUTORIAL_STEP_JUMP, S::JUMP, false, false, true, false},
        {S::TUTORIAL_STEP_FIRST_MAP, S::BACK, true, false, false, false},
    };
    for (const SCase& c : cases)
    {
        SCOPED_TRACE(c.step);
        m_fixture.GetFlow().GetDirector().SetTutorialStep(c.step);
        m_fixture.ShowScreen(SCREEN_ZONE_MAP);
        EXPECT_TRUE(Screen().IsMapView());
        EXPECT_TRUE(Map().IsEnabled());
        EXPECT_EQ(m_fixture.GetFocusId(), c.focus);
        ExpectButtons(c.back, c.mapView, c.jump, c.info);
        m_fixture.ShowScreen(SCREEN_HUB);
    }
}

TEST_F(ZoneMapScreenTest, TheInfoPopupHoldsTheChatsUntilItCloses)
{
    m_fixture.ShowScreen(SCREEN_ZONE_MAP);
    ASSERT_TRUE(Act(S::INFO));
    m_fixture.GetHarness().RunFrame();
    EXPECT_TRUE(Screen().IsPopupOpen());
    EXPECT_EQ(m_fixture.GetFocusId(), S::INFO_CLOSE);
    EXPECT_FALSE(m_fixture.GetFlow().IsChatClosed());
    m_fixture.GetHarness().WaitForInputGate();
    ASSERT_TRUE(m_fixture.ActInPopup(SCREEN_ZONE_MAP, S::INFO_CLOSE));
    EXPECT_FALSE(Screen().IsPopupOpen());
    EXPECT_EQ(m_fixture.GetFocusId(), S::INFO);
    EXPECT_TRUE(m_fixture.GetFlow().IsChatClosed());

    // In the tutorial there is no zone information to open.
    m_fixture.GetFlow().GetDirector().SetProgressStage(S::STAGE_TUTORIAL);
    m_fixture.ShowScreen(SCREEN_HUB);
    m_fixture.ShowScreen(SCREEN_ZONE_MAP);
    EXPECT_FALSE(Page().IsEnabled(S::INFO));
}
} // namespace
