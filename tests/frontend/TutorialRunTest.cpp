// A whole tutorial, from flight school to the campaign: the pages and boxes are
// turned by the test, and what a player would take minutes to do (fill the hold,
// dock, start research, fit parts) is done by small cheats on the game's own state.
// The steps must come in their order and each gate be where the step leaves it.

#include "frontend/Campaign.h"
#include "frontend/CampaignServices.h"
#include "frontend/GameCampaign.h"
#include "frontend/GameFlow.h"
#include "frontend/PlayerShipAccess.h"
#include "frontend/SequenceDirector.h"
#include "platform/input/DikCodes.h"
#include "ships/PlayerShip.h"
#include "ships/ShipRuntime.h"
#include "ships/StationFlowLink.h"
#include "tests/support/frontend/FrontEndHarness.h"
#include "tests/support/frontend/ScriptedDirectorPages.h"
#include "world/Game.h"
#include "world/GameObject.h"
#include "world/ObjectFactory.h"
#include "world/World.h"

#include <gtest/gtest.h>

#include <functional>
#include <memory>
#include <string>
#include <vector>

namespace
{
class CStandInStation : public CGameObject
{
public:
    CStandInStation() : CGameObject(OBJECT_STATION) { m_body.health = 500; }
};

// The station's side as the test plays it: it holds the ship when told to, its
// ports are open and closed at once, its hull is its body's.
class CScriptedStation : public CStationFlowLink
{
public:
    bool HoldsPlayerShip(const CGameObject&) const override { return m_holds; }
    void SetHoldsPlayerShip(CGameObject&, bool holds) override { m_holds = holds; }
    void BeginLaunch(CGameObject&) override
    {
        m_holds = false;
        ++m_launches;
    }
    int32_t GetFullHull(const CGameObject&) const override { return 1000; }

    bool m_holds = false;
    int m_launches = 0;
};

class TutorialRunTest : public ::testing::Test
{
protected:
    TutorialRunTest()
    {
        RegisterObjectType(OBJECT_STATION, &CreateObjectOf<CStandInStation>);
        SetStationFlowLink(&m_station);
        InstallGameCampaign(m_harness.GetGame());
        m_director = std::make_unique<CSequenceDirector>(m_harness.GetGame(), m_harness.GetFlow(), m_pages);
        m_director->Install();
        m_director->PreloadChatPages();
    }
    ~TutorialRunTest() override
    {
        m_director.reset();
        RemoveGameCampaign(m_harness.GetGame());
        SetStationFlowLink(nullptr);
        RegisterObjectType(OBJECT_STATION, nullptr);
    }

    CGame& Game() { return m_harness.GetGame(); }
    CGameFlow& Flow() { return m_harness.GetFlow(); }

    // One frame; the step is noted when it changes, and a station warping in is
    // settled at once (the stand-in has no warp of its own).
    void Frame()
    {
        m_harness.RunFrame();
        if (CGameObject* station = Game().GetWorld() ? Game().GetWorld()->GetObject(Game().GetStationHandle())
                                                     : nullptr)
            station->SetWarpState(WARP_NONE);
        if (m_steps.empty() || m_steps.back() != m_director->GetTutorialStep())
            m_steps.push_back(m_director->GetTutorialStep());
    }
    // Frames until the condition holds; false when it never did within the count.
    bool RunUntil(const std::function<bool()>& done, int frames = 400)
    {
        for (int i = 0; i < frames; ++i)
        {
            if (done())
                return true;
            Frame();
        }
        return done();
    }
    bool WaitForPage(const std::string& name)
    {
        return RunUntil([&] { return m_pages.GetShowingPage() == "data\\chat\\" + name; });
    }
    // The page shows, then it is read.
    void ReadPage(const std::string& name)
    {
        ASSERT_TRUE(WaitForPage(name)) << name << " at step " << m_director->GetTutorialStep();
        m_pages.ClosePage();
        Frame();
    }
    void AcknowledgeBox(const std::string& name)
    {
        ASSERT_TRUE(RunUntil([&] {
            return m_pages.IsBoxWaiting() && !m_pages.GetShownBoxes().empty() && m_pages.GetShownBoxes().back() == name;
        })) << name << " at step " << m_director->GetTutorialStep();
        m_pages.PressOk();
        Frame();
    }
    bool WaitForStep(int step)
    {
        return RunUntil([&] { return m_director->GetTutorialStep() == step; });
    }
    CShipRuntime* ShipRuntime()
    {
        CPlayerShip* ship = dynamic_cast<CPlayerShip*>(Game().GetWorld()->GetObject(Game().GetPlayerShipHandle()));
        return ship ? ship->GetRuntime() : nullptr;
    }
    void Dock()
    {
        m_station.m_holds = true;
    }

    CFrontEndHarness m_harness;
    CScriptedDirectorPages m_pages;
    CScriptedStation m_station;
    std::unique_ptr<CSequenceDirector> m_director;
    std::vector<int> m_steps;
};
} // namespace

