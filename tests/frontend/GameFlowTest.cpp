// The game flow: the first frame's logo wait, Escape in the front end and in flight,
// the exit warning and what closing it puts back, and the watches for the loss of the
// station and the ship.

#include "frontend/FrontEndScreen.h"
#include "frontend/GameFlow.h"
#include "platform/input/DikCodes.h"
#include "presentation/GuiControl.h"
#include "presentation/GuiManager.h"
#include "presentation/GuiWindow.h"
#include "ships/PlayerShip.h"
#include "tests/support/frontend/FrontEndHarness.h"
#include "world/DirectorLink.h"
#include "world/GameObject.h"
#include "world/ObjectFactory.h"
#include "world/World.h"
#include "world/ZoneLink.h"

#include <gtest/gtest.h>

#include <vector>

namespace
{
// A director that plays its one sequence (the logo) for a number of updates.
class CLogoDirector : public CDirectorFlowLink
{
public:
    explicit CLogoDirector(int updates) : m_left(updates) {}
    void Update() override
    {
        if (m_left > 0)
            --m_left;
    }
    bool IsSequencePlaying() const override { return m_left > 0; }

private:
    int m_left;
};

// The gates of a director whose tutorial start is closed: flight begins at the station.
class CCampaignGates : public CDirectorLink
{
public:
    bool IsGateOpen(int gate) const override { return gate != GATE_TUTORIAL_START; }
};

class CStandInStation : public CGameObject
{
public:
    CStandInStation() : CGameObject(OBJECT_STATION) { m_body.health = 1000; }
};

class CStandInShip : public CGameObject
{
public:
    CStandInShip() : CGameObject(OBJECT_PLAYER_SHIP) { m_body.health = 100; }
};

void RegisterStandIns()
{
    RegisterObjectType(OBJECT_STATION, &CreateObjectOf<CStandInStation>);
    RegisterObjectType(OBJECT_PLAYER_SHIP, &CreateObjectOf<CStandInShip>);
}

std::vector<int32_t> s_callbackEvents;
void RecordCallback(int32_t, int32_t controlId, int32_t, int32_t)
{
    s_callbackEvents.push_back(controlId);
}

// Lets the 250 ms Escape debounce pass.
void WaitOutEscape(CFrontEndHarness& harness)
{
    harness.RunFrames(CGameFlow::ESCAPE_DEBOUNCE_MS / 40 + 1);
}
} // namespace

TEST(GameFlowBoot, WithoutALogoTheFirstFrameShowsTheMainMenu)
{
    CFrontEndHarness harness;
    CGameFlow& flow = harness.GetFlow();
    EXPECT_EQ(flow.GetMode(), GAME_MODE_FLIGHT);
    EXPECT_EQ(flow.GetCurrentScreenId(), SCREEN_NONE);
    harness.RunFrame();
    EXPECT_EQ(flow.GetMode(), GAME_MODE_FRONT_END);
    EXPECT_EQ(flow.GetCurrentScreenId(), SCREEN_MAIN_MENU);
    EXPECT_TRUE(flow.GetScreen(SCREEN_MAIN_MENU)->GetPage().IsVisible(GetPageId(SCREEN_MAIN_MENU)));
}

TEST(GameFlowBoot, APlayingLogoHoldsTheFrontEndBackUntilItEnds)
{
    CFrontEndHarness harness;
    CLogoDirector logo(5);
    harness.GetFlow().SetDirector(&logo);
    harness.RunFrames(4);
    EXPECT_EQ(harness.GetFlow().GetCurrentScreenId(), SCREEN_NONE);
    EXPECT_EQ(harness.GetFlow().GetMode(), GAME_MODE_FLIGHT);
    harness.RunFrame();
    EXPECT_EQ(harness.GetFlow().GetCurrentScreenId(), SCREEN_MAIN_MENU);
    EXPECT_EQ(harness.GetFlow().GetMode(), GAME_MODE_FRONT_END);
}

TEST(GameFlowScreens, SetScreenHidesTheCurrentScreenAndRefusesAnIdWithoutAScreen)
{
    CFrontEndHarness harness;
    harness.RunFrame();
    CGameFlow& flow = harness.GetFlow();
    EXPECT_TRUE(flow.SetScreen(SCREEN_HUB));
    EXPECT_FALSE(flow.GetScreen(SCREEN_MAIN_MENU)->GetPage().IsVisible(GetPageId(SCREEN_MAIN_MENU)));
    EXPECT_TRUE(flow.GetScreen(SCREEN_HUB)->GetPage().IsVisible(GetPageId(SCREEN_HUB)));
    EXPECT_FALSE(flow.SetScreen(17));
    EXPECT_FALSE(flow.SetScreen(SCREEN_CONSTRUCTION_GRID));
    EXPECT_EQ(flow.GetCurrentScreenId(), SCREEN_HUB);
}

