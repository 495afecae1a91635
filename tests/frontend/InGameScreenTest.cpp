// The in-game menu over a flight of the sample level: its ships as the level's
// designs give them, their hulls in percent, repairs paid in gems, an empty slot
// that does nothing, and leaving for flight. The score page opens once a run. Once
// the station calls for attention, launch leaves the node with the station.

#include "frontend/GameFlow.h"
#include "frontend/InGameScreen.h"
#include "frontend/WebPages.h"
#include "ships/StationFlowLink.h"
#include "tests/support/frontend/FrontEndHarness.h"
#include "world/Game.h"
#include "world/GameObject.h"
#include "world/ObjectFactory.h"
#include "world/World.h"
#include "world/ZoneLink.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace
{
class InGameScreenTest : public ::testing::Test
{
protected:
    void SetUp() override
    {
        m_harness.RunFrame();
        CGameFlow& flow = m_harness.GetFlow();
        ASSERT_TRUE(flow.StartNewGame()); // the sample level and its four designs
        flow.GetDirector().SetProgressStage(STAGE_TUTORIAL);
        flow.SetMode(GAME_MODE_FLIGHT);
        m_harness.RunFrame();
        ASSERT_EQ(flow.GetMode(), GAME_MODE_FLIGHT);
        // The tutorial's Sparrow stands at 36 of 120; the Dart (80) has 20 stored.
        flow.GetCampaign().SetStoredHull(2, 20);
        flow.SetMode(GAME_MODE_IN_GAME_MENU);
        m_harness.WaitForInputGate();
    }
    const CScreenLayout& Page() { return m_harness.GetFlow().GetScreen(SCREEN_IN_GAME)->GetPage(); }
    void Press(int controlId) { m_harness.Activate(SCREEN_IN_GAME, controlId); }

    CFrontEndHarness m_harness;
};

// A station that keeps the warp state it is given, so that its sequences run.
class CWarpingStandInStation : public CGameObject
{
public:
    CWarpingStandInStation() : CGameObject(OBJECT_STATION) { m_body.health = 500; }
    void SetWarpState(EWarpState state) override { m_info.warpState = state; }
};

// The station's side as the test sets it: whether it holds the ship and calls for
// attention; a launch lets the ship go.
class CScriptedStation : public CStationFlowLink
{
public:
    bool HoldsPlayerShip(const CGameObject&) const override { return m_holds; }
    bool HasAttention(const CGameObject&) const override { return m_attention; }
    void BeginLaunch(CGameObject&) override
    {
        m_holds = false;
        ++m_launches;
    }

    bool m_holds = true;
    bool m_attention = true;
    int m_launches = 0;
};

// What the menu asks of the director at a beaten boss node.
class CChatRecordingDirector : public CDirectorFlowLink
{
public:
    bool HasChatPage() const override { return m_chatPage != -1; }
    void StartChatPage(int page) override { m_chatPage = page; }

    int m_chatPage = -1;
};

// A campaign's flight at a node: the station has warped in and holds the ship, the
// in-game menu is open.
class LeavingANodeTest : public ::testing::Test
{
protected:
    LeavingANodeTest()
    {
        RegisterObjectType(OBJECT_STATION, &CreateObjectOf<CWarpingStandInStation>);
        SetStationFlowLink(&m_link);
    }
    ~LeavingANodeTest() override
    {
        m_harness.GetFlow().SetDirector(nullptr);
        SetStationFlowLink(nullptr);
        RegisterObjectType(OBJECT_STATION, nullptr);
    }
    void SetUp() override
    {
        m_harness.RunFrame();
        CGameFlow& flow = m_harness.GetFlow();
        flow.SetDirector(&m_director);
        ASSERT_TRUE(flow.StartNewGame());
        m_director.SetProgressStage(STAGE_CAMPAIGN);
        flow.SetMode(GAME_MODE_FLIGHT);
        m_harness.RunFrame();
        ASSERT_EQ(flow.GetMode(), GAME_MODE_FLIGHT);
        ASSERT_NE(Station(), nullptr);
        // The station's arrival runs to its end.
        for (int i = 0; i < 400 && Game().GetWorld()->GetActiveWarpCount() > 0; ++i)
            m_harness.RunFrame();
        ASSERT_EQ(Game().GetWorld()->GetActiveWarpCount(), 0);
        ASSERT_EQ(Station()->GetInfo().warpState, WARP_NONE);
        m_ship = Game().GetPlayerShipHandle();
        flow.SetMode(GAME_MODE_IN_GAME_MENU);
        m_harness.WaitForInputGate();
        ASSERT_EQ(flow.GetCurrentScreenId(), SCREEN_IN_GAME);
    }
    CGame& Game() { return m_harness.GetGame(); }
    CGameObject* Station() { return Game().GetWorld()->GetObject(Game().GetStationHandle()); }
    void Press(int controlId) { m_harness.Activate(SCREEN_IN_GAME, controlId); }

    CFrontEndHarness m_harness;
    CScriptedStation m_link;
    CChatRecordingDirector m_director;
    int32_t m_ship = NO_OBJECT;
};

std::vector<std::string> s_opened;
bool RecordOpen(const char* address)
{
    s_opened.push_back(address);
    return true;
}
} // namespace

