// The player ship in a running world: loading a design, steering, hits by kind,
// the shield, death, the hold, and what it tells the HUD, station and campaign.

#include "core/Random.h"
#include "presentation/EffectRequests.h"
#include "ships/PlayerShip.h"
#include "ships/ShipLevelData.h"
#include "ships/StationLink.h"
#include "tests/ships/ShipFixtures.h"
#include "tests/support/ships/ShipWorldHarness.h"
#include "core/DataFile.h"
#include "core/DefinitionProblems.h"
#include "world/AsteroidDefs.h"
#include "world/AsteroidKinds.h"
#include "world/World.h"
#include "world/ObjectFactory.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace
{
constexpr int ACTION_BEAM = 2;
constexpr int ACTION_STATION = 3;
constexpr int ACTION_THRUST = 4;
constexpr int ACTION_TURN_LEFT = 6;

int Key(int action)
{
    return CControls::DEFAULT_KEYS[action];
}

// Slot 1: a gun, generator, engine and battery on every cell of hull_a (mass 155).
// Slot 2: the same with a shield for the battery. Slot 0: the escape pod's two.
// Slot 3: no engine at all.
std::string PlayerDesigns()
{
    return Design("Flyer", 1,
                  {"0, 0|WEAPON_PROJECTILE_GUN|gun_a", "1, 0|GENERATOR|generator_a", "0, 1|ENGINE|engine_a",
                   "1, 1|BATTERY|battery_a"},
                  {0}) +
           Design("Shielded", 2,
                  {"0, 0|WEAPON_PROJECTILE_GUN|gun_a", "1, 0|GENERATOR|generator_a", "0, 1|ENGINE|engine_a",
                   "1, 1|SHIELD|shield_a"},
                  {0}) +
           Design("Pod", 0, {"0, 1|ENGINE|engine_a", "1, 0|GENERATOR|generator_a"}) +
           Design("Drifter", 3, {"1, 0|GENERATOR|generator_a", "1, 1|BATTERY|battery_a"});
}

// An asteroid as the ship meets it: a kind, a mass, a circle.
class CTestAsteroid : public CGameObject
{
public:
    CTestAsteroid() : CGameObject(OBJECT_ASTEROID)
    {
        m_body.mass = 10;
        m_body.radius = 5.0f;
    }
    int32_t GetAsteroidKind() const override { return m_kind; }
    int32_t m_kind = 0;
};

// A mothership with a boss key, a boss that strikes hard, a fighter that is marked.
class CTestEnemy : public CGameObject
{
public:
    explicit CTestEnemy(EObjectType type, int32_t key = -1, bool fierce = false)
        : CGameObject(type), m_key(key), m_fierce(fierce)
    {
    }
    int32_t GetBossKey() const override { return m_key; }
    bool IsStrikingHard() const override { return m_fierce; }
    bool IsScriptedAttacker() const override { return m_fierce; }

private:
    int32_t m_key;
    bool m_fierce;
};

struct SStartedEffect
{
    std::string name;
    CVector2D position;
};

class CRecordingEffects : public CEffectRequests
{
public:
    void StartEffect(const char* name, int32_t, const CVector2D& position, const CVector2D&) override
    {
        m_started.push_back({name, position});
    }
    std::vector<SStartedEffect> m_started;
};

// Equipment pods for the level: one definition, still and round.
bool LoadEquipmentPods(CGame& game)
{
    const std::string text = "ASTEROID_DEFS\n{\nnumDefs 1\ndef0\n{\ntype equipmentPod\nmass 5\nhealth 10\n"
                             "collision\n{\nnumObj 1\nc0\n{\ntype rootCircle\nradius 8\noffset 0, 0\n}\n}\n}\n"
                             "spawnSites\n{\nnumSites 1\nsite0\n{\nrandomVel no\ninitVelMin 0, 0\ninitVelMax 0, 0\n"
                             "centre 0.5, 0.5\nradius 0.4\n}\n}\n}\n";
    CDataNodeList nodes;
    CDefinitionProblems problems;
    return ParseDataBytes(reinterpret_cast<const uint8_t*>(text.data()), text.size(), nodes) && !nodes.empty() &&
           game.GetAsteroidTable().Load(static_cast<const CDataTree&>(*nodes[0]), true, problems);
}

// Equipment pods in the world that a player ship dropped.
int CountDroppedPods(CWorld& world)
{
    int pods = 0;
    for (int32_t slot = 0; slot < world.GetSlotCount(); ++slot)
        if (const CGameObject* object = world.GetSlot(slot))
            pods += object->GetAsteroidKind() == ASTEROID_EQUIPMENT_POD && object->GetSpawnerType() == OBJECT_PLAYER_SHIP;
    return pods;
}

class CPlayerShipTest : public testing::Test
{
protected:
    void SetUp() override
    {
        ASSERT_TRUE(m_harness.StartLevel());
        m_database = AttachLevelShips(m_harness.GetGame(), PlayerDesigns());
        ASSERT_NE(m_database, nullptr);
        InstallEffectRequests(&m_effects);
    }
    void TearDown() override { InstallEffectRequests(nullptr); }

    CPlayerShip& SpawnShip(int32_t slot, float x = 2000.0f, float y = 2000.0f)
    {
        m_handle = m_harness.Spawn(OBJECT_PLAYER_SHIP, x, y);
        CPlayerShip* ship = m_harness.FindAs<CPlayerShip>(m_handle);
        EXPECT_NE(ship, nullptr);
        EXPECT_TRUE(ship->ApplyConfig(slot));
        m_harness.GetGame().SetPlayerShipHandle(m_handle);
        return *ship;
    }

    CShipWorldHarness m_harness;
    CShipComponentDatabase* m_database = nullptr;
    CRecordingEffects m_effects;
    int32_t m_handle = NO_OBJECT;
};
} // namespace

