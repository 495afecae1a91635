// The station with the game's own campaign: a docking cycle from the call to the
// launch, its health kept in the campaign's record across a save, its turrets fitted
// from the record's mounts.

#include "frontend/Campaign.h"
#include "ships/ComponentDef.h"
#include "ships/PlayerShip.h"
#include "ships/Station.h"
#include "tests/ships/DockingFixtures.h"
#include "tests/ships/ShipFixtures.h"
#include "tests/support/presentation/RecordedEffects.h"
#include "tests/support/ships/ShipWorldHarness.h"
#include "utility/source/QelMemoryFile.h"
#include "world/ObjectFactory.h"
#include "world/ZoneNode.h"
#include "world/World.h"

#include <gtest/gtest.h>

#include <fstream>
#include <regex>
#include <sstream>
#include <string>
#include <vector>

namespace
{
constexpr float STATION_X = 2000.0f;
constexpr float STATION_Y = 2000.0f;
constexpr int32_t BASE_HEALTH = 1000;

// A station of the given body health with two ports (both lead out 100 units above
// it, see PortText), `turrets` mounts and further keys.
std::string StationText(int turrets = 2, const std::string& more = "")
{
    std::string text = "STATION\n{\nmass 5000\nhealth " + std::to_string(BASE_HEALTH) +
                       "\ninertialDamping 0.9\nvelocitylimit 40\nbodySprite\n{\nspriteFile dummy\n}\n"
                       "collision\n{\nnumObj 1\nc0\n{\ntype rootCircle\nradius 60\noffset 0, 0\n}\n}\n"
                       "defensiveRange 400\ndockingPorts\n{\nnumPorts 2\n" +
                       PortText("port0", 0.0f) + PortText("port1", 0.0f) + "}\nturretGroup\n{\nnumTurrets " +
                       std::to_string(turrets) + "\n";
    for (int i = 0; i < turrets; ++i)
        text += "turret" + std::to_string(i) + "\n{\nturretPos " + std::to_string(10 * i) + ", 0\n}\n";
    return text + "}\n" + more + "}\n";
}

std::string Designs()
{
    return Design("Flyer", 1,
                  {"0, 0|WEAPON_PROJECTILE_GUN|gun_a", "1, 0|GENERATOR|generator_a", "0, 1|ENGINE|engine_a",
                   "1, 1|BATTERY|battery_a"},
                  {0});
}

// What the strike aims at: a round object that keeps the hits it takes and leaves the
// world when they use up its health.
class CStrikeTarget : public CDockableObject
{
public:
    bool TakeDamage(int32_t sourceType, CGameObject* source, int32_t kind, int32_t amount) override
    {
        if (m_log)
            m_log->push_back({sourceType, source ? source->GetHandle() : NO_OBJECT, kind, amount});
        m_body.health -= amount;
        if (m_body.health > 0)
            return false;
        if (CWorld* world = GetGame() ? GetGame()->GetWorld() : nullptr)
            world->RemoveObject(GetHandle());
        return true;
    }
    struct SHit
    {
        int32_t sourceType;
        int32_t source;
        int32_t kind;
        int32_t amount;
    };
    std::vector<SHit>* m_log = nullptr; // outlives the target
};

class StationCampaignTest : public testing::Test
{
protected:
    void SetUp() override
    {
        ASSERT_TRUE(m_harness.StartLevel());
        m_database = AttachLevelShips(m_harness.GetGame(), Designs(),
                                      StandardComponents() + ComponentSection("STATION_WEAPON", "station_gun",
                                                                              "range\t300\nfireRate\t2\n"));
        ASSERT_NE(m_database, nullptr);
        m_campaign.SetComponentDatabase(m_database);
        m_campaign.Reset();
        m_harness.GetGame().SetCampaign(&m_campaign);
    }
    void TearDown() override { m_harness.GetGame().SetCampaign(&m_harness.GetCampaign()); }

    CStation* SpawnStation(int turrets = 2, const std::string& more = "")
    {
        const int32_t handle = m_harness.Spawn(OBJECT_STATION, STATION_X, STATION_Y);
        CStation* station = m_harness.FindAs<CStation>(handle);
        EXPECT_NE(station, nullptr);
        if (!station)
            return nullptr;
        std::unique_ptr<CDataTree> tree = ParseBlock(StationText(turrets, more));
        station->ParseDefinition(*tree);
        EXPECT_TRUE(station->IsLoaded());
        m_harness.GetGame().SetStationHandle(handle);
        m_station = handle;
        return station;
    }

    CPlayerShip* SpawnShip(float x, float y)
    {
        const int32_t handle = m_harness.Spawn(OBJECT_PLAYER_SHIP, x, y);
        CPlayerShip* ship = m_harness.FindAs<CPlayerShip>(handle);
        EXPECT_NE(ship, nullptr);
        if (!ship)
            return nullptr;
        EXPECT_TRUE(ship->ApplyConfig(1));
        m_harness.GetGame().SetPlayerShipHandle(handle);
        m_ship = handle;
        return ship;
    }