TEST_F(TutorialRunTest, FromFlightSchoolToTheCampaign)
{
    // A new game with the tutorial: the front end asks for flight in stage 2, step 0.
    Frame();
    ASSERT_TRUE(Game().StartLevel());
    Flow().SetRunActive(true);
    Game().GetZones().SetCurrentShip(1);
    m_director->SetProgressStage(STAGE_TUTORIAL);
    m_director->SetTutorialStep(0);
    Flow().SetMode(GAME_MODE_FLIGHT);
    m_steps.clear();
    Frame();

    // Step 0: the ship alone, damaged, without weapons, beam or station; five seconds
    // (125 frames) later the first page.
    ASSERT_EQ(Flow().GetMode(), GAME_MODE_FLIGHT);
    ASSERT_NE(ShipRuntime(), nullptr);
    EXPECT_EQ(Game().GetStationHandle(), -1);
    EXPECT_EQ(Game().GetWorld()->GetObject(Game().GetPlayerShipHandle())->GetBody().health,
              static_cast<int32_t>(0.3f * static_cast<float>(GetDesignHullHealth(1))));
    for (int gate : {GATE_ZONE_POPULATION, GATE_STATION_GAUGES, GATE_FIRE_GROUP_1, GATE_FIRE_GROUP_2, GATE_GRAVITY_BEAM,
                     GATE_CALL_STATION})
        EXPECT_FALSE(m_director->IsGateOpen(gate)) << gate;
    EXPECT_TRUE(m_director->IsGateOpen(GATE_STEERING));
    m_harness.RunFrames(120);
    EXPECT_EQ(m_pages.GetShowingPage(), "");
    ReadPage("tutorial0.txt");
    EXPECT_EQ(m_director->GetTutorialStep(), 1);
    EXPECT_EQ(m_director->GetHintText(), 0x47000003u);

    // Step 1: every steering key and the boost tried; the station comes after the
    // ten seconds (250 frames), not the twenty of a pilot who tried nothing.
    for (int key : {0xC8, 0xD0, 0xCB, 0xCD})
        m_harness.PressKey(key);
    int frames = 0;
    ASSERT_TRUE(RunUntil(
        [&] {
            // The ship says each frame whether it boosts.
            Game().GetRun().shipBoosting = true;
            ++frames;
            return Game().GetStationHandle() != -1;
        },
        600));
    EXPECT_GE(frames, 250);
    EXPECT_LT(frames, 300);
    for (int key : {0xC8, 0xD0, 0xCB, 0xCD})
        m_harness.ReleaseKey(key);
    Game().GetRun().shipBoosting = false;
    EXPECT_FALSE(m_director->IsGateOpen(GATE_STEERING));
    EXPECT_TRUE(m_director->IsGateOpen(GATE_STATION_GAUGES));
    ReadPage("tutorial1.txt");
    ASSERT_TRUE(WaitForStep(2));
    EXPECT_TRUE(m_director->IsGateOpen(GATE_STEERING));

    // Step 2: docking, and the launch.
    ReadPage("tutorial2.txt");
    Dock();
    ASSERT_TRUE(WaitForStep(3));
    EXPECT_EQ(m_station.m_launches, 1);
    EXPECT_TRUE(m_director->IsGateOpen(GATE_FIRE_GROUP_1));
    EXPECT_TRUE(m_director->IsGateOpen(GATE_GRAVITY_BEAM));
    EXPECT_FALSE(m_director->IsGateOpen(GATE_FIRE_GROUP_2));

    // Step 3: a hold worth 10 (4 ordinary and 3 rare gems) brought home.
    ShipRuntime()->GetCargo().m_normalGems = 4;
    ShipRuntime()->GetCargo().m_rareGems = 3;
    ReadPage("tutorial11.txt");
    ReadPage("tutorial3.txt");
    Flow().GetCampaign().SetGemStock(0, 40);
    Dock();
    ASSERT_TRUE(WaitForStep(4));
    EXPECT_EQ(Flow().GetCampaign().GetGemStock(0), 0);
    EXPECT_EQ(Game().GetWorld()->GetObject(Game().GetPlayerShipHandle())->GetBody().health, GetDesignHullHealth(1));
    EXPECT_EQ(Flow().GetCampaign().GetStoredHull(1), GetDesignHullHealth(1));
    EXPECT_TRUE(m_director->IsGateOpen(GATE_CALL_STATION));

    // Step 4: a full hold again and the station takes the ship away.
    Dock();
    ReadPage("tutorial4.txt");
    ASSERT_TRUE(WaitForStep(20));
    EXPECT_FALSE(m_director->IsGateOpen(GATE_GUI_KEYBOARD));
    if (Flow().GetMode() == GAME_MODE_FLIGHT)
        Flow().EnterFrontEnd();

    // Steps 20 and 21: the decks, research.
    AcknowledgeBox("feTut0.txt");
    EXPECT_EQ(Flow().GetCurrentScreenId(), SCREEN_RESEARCH);
    for (int kind = 0; kind < GEM_KIND_COUNT; ++kind)
        EXPECT_GE(Flow().GetCampaign().GetGemStock(kind), 20);
    AcknowledgeBox("feTut1.txt");
    ASSERT_TRUE(WaitForStep(21));
    GetGameCampaign()->GetState().researchSlot.startTime = 1;
    AcknowledgeBox("feTut3.txt");
    ASSERT_TRUE(WaitForStep(5));
    EXPECT_FALSE(m_director->IsGateOpen(GATE_TUTORIAL_START));

    // Step 5: back in flight at the tutorial's node; drones come.
    ReadPage("tutorial5.txt");
    ReadPage("tutorial6.txt");
    ASSERT_TRUE(WaitForStep(7));
    EXPECT_TRUE(m_director->IsGateOpen(GATE_FIRE_GROUP_2));
    // Step 7: the drones are beaten.
    Game().GetWorld()->DestroyEnemies(-1);
    ReadPage("tutorial7.txt");
    EXPECT_TRUE(m_director->IsGateOpen(GATE_CALL_STATION));
    Flow().SetMode(GAME_MODE_IN_GAME_MENU);
    ReadPage("tutorial8.txt");
    ASSERT_TRUE(WaitForStep(22));
    EXPECT_TRUE(m_director->IsGateOpen(GATE_GUI_KEYBOARD));

    // Step 22: on the station's deck, a weapon fitted to a mount.
    Flow().SetMode(GAME_MODE_FRONT_END);
    AcknowledgeBox("feTut4.txt");
    GetGameCampaign()->GetState().mounts[1].fitted = true;
    AcknowledgeBox("feTut5.txt");
    ASSERT_TRUE(WaitForStep(23));
    EXPECT_EQ(Flow().GetCurrentScreenId(), SCREEN_ZONE_MAP);
    // Step 23: the zone map, then a flight and its menu.
    AcknowledgeBox("feTut6.txt");
    // The map's arrival hold ends in the flight.
    ASSERT_TRUE(RunUntil([&] { return Flow().GetMode() == GAME_MODE_FLIGHT; }));
    Flow().SetMode(GAME_MODE_IN_GAME_MENU);
    ReadPage("tutorial9.txt");
    ASSERT_TRUE(WaitForStep(9));
    // Step 9: the stocks start at nothing; three gems gathered give the hull's price.
    EXPECT_EQ(Flow().GetCampaign().GetGemStock(1), 0);
    Flow().GetCampaign().SetGemStock(0, 3);
    ASSERT_TRUE(WaitForStep(10));
    // Step 10: the menu again, then the decks.
    ReadPage("tutorial10.txt");
    Flow().SetMode(GAME_MODE_FRONT_END);
    ASSERT_TRUE(WaitForStep(24));
    AcknowledgeBox("feTut7.txt");
    AcknowledgeBox("feTut9.txt");
    ASSERT_TRUE(WaitForStep(25));
    EXPECT_EQ(Flow().GetCurrentScreenId(), SCREEN_ZONE_MAP);
    AcknowledgeBox("feTut10.txt");
    GetGameCampaign()->AddStoredItem(7, 2);
    AcknowledgeBox("feTut11.txt");
    ASSERT_TRUE(WaitForStep(26));
    EXPECT_EQ(Flow().GetCurrentScreenId(), SCREEN_SHIP_SELECT);
    AcknowledgeBox("feTut12.txt");
    // The gifts: seven parts in five records beside the hull part's.
    EXPECT_EQ(GetGameCampaign()->CountStoredItems(), 6);
    Flow().SetScreen(SCREEN_SHIP_CONSTRUCT);
    AcknowledgeBox("feTut13.txt");
    ASSERT_TRUE(WaitForStep(27));
    // Step 27: everything fitted from the stores.
    for (SStoreRecord& record : GetGameCampaign()->GetState().store)
        record.used = false;
    AcknowledgeBox("feTut14.txt");
    Frame();

    EXPECT_EQ(m_director->GetProgressStage(), STAGE_CAMPAIGN);
    EXPECT_EQ(m_director->GetTutorialStep(), -1);
    for (int gate = 0; gate < DIRECTOR_GATE_COUNT; ++gate)
        EXPECT_EQ(m_director->IsGateOpen(gate), gate >= 3 && gate <= 12) << gate;
    EXPECT_FALSE(Flow().GetCampaign().IsFirstPlay());
    const std::vector<int> expected = {0, 1, 2, 3, 4, 20, 21, 5, 7, 8, 22, 23, 9, 10, 24, 25, 26, 27, -1};
    EXPECT_EQ(m_steps, expected);
}

TEST_F(TutorialRunTest, AMissingPageOrBoxCountsAsReadSoTheTutorialGoesOn)
{
    m_pages.SetMissing("feTut0.txt");
    m_director->SetProgressStage(STAGE_TUTORIAL);
    m_director->SetTutorialStep(20);
    Frame();
    Flow().SetMode(GAME_MODE_FRONT_END);
    // Without feTut0 the research screen comes at once, with its own box.
    ASSERT_TRUE(RunUntil([&] { return m_pages.IsBoxWaiting(); }, 20));
    EXPECT_EQ(m_pages.GetShownBoxes().back(), "feTut1.txt");
}