TEST_F(CPlayerShipTest, LoadingADesignTakesItsHullEngineAndHold)
{
    CPlayerShip& ship = SpawnShip(1);
    ASSERT_NE(ship.GetRuntime(), nullptr);
    EXPECT_EQ(ship.GetBody().mass, 155);
    EXPECT_EQ(ship.GetBody().health, 150);
    EXPECT_EQ(ship.GetBody().velocityLimit, 200);
    EXPECT_FLOAT_EQ(ship.GetDamping(), 0.9f);
    EXPECT_FLOAT_EQ(ship.GetBody().radius, 16.0f); // the hull's root circle
    ASSERT_NE(ship.GetEngineDef(), nullptr);
    EXPECT_EQ(ship.GetEngineDef()->m_ident, "engine_a");
    EXPECT_FLOAT_EQ(ship.GetEngineOffset().x, -16.0f); // the engine cell's launch offset
    EXPECT_EQ(ship.GetRuntime()->GetCargo().m_capacity, 25);
    EXPECT_EQ(ship.GetInfo().team, GOOD_TEAM);

    // An ident no design has leaves the ship without a runtime.
    EXPECT_FALSE(ship.LoadFromFile("Nobody"));
    EXPECT_EQ(ship.GetRuntime(), nullptr);
    EXPECT_FALSE(ship.ApplyConfig(5)); // an empty slot
    EXPECT_FALSE(ship.ApplyConfig(-1));
}

TEST(PlayerShip, HoldSizeByHullIndexAndCargoPods)
{
    struct SCase
    {
        int32_t hull, pods, capacity;
    } cases[] = {{0, 0, 25}, {1, 1, 31}, {2, 0, 30}, {2, 1, 37}, {3, 2, 60}, {4, 1, 62}, {5, 2, 37}};
    for (const SCase& test : cases)
        EXPECT_EQ(CPlayerShip::GetCargoCapacity(test.hull, test.pods), test.capacity)
            << "hull " << test.hull << ", " << test.pods << " pods";
}

TEST_F(CPlayerShipTest, TurnSpeedBuildsUpByThreeAndDecaysByTruncation)
{
    CPlayerShip& ship = SpawnShip(1);
    m_harness.ScriptKey(0, Key(ACTION_TURN_LEFT), true);
    m_harness.ScriptKey(6, Key(ACTION_TURN_LEFT), false);
    const int32_t speeds[] = {-3, -6, -9, -12, -15, -15, -9, -5, -3, -1, 0, 0};
    float angle = 0.0f;
    for (int32_t speed : speeds)
    {
        m_harness.RunFrame();
        angle += static_cast<float>(speed);
        if (angle < 0.0f)
            angle += 360.0f;
        EXPECT_EQ(CPlayerShip::GetTurnSpeed(), speed) << "frame " << m_harness.GetFramesRun() - 1;
        EXPECT_FLOAT_EQ(ship.GetBody().angle, angle);
    }
    // Each new design starts still, whatever the last one was doing.
    m_harness.ScriptKey(m_harness.GetFramesRun(), Key(ACTION_TURN_LEFT), true);
    m_harness.RunFrame();
    ASSERT_EQ(CPlayerShip::GetTurnSpeed(), -3);
    ship.ApplyConfig(2);
    EXPECT_EQ(CPlayerShip::GetTurnSpeed(), 0);
}