TEST(GameFlowEscape, EachFrontEndScreenGoesBackWhereItShould)
{
    struct SCase
    {
        int from;
        bool gravDriveLeave;
        int expected;
    };
    const SCase cases[] = {
        {SCREEN_DEAD, false, SCREEN_MAIN_MENU},       {SCREEN_ZONE_MAP, false, SCREEN_HUB},
        {SCREEN_HUB, false, SCREEN_MAIN_MENU},        {SCREEN_SHIP_SELECT, false, SCREEN_HUB},
        {SCREEN_SHIP_CONSTRUCT, false, SCREEN_HUB},   {SCREEN_SAVE, false, SCREEN_MAIN_MENU},
        {SCREEN_LOAD, false, SCREEN_MAIN_MENU},       {SCREEN_RESEARCH, false, SCREEN_HUB},
        {SCREEN_STORES, false, SCREEN_HUB},           {SCREEN_STATION, false, SCREEN_HUB},
        {SCREEN_GRAV_DRIVE, true, SCREEN_HUB},        {SCREEN_GRAV_DRIVE, false, SCREEN_MAIN_MENU},
        {SCREEN_OPTIONS, false, SCREEN_MAIN_MENU},    {SCREEN_CONTROLS, false, SCREEN_MAIN_MENU},
        {SCREEN_HALL_OF_FAME, false, SCREEN_MAIN_MENU},
    };
    CFrontEndHarness harness;
    harness.RunFrame();
    CGameFlow& flow = harness.GetFlow();
    for (const SCase& c : cases)
    {
        SCOPED_TRACE(c.from);
        ASSERT_TRUE(flow.SetScreen(c.from));
        flow.SetGravDriveLeave(c.gravDriveLeave);
        harness.TapKey(Dik::ESCAPE);
        EXPECT_EQ(flow.GetCurrentScreenId(), c.expected);
        EXPECT_FALSE(flow.GetScreen(c.from)->GetPage().IsVisible(GetPageId(c.from)));
        EXPECT_FALSE(flow.IsExitWarningOpen());
        WaitOutEscape(harness);
    }
    // The main menu's own answer is the exit warning, worded for leaving the game.
    flow.SetScreen(SCREEN_MAIN_MENU);
    harness.TapKey(Dik::ESCAPE);
    EXPECT_TRUE(flow.IsExitWarningOpen());
    EXPECT_EQ(flow.GetCurrentScreenId(), SCREEN_MAIN_MENU);
    EXPECT_FALSE(harness.GetGame().IsPaused());
}

TEST(GameFlowEscape, TwoEscapes120msApartInTheFrontEndActOnce)
{
    CFrontEndHarness harness;
    harness.RunFrame();
    CGameFlow& flow = harness.GetFlow();
    flow.SetScreen(SCREEN_HALL_OF_FAME);
    harness.TapKey(Dik::ESCAPE); // to the main menu
    harness.RunFrames(2);        // 120 ms after the first press
    harness.TapKey(Dik::ESCAPE); // within the debounce: nothing
    EXPECT_EQ(flow.GetCurrentScreenId(), SCREEN_MAIN_MENU);
    EXPECT_FALSE(flow.IsExitWarningOpen());
    WaitOutEscape(harness);
    harness.TapKey(Dik::ESCAPE);
    EXPECT_TRUE(flow.IsExitWarningOpen());
}

TEST(GameFlowEscape, TwoEscapes120msApartInFlightOpenOneExitWarning)
{
    CFrontEndHarness harness;
    ASSERT_TRUE(harness.StartFlight());
    CGameFlow& flow = harness.GetFlow();
    harness.TapKey(Dik::ESCAPE);
    harness.RunFrames(2);
    harness.TapKey(Dik::ESCAPE);
    harness.RunFrame();
    EXPECT_TRUE(flow.IsExitWarningOpen());
    EXPECT_EQ(harness.CountWindows(POPUP_WINDOW), 1);
    EXPECT_TRUE(harness.GetGame().IsPaused());
    // The world stands while it is open: the game clock does not move.
    const uint32_t time = harness.GetGame().GetTime();
    harness.RunFrames(10);
    EXPECT_EQ(harness.GetGame().GetTime(), time);
}

