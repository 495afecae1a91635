// The main menu: the pilot's name, the difficulty in the name popup, a new game with
// and without the tutorial, the quit confirmation, the hidden direct start.

#include "frontend/GameFlow.h"
#include "frontend/DeadScreen.h"
#include "frontend/MainMenuScreen.h"
#include "tests/support/frontend/FrontEndHarness.h"
#include "world/GameObject.h"
#include "world/ObjectFactory.h"
#include "world/ZoneLink.h"

#include <gtest/gtest.h>

namespace
{
// A campaign whose first play is over, so that the tutorial may be skipped.
class CPlayedCampaign : public CCampaignFlowLink
{
public:
    bool IsFirstPlay() const override { return false; }
};

// The zone manager's side of a new game, as far as the menu drives it.
class CRecordingZones : public CZoneLink
{
public:
    void SetCurrentZone(int zone) override { m_zone = zone; }
    void InitNodeState() override { ++m_nodeStates; }
    void AdvanceZoneClock(uint32_t ms) override { m_clock += ms; }
    int m_zone = -1;
    int m_nodeStates = 0;
    uint32_t m_clock = 0;
};

class CStandInShip : public CGameObject
{
public:
    CStandInShip() : CGameObject(OBJECT_PLAYER_SHIP) { m_body.health = 100; }
};

class MainMenuTest : public ::testing::Test
{
protected:
    void SetUp() override
    {
        RegisterObjectType(OBJECT_PLAYER_SHIP, &CreateObjectOf<CStandInShip>);
        m_harness.GetFlow().SetCampaign(&m_campaign);
        m_harness.GetGame().SetZones(&m_zones);
        m_harness.RunFrame();
        m_harness.WaitForInputGate();
    }
    void TearDown() override { m_harness.GetGame().SetZones(nullptr); }

    void Press(int controlId) { m_harness.Activate(SCREEN_MAIN_MENU, controlId); }
    CMainMenuScreen& Menu()
    {
        return *static_cast<CMainMenuScreen*>(m_harness.GetFlow().GetScreen(SCREEN_MAIN_MENU));
    }
    // Frames until the flow leaves the main menu (at most 20).
    void RunNewGame()
    {
        for (int i = 0; i < 20 && m_harness.GetFlow().GetCurrentScreenId() == SCREEN_MAIN_MENU; ++i)
            m_harness.RunFrame();
        m_harness.RunFrame();
    }

    CPlayedCampaign m_campaign;
    CRecordingZones m_zones;
    CFrontEndHarness m_harness;
};
} // namespace

TEST(MainMenuName, ThePilotsNameIsTheTypedTextCutToEightOrHalvern)
{
    struct SCase
    {
        const char* typed;
        const char* name;
    };
    const SCase cases[] = {
        {"", "HALVERN"},          {"        ", "HALVERN"},  {"ALICE   ", "ALICE"},
        {"ABCDEFGHIJ", "ABCDEFGH"}, {"  BO    ", "BO"},      {"12345678", "12345678"},
    };
    for (const SCase& c : cases)
        EXPECT_EQ(CMainMenuScreen::MakePilotName(c.typed), c.name) << '"' << c.typed << '"';
}

TEST_F(MainMenuTest, TheDifficultyCyclesAndCancelPutsBackTheOneBeforeThePopup)
{
    m_campaign.SetDifficulty(2);
    m_harness.GetFlow().SetScreen(SCREEN_HUB);
    m_harness.GetFlow().SetScreen(SCREEN_MAIN_MENU); // notes difficulty 2
    m_harness.WaitForInputGate();
    Press(CMainMenuScreen::NEW_GAME);
    ASSERT_EQ(Menu().GetOpenPopup(), CMainMenuScreen::POPUP_NAME);
    EXPECT_EQ(m_campaign.GetDifficulty(), 1);
    const int expected[] = {2, 0, 1, 2};
    for (int difficulty : expected)
    {
        Press(CMainMenuScreen::DIFFICULTY_CYCLE);
        EXPECT_EQ(m_campaign.GetDifficulty(), difficulty);
    }
    Press(CMainMenuScreen::POPUP_CLOSE);
    EXPECT_EQ(Menu().GetOpenPopup(), CMainMenuScreen::POPUP_NONE);
    EXPECT_EQ(m_campaign.GetDifficulty(), 2);
    EXPECT_EQ(m_harness.GetFlow().GetCurrentScreenId(), SCREEN_MAIN_MENU);
}

TEST_F(MainMenuTest, ANewGameWithoutTheTutorialGivesTheStartingGemsAndGoesToTheHub)
{
    Press(CMainMenuScreen::NEW_GAME);
    Press(CMainMenuScreen::START_WITHOUT_TUTORIAL);
    RunNewGame();
    CGameFlow& flow = m_harness.GetFlow();
    EXPECT_EQ(flow.GetCurrentScreenId(), SCREEN_HUB);
    EXPECT_EQ(flow.GetMode(), GAME_MODE_FRONT_END);
    EXPECT_TRUE(flow.IsRunActive());
    EXPECT_EQ(m_harness.GetGame().GetState(), GAME_LEVEL_RUNNING);
    EXPECT_EQ(m_campaign.GetGemStock(GEM_NORMAL), 25);
    EXPECT_EQ(m_campaign.GetGemStock(GEM_RARE), 12);
    EXPECT_EQ(m_campaign.GetGemStock(GEM_VERY_RARE), 6);
    EXPECT_EQ(flow.GetDirector().GetProgressStage(), STAGE_CAMPAIGN);
    EXPECT_STREQ(m_zones.GetPilotName(), "HALVERN");
    EXPECT_EQ(m_zones.m_zone, 0);
    EXPECT_EQ(m_zones.m_nodeStates, 1);
    EXPECT_EQ(m_zones.m_clock, 360000u);
    EXPECT_EQ(Menu().GetOpenPopup(), CMainMenuScreen::POPUP_NONE);
}