TEST_F(CPlayerShipTest, ClosedSteeringGateHoldsTheShip)
{
    CPlayerShip& ship = SpawnShip(1);
    m_harness.GetDirector().m_gates[GATE_STEERING] = false;
    m_harness.SetKey(Key(ACTION_TURN_LEFT), true);
    m_harness.SetKey(Key(ACTION_THRUST), true);
    m_harness.RunFrames(5);
    EXPECT_FLOAT_EQ(ship.GetBody().angle, 0.0f);
    EXPECT_FALSE(ship.GetRuntime()->GetControls().thrust);
    EXPECT_FLOAT_EQ(ship.GetBody().velocity.x, 0.0f);
}

// Which rule a hit meets goes by the number of its damage kind, as the callers
// pass it: bounces 0 (the "weapon" rules, doubled), particle and laser hits 1
// (none), timed pushes 2 (the "collision" rules), the station's strike 3 (none).
TEST_F(CPlayerShipTest, DamageByKindAndSource)
{
    struct SCase
    {
        const char* name;
        EObjectType sourceType;
        int32_t asteroidKind; // for asteroid sources
        int32_t bossKey;
        bool fierce;
        bool withSource;
        int32_t kind;
        int32_t nodeKind;
        int32_t zone;
        int32_t amount;
        int32_t damage;
    } cases[] = {
        {"kind 0 doubled", OBJECT_ENEMY_FIGHTER, 0, -1, false, true, 0, 0, 0, 10, 20},
        {"crusher mothership", OBJECT_ENEMY_MOTHERSHIP, 0, 7, false, true, 0, 0, 0, 10, 140},
        {"other mothership", OBJECT_ENEMY_MOTHERSHIP, 0, 3, false, true, 0, 0, 0, 10, 20},
        {"mounted part", OBJECT_MOUNTED_PART, 0, -1, false, false, 0, 0, 0, 10, 40},
        {"magma boss striking", OBJECT_MAGMA_BOSS, 0, -1, true, true, 0, 0, 0, 10, 100},
        {"magma boss otherwise", OBJECT_MAGMA_BOSS, 0, -1, false, true, 0, 0, 0, 10, 20},
        {"asteroid bump is kind 0", OBJECT_ASTEROID, 0, -1, false, true, 0, 0, 0, 3, 6},
        {"kind 1 as it is", OBJECT_ENEMY_FIGHTER, 0, -1, false, true, 1, 0, 0, 10, 10},
        {"kind 3 as it is", OBJECT_STATION, 0, -1, false, false, 3, 0, 0, 10, 10},
        {"kind 2 asteroid, normal node", OBJECT_ASTEROID, 0, -1, false, true, 2, 0, 0, 10, 0},
        {"kind 2 asteroid, danger node 2", OBJECT_ASTEROID, 0, -1, false, true, 2, 2, 0, 10, 10},
        {"kind 2 asteroid, danger node 5", OBJECT_ASTEROID, 0, -1, false, false, 2, 5, 0, 10, 10},
        {"kind 2 asteroid, danger node 6", OBJECT_ASTEROID, 0, -1, false, true, 2, 6, 0, 10, 0},
        {"kind 2 worm, zone 0", OBJECT_WORM, 0, -1, false, true, 2, 0, 0, 10, 10},
        {"kind 2 worm, zone 3", OBJECT_WORM, 0, -1, false, true, 2, 0, 3, 10, 40},
        {"wreck pod", OBJECT_ASTEROID, 12, -1, false, true, 0, 2, 0, 10, 0},
        {"drive pod", OBJECT_ASTEROID, 13, -1, false, true, 2, 2, 0, 10, 0},
        {"equipment pod", OBJECT_ASTEROID, 17, -1, false, true, 1, 2, 0, 10, 0},
    };
    CPlayerShip& ship = SpawnShip(1);
    for (const SCase& test : cases)
    {
        SCOPED_TRACE(test.name);
        ship.GetBody().health = 150;
        m_harness.GetZones().m_nodeKind = test.nodeKind;
        m_harness.GetZones().m_zone = test.zone;
        CTestAsteroid asteroid;
        asteroid.m_kind = test.asteroidKind;
        CTestEnemy enemy(test.sourceType, test.bossKey, test.fierce);
        CGameObject* source = nullptr;
        if (test.withSource)
            source = test.sourceType == OBJECT_ASTEROID ? static_cast<CGameObject*>(&asteroid) : &enemy;
        EXPECT_FALSE(ship.TakeDamage(test.sourceType, source, test.kind, test.amount));
        EXPECT_EQ(150 - ship.GetBody().health, test.damage);
    }
}