TEST(GameFlowEscape, NoExitWarningWhileATextPageShows)
{
    CFrontEndHarness harness;
    ASSERT_TRUE(harness.StartFlight());
    harness.GetWorld().SetTextPageShowing(true);
    harness.TapKey(Dik::ESCAPE);
    EXPECT_FALSE(harness.GetFlow().IsExitWarningOpen());
    harness.GetWorld().SetTextPageShowing(false);
    WaitOutEscape(harness);
    harness.TapKey(Dik::ESCAPE);
    EXPECT_TRUE(harness.GetFlow().IsExitWarningOpen());
}

TEST(ExitWarning, ClosingPutsBackTheFocusAndCallbackAndUnpauses)
{
    const int closers[] = {CGameFlow::EXIT_CANCEL, CGameFlow::EXIT_TEXT, CGameFlow::EXIT_QUOTE_A,
                           CGameFlow::EXIT_QUOTE_B};
    for (int closer : closers)
    {
        SCOPED_TRACE(closer);
        CFrontEndHarness harness;
        ASSERT_TRUE(harness.StartFlight());
        CGuiManager& gui = harness.GetGui();
        SGuiWindowDesc desc;
        desc.w = desc.h = 50;
        int window = -1;
        ASSERT_TRUE(gui.CreateWindowControl(desc, window));
        gui.AddWindowToLayer(window, 1);
        ASSERT_TRUE(gui.SetFocus(window));
        gui.SetEventCallback(&RecordCallback);

        harness.TapKey(Dik::ESCAPE);
        CGameFlow& flow = harness.GetFlow();
        ASSERT_TRUE(flow.IsExitWarningOpen());
        EXPECT_NE(gui.GetEventCallback(), &RecordCallback);
        EXPECT_TRUE(harness.GetGame().IsPaused());
        // Two different quotes of the sixteen.
        EXPECT_GE(flow.GetQuoteFrame(0), 0);
        EXPECT_LT(flow.GetQuoteFrame(0), CGameFlow::QUOTE_COUNT);
        EXPECT_GE(flow.GetQuoteFrame(1), 0);
        EXPECT_NE(flow.GetQuoteFrame(0), flow.GetQuoteFrame(1));
        EXPECT_TRUE(harness.GetGame().GetQuoteSpriteA().IsVisible());

        s_callbackEvents.clear();
        harness.Activate(CFrontEndHarness::EXIT_WARNING_OWNER, closer);
        EXPECT_FALSE(flow.IsExitWarningOpen());
        EXPECT_EQ(gui.GetEventCallback(), &RecordCallback);
        EXPECT_EQ(gui.GetFocusHandle(), window);
        EXPECT_FALSE(harness.GetGame().IsPaused());
        EXPECT_FALSE(harness.GetGame().GetQuoteSpriteA().IsVisible());
        EXPECT_FALSE(harness.GetGame().GetQuoteSpriteB().IsVisible());
        EXPECT_TRUE(s_callbackEvents.empty());
        EXPECT_FALSE(flow.IsQuitRequested());
        harness.RunFrame();
        EXPECT_EQ(flow.GetMode(), GAME_MODE_FLIGHT);
        EXPECT_EQ(harness.CountWindows(POPUP_WINDOW), 0);
    }
}

TEST(ExitWarning, QuitEndsTheProgram)
{
    CFrontEndHarness harness;
    ASSERT_TRUE(harness.StartFlight());
    harness.TapKey(Dik::ESCAPE);
    harness.Activate(CFrontEndHarness::EXIT_WARNING_OWNER, CGameFlow::EXIT_QUIT);
    EXPECT_TRUE(harness.GetFlow().IsQuitRequested());
}

TEST(ExitWarning, MainMenuLeavesTheFlight)
{
    CFrontEndHarness second;
    ASSERT_TRUE(second.StartFlight());
    second.TapKey(Dik::ESCAPE);
    second.Activate(CFrontEndHarness::EXIT_WARNING_OWNER, CGameFlow::EXIT_TO_MAIN_MENU);
    EXPECT_FALSE(second.GetFlow().IsQuitRequested());
    second.RunFrame();
    EXPECT_EQ(second.GetFlow().GetMode(), GAME_MODE_FRONT_END);
    EXPECT_EQ(second.GetFlow().GetCurrentScreenId(), SCREEN_MAIN_MENU);
    EXPECT_EQ(second.GetGame().GetState(), GAME_READY);
    EXPECT_FALSE(second.GetFlow().IsRunActive());
}