    CStation* Station() { return m_harness.FindAs<CStation>(m_station); }
    CPlayerShip* Ship() { return m_harness.FindAs<CPlayerShip>(m_ship); }

    // Frames until the station holds the ship (or the limit).
    int RunUntilDocked(int most = 400)
    {
        int frames = 0;
        while (frames < most && !Station()->HoldsPlayerShip())
        {
            m_harness.RunFrame();
            ++frames;
        }
        return frames;
    }

    // Frames until the ship, once taken in, is either sent straight back out (the
    // station idle again) or kept docked (or the limit).
    int RunUntilTurnedAroundOrDocked(int most = 400)
    {
        bool inside = false;
        int frames = 0;
        while (frames < most && !(inside && (Station()->GetContext().GetMode() == STATION_IDLE ||
                                             Station()->GetContext().IsDocked())))
        {
            m_harness.RunFrame();
            ++frames;
            inside = inside || Station()->GetContext().GetMode() == STATION_DOCKING;
        }
        return frames;
    }

    // The menu is left: the flight goes on and the station launches; frames until the
    // ship rides out free.
    int LaunchAndRunUntilFree(int most = 400)
    {
        m_harness.SetMode(GAME_MODE_FLIGHT);
        Station()->BeginLaunch();
        int frames = 0;
        do
        {
            m_harness.RunFrame();
            ++frames;
        } while (frames < most && (Ship()->GetInfo().frozen || Station()->GetLaunchPhase() != 0));
        return frames;
    }