TEST_F(CPlayerShipTest, ABounceReachesTheWeaponRules)
{
    RegisterObjectType(OBJECT_ASTEROID, &CreateObjectOf<CTestAsteroid>);
    CPlayerShip& ship = SpawnShip(1, 110.0f, 100.0f);
    int32_t rock = m_harness.Spawn(OBJECT_ASTEROID, 100.0f, 100.0f);
    CGameObject& asteroid = *m_harness.Find(rock);
    asteroid.GetBody().velocity = CVector2D(3.0f, 0.0f);
    // The rock (mass 10, speed 3) meets the ship at rest, which bounces as mass 10:
    // an impulse of 30, so 30 / 10 = 3 for each, which the ship takes as kind 0, x2.
    BounceObjects(asteroid, ship);
    EXPECT_EQ(ship.GetBody().health, 150 - 6);
    EXPECT_EQ(m_harness.GetGameFlow().m_alarms, 0); // the HUD is hidden
}

TEST_F(CPlayerShipTest, ShieldAbsorbsFirst)
{
    CPlayerShip& ship = SpawnShip(2);
    SShieldState& shield = ship.GetRuntime()->GetShield();
    ASSERT_FLOAT_EQ(shield.m_energy, 50.0f);
    // 20 below 50: absorbed whole.
    ship.TakeDamage(OBJECT_ENEMY_FIGHTER, nullptr, 1, 20);
    EXPECT_EQ(ship.GetBody().health, 150);
    EXPECT_FLOAT_EQ(shield.m_energy, 30.0f);
    // Exactly the energy is not below it: lessened by 30 to nothing.
    ship.TakeDamage(OBJECT_ENEMY_FIGHTER, nullptr, 1, 30);
    EXPECT_EQ(ship.GetBody().health, 150);
    EXPECT_FLOAT_EQ(shield.m_energy, 0.0f);
    // A crusher's 10 is 140 before the shield; 45.7 of energy takes 45 of it.
    shield.m_energy = 45.7f;
    CTestEnemy crusher(OBJECT_ENEMY_MOTHERSHIP, 7);
    ship.TakeDamage(OBJECT_ENEMY_MOTHERSHIP, &crusher, 0, 10);
    EXPECT_EQ(ship.GetBody().health, 150 - 95);
    EXPECT_FLOAT_EQ(shield.m_energy, 0.0f);
    // A jammed shield takes nothing.
    shield.m_energy = 50.0f;
    m_harness.GetGame().GetRun().shieldJam = true;
    m_harness.RunFrame();
    ship.GetBody().health = 150;
    ship.TakeDamage(OBJECT_ENEMY_FIGHTER, nullptr, 1, 20);
    EXPECT_EQ(ship.GetBody().health, 130);
    EXPECT_TRUE(shield.m_suspended);
    // ... except while the exit warning is open.
    m_harness.GetGameFlow().m_exitWarning = true;
    m_harness.RunFrame();
    EXPECT_FALSE(shield.m_suspended);
}