TEST_F(InGameScreenTest, ShipsShowTheirHullsAndAnEmptySlotDoesNothing)
{
    ASSERT_EQ(m_harness.GetFlow().GetCurrentScreenId(), SCREEN_IN_GAME);
    EXPECT_FALSE(m_harness.GetGame().IsPaused());
    const CScreenLayout& page = Page();
    // 36 of 120 is 30%; 20 of 80 is 25%; the Bulwark has nothing stored.
    EXPECT_EQ(page.GetText(CInGameScreen::FIRST_HULL), u"30%");
    EXPECT_EQ(page.GetText(CInGameScreen::FIRST_HULL + 1), u"25%");
    EXPECT_EQ(page.GetText(CInGameScreen::FIRST_HULL + 2), u"0%");
    EXPECT_EQ(page.GetText(CInGameScreen::FIRST_HULL + 3), u"...");
    EXPECT_EQ(page.GetText(CInGameScreen::FIRST_SHIP + 1), u"Dart");
    EXPECT_FALSE(page.IsEnabled(CInGameScreen::FIRST_SHIP + 3));
    EXPECT_FALSE(page.IsEnabled(CInGameScreen::FIRST_REPAIR + 3));
    // The current ship's button has the focus.
    EXPECT_EQ(m_harness.GetFocusId(), CInGameScreen::FIRST_SHIP);
    Press(CInGameScreen::FIRST_SHIP + 3);
    Press(CInGameScreen::FIRST_REPAIR + 3);
    EXPECT_EQ(m_harness.GetFlow().GetMode(), GAME_MODE_IN_GAME_MENU);
}

TEST_F(InGameScreenTest, ARepairIsPaidInGemsAndNothingWithoutThem)
{
    CCampaignFlowLink& campaign = m_harness.GetFlow().GetCampaign();
    Press(CInGameScreen::FIRST_REPAIR); // no gems: nothing
    EXPECT_EQ(campaign.GetStoredHull(1), 36);
    campaign.SetGemStock(GEM_NORMAL, 5);
    // A tenth of 120 is 12 missing at most, for 1 gem: 36 + 10.
    Press(CInGameScreen::FIRST_REPAIR);
    EXPECT_EQ(campaign.GetStoredHull(1), 46);
    EXPECT_EQ(campaign.GetGemStock(GEM_NORMAL), 4);
    EXPECT_EQ(Page().GetText(CInGameScreen::FIRST_HULL), u"38%");
}

TEST_F(InGameScreenTest, ChoosingAShipFliesIt)
{
    Press(CInGameScreen::FIRST_SHIP + 1);
    EXPECT_EQ(m_harness.GetGame().GetZones().GetCurrentShip(), 2);
    EXPECT_EQ(m_harness.GetFlow().GetMode(), GAME_MODE_FLIGHT);
    EXPECT_FALSE(Page().IsVisible(GetPageId(SCREEN_IN_GAME)));
}

TEST_F(LeavingANodeTest, LaunchWithTheStationsAttentionWarpsItOutWithTheShipAndShowsTheZoneMap)
{
    CGameFlow& flow = m_harness.GetFlow();
    CHarnessZones& zones = m_harness.GetWorld().GetZones();
    EXPECT_TRUE(m_harness.GetFlow().GetScreen(SCREEN_IN_GAME)->GetPage().IsEnabled(CInGameScreen::LAUNCH));
    Press(CInGameScreen::LAUNCH);
    // The menu closes; the ship stays aboard (no launch, no new ship) and the station
    // leaves with it.
    EXPECT_EQ(flow.GetMode(), GAME_MODE_FLIGHT);
    EXPECT_EQ(flow.GetCurrentScreenId(), SCREEN_NONE);
    EXPECT_EQ(m_link.m_launches, 0);
    EXPECT_TRUE(m_link.m_holds);
    EXPECT_EQ(Game().GetPlayerShipHandle(), m_ship);
    ASSERT_NE(Station(), nullptr);
    EXPECT_EQ(Station()->GetInfo().warpState, WARP_OUT);
    EXPECT_EQ(Game().GetWorld()->GetActiveWarpCount(), 1);
    EXPECT_EQ(zones.m_nodesStored, 0);

    // The departure's 8 s are 200 frames; then the front end shows the zone map, with
    // the node stored and the zone's fixed resources checked once.
    int frames = 0;
    while (frames < 400 && flow.GetMode() != GAME_MODE_FRONT_END)
    {
        m_harness.RunFrame();
        ++frames;
    }
    ASSERT_EQ(flow.GetMode(), GAME_MODE_FRONT_END) << "after " << frames << " frames";
    EXPECT_GE(frames, 195);
    EXPECT_EQ(flow.GetCurrentScreenId(), SCREEN_ZONE_MAP);
    EXPECT_EQ(zones.m_nodesStored, 1);
    EXPECT_EQ(zones.m_fixedResourceChecks, 1);
    EXPECT_EQ(Station(), nullptr);
    EXPECT_EQ(m_link.m_launches, 0);
}