    CShipWorldHarness m_harness;
    CShipComponentDatabase* m_database = nullptr;
    CCampaign m_campaign;
    int32_t m_station = NO_OBJECT;
    int32_t m_ship = NO_OBJECT;
};

TEST_F(StationCampaignTest, DocksUnloadsOneItemAStepAndLaunchesThroughEitherPort)
{
    m_harness.GetZones().m_zone = 2;
    CStation* station = SpawnStation();
    ASSERT_NE(station, nullptr);
    // A new game's station in zone 2: base + trunc(2 x base x 0.5).
    EXPECT_EQ(station->GetBody().health, 2 * BASE_HEALTH);
    EXPECT_EQ(m_campaign.GetState().stationLimit, 2 * BASE_HEALTH);
    station->SetHealth(2 * BASE_HEALTH - 10);

    // The ship waits 40 units beyond port 0's entrance (100 above the station).
    CPlayerShip* ship = SpawnShip(STATION_X, STATION_Y - 140.0f);
    ASSERT_NE(ship, nullptr);
    SCargoHold& hold = ship->GetRuntime()->GetCargo();
    hold.m_normalGems = 3;
    hold.m_rareGems = 2;
    hold.m_veryRareGems = 1;
    hold.UpdateLoad();
    SGemStock& gems = m_campaign.GetGems();
    gems.count[GEM_NORMAL] = 99;
    gems.count[GEM_RARE] = 10;
    gems.count[GEM_VERY_RARE] = 0;

    station->RaiseAlert(ship->GetPosition());
    EXPECT_EQ(station->GetContext().GetMode(), STATION_OPEN);
    std::vector<int> itemsLeft;
    int frames = 0;
    bool takenInOnce = true;
    while (frames < 400 && !station->HoldsPlayerShip())
    {
        m_harness.RunFrame();
        ++frames;
        const int held = (station->GetPort(0)->Holds(m_ship) ? 1 : 0) + (station->GetPort(1)->Holds(m_ship) ? 1 : 0);
        takenInOnce = takenInOnce && held <= 1;
        const int left = hold.m_normalGems + hold.m_rareGems + hold.m_veryRareGems;
        if (itemsLeft.empty() || itemsLeft.back() != left)
            itemsLeft.push_back(left);
    }
    ASSERT_TRUE(station->HoldsPlayerShip()) << "docked within " << frames << " frames";
    EXPECT_TRUE(takenInOnce) << "one port only ever holds the ship";
    EXPECT_EQ(itemsLeft, (std::vector<int>{6, 5, 4, 3, 2, 1, 0})) << "one item at a time";
    // The first ordinary gem fills stock 1; the next two are 2 surplus points each,
    // which mend the station by 4. Every gem counts as delivered, once.
    EXPECT_EQ(gems.count[GEM_NORMAL], 100);
    EXPECT_EQ(gems.count[GEM_RARE], 12);
    EXPECT_EQ(gems.count[GEM_VERY_RARE], 1);
    EXPECT_EQ(m_campaign.GetPilot().progress[PILOT_GEMS_COLLECTED], 6);
    EXPECT_EQ(station->GetBody().health, 2 * BASE_HEALTH - 6);
    EXPECT_EQ(m_campaign.GetState().stationLevel, 2 * BASE_HEALTH - 6);
    EXPECT_EQ(station->GetContext().GetMode(), STATION_DOCKING);
    EXPECT_TRUE(ship->GetInfo().frozen);

    // Docked: the in-game menu is asked for once (phase 1) and the world stands.
    m_harness.RunFrame();
    EXPECT_EQ(m_harness.GetGameFlow().m_menuEntries, 1);
    EXPECT_EQ(station->GetLaunchPhase(), 1);
    m_harness.RunFrames(5);
    EXPECT_EQ(m_harness.GetGameFlow().m_menuEntries, 1);
    EXPECT_EQ(station->GetPort(0)->GetState(), PORT_CLOSED);
    EXPECT_EQ(station->GetPort(1)->GetState(), PORT_CLOSED);

    // Out through port 0, facing 180, shown and free again.
    LaunchAndRunUntilFree();
    EXPECT_FALSE(ship->GetInfo().frozen);
    EXPECT_TRUE(ship->GetInfo().shown);
    EXPECT_FLOAT_EQ(ship->GetBody().angle, 180.0f);
    EXPECT_FALSE(station->HoldsPlayerShip());
    EXPECT_EQ(station->GetContext().GetMode(), STATION_IDLE);
    EXPECT_NEAR(ship->GetPosition().y, STATION_Y - 100.0f, 15.0f);

    // Again, asking for the second port: out through port 1, facing 0.
    m_harness.GetGameFlow().m_secondPort = true;
    m_harness.GetGameFlow().m_menuEntries = 0;
    station->RaiseAlert(ship->GetPosition());
    ASSERT_LT(RunUntilDocked(), 400);
    m_harness.RunFrame();
    EXPECT_EQ(m_harness.GetGameFlow().m_menuEntries, 1);
    m_harness.SetMode(GAME_MODE_FLIGHT);
    station->BeginLaunch();
    bool throughSecond = false;
    for (int i = 0; i < 400 && (ship->GetInfo().frozen || station->GetLaunchPhase() != 0); ++i)
    {
        m_harness.RunFrame();
        throughSecond = throughSecond || station->GetPort(1)->Holds(m_ship);
        EXPECT_FALSE(station->GetPort(0)->Holds(m_ship));
    }
    EXPECT_TRUE(throughSecond);
    EXPECT_FALSE(ship->GetInfo().frozen);
    EXPECT_FLOAT_EQ(ship->GetBody().angle, 0.0f);
}

TEST_F(StationCampaignTest, AShipComingInLeavesItsHullInTheRecordOfItsSlot)
{
    CStation* station = SpawnStation();
    ASSERT_NE(station, nullptr);
    m_harness.GetZones().SetCurrentShip(1);
    CPlayerShip* ship = SpawnShip(STATION_X, STATION_Y - 140.0f);
    ASSERT_NE(ship, nullptr);
    ship->GetBody().health = 37; // hurt in flight, nothing in the hold
    m_campaign.SetStoredShipHealth(1, 5);
    m_campaign.SetStoredShipHealth(2, 50);
    station->RaiseAlert(ship->GetPosition());
    ASSERT_LT(RunUntilDocked(), 400);
    EXPECT_EQ(m_campaign.GetStoredHealth(1), 37);
    EXPECT_EQ(m_campaign.GetStoredHealth(2), 50);
}

TEST_F(StationCampaignTest, SpecialCargoPassesToTheZoneAndTheZoneKeepsIt)
{
    CStation* station = SpawnStation();
    ASSERT_NE(station, nullptr);
    CPlayerShip* ship = SpawnShip(STATION_X, STATION_Y - 140.0f);
    ASSERT_NE(ship, nullptr);
    SCargoHold& hold = ship->GetRuntime()->GetCargo();
    hold.m_specialCargo[1] = true;
    hold.m_normalGems = 1;
    hold.UpdateLoad();
    station->RaiseAlert(ship->GetPosition());
    ASSERT_LT(RunUntilDocked(), 400);
    // The second kind only; the gem still goes into the stock.
    EXPECT_FALSE(hold.m_specialCargo[0]);
    EXPECT_FALSE(hold.m_specialCargo[1]);
    EXPECT_FALSE(m_harness.GetZones().GetZoneFlag(ZONE_FLAG_SPECIAL_CARGO_1));
    EXPECT_TRUE(m_harness.GetZones().GetZoneFlag(ZONE_FLAG_SPECIAL_CARGO_2));
    EXPECT_EQ(m_campaign.GetGems().count[GEM_NORMAL], 1);

    // The next flight brings the first kind: the zone holds both.
    LaunchAndRunUntilFree();
    hold.m_specialCargo[0] = true;
    station->RaiseAlert(ship->GetPosition());
    ASSERT_LT(RunUntilDocked(), 400);
    EXPECT_FALSE(hold.m_specialCargo[0]);
    EXPECT_TRUE(m_harness.GetZones().GetZoneFlag(ZONE_FLAG_SPECIAL_CARGO_1));
    EXPECT_TRUE(m_harness.GetZones().GetZoneFlag(ZONE_FLAG_SPECIAL_CARGO_2));
}

TEST_F(StationCampaignTest, AttentionCallsAtABeatenBossAtTheFirstAlienNodesErrandAndAfterAMinute)
{
    m_harness.GetHud().m_visible = true;
    const uint32_t came = m_harness.GetGame().GetTime();
    CStation* station = SpawnStation();
    ASSERT_NE(station, nullptr);
    CHarnessZones& zones = m_harness.GetZones();
    CHarnessDirector& director = m_harness.GetDirector();
    auto calls = [&] {
        m_harness.RunFrame();
        return station->HasAttention();
    };
    EXPECT_FALSE(calls());

    // At the boss node once its boss is beaten.
    zones.m_atBossNode = true;
    EXPECT_FALSE(calls());
    zones.m_bossBeaten = true;
    EXPECT_TRUE(calls());
    zones.m_atBossNode = false;
    zones.m_bossBeaten = false;

    // Zone 2's first alien node: from chat 34 (visit flag 5) until chat 35 (flag 6)
    // has shown and the reward is paid. Zone 2's flags mean nothing at node kind 8.
    zones.m_zone = 2;
    zones.m_nodeKind = ZONE_NODE_ALIEN_1;
    EXPECT_FALSE(calls());
    director.RaiseFlag(DIRECTOR_VISIT_CHAT, 5);
    EXPECT_TRUE(calls());
    zones.m_nodeKind = ZONE_NODE_ALIEN_2;
    EXPECT_FALSE(calls());
    zones.m_nodeKind = ZONE_NODE_ALIEN_1;
    zones.m_alienReward = true;
    EXPECT_TRUE(calls());
    director.RaiseFlag(DIRECTOR_VISIT_CHAT, 6);
    EXPECT_FALSE(calls());

    // Zone 0's: from chat 30 (flag 1) until chat 31 (flag 2) and the reward.
    zones.m_zone = 0;
    zones.m_alienReward = false;
    director.RaiseFlag(DIRECTOR_VISIT_CHAT, 1);
    director.RaiseFlag(DIRECTOR_VISIT_CHAT, 2);
    EXPECT_TRUE(calls());
    zones.m_alienReward = true;
    EXPECT_FALSE(calls());

    // Elsewhere, a minute after the station came, unless an interdictor holds it.
    zones.m_nodeKind = ZONE_NODE_NORMAL;
    auto runUntil = [&](uint32_t ms) {
        for (int frame = 0; frame < 2000 && m_harness.GetGame().GetTime() - came < ms; ++frame)
            m_harness.RunFrame();
        ASSERT_GE(m_harness.GetGame().GetTime() - came, ms);
    };
    runUntil(59000);
    EXPECT_FALSE(calls());
    runUntil(61000);
    m_harness.GetGame().GetRun().interdictorPresent = true;
    EXPECT_FALSE(calls());
    m_harness.GetGame().GetRun().interdictorPresent = false;
    EXPECT_TRUE(calls());

    // Without the HUD there is no call.
    m_harness.GetHud().m_visible = false;
    EXPECT_FALSE(calls());
}

TEST_F(StationCampaignTest, InTheLastZoneWhileTheDrivePodIsOutTheShipGoesStraightBackOut)
{
    // Boss-chat flags: 2 the drive pod was spawned, 1 it was delivered.
    m_harness.GetZones().m_zone = 4;
    m_harness.GetDirector().RaiseFlag(DIRECTOR_BOSS_CHAT, 2);
    CStation* station = SpawnStation();
    ASSERT_NE(station, nullptr);
    CPlayerShip* ship = SpawnShip(STATION_X, STATION_Y - 140.0f);
    ASSERT_NE(ship, nullptr);
    station->RaiseAlert(ship->GetPosition());
    // Inside and unloaded, it goes out in the same step: no menu, port 0, facing 0.
    ASSERT_LT(RunUntilTurnedAroundOrDocked(), 400);
    EXPECT_FALSE(station->GetContext().IsDocked());
    EXPECT_EQ(m_harness.GetGameFlow().m_menuEntries, 0);
    EXPECT_EQ(station->GetLaunchPhase(), 0);
    EXPECT_FALSE(station->HoldsPlayerShip());
    EXPECT_TRUE(station->GetPort(0)->Holds(m_ship));
    EXPECT_FLOAT_EQ(ship->GetBody().angle, 0.0f);
    for (int i = 0; i < 400 && ship->GetInfo().frozen; ++i)
        m_harness.RunFrame();
    EXPECT_FALSE(ship->GetInfo().frozen);
    EXPECT_EQ(m_harness.GetGameFlow().m_menuEntries, 0);

    // Held with a hold still full (as a scripted arrival leaves it): only the first kind
    // that is there goes, whole; stock 1 at 98 takes two of the five and stops at 100.
    SCargoHold& hold = ship->GetRuntime()->GetCargo();
    hold.m_normalGems = 5;
    hold.m_crew = 2;
    hold.UpdateLoad();
    m_campaign.GetGems().count[GEM_NORMAL] = 98;
    station->GetContext().SetDocked(true);
    m_harness.RunFrame();
    EXPECT_EQ(m_campaign.GetGems().count[GEM_NORMAL], 100);
    EXPECT_EQ(hold.m_normalGems, 0);
    EXPECT_EQ(hold.m_crew, 2);
    EXPECT_TRUE(station->GetPort(0)->Holds(m_ship));
    for (int i = 0; i < 400 && ship->GetInfo().frozen; ++i)
        m_harness.RunFrame();

    // Once the pod is delivered, docking asks for the menu again.
    m_harness.GetDirector().RaiseFlag(DIRECTOR_BOSS_CHAT, 1);
    hold.m_crew = 0;
    hold.UpdateLoad();
    station->RaiseAlert(ship->GetPosition());
    ASSERT_LT(RunUntilDocked(), 400);
    m_harness.RunFrame();
    EXPECT_EQ(m_harness.GetGameFlow().m_menuEntries, 1);
    EXPECT_EQ(station->GetLaunchPhase(), 1);
}

// The tutorial's mining lesson (step 4): before its goal is met (sub-state 0), a ship
// that docks while the node still has a medium or large rock is sent straight back out;
// otherwise the station keeps it for the lesson to go on (no menu in the tutorial).
struct STutorialDocking
{
    const char* name;
    int step;
    int subState;
    int32_t rockKind; // the node's one rock: 0 small, 1 medium, -1 none
    bool sentOut;
};

class StationTutorialDocking : public StationCampaignTest, public testing::WithParamInterface<STutorialDocking>
{
};

TEST_P(StationTutorialDocking, SendsTheShipBackToMineOnlyWhileRocksAreLeft)
{
    const STutorialDocking& docking = GetParam();
    m_harness.GetDirector().m_tutorialStep = docking.step;
    m_harness.GetDirector().m_subState = docking.subState;
    SZoneNode& node = m_harness.GetZones().m_node;
    node = SZoneNode();
    if (docking.rockKind >= 0)
    {
        ASSERT_TRUE(node.RecordAsteroid(docking.rockKind, 0, CVector2D(100.0f, 100.0f), NO_OBJECT));
    }
    // The flag as a stale node might carry it: the station looks at the map itself.
    node.rocks = !docking.sentOut;
    CStation* station = SpawnStation();
    ASSERT_NE(station, nullptr);
    CPlayerShip* ship = SpawnShip(STATION_X, STATION_Y - 140.0f);
    ASSERT_NE(ship, nullptr);
    station->RaiseAlert(ship->GetPosition());
    ASSERT_LT(RunUntilTurnedAroundOrDocked(), 400);
    m_harness.RunFrame();
    EXPECT_EQ(station->GetPort(0)->Holds(m_ship), docking.sentOut);
    EXPECT_EQ(station->GetContext().IsDocked(), !docking.sentOut);
    EXPECT_EQ(m_harness.GetGameFlow().m_menuEntries, 0);
    if (docking.sentOut)
    {
        EXPECT_FLOAT_EQ(ship->GetBody().angle, 0.0f);
    }
}

INSTANTIATE_TEST_SUITE_P(
    Lesson, StationTutorialDocking,
    testing::Values(STutorialDocking{"MediumRockLeft", 4, 0, 1, true},
                    STutorialDocking{"OnlyASmallRockLeft", 4, 0, 0, false},
                    STutorialDocking{"NoRockLeft", 4, 0, -1, false},
                    STutorialDocking{"GoalMet", 4, 1, 1, false},
                    STutorialDocking{"AnotherStep", 3, 0, 1, false}),
    [](const testing::TestParamInfo<STutorialDocking>& tested) { return std::string(tested.param.name); });

TEST_F(StationCampaignTest, AShipMadeForTheFlightReplacesTheDockedOne)
{
    CStation* station = SpawnStation();
    ASSERT_NE(station, nullptr);
    SpawnShip(STATION_X, STATION_Y - 140.0f);
    const int32_t docked = m_ship;
    station->RaiseAlert(Ship()->GetPosition());
    ASSERT_LT(RunUntilDocked(), 400);
    m_harness.RunFrame();
    // The game flow makes the ship of the pilot's choice at the station.
    SpawnShip(STATION_X, STATION_Y);
    LaunchAndRunUntilFree();
    m_harness.RunFrame();
    EXPECT_EQ(m_harness.Find(docked), nullptr);
    ASSERT_NE(Ship(), nullptr);
    EXPECT_TRUE(Ship()->GetInfo().shown);
    EXPECT_FALSE(Ship()->GetInfo().frozen);
}

TEST_F(StationCampaignTest, DamageStaysInTheRecordAcrossASave)
{
    CStation* station = SpawnStation();
    ASSERT_NE(station, nullptr);
    ASSERT_EQ(station->GetBody().health, BASE_HEALTH);
    // A weapon's hit (kind 1) is halved: 1 + trunc(301 / 2); a collision is not.
    EXPECT_FALSE(station->TakeDamage(OBJECT_ENEMY_FIGHTER, nullptr, 1, 301));
    EXPECT_EQ(station->GetBody().health, BASE_HEALTH - 151);
    EXPECT_FALSE(station->TakeDamage(OBJECT_ASTEROID, nullptr, 0, 49));
    EXPECT_EQ(station->GetBody().health, BASE_HEALTH - 200);
    EXPECT_EQ(m_campaign.GetState().stationLevel, BASE_HEALTH - 200);

    CQelMemoryFile file;
    ASSERT_TRUE(m_campaign.Write(file));
    CCampaign loaded;
    CQelMemoryFile back(file.GetBytes());
    std::string why;
    ASSERT_TRUE(loaded.Read(back, why)) << why;
    EXPECT_EQ(loaded.GetState().stationLimit, BASE_HEALTH);
    EXPECT_EQ(loaded.GetState().stationLevel, BASE_HEALTH - 200);

    // The next node's station starts hurt, not healed.
    m_harness.GetWorld().RemoveObject(m_station);
    m_harness.RunFrame();
    m_campaign.GetState() = loaded.GetState();
    CStation* next = SpawnStation();
    ASSERT_NE(next, nullptr);
    EXPECT_EQ(next->GetBody().health, BASE_HEALTH - 200);
}

TEST_F(StationCampaignTest, BadlyHurtItPaysTheStocksForRepairs)
{
    CStation* station = SpawnStation();
    ASSERT_NE(station, nullptr);
    SGemStock& gems = m_campaign.GetGems();
    // Below a fifth of 1000 the hit left 150: (200 - 150) x 0.1 = 5 gems' worth is paid
    // (the rare stock, worth 2 a gem, pays 6) and mends 10 a unit paid.
    gems.count[GEM_NORMAL] = 0;
    gems.count[GEM_RARE] = 3;
    station->SetHealth(160);
    EXPECT_FALSE(station->TakeDamage(OBJECT_ASTEROID, nullptr, 0, 10));
    EXPECT_EQ(gems.count[GEM_RARE], 0);
    EXPECT_EQ(station->GetBody().health, 150 + 50);
    EXPECT_EQ(m_campaign.GetState().stationLevel, 200);
    // With empty stocks nothing is mended.
    EXPECT_FALSE(station->TakeDamage(OBJECT_ASTEROID, nullptr, 0, 100));
    EXPECT_EQ(station->GetBody().health, 100);
    // The fatal hit: gone 500 ms later, the record at 0.
    EXPECT_TRUE(station->TakeDamage(OBJECT_ASTEROID, nullptr, 0, 500));
    EXPECT_EQ(m_campaign.GetState().stationLevel, 0);
    m_harness.RunFrames(16);
    EXPECT_EQ(m_harness.Find(m_station), nullptr);
}

TEST_F(StationCampaignTest, HumsInTheWorldSoundsItsWarpAndLightsTheFlamesOfItsDrift)
{
    // A flame on each side: the left one lit by a thrust to the right (heading 0), the
    // right one by a thrust to the left (180), 45 degrees either way.
    CStation* station = SpawnStation(2, "ambientSfx\n{\nsfxName hum.wav\n}\ntunnelSfx\n{\nsfxName tunnel.wav\n}\n"
                                        "engines\n{\nnumEngines 2\nsprite\n{\nspriteFile dummy\n}\n"
                                        "engine0\n{\npos -80, 0\nangle 0\nfallOff 45\n}\n"
                                        "engine1\n{\npos 80, 0\nangle 180\nfallOff 45\n}\n}\n");
    ASSERT_NE(station, nullptr);
    const CShipSound& ambient = station->GetAmbientSound();
    const CShipSound& tunnel = station->GetTunnelSound();
    EXPECT_EQ(ambient.GetFile(), "hum.wav");
    EXPECT_FLOAT_EQ(ambient.GetVolume(), 0.8f);
    EXPECT_EQ(tunnel.GetFile(), "tunnel.wav");
    EXPECT_FLOAT_EQ(tunnel.GetVolume(), 0.85f);
    const CEngineFlameSet& flames = station->GetFlames();
    ASSERT_EQ(flames.GetCount(), 2);

    m_harness.RunFrame();
    EXPECT_TRUE(ambient.IsFollowing());
    EXPECT_EQ(tunnel.GetPlayCount(), 0u);
    // Without thrust or drift no flame burns; then a push each way lights its side.
    EXPECT_FALSE(flames.GetFlame(0)->lit);
    EXPECT_FALSE(flames.GetFlame(1)->lit);
    const struct
    {
        float force;
        bool left;
        bool right;
    } pushes[] = {{60.0f, true, false}, {-60.0f, false, true}};
    for (const auto& push : pushes)
    {
        station->GetBody().force = CVector2D(push.force, 0.0f);
        station->Move();
        EXPECT_EQ(flames.GetFlame(0)->lit, push.left) << push.force;
        EXPECT_EQ(flames.GetFlame(1)->lit, push.right) << push.force;
    }

    // A warp sounds the tunnel once; the hum fades and the flames go out while it lasts.
    station->SetWarpState(WARP_OUT);
    EXPECT_EQ(tunnel.GetPlayCount(), 1u);
    station->GetBody().force = CVector2D(60.0f, 0.0f);
    m_harness.RunFrame();
    EXPECT_FALSE(ambient.IsFollowing());
    EXPECT_FALSE(flames.GetFlame(0)->lit);
    // Back in the world without the player's ship, it first holds the pilot for the
    // menu (the hum still silent), then, the menu left, hums again.
    station->SetWarpState(WARP_NONE);
    m_harness.RunFrame();
    EXPECT_FALSE(ambient.IsFollowing());
    m_harness.SetMode(GAME_MODE_FLIGHT);
    m_harness.RunFrame();
    EXPECT_TRUE(ambient.IsFollowing());
    EXPECT_EQ(tunnel.GetPlayCount(), 1u);
}

TEST_F(StationCampaignTest, TheSampleStationBurnsTheCornersBehindItsDrift)
{
    // The sample station as shipped (its sprites left out): an engine on each corner of
    // the ring, each pushing toward the middle from its corner, so a drift lights the
    // corners it moves away from, and a push between two of them the one behind it.
    std::ifstream in(std::string(TESS_SOURCE_DIR) + "/data-src/station/station.txt", std::ios::binary);
    std::ostringstream source;
    source << in.rdbuf();
    ASSERT_FALSE(source.str().empty());
    const std::string text = std::regex_replace(source.str(), std::regex("spriteFile\\t[^\\r\\n]*"), "spriteFile\tdummy");
    const int32_t handle = m_harness.Spawn(OBJECT_STATION, STATION_X, STATION_Y);
    CStation* station = m_harness.FindAs<CStation>(handle);
    ASSERT_NE(station, nullptr);
    station->ParseDefinition(*ParseBlock(text.substr(text.find("STATION"))));
    ASSERT_TRUE(station->IsLoaded());
    const CEngineFlameSet& flames = station->GetFlames();
    ASSERT_EQ(flames.GetCount(), 4);
    // Corners: 0 upper left, 1 upper right, 2 lower right, 3 lower left (y grows down).
    const struct
    {
        CVector2D force;
        bool lit[4];
    } pushes[] = {
        {{60.0f, 0.0f}, {true, false, false, true}},   // right: both left corners
        {{0.0f, 60.0f}, {true, true, false, false}},   // down: both upper corners
        {{-60.0f, 0.0f}, {false, true, true, false}},  // left
        {{0.0f, -60.0f}, {false, false, true, true}},  // up
        {{60.0f, 60.0f}, {true, false, false, false}}, // down and right: the upper left only
        {{-60.0f, -60.0f}, {false, false, true, false}},
    };
    for (const auto& push : pushes)
    {
        station->GetBody().velocity = CVector2D();
        station->GetBody().force = push.force;
        station->Move();
        for (int32_t i = 0; i < 4; ++i)
            EXPECT_EQ(flames.GetFlame(i)->lit, push.lit[i])
                << "engine " << i << " pushed " << push.force.x << ", " << push.force.y;
    }
}

TEST_F(StationCampaignTest, TheStrikeFliesAtItsTargetEndsItAndIsSpentFourSecondsLater)
{
    // The centre mount holds the gun; the target stands 400 right of the station, its
    // radius 10, so the strike reaches it once it is nearer than 80: after 54 frames of
    // 6 units (76 left), in the 55th.
    m_campaign.GetState().mounts[0] = {0, true, true};
    CStation* station = SpawnStation(2);
    ASSERT_NE(station, nullptr);
    ASSERT_TRUE(station->GetTurrets().GetTurret(0)->IsLive());
    RegisterObjectType(OBJECT_DUMB, &CreateObjectOf<CStrikeTarget>);
    const int32_t target = m_harness.Spawn(OBJECT_DUMB, STATION_X + 400.0f, STATION_Y);
    ASSERT_NE(target, NO_OBJECT);
    std::vector<CStrikeTarget::SHit> hits;
    m_harness.FindAs<CStrikeTarget>(target)->m_log = &hits;
    const CStationStrike& strike = station->GetStrike();
    EXPECT_FALSE(strike.IsActive());
    CRecordedEffects effects;

    ASSERT_TRUE(station->LaunchStrike(target));
    EXPECT_FALSE(station->LaunchStrike(target)) << "one strike at a time";
    EXPECT_TRUE(strike.IsActive());
    EXPECT_FLOAT_EQ(strike.GetPosition().x, STATION_X);
    m_harness.RunFrames(54);
    EXPECT_NEAR(strike.GetPosition().x, STATION_X + 324.0f, 0.01f);
    EXPECT_NEAR(strike.GetPosition().y, STATION_Y, 0.01f);
    ASSERT_NE(m_harness.Find(target), nullptr);
    EXPECT_TRUE(hits.empty());
    // The centre turret rides on the strike and does not fight while it flies.
    const STurret* centre = station->GetTurrets().GetTurret(0);
    EXPECT_TRUE(centre->disabled);
    EXPECT_NEAR(centre->position.x, STATION_X + 324.0f, 0.01f);

    m_harness.RunFrame();
    // Reached: one hit of the strike's kind, from no one, ends the target (it leaves
    // the world as the next frame begins).
    ASSERT_EQ(hits.size(), 1u);
    EXPECT_EQ(hits[0].sourceType, 0);
    EXPECT_EQ(hits[0].source, NO_OBJECT);
    EXPECT_EQ(hits[0].kind, 3);
    EXPECT_EQ(hits[0].amount, 99999);
    EXPECT_NEAR(strike.GetPosition().x, STATION_X + 324.0f, 0.01f);
    EXPECT_EQ(effects.Count(CStationStrike::EXPLOSION_EFFECT), 0u);
    m_harness.RunFrame();
    EXPECT_EQ(m_harness.Find(target), nullptr);
    EXPECT_EQ(hits.size(), 1u);
    // Gone: the explosion where the strike stopped, belonging to no one.
    ASSERT_EQ(effects.Count(CStationStrike::EXPLOSION_EFFECT), 1u);
    for (const CRecordedEffects::SRequest& request : effects.m_requests)
        if (request.name == CStationStrike::EXPLOSION_EFFECT)
        {
            EXPECT_EQ(request.owner, NO_OBJECT);
            EXPECT_NEAR(request.position.x, STATION_X + 324.0f, 0.01f);
        }
    // Four seconds (100 frames) after that the strike is spent, the centre turret
    // with it, and the director is told once.
    m_harness.RunFrames(99);
    EXPECT_TRUE(strike.IsActive());
    EXPECT_EQ(m_harness.GetDirector().m_strikesDone, 0);
    m_harness.RunFrame();
    EXPECT_FALSE(strike.IsActive());
    EXPECT_EQ(m_harness.GetDirector().m_strikesDone, 1);
    EXPECT_EQ(centre->health, 0);
    EXPECT_FALSE(centre->IsLive());
    m_harness.RunFrames(10);
    EXPECT_EQ(m_harness.GetDirector().m_strikesDone, 1);
    EXPECT_EQ(effects.Count(CStationStrike::EXPLOSION_EFFECT), 1u);
}

TEST_F(StationCampaignTest, TurretsComeFromTheRecordsMounts)
{
    // Mount 0 holds the gun; mount 1 names a definition that is not there; mount 2 is
    // empty; the definition asks for seven mounts, of which five exist.
    SCampaignState& state = m_campaign.GetState();
    state.mounts[0] = {0, true, true};
    state.mounts[1] = {9, true, true};
    state.mounts[3] = {0, true, false};
    CStation* station = SpawnStation(7);
    ASSERT_NE(station, nullptr);
    CTurretGroup& turrets = station->GetTurrets();
    ASSERT_EQ(turrets.GetCount(), CTurretGroup::MAX_STATION_TURRETS);
    EXPECT_EQ(turrets.GetTurret(0)->health, 30);
    EXPECT_FLOAT_EQ(turrets.GetTurret(0)->range, 300.0f);
    EXPECT_EQ(turrets.GetTurret(0)->fireInterval, 500u);
    EXPECT_EQ(turrets.GetTurret(1)->health, 0) << "an unknown definition is an empty mount";
    EXPECT_EQ(turrets.GetTurret(2)->health, 0);
    EXPECT_EQ(turrets.GetTurret(3)->health, 0) << "no vacuum is defined";
    EXPECT_FLOAT_EQ(turrets.GetTurret(4)->offset.x, 40.0f);
}
} // namespace