TEST_F(CPlayerShipTest, NoHurtWhenFrozenNewbornUndyingOrCaughtByTheScriptedHit)
{
    CPlayerShip& ship = SpawnShip(1);
    m_harness.GetGame().GetRun().noDeath = true;
    ship.TakeDamage(OBJECT_ENEMY_FIGHTER, nullptr, 1, 20);
    EXPECT_EQ(ship.GetBody().health, 150);
    m_harness.GetGame().GetRun().noDeath = false;

    ship.SetFrozen(true);
    ship.TakeDamage(OBJECT_ENEMY_FIGHTER, nullptr, 1, 20);
    EXPECT_EQ(ship.GetBody().health, 150);
    ship.SetFrozen(false);

    // Made at zone time 5000: no hurt while the zone's clock reads less.
    m_harness.GetZones().m_clock = 5000;
    m_harness.GetWorld().RemoveObject(m_handle);
    CPlayerShip& young = SpawnShip(1);
    m_harness.GetZones().m_clock = 4999;
    young.TakeDamage(OBJECT_ENEMY_FIGHTER, nullptr, 1, 20);
    EXPECT_EQ(young.GetBody().health, 150);
    m_harness.GetZones().m_clock = 5000;
    young.TakeDamage(OBJECT_ENEMY_FIGHTER, nullptr, 1, 20);
    EXPECT_EQ(young.GetBody().health, 130);

    // The last zone's scripted hit: the marked fighter's first hit is caught, and
    // nothing hurts while it holds.
    m_harness.GetZones().m_zone = 4;
    m_harness.GetDirector().m_scriptedHitArmed = true;
    CTestEnemy plain(OBJECT_ENEMY_FIGHTER);
    CTestEnemy marked(OBJECT_ENEMY_FIGHTER, -1, true);
    young.TakeDamage(OBJECT_ENEMY_FIGHTER, &plain, 1, 10);
    EXPECT_EQ(young.GetBody().health, 120);
    young.TakeDamage(OBJECT_ENEMY_FIGHTER, &marked, 1, 10);
    EXPECT_EQ(young.GetBody().health, 120);
    EXPECT_TRUE(young.IsHitLatched());
    EXPECT_EQ(m_harness.GetDirector().m_scriptedHits, 1);
    young.TakeDamage(OBJECT_ENEMY_FIGHTER, &plain, 1, 10);
    EXPECT_EQ(young.GetBody().health, 120);

    // In tutorial state 2 no hit takes the last point.
    m_harness.GetDirector().m_scriptedHitArmed = false;
    m_harness.GetDirector().m_tutorialState = 2;
    EXPECT_FALSE(young.TakeDamage(OBJECT_ENEMY_FIGHTER, nullptr, 1, 1000));
    EXPECT_EQ(young.GetBody().health, 1);
    EXPECT_FALSE(young.TakeDamage(OBJECT_ENEMY_FIGHTER, nullptr, 1, 1000));
    EXPECT_EQ(young.GetBody().health, 1);
    EXPECT_EQ(young.GetDeathTime(), 0u);
}

TEST_F(CPlayerShipTest, AFatalHitKillsAfterHalfASecondAndScattersPods)
{
    ASSERT_TRUE(LoadEquipmentPods(m_harness.GetGame()));
    m_harness.GetHud().m_visible = true;
    CPlayerShip& ship = SpawnShip(2);
    m_harness.RunFrames(2);
    const uint32_t now = m_harness.GetGame().GetTime();

    // A surviving hit sounds the alarm while the HUD shows.
    ship.TakeDamage(OBJECT_ENEMY_FIGHTER, nullptr, 1, 50 + 100); // the shield takes 50
    EXPECT_EQ(ship.GetBody().health, 50);
    EXPECT_EQ(m_harness.GetGameFlow().m_alarms, 1);

    EXPECT_TRUE(ship.TakeDamage(OBJECT_ENEMY_FIGHTER, nullptr, 1, 60));
    EXPECT_EQ(ship.GetBody().health, 0);
    EXPECT_EQ(ship.GetDeathTime(), now + 500);
    EXPECT_EQ(m_harness.GetGameFlow().m_alarms, 1);
    EXPECT_EQ(m_harness.GetCampaign().m_lost[2], 1);
    EXPECT_EQ(m_harness.GetCampaign().m_cleared[2], 1);
    ASSERT_EQ(m_effects.m_started.size(), 1u);
    EXPECT_EQ(m_effects.m_started[0].name, "boom");
    // Dead is dead.
    EXPECT_FALSE(ship.TakeDamage(OBJECT_ENEMY_FIGHTER, nullptr, 1, 60));

    // Hit at 80 ms, dead from 580: the 14th frame on (at 600 ms) dies, the next
    // removes it; the pods it drops stand where it was.
    m_harness.RunFrames(13);
    EXPECT_NE(m_harness.Find(m_handle), nullptr);
    EXPECT_EQ(CountDroppedPods(m_harness.GetWorld()), 0);
    m_harness.RunFrames(2);
    EXPECT_LE(CountDroppedPods(m_harness.GetWorld()), 4);
    EXPECT_EQ(m_harness.Find(m_handle), nullptr);
    EXPECT_EQ(m_harness.GetDirector().m_podHintsCleared, 1);
    // The flight time reached the design's stored state (the zone clock stood).
    EXPECT_EQ(m_harness.GetCampaign().m_flightTime[2], 0u);
}