// Where the jump is not to be made, the menu goes back to flight as before: the
// station launches a ship made for the flight, and stays.
TEST_F(LeavingANodeTest, WithoutTheJumpTheMenuReturnsToFlightOrWaitsForTheBoss)
{
    struct SCase
    {
        const char* what;
        int control;
        bool attention;
        bool bossNode;
        bool bossBeaten;
        bool bossPresent;
        bool launches;
    };
    const SCase cases[] = {
        {"a ship button with the attention set", CInGameScreen::FIRST_SHIP, true, false, false, false, true},
        {"launch without the attention (a tutorial's launch)", CInGameScreen::LAUNCH, false, false, false, false, true},
        {"launch while a boss is present", CInGameScreen::LAUNCH, true, true, false, true, true},
        {"launch at a beaten boss node: its chat first", CInGameScreen::LAUNCH, true, true, true, false, false},
    };
    CGameFlow& flow = m_harness.GetFlow();
    CHarnessZones& zones = m_harness.GetWorld().GetZones();
    for (const SCase& c : cases)
    {
        SCOPED_TRACE(c.what);
        m_link = CScriptedStation();
        m_link.m_attention = c.attention;
        m_director.m_chatPage = -1;
        zones.m_atBossNode = c.bossNode;
        zones.m_bossBeaten = c.bossBeaten;
        Game().GetRun().bossPresent = c.bossPresent;
        if (flow.GetMode() != GAME_MODE_IN_GAME_MENU)
        {
            flow.SetMode(GAME_MODE_IN_GAME_MENU);
            m_harness.WaitForInputGate();
        }
        Press(c.control);
        ASSERT_NE(Station(), nullptr);
        EXPECT_EQ(Station()->GetInfo().warpState, WARP_NONE);
        EXPECT_EQ(Game().GetWorld()->GetActiveWarpCount(), 0);
        EXPECT_EQ(m_link.m_launches, c.launches ? 1 : 0);
        EXPECT_EQ(flow.GetMode(), c.launches ? GAME_MODE_FLIGHT : GAME_MODE_IN_GAME_MENU);
        EXPECT_EQ(m_director.m_chatPage, c.launches ? -1 : 64);
        m_harness.RunFrame();
    }
    EXPECT_EQ(zones.m_nodesStored, 0);
}

// What opens or shuts launch may change while the menu is open (the world stands
// still, but the tutorial's steps go on): the button follows at the next frame.
TEST_F(LeavingANodeTest, LaunchFollowsItsRuleWhileTheMenuIsOpen)
{
    struct SCase
    {
        const char* what;
        bool attention;
        int step;
        bool enabled;
    };
    const SCase cases[] = {
        {"the station calls for attention", true, -1, true},
        {"the call ends", false, -1, false},
        {"a launching step of the tutorial", false, 8, true},
        {"a step that does not launch", false, 22, false},
        {"step 9 with the attention set", true, 9, false},
        {"step 10", false, 10, true},
    };
    CGameFlow& flow = m_harness.GetFlow();
    const CScreenLayout& page = flow.GetScreen(SCREEN_IN_GAME)->GetPage();
    m_link.m_attention = false;
    m_harness.RunFrame();
    EXPECT_FALSE(page.IsEnabled(CInGameScreen::LAUNCH));
    for (const SCase& c : cases)
    {
        m_link.m_attention = c.attention;
        m_director.SetTutorialStep(c.step);
        m_harness.RunFrame();
        ASSERT_EQ(flow.GetMode(), GAME_MODE_IN_GAME_MENU) << c.what;
        EXPECT_EQ(page.IsEnabled(CInGameScreen::LAUNCH), c.enabled) << c.what;
    }
}

TEST(ScorePage, OpensOnceARunWithTheCodeInCapitals)
{
    s_opened.clear();
    SetWebPageOpener(&RecordOpen);
    ResetScoreSubmission();
    EXPECT_TRUE(SubmitScoreOnline("00ab12cd", "https://scores.invalid/post"));
    EXPECT_FALSE(SubmitScoreOnline("ffff", "https://scores.invalid/post"));
    ASSERT_EQ(s_opened.size(), 1u);
    EXPECT_EQ(s_opened[0], "https://scores.invalid/post?score=00AB12CD&exe=1");
    SetWebPageOpener(nullptr);
    ResetScoreSubmission();
}