TEST(ExitWarning, FromTheMainMenuTheMainMenuButtonEndsTheRun)
{
    CFrontEndHarness harness;
    harness.RunFrame();
    ASSERT_TRUE(harness.GetWorld().StartLevel());
    harness.GetFlow().SetRunActive(true);
    harness.TapKey(Dik::ESCAPE);
    ASSERT_TRUE(harness.GetFlow().IsExitWarningOpen());
    harness.Activate(CFrontEndHarness::EXIT_WARNING_OWNER, CGameFlow::EXIT_TO_MAIN_MENU);
    EXPECT_EQ(harness.GetGame().GetState(), GAME_READY);
    EXPECT_FALSE(harness.GetFlow().IsRunActive());
    EXPECT_EQ(harness.GetFlow().GetCurrentScreenId(), SCREEN_MAIN_MENU);
}

class LossWatchTest : public ::testing::Test
{
protected:
    void SetUp() override
    {
        RegisterStandIns();
        m_harness.GetGame().SetDirector(&m_gates);
    }
    void TearDown() override { m_harness.GetGame().SetDirector(nullptr); }

    // Frames until the dead screen shows (at most `limit`); gives the game time of that
    // frame's start, pausing the game for `pausedFrames` frames first.
    uint32_t RunUntilDead(uint32_t pausedFrames, uint32_t limit)
    {
        CGame& game = m_harness.GetGame();
        game.SetPaused(true);
        m_harness.RunFrames(pausedFrames);
        game.SetPaused(false);
        for (uint32_t i = 0; i < limit; ++i)
        {
            const uint32_t time = game.GetTime();
            m_harness.RunFrame();
            if (m_harness.GetFlow().GetCurrentScreenId() == SCREEN_DEAD)
                return time;
        }
        return 0;
    }

    CCampaignGates m_gates;
    CFrontEndHarness m_harness;
};

TEST_F(LossWatchTest, TheStationsLossEndsTheRun6000msOfPlayLaterNotCountingPausedFrames)
{
    ASSERT_TRUE(m_harness.StartFlight());
    CGame& game = m_harness.GetGame();
    const int32_t station = game.GetStationHandle();
    ASSERT_NE(game.GetWorld()->GetObject(station), nullptr);
    game.GetWorld()->RemoveObject(station);
    m_harness.RunFrame(); // the removal happens in this frame's world update
    m_harness.RunFrame(); // the watch sees it and arms
    const uint32_t armed = m_harness.GetFlow().GetStationLossTime();
    ASSERT_NE(armed, 0u);
    EXPECT_EQ(armed, game.GetTime() - 40 + CGameFlow::STATION_LOSS_MS);
    const uint32_t dead = RunUntilDead(50, 200);
    EXPECT_EQ(dead, armed);
    EXPECT_EQ(m_harness.GetFlow().GetDeathCause(), DEATH_STATION_LOST);
    EXPECT_EQ(m_harness.GetFlow().GetMode(), GAME_MODE_FRONT_END);
}

TEST_F(LossWatchTest, TheEscapePodsLossEndsTheRun3000msLater)
{
    ASSERT_TRUE(m_harness.StartFlight());
    CGame& game = m_harness.GetGame();
    // The station carries the ship in; here the pod flies alone.
    game.GetZones().SetCurrentShip(0);
    const int32_t ship = m_harness.GetFlow().SpawnPlayerShip(0, CVector2D(900, 900));
    ASSERT_NE(ship, NO_OBJECT);
    m_harness.RunFrame();
    game.GetWorld()->RemoveObject(ship);
    m_harness.RunFrames(2);
    const uint32_t armed = m_harness.GetFlow().GetShipLossTime();
    ASSERT_NE(armed, 0u);
    EXPECT_EQ(RunUntilDead(20, 200), armed);
    EXPECT_EQ(m_harness.GetFlow().GetDeathCause(), DEATH_SHIP_LOST);
}

TEST_F(LossWatchTest, ALostShipAboveThePodGivesWayToThePodAtOnce)
{
    ASSERT_TRUE(m_harness.StartFlight());
    CGame& game = m_harness.GetGame();
    game.GetZones().SetCurrentShip(2);
    const int32_t ship = m_harness.GetFlow().SpawnPlayerShip(2, CVector2D(900, 900));
    game.GetWorld()->GetObject(ship)->SetPosition(CVector2D(1200, 800));
    m_harness.RunFrame();
    game.GetWorld()->RemoveObject(ship);
    m_harness.RunFrames(2);
    const int32_t pod = game.GetPlayerShipHandle();
    EXPECT_NE(pod, ship);
    ASSERT_NE(game.GetWorld()->GetObject(pod), nullptr);
    EXPECT_EQ(game.GetZones().GetCurrentShip(), 0);
    EXPECT_FLOAT_EQ(game.GetWorld()->GetObject(pod)->GetPosition().x, 1200.0f);
    EXPECT_EQ(m_harness.GetFlow().GetShipLossTime(), 0u);
    m_harness.RunFrames(100);
    EXPECT_EQ(m_harness.GetFlow().GetMode(), GAME_MODE_FLIGHT);
}