TEST_F(CPlayerShipTest, EachFittedPodDropsOneTimeInThree)
{
    // The design of slot 2 has four pods: 4/3 equipment pods a lost ship on average.
    ASSERT_TRUE(LoadEquipmentPods(m_harness.GetGame()));
    const int ships = 150;
    int pods = 0;
    for (int i = 0; i < ships; ++i)
    {
        SpawnShip(2).Die();
        m_harness.GetWorld().FlushRemovals();
        pods += CountDroppedPods(m_harness.GetWorld());
        m_harness.GetWorld().Clear();
    }
    EXPECT_NEAR(double(pods) / ships, 4.0 / 3.0, 0.25);
}

TEST_F(CPlayerShipTest, EscapePodAndStarterDropNothing)
{
    ASSERT_TRUE(LoadEquipmentPods(m_harness.GetGame()));
    for (int32_t slot : {0, 1})
    {
        CPlayerShip& ship = SpawnShip(slot);
        ship.Die();
        m_harness.RunFrame();
    }
    m_harness.GetGame().GetRun().survival = true;
    SpawnShip(2).Die();
    m_harness.RunFrame();
    EXPECT_EQ(CountDroppedPods(m_harness.GetWorld()), 0);
}

TEST_F(CPlayerShipTest, HudGaugesFollowTheShip)
{
    CHarnessHud& hud = m_harness.GetHud();
    CPlayerShip& ship = SpawnShip(1);
    m_harness.RunFrame();
    EXPECT_EQ(hud.m_gauges[HUD_GAUGE_HEALTH].sets, 0) << "hidden HUD";
    hud.m_visible = true;
    ship.GetRuntime()->GetCargo().m_load = 7;
    m_harness.RunFrames(2);
    EXPECT_FLOAT_EQ(hud.m_gauges[HUD_GAUGE_HEALTH].maximum, 150.0f);
    EXPECT_FLOAT_EQ(hud.m_gauges[HUD_GAUGE_HEALTH].value, 150.0f);
    // 30 a second: 1.2 made a frame, nothing spent, the battery full.
    EXPECT_FLOAT_EQ(hud.m_gauges[HUD_GAUGE_ENERGY].maximum, 1.2f);
    EXPECT_FLOAT_EQ(hud.m_gauges[HUD_GAUGE_ENERGY].value, 1.2f);
    EXPECT_FLOAT_EQ(hud.m_gauges[HUD_GAUGE_GEMS].maximum, 25.0f);
    EXPECT_FLOAT_EQ(hud.m_gauges[HUD_GAUGE_GEMS].value, 7.0f);
    EXPECT_TRUE(hud.m_gauges[HUD_GAUGE_BATTERY].shown);
    EXPECT_FLOAT_EQ(hud.m_gauges[HUD_GAUGE_BATTERY].maximum, 100.0f);
    EXPECT_FALSE(hud.m_gauges[HUD_GAUGE_SHIELD].shown);
    EXPECT_EQ(hud.m_ammoIcon, HUD_AMMO_HIDDEN);

    m_harness.GetWorld().RemoveObject(m_handle);
    SpawnShip(2);
    m_harness.RunFrames(2);
    EXPECT_TRUE(hud.m_gauges[HUD_GAUGE_SHIELD].shown);
    EXPECT_FLOAT_EQ(hud.m_gauges[HUD_GAUGE_SHIELD].maximum, 50.0f);
    EXPECT_FALSE(hud.m_gauges[HUD_GAUGE_BATTERY].shown);
}

TEST_F(CPlayerShipTest, FullHoldRefusesTheBeam)
{
    CPlayerShip& ship = SpawnShip(1);
    SCargoHold& hold = ship.GetRuntime()->GetCargo();
    hold.m_normalGems = 25;
    hold.UpdateLoad();
    m_harness.SetKey(Key(ACTION_BEAM), true);
    m_harness.RunFrames(3);
    EXPECT_FALSE(ship.GetRuntime()->GetControls().beam);
    EXPECT_EQ(ship.GetBeamRefusedSound().GetPlayCount(), 3u);
    EXPECT_EQ(ship.GetBeamRefusedSound().GetFile(), "data\\sfx\\tractorbeam\\nosuck.wav");
    hold.m_normalGems = 24;
    hold.UpdateLoad();
    m_harness.RunFrame();
    EXPECT_EQ(ship.GetBeamRefusedSound().GetPlayCount(), 3u);
}