TEST_F(MainMenuTest, ANewGameWithTheTutorialFliesFromStepZero)
{
    m_harness.GetFlow().GetDirector().SetProgressStage(STAGE_CAMPAIGN_OVER);
    Press(CMainMenuScreen::NEW_GAME);
    Press(CMainMenuScreen::START_WITH_TUTORIAL);
    RunNewGame();
    CGameFlow& flow = m_harness.GetFlow();
    EXPECT_EQ(flow.GetMode(), GAME_MODE_FLIGHT);
    EXPECT_EQ(flow.GetDirector().GetProgressStage(), STAGE_TUTORIAL);
    EXPECT_EQ(flow.GetDirector().GetTutorialStep(), 0);
    // The tutorial starts with the ship, not the station; no gems are given.
    EXPECT_NE(m_harness.GetGame().GetWorld()->GetObject(m_harness.GetGame().GetPlayerShipHandle()), nullptr);
    EXPECT_EQ(m_harness.GetGame().GetStationHandle(), NO_OBJECT);
    EXPECT_EQ(m_campaign.GetGemStock(GEM_NORMAL), 0);
    // Only the in-game menu is left of the screens.
    EXPECT_EQ(flow.GetScreen(SCREEN_MAIN_MENU), nullptr);
    EXPECT_NE(flow.GetScreen(SCREEN_IN_GAME), nullptr);
}

TEST_F(MainMenuTest, TheExitPopupQuitsOrGoesBack)
{
    Press(CMainMenuScreen::EXIT);
    ASSERT_EQ(Menu().GetOpenPopup(), CMainMenuScreen::POPUP_EXIT);
    // While a popup is open the page's buttons do nothing.
    Press(CMainMenuScreen::CONTINUE);
    EXPECT_EQ(m_harness.GetFlow().GetCurrentScreenId(), SCREEN_MAIN_MENU);
    Press(CMainMenuScreen::POPUP_CLOSE);
    EXPECT_EQ(Menu().GetOpenPopup(), CMainMenuScreen::POPUP_NONE);
    EXPECT_FALSE(m_harness.GetFlow().IsQuitRequested());
    Press(CMainMenuScreen::EXIT);
    Press(CMainMenuScreen::EXIT_CONFIRM);
    EXPECT_TRUE(m_harness.GetFlow().IsQuitRequested());
}

TEST_F(MainMenuTest, TheHiddenButtonFliesAtOnceFromTheTutorialsPlace)
{
    Press(CMainMenuScreen::DIRECT_START);
    m_harness.RunFrame();
    CGameFlow& flow = m_harness.GetFlow();
    EXPECT_EQ(flow.GetMode(), GAME_MODE_FLIGHT);
    EXPECT_TRUE(flow.IsTutorialPosition());
    EXPECT_TRUE(flow.IsRunActive());
    EXPECT_EQ(m_zones.GetCurrentShip(), 1);
    // The stage does not change.
    EXPECT_EQ(flow.GetDirector().GetProgressStage(), STAGE_NONE);
}

TEST_F(MainMenuTest, SurvivalStartsAFlightWithTheRunsFlagsAndGems)
{
    Press(CMainMenuScreen::SURVIVAL);
    ASSERT_EQ(Menu().GetOpenPopup(), CMainMenuScreen::POPUP_SURVIVAL);
    EXPECT_TRUE(m_harness.GetGame().GetRun().survival);
    Press(CMainMenuScreen::SURVIVAL_TIMED);
    m_harness.RunFrame();
    const SRunState& run = m_harness.GetGame().GetRun();
    EXPECT_EQ(m_harness.GetFlow().GetMode(), GAME_MODE_FLIGHT);
    EXPECT_TRUE(run.survival);
    EXPECT_TRUE(run.timedRun);
    EXPECT_FALSE(run.quickShip);
    EXPECT_EQ(m_campaign.GetGemStock(GEM_NORMAL), 25);
    EXPECT_EQ(m_harness.GetFlow().GetDirector().GetProgressStage(), STAGE_CAMPAIGN);
}

TEST_F(MainMenuTest, ClosingTheSurvivalPopupClearsTheRunsFlag)
{
    Press(CMainMenuScreen::SURVIVAL);
    Press(CMainMenuScreen::POPUP_CLOSE);
    EXPECT_FALSE(m_harness.GetGame().GetRun().survival);
    EXPECT_EQ(Menu().GetOpenPopup(), CMainMenuScreen::POPUP_NONE);
}

TEST(DeadScreenResults, QuickActionTimesShowAsMinutesAndSeconds)
{
    struct SCase
    {
        uint32_t ms;
        const char16_t* shown;
    };
    const SCase cases[] = {
        {0, u"00:00"}, {59999, u"00:59"}, {61000, u"01:01"}, {3599999, u"59:59"}, {3600000, u"59:59"},
        {90000000, u"59:59"},
    };
    for (const SCase& c : cases)
        EXPECT_EQ(CDeadScreen::FormatMinutesSeconds(c.ms), std::u16string(c.shown)) << c.ms;
}