TEST_F(LossWatchTest, NoShipNoStationNothingToLose)
{
    // Flight without a station made and without a ship (a campaign flight whose
    // station cannot be made): no watch ends it.
    RegisterObjectType(OBJECT_STATION, nullptr);
    ASSERT_TRUE(m_harness.StartFlight());
    m_harness.RunFrames(300);
    EXPECT_EQ(m_harness.GetFlow().GetMode(), GAME_MODE_FLIGHT);
    EXPECT_EQ(m_harness.GetFlow().GetStationLossTime(), 0u);
}

TEST(GameFlowStart, TheTutorialStartsInTheSparrowAtThreeTenthsOfItsHull)
{
    CFrontEndHarness harness;
    harness.RunFrame();
    CGameFlow& flow = harness.GetFlow();
    ASSERT_TRUE(flow.StartNewGame()); // the sample level, its ships and designs
    flow.GetDirector().SetProgressStage(STAGE_TUTORIAL);
    flow.SetMode(GAME_MODE_FLIGHT);
    harness.RunFrame();
    ASSERT_EQ(flow.GetMode(), GAME_MODE_FLIGHT);
    CGame& game = harness.GetGame();
    const CGameObject* ship = game.GetWorld()->GetObject(game.GetPlayerShipHandle());
    ASSERT_NE(dynamic_cast<const CPlayerShip*>(ship), nullptr);
    // The sample Sparrow's hull holds 120: 0.3 x 120 = 36.
    EXPECT_EQ(ship->GetBody().health, 36);
    EXPECT_EQ(flow.GetCampaign().GetStoredHull(1), 36);
    EXPECT_EQ(game.GetCamera().GetFollowed(), game.GetPlayerShipHandle());
    EXPECT_EQ(game.GetStationHandle(), NO_OBJECT);
}

namespace
{
// A director at the tutorial's research step.
class CResearchStepDirector : public CDirectorFlowLink
{
public:
    int GetTutorialStep() const override { return 10; }
};
} // namespace

TEST(GameFlowStart, TheTutorialsResearchStepRaisesTheStocksToTheFourthHullsPrice)
{
    CFrontEndHarness harness;
    harness.RunFrame();
    CGameFlow& flow = harness.GetFlow();
    ASSERT_TRUE(flow.StartNewGame());
    CResearchStepDirector director;
    flow.SetDirector(&director);
    CCampaignFlowLink& campaign = flow.GetCampaign();
    campaign.SetGemStock(GEM_NORMAL, 30);
    campaign.SetGemStock(GEM_RARE, 9);
    campaign.SetGemStock(GEM_VERY_RARE, 0);
    flow.SetMode(GAME_MODE_FLIGHT);
    harness.RunFrame();
    flow.SetMode(GAME_MODE_FRONT_END);
    harness.RunFrame();
    EXPECT_EQ(flow.GetCurrentScreenId(), SCREEN_RESEARCH);
    // The sample Bulwark hull (the fourth) costs 120, 4 and 1: raised to, never lowered.
    EXPECT_EQ(campaign.GetGemStock(GEM_NORMAL), 120);
    EXPECT_EQ(campaign.GetGemStock(GEM_RARE), 9);
    EXPECT_EQ(campaign.GetGemStock(GEM_VERY_RARE), 1);
    flow.SetDirector(nullptr);
}

TEST(GameFlowEscape, EscapeOnTheDeadScreenEndsTheLostRunAsItsButtonDoes)
{
    CFrontEndHarness harness;
    harness.RunFrame();
    ASSERT_TRUE(harness.GetWorld().StartLevel());
    CGameFlow& flow = harness.GetFlow();
    flow.SetRunActive(true);
    flow.SetScreen(SCREEN_DEAD);
    harness.TapKey(Dik::ESCAPE);
    EXPECT_EQ(flow.GetCurrentScreenId(), SCREEN_MAIN_MENU);
    EXPECT_FALSE(flow.IsRunActive());
    EXPECT_EQ(harness.GetGame().GetState(), GAME_READY);
}