TEST_F(CPlayerShipTest, CallingTheStationAtMostEveryQuarterSecond)
{
    static std::vector<CVector2D> s_alerts;
    s_alerts.clear();
    SetStationAlert([](CGameObject&, const CVector2D& position) { s_alerts.push_back(position); });
    CPlayerShip& ship = SpawnShip(1);

    // No station: in summon state 2 the game flow brings one in.
    m_harness.GetGame().GetRun().stationSummonState = 2;
    m_harness.SetKey(Key(ACTION_STATION), true);
    m_harness.RunFrame();
    EXPECT_EQ(m_harness.GetGameFlow().m_stationsSpawned, 1);

    int32_t station = m_harness.Spawn(OBJECT_DUMB, 100.0f, 100.0f);
    m_harness.GetGame().SetStationHandle(station);
    // Held for 10 frames (400 ms): the first calls, the rest fall within 250 ms of
    // it or are a held key, which calls nothing.
    m_harness.SetKey(Key(ACTION_STATION), false);
    m_harness.RunFrame();
    m_harness.SetKey(Key(ACTION_STATION), true);
    m_harness.RunFrames(10);
    ASSERT_EQ(s_alerts.size(), 1u);
    EXPECT_FLOAT_EQ(s_alerts[0].x, 2000.0f);
    // Direct calls: 400 ms after that one, heard; at once again, not; 240 ms
    // later, not; 280 ms later, heard.
    ship.RequestStationHelp(CVector2D(1, 2));
    ASSERT_EQ(s_alerts.size(), 2u);
    EXPECT_FLOAT_EQ(s_alerts[1].y, 2.0f);
    ship.RequestStationHelp(CVector2D(1, 2));
    m_harness.RunFrames(6);
    ship.RequestStationHelp(CVector2D(1, 2));
    EXPECT_EQ(s_alerts.size(), 2u);
    m_harness.RunFrame();
    ship.RequestStationHelp(CVector2D(1, 2));
    EXPECT_EQ(s_alerts.size(), 3u);

    // Quick-ship and survival runs have no station to call.
    m_harness.GetGame().GetRun().quickShip = true;
    m_harness.SetKey(Key(ACTION_STATION), false);
    m_harness.RunFrames(8);
    m_harness.SetKey(Key(ACTION_STATION), true);
    m_harness.RunFrame();
    EXPECT_EQ(s_alerts.size(), 3u);
    SetStationAlert(nullptr);
}

TEST_F(CPlayerShipTest, FrozenShipFlushesItsControlsOnceAndStillCharges)
{
    CPlayerShip& ship = SpawnShip(1);
    CBatteryComponent& battery = *static_cast<CBatteryComponent*>(ship.GetRuntime()->GetInstance(3));
    battery.m_stored = 50.0f;
    m_harness.SetKey(Key(ACTION_THRUST), true);
    m_harness.RunFrame();
    ASSERT_TRUE(ship.GetRuntime()->GetControls().thrust);
    ship.SetFrozen(true);
    EXPECT_FLOAT_EQ(ship.GetBody().velocity.x, 0.0f);
    m_harness.RunFrames(3);
    EXPECT_FALSE(ship.GetRuntime()->GetControls().thrust);
    EXPECT_FLOAT_EQ(ship.GetBody().velocity.x, 0.0f);
    EXPECT_FALSE(m_harness.GetGame().GetControls().GetAction(ACTION_THRUST).down) << "flushed";
    // 1.2 made, 0.8 spent on the first frame's thrust; then 0.4 a frame charges.
    EXPECT_NEAR(battery.m_stored, 50.0f + 4 * 0.4f, 1e-4f);
    EXPECT_TRUE(ship.GetRuntime()->GetShield().m_suspended);
    ship.SetFrozen(false);
    EXPECT_FALSE(ship.GetRuntime()->GetShield().m_suspended);
}

TEST_F(CPlayerShipTest, WarpingShipIsOutOfPlay)
{
    CPlayerShip& ship = SpawnShip(1);
    ship.GetBody().velocity = CVector2D(3.0f, 0.0f);
    ship.SetWarpState(WARP_OUT);
    EXPECT_FALSE(ship.GetInfo().collidable);
    EXPECT_FLOAT_EQ(ship.GetBody().velocity.x, 0.0f);
    EXPECT_TRUE(m_harness.GetGame().GetRun().shipOutOfPlay);
    m_harness.SetKey(Key(ACTION_THRUST), true);
    m_harness.RunFrames(2);
    EXPECT_FALSE(ship.GetRuntime()->GetControls().thrust);
    ship.SetWarpState(WARP_NONE);
    EXPECT_TRUE(ship.GetInfo().collidable);
    EXPECT_FALSE(m_harness.GetGame().GetRun().shipOutOfPlay);
    m_harness.RunFrame();
    EXPECT_TRUE(ship.GetRuntime()->GetControls().thrust);
}

TEST_F(CPlayerShipTest, EscapePodCannotBoost)
{
    // A tap of thrust, a pause over 250 ms, and thrust again: the second press is a
    // short press, which asks for boost.
    for (int32_t slot : {1, 0})
    {
        SCOPED_TRACE(slot);
        CPlayerShip& ship = SpawnShip(slot);
        const uint32_t first = m_harness.GetFramesRun();
        m_harness.ScriptKey(first, Key(ACTION_THRUST), true);
        m_harness.ScriptKey(first + 2, Key(ACTION_THRUST), false);
        m_harness.ScriptKey(first + 10, Key(ACTION_THRUST), true);
        m_harness.RunFrames(12);
        EXPECT_TRUE(ship.GetRuntime()->GetControls().thrust);
        EXPECT_EQ(ship.GetRuntime()->GetControls().boost, slot != 0);
        EXPECT_EQ(m_harness.GetGame().GetRun().shipBoosting, slot != 0);
        EXPECT_EQ(ship.GetFlames().GetJetCount(), 0); // hull index 0 has no jets
        m_harness.SetKey(Key(ACTION_THRUST), false);
        m_harness.RunFrame();
        m_harness.GetWorld().RemoveObject(m_handle);
    }
}

TEST_F(CPlayerShipTest, UnloadingTakesGemsThenEquipment)
{
    CPlayerShip& ship = SpawnShip(1);
    SCargoHold& hold = ship.GetRuntime()->GetCargo();
    hold.m_normalGems = 1;
    hold.m_rareGems = 1;
    hold.m_veryRareGems = 1;
    hold.m_foundEquipment = 1;
    hold.m_unloading = true;
    hold.UpdateLoad();
    ASSERT_EQ(hold.m_load, 4);
    m_harness.GetCampaign().m_gemTotal = 99;
    ship.UnloadCargoItem();
    EXPECT_EQ(hold.m_normalGems, 0);
    EXPECT_EQ(m_harness.GetCampaign().m_gemTotal, 99) << "the station credits the gem, not the hold";
    ship.UnloadCargoItem();
    ship.UnloadCargoItem();
    EXPECT_EQ(m_harness.GetCampaign().m_events, (std::vector<int>{49, 50}));
    EXPECT_TRUE(hold.m_unloading);
    ship.UnloadCargoItem();
    EXPECT_EQ(hold.m_load, 0);
    EXPECT_FALSE(hold.m_unloading);
}

TEST_F(CPlayerShipTest, WithoutAnEngineTheShipDoesNotThrust)
{
    CPlayerShip& ship = SpawnShip(3);
    EXPECT_EQ(ship.GetEngineDef(), nullptr);
    EXPECT_FLOAT_EQ(ship.GetDamping(), 1.0f);
    m_harness.SetKey(Key(ACTION_THRUST), true);
    m_harness.RunFrames(5);
    EXPECT_FALSE(ship.GetRuntime()->GetControls().thrust);
    EXPECT_FLOAT_EQ(ship.GetBody().velocity.x, 0.0f);
    m_harness.SetKey(Key(ACTION_THRUST), false);
    m_harness.SetKey(Key(5), true); // reverse
    m_harness.RunFrames(2);
    EXPECT_FALSE(ship.GetRuntime()->GetControls().reverse);
    EXPECT_FLOAT_EQ(ship.GetBody().velocity.x, 0.0f);
}
