// The mothership: launching through its ports, the self-destruct of a spent drone
// carrier, gems by configuration and zone, the core rules, the state word and the
// director's presence flags.

#include "core/Random.h"
#include "presentation/CollisionTag.h"
#include "ships/EnemyFighter.h"
#include "ships/Mothership.h"
#include "ships/MothershipBehaviours.h"
#include "tests/ships/CarrierFixtures.h"
#include "tests/ships/DockingFixtures.h"
#include "tests/support/presentation/RecordedEffects.h"
#include "world/AsteroidKinds.h"
#include "world/DirectorLink.h"
#include "world/Game.h"
#include "world/World.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <functional>
#include <map>

namespace
{
int CountType(CEnemyScene& scene, int32_t type)
{
    CWorld& world = scene.Harness().GetWorld();
    int count = 0;
    for (int32_t slot = 0; slot < world.GetSlotCount(); ++slot)
        if (const CGameObject* object = world.GetSlot(slot); object && object->GetType() == type)
            ++count;
    return count;
}

// A carrier at (2000, 2000) with one port whose entrance lies 100 units above it.
CEnemyMothership* SpawnCarrier(CEnemyScene& scene, const std::string& keys, int ports = 1)
{
    std::string portBlock = "dockingPorts { numPorts " + std::to_string(ports) + "; ";
    for (int i = 0; i < ports; ++i)
        portBlock += PortText("port" + std::to_string(i), 5.0f);
    portBlock += " } ";
    return scene.SpawnEnemy<CEnemyMothership>(OBJECT_ENEMY_MOTHERSHIP, 2000, 2000,
                                              CarrierSection("ENEMY_MOTHERSHIP", portBlock + keys));
}

// Runs frames until the test holds (true) or the frames run out (false).
bool RunUntil(CEnemyScene& scene, uint32_t frames, const std::function<bool()>& done)
{
    for (uint32_t i = 0; i < frames; ++i)
    {
        if (done())
            return true;
        scene.RunFrames(1);
    }
    return done();
}

// Launched fighters that have left the port are sent far off, so that they never
// stand in its entrance.
void SendLaunchedAway(CEnemyScene& scene)
{
    CWorld& world = scene.Harness().GetWorld();
    for (int32_t slot = 0; slot < world.GetSlotCount(); ++slot)
        if (CGameObject* object = world.GetSlot(slot);
            object && object->GetType() == OBJECT_ENEMY_FIGHTER && !object->GetInfo().frozen &&
            object->GetPosition().x < 3000.0f)
            scene.Place(object->GetHandle(), 3500.0f, 500.0f + 60.0f * static_cast<float>(slot));
}
} // namespace

// maxFighters 3 at 2 a time: two go out, the third only once one of them is gone and
// the delay since the run ended has passed; then the port closes for good (a minelayer:
// a spent drone carrier would go for the station instead).
TEST(Mothership, LaunchesTwoAtATimeUntilSpent)
{
    CEnemyScene scene;
    const std::string fighters = WriteFighterFile(scene);
    CEnemyMothership* carrier = SpawnCarrier(
        scene, "config minelayer; defensiveRange 300; launchDelay 0; resource { maxFighters 3; fighterType ENEMY_FIGHTER; "
               "launchDelayS 2; launchAmount 2; fighterIniFile " + fighters + " }");
    ASSERT_NE(carrier, nullptr);
    carrier->GetBody().mass = 100000000; // its patrol leaves it where it is
    EXPECT_EQ(carrier->GetLauncher().GetRemaining(), 3);
    const int32_t handle = carrier->GetHandle();

    ASSERT_TRUE(RunUntil(scene, 200, [&] {
        SendLaunchedAway(scene);
        return CountType(scene, OBJECT_ENEMY_FIGHTER) == 2 && !carrier->IsAnyPortBusy();
    }));
    EXPECT_EQ(carrier->GetLauncher().GetRemaining(), 1);
    EXPECT_EQ(carrier->GetLauncher().CountLive(), 2);
    // The group is complete: nothing more goes out, however long it waits.
    scene.RunFrames(150);
    SendLaunchedAway(scene);
    EXPECT_EQ(CountType(scene, OBJECT_ENEMY_FIGHTER), 2);
    EXPECT_EQ(carrier->GetPort(0)->GetState(), PORT_CLOSED);

    // One goes: the third follows once the 2 s since the run ended are over (they are).
    CWorld& world = scene.Harness().GetWorld();
    for (int32_t slot = 0; slot < world.GetSlotCount(); ++slot)
        if (CGameObject* object = world.GetSlot(slot); object && object->GetType() == OBJECT_ENEMY_FIGHTER)
        {
            world.RemoveObject(object->GetHandle());
            break;
        }
    ASSERT_TRUE(RunUntil(scene, 200, [&] {
        SendLaunchedAway(scene);
        return carrier->GetLauncher().GetRemaining() == 0 && !carrier->IsAnyPortBusy();
    }));
    EXPECT_EQ(CountType(scene, OBJECT_ENEMY_FIGHTER), 2);
    ASSERT_TRUE(RunUntil(scene, 100, [&] { return carrier->GetPort(0)->GetState() == PORT_CLOSED; }));
    scene.RunFrames(100);
    ASSERT_EQ(scene.Harness().Find(handle), carrier);
    EXPECT_EQ(carrier->GetPort(0)->GetState(), PORT_CLOSED);
    EXPECT_EQ(CountType(scene, OBJECT_ENEMY_FIGHTER), 2);
}

// An object within 150 units of the port's entrance holds the launch back; once it
// moves off, the ship goes.
TEST(Mothership, BlockedEntranceHoldsTheLaunch)
{
    CEnemyScene scene;
    const std::string fighters = WriteFighterFile(scene);
    const int32_t rock = scene.Effects().SpawnTarget(2000, 1800, 10, ASTEROID_TEAM, 100, OBJECT_DUMB);
    CEnemyMothership* carrier = SpawnCarrier(
        scene, "config drone; launchDelay 0; resource { maxFighters 1; fighterType ENEMY_FIGHTER; launchDelayS 0; "
               "launchAmount 1; fighterIniFile " + fighters + " }");
    ASSERT_NE(carrier, nullptr);
    scene.RunFrames(100);
    EXPECT_EQ(carrier->GetLauncher().GetRemaining(), 1);
    EXPECT_EQ(CountType(scene, OBJECT_ENEMY_FIGHTER), 0);
    scene.Place(rock, 2000, 1770); // its rim 120 from the entrance at (2000, 1900): still in
    scene.RunFrames(20);
    EXPECT_EQ(carrier->GetLauncher().GetRemaining(), 1);
    scene.Place(rock, 2000, 1600);
    ASSERT_TRUE(RunUntil(scene, 100, [&] { return carrier->GetLauncher().GetRemaining() == 0; }));
    EXPECT_EQ(CountType(scene, OBJECT_ENEMY_FIGHTER), 1);
}

// A launcher whose file cannot be read launches nothing at all.
TEST(Mothership, MissingFighterFileLaunchesNothing)
{
    CEnemyScene scene;
    CEnemyMothership* carrier = SpawnCarrier(
        scene, "config drone; resource { maxFighters 4; fighterType ENEMY_DRONE; launchAmount 2; fighterIniFile "
               "nowhere.txt }");
    ASSERT_NE(carrier, nullptr);
    EXPECT_FALSE(carrier->GetLauncher().HasDefinition());
    EXPECT_EQ(carrier->GetLauncher().GetRemaining(), 0);
    scene.RunFrames(60);
    EXPECT_EQ(CountType(scene, OBJECT_ENEMY_DRONE), 0);
}

// Spent and defenceless, a drone carrier destroys its ports, flies at the station and
// blows up within 50 units of its surface: no score, its gems, gone after 500 ms.
TEST(Mothership, SpentDroneCarrierSelfDestructsAtTheStation)
{
    CEnemyScene scene(1, true);
    CRecordedEffects effects;
    scene.SpawnStation(2600, 2000, 60);
    CEnemyMothership* carrier = SpawnCarrier(scene, "config drone; deathEffect bigBang; defensiveRange 100");
    ASSERT_NE(carrier, nullptr);
    const int32_t handle = carrier->GetHandle();
    ASSERT_TRUE(RunUntil(scene, 400, [&] { return carrier->IsDying(); }));
    EXPECT_EQ(carrier->GetPort(0)->GetState(), PORT_DESTROYED);
    // The surface distance is within 50 of the station: 600 - 60 - 60 less the flight.
    const float centres = (carrier->GetPosition() - CVector2D(2600, 2000)).Length();
    EXPECT_LE(centres - 120.0f, 50.0f);
    EXPECT_GT(centres - 120.0f, 40.0f);
    EXPECT_EQ(carrier->GetBody().health, 0);
    EXPECT_EQ(effects.Count("bigBang"), 1u);
    EXPECT_EQ(scene.Harness().GetCampaign().m_kills, 0);
    EXPECT_EQ(scene.Harness().GetCampaign().m_score, 0);

    scene.RunFrames(14);
    EXPECT_EQ(scene.Harness().Find(handle), nullptr);
    int gems = 0;
    for (const auto& seen : scene.ListAsteroids())
        gems += IsGemKind(seen.kind) || seen.kind == ASTEROID_EQUIPMENT_POD ? 1 : 0;
    EXPECT_GT(gems, 0);
    EXPECT_LE(gems, 14);
}

// Gems by configuration and zone, with every draw scripted to 0 (a large normal gem
// each): drone 14, mining 30 x 0.6 in zone 3, crusher 17 x 0.9 in zone 1, interdictor
// 20 x 0.5 in zone 4, a boss config none.
TEST(Mothership, DropsGemsByConfigAndZone)
{
    struct SCase
    {
        const char* config;
        int zone;
        int gems;
        int wreckPods; // the zone's last mining barge leaves one
    };
    const SCase cases[] = {
        {"drone", 0, 14, 0}, {"mining", 3, 18, 1}, {"crusher", 1, 15, 0}, {"interdictor", 4, 10, 0}, {"tronboss", 0, 0, 0},
    };
    for (const SCase& c : cases)
    {
        CEnemyScene scene(1, true);
        scene.Harness().GetZones().m_zone = c.zone;
        CEnemyMothership* carrier = scene.SpawnEnemy<CEnemyMothership>(
            OBJECT_ENEMY_MOTHERSHIP, 2000, 2000, CarrierSection("ENEMY_MOTHERSHIP", std::string("config ") + c.config));
        ASSERT_NE(carrier, nullptr);
        GetGameRandom().ScriptDraws(std::vector<uint32_t>(4000, 0));
        EXPECT_TRUE(carrier->TakeDamage(OBJECT_PLAYER_SHIP, nullptr, 0, 1000)) << c.config;
        scene.RunFrames(14);
        int large = 0;
        int pods = 0;
        int other = 0;
        for (const auto& seen : scene.ListAsteroids())
            (seen.kind == ASTEROID_NORMAL_GEM_LARGE ? large : seen.kind == ASTEROID_WRECK_POD ? pods : other) += 1;
        EXPECT_EQ(large, c.gems) << c.config;
        EXPECT_EQ(pods, c.wreckPods) << c.config;
        EXPECT_EQ(other, 0) << c.config;
        EXPECT_EQ(scene.Harness().GetCampaign().m_score, 100) << c.config;
        GetGameRandom().ScriptDraws({});
    }
}

// With coreVulnerableOnly only a hit on the CORE shape counts; with coreInvulnerable
// hits on the core and hits of kind 2 do nothing; hits of its own side never count.
TEST(Mothership, CoreRules)
{
    CEnemyScene scene;
    const auto parts = RingParts(2, 30, 10);
    CEnemyMothership* only = scene.SpawnEnemy<CEnemyMothership>(
        OBJECT_ENEMY_MOTHERSHIP, 1000, 1000,
        CarrierSection("ENEMY_MOTHERSHIP", "config minelayer; coreVulnerableOnly true", 100, 60, {}, true));
    ASSERT_NE(only, nullptr);
    only->GetBody().shape->Append(CollisionChain(new CCollisionCircle(8.0f, false)));
    only->GetBody().shape->GetNext()->GetNext()->SetOffset(CVector2D(40, 0));
    only->GetBody().shape->GetNext()->GetNext()->SetTag(PackCollisionTag("HULL"));
    AimHitAt(*only, "HULL");
    EXPECT_FALSE(only->TakeDamage(OBJECT_PLAYER_SHIP, nullptr, 0, 30));
    EXPECT_EQ(only->GetBody().health, 100);
    AimHitAt(*only, "CORE");
    EXPECT_FALSE(only->TakeDamage(OBJECT_PLAYER_SHIP, nullptr, 0, 30));
    EXPECT_EQ(only->GetBody().health, 70);

    CEnemyMothership* shielded = scene.SpawnEnemy<CEnemyMothership>(
        OBJECT_ENEMY_MOTHERSHIP, 2500, 2500,
        CarrierSection("ENEMY_MOTHERSHIP", "config minelayer; coreInvulnerable true", 100, 60, parts, true));
    ASSERT_NE(shielded, nullptr);
    AimHitAt(*shielded, "CORE");
    EXPECT_FALSE(shielded->TakeDamage(OBJECT_PLAYER_SHIP, nullptr, 0, 30));
    EXPECT_EQ(shielded->GetBody().health, 100);
    // A part's hit is the part's: it dies, the core keeps its health.
    AimHitAt(*shielded, PartTag(1));
    EXPECT_FALSE(shielded->TakeDamage(OBJECT_PLAYER_SHIP, nullptr, 0, 30));
    EXPECT_FALSE(shielded->IsPartAlive(1));
    EXPECT_TRUE(shielded->IsPartAlive(0));
    EXPECT_EQ(shielded->GetBody().health, 100);
    // Where the part was, kind 2 and its own side do nothing; another hit reaches the core.
    EXPECT_FALSE(shielded->TakeDamage(OBJECT_PLAYER_SHIP, nullptr, 2, 30));
    EXPECT_FALSE(shielded->TakeDamage(OBJECT_ENEMY_FIGHTER, only, 0, 30));
    EXPECT_EQ(shielded->GetBody().health, 100);
    EXPECT_FALSE(shielded->TakeDamage(OBJECT_PLAYER_SHIP, nullptr, 0, 30));
    EXPECT_EQ(shielded->GetBody().health, 70);
}

// The state word keeps a barge's live parts in bits 8 to 19 and its reserve in 20 to
// 31; restored into another barge it hides the dead parts and sets the reserve.
TEST(Mothership, StateWordRoundTrip)
{
    CEnemyScene scene;
    const auto parts = RingParts(14, 40, 10);
    auto spawn = [&](float x) {
        return scene.SpawnEnemy<CEnemyMothership>(OBJECT_ENEMY_MOTHERSHIP, x, 2000,
                                                  CarrierSection("ENEMY_MOTHERSHIP", "config mining", 100, 60, parts));
    };
    CEnemyMothership* first = spawn(1000);
    ASSERT_NE(first, nullptr);
    // Zone 0: parts keep their health (x 1), no ports to lose.
    EXPECT_EQ(first->GetPart(0)->m_health, 10);
    const int32_t loaded = CEnemyMothership::MakeLoadedBargeWord(0);
    // Valid, all twelve parts, a reserve of rand() % 1 + 1 = 1.
    EXPECT_EQ(static_cast<uint32_t>(loaded), 0x001FFF01u);
    first->RestoreStateWord(static_cast<int32_t>(0x000FFF01u | (5u << 20)));
    EXPECT_EQ(first->GetMiningReserve(), 5);
    for (int i = 0; i < 14; ++i)
        EXPECT_TRUE(first->IsPartAlive(i)) << i;
    first->DestroyPart(2);
    first->DestroyPart(11);
    first->DestroyPart(13); // beyond the twelve the word holds
    int32_t word = 0;
    first->SaveStateWord(word);
    // Bits 8 to 19 less parts 2 and 11: 0xFFF & ~(1 << 2) & ~(1 << 11) = 0x7FB.
    EXPECT_EQ(static_cast<uint32_t>(word), 1u | (0x7FBu << 8) | (5u << 20));

    CEnemyMothership* second = spawn(3000);
    ASSERT_NE(second, nullptr);
    second->RestoreStateWord(word);
    for (int i = 0; i < 14; ++i)
        EXPECT_EQ(second->IsPartAlive(i), i != 2 && i != 11) << i;
    EXPECT_EQ(second->GetMiningReserve(), 5);
    // A word without its valid bit changes nothing; nor does any word for another config.
    second->RestoreStateWord(0x00000000);
    EXPECT_TRUE(second->IsPartAlive(0));
}

// Mining difficulty: part health x (1 + zone / 2) and, up to zone 2, ports 0 and 1 go.
TEST(Mothership, MiningDifficultyByZone)
{
    for (int zone : {0, 2, 3})
    {
        CEnemyScene scene;
        scene.Harness().GetZones().m_zone = zone;
        CEnemyMothership* barge = SpawnCarrier(scene, "config mining", 3);
        ASSERT_NE(barge, nullptr);
        EXPECT_EQ(barge->GetPort(0)->GetState() == PORT_DESTROYED, zone <= 2) << zone;
        EXPECT_EQ(barge->GetPort(1)->GetState() == PORT_DESTROYED, zone <= 2) << zone;
        EXPECT_NE(barge->GetPort(2)->GetState(), PORT_DESTROYED);
    }
    CEnemyScene scene;
    scene.Harness().GetZones().m_zone = 3;
    CEnemyMothership* barge = scene.SpawnEnemy<CEnemyMothership>(
        OBJECT_ENEMY_MOTHERSHIP, 1000, 1000, CarrierSection("ENEMY_MOTHERSHIP", "config mining", 100, 60, RingParts(13, 40, 10)));
    ASSERT_NE(barge, nullptr);
    EXPECT_EQ(barge->GetPart(0)->m_health, 20);
    EXPECT_EQ(barge->GetPart(11)->m_health, 20);
    EXPECT_EQ(barge->GetPart(12)->m_health, 10);
}

// The presence flag of a configuration is raised while any mothership of it lives:
// the first of two to go leaves it, the last clears it.
TEST(Mothership, PresenceFlagsCountPerConfig)
{
    CEnemyScene scene;
    auto& director = scene.Harness().GetDirector();
    const std::pair<int, int> drone{DIRECTOR_FLIGHT_CHAT, 2};
    const int before = CEnemyMothership::CountLiveConfig(MOTHERSHIP_DRONE);
    CEnemyMothership* a = scene.SpawnEnemy<CEnemyMothership>(OBJECT_ENEMY_MOTHERSHIP, 1000, 1000,
                                                             CarrierSection("ENEMY_MOTHERSHIP", "config drone"));
    CEnemyMothership* b = scene.SpawnEnemy<CEnemyMothership>(OBJECT_ENEMY_MOTHERSHIP, 3000, 3000,
                                                             CarrierSection("ENEMY_MOTHERSHIP", "config DRONE"));
    ASSERT_TRUE(a && b);
    EXPECT_EQ(CEnemyMothership::CountLiveConfig(MOTHERSHIP_DRONE), before + 2);
    EXPECT_EQ(std::count(director.m_raised.begin(), director.m_raised.end(), drone), 2);
    scene.Harness().GetWorld().RemoveObject(a->GetHandle());
    scene.RunFrames(2);
    EXPECT_EQ(std::count(director.m_cleared.begin(), director.m_cleared.end(), drone), 0);
    scene.Harness().GetWorld().RemoveObject(b->GetHandle());
    scene.RunFrames(2);
    EXPECT_EQ(std::count(director.m_cleared.begin(), director.m_cleared.end(), drone), 1);
    EXPECT_EQ(CEnemyMothership::CountLiveConfig(MOTHERSHIP_DRONE), before);

    // An unknown config text keeps drone; a boss config raises nothing.
    director.m_raised.clear();
    CEnemyMothership* boss = scene.SpawnEnemy<CEnemyMothership>(OBJECT_ENEMY_MOTHERSHIP, 1000, 1000,
                                                                CarrierSection("ENEMY_MOTHERSHIP", "config tronboss"));
    CEnemyMothership* odd = scene.SpawnEnemy<CEnemyMothership>(OBJECT_ENEMY_MOTHERSHIP, 3000, 1000,
                                                               CarrierSection("ENEMY_MOTHERSHIP", "config teapot"));
    ASSERT_TRUE(boss && odd);
    EXPECT_EQ(boss->GetConfig(), MOTHERSHIP_TRONBOSS);
    EXPECT_EQ(odd->GetConfig(), MOTHERSHIP_DRONE);
    EXPECT_EQ(director.m_raised, (std::vector<std::pair<int, int>>{drone}));
}

// Keep clear scores 1 - d / 450 near an edge (600 for a boss), plus 1 - 3 / n for a
// crowd of n > 3 nearby; and pushes away from the edge.
TEST(Mothership, KeepClearScoresEdgesAndCrowds)
{
    struct SCase
    {
        int32_t type;
        const char* section;
        const char* config;
        float x;
        int crowd;
        float score;
    };
    const SCase cases[] = {
        {OBJECT_ENEMY_MOTHERSHIP, "ENEMY_MOTHERSHIP", "minelayer", 225, 0, 0.5f},
        {OBJECT_RAIN_BOSS, "RAIN_BOSS", "rainboss", 225, 0, 0.625f},
        {OBJECT_ENEMY_MOTHERSHIP, "ENEMY_MOTHERSHIP", "minelayer", 2000, 0, 0.0f},
        {OBJECT_ENEMY_MOTHERSHIP, "ENEMY_MOTHERSHIP", "minelayer", 2000, 6, 0.5f},
    };
    for (const SCase& c : cases)
    {
        CEnemyScene scene;
        for (int i = 0; i < c.crowd; ++i)
            scene.Effects().SpawnTarget(c.x + 100.0f, 1800.0f + 70.0f * static_cast<float>(i), 10, ASTEROID_TEAM, 100);
        auto* ship = scene.SpawnEnemy<CEnemyMothership>(
            c.type, c.x, 2000, CarrierSection(c.section, std::string("defensiveRange 400; config ") + c.config));
        ASSERT_NE(ship, nullptr) << c.section;
        scene.RunFrames(1);
        const CBehaviour* keepClear = ship->GetArbiter().GetBehaviour(1);
        ASSERT_EQ(keepClear->GetKey(), MOTHERSHIP_KEEP_CLEAR);
        EXPECT_NEAR(keepClear->GetScore(), c.score, 1e-5f) << c.section << " at " << c.x;
    }
    CEnemyScene scene;
    auto* ship = scene.SpawnEnemy<CEnemyMothership>(OBJECT_ENEMY_MOTHERSHIP, 100, 2000,
                                                    CarrierSection("ENEMY_MOTHERSHIP", "config minelayer"));
    ASSERT_NE(ship, nullptr);
    scene.RunFrames(20);
    EXPECT_EQ(ship->GetArbiter().GetBehaviour(ship->GetArbiter().GetCurrentIndex())->GetKey(), MOTHERSHIP_KEEP_CLEAR);
    EXPECT_GT(ship->GetBody().velocity.x, 0.0f);
}

// The crusher's pull: armed 30 s after it was made, it opens its ports and 2 s after
// it began pulls everything not of its side within 1.5 radii by 400 toward it; 10 s
// after its ports were all open it stops, closes them and arms again 30 s on.
TEST(Mothership, CrusherGravityTimings)
{
    CEnemyScene scene;
    const int32_t rock = scene.Effects().SpawnTarget(2080, 2000, 10, ASTEROID_TEAM, 100);
    CEnemyMothership* crusher = SpawnCarrier(scene, "config crusher; defensiveRange 400");
    ASSERT_NE(crusher, nullptr);
    crusher->GetBody().mass = 100000000;
    const uint32_t made = scene.Game().GetTime();
    auto* gravity = static_cast<CCrusherGravityBehaviour*>(crusher->GetArbiter().GetBehaviour(2));
    ASSERT_EQ(gravity->GetKey(), MOTHERSHIP_CRUSHER_GRAVITY);
    EXPECT_EQ(gravity->GetArmTime(), made + 30000);
    auto current = [&] { return crusher->GetArbiter().GetBehaviour(crusher->GetArbiter().GetCurrentIndex())->GetKey(); };

    ASSERT_TRUE(RunUntil(scene, 900, [&] { return current() == MOTHERSHIP_CRUSHER_GRAVITY; }));
    const uint32_t started = scene.Game().GetTime() - 40;
    EXPECT_GE(started, made + 30000);
    EXPECT_LT(started, made + 30000 + CEnemyMothership::DECISION_MS + 40);
    CTargetObject* target = scene.Target(rock);
    const CVector2D before = target->GetBody().force;
    scene.RunFrames(1);
    EXPECT_EQ(target->GetBody().force.x, before.x);
    ASSERT_TRUE(RunUntil(scene, 100, [&] { return gravity->IsPulling(scene.Game().GetTime() - 40); }));
    EXPECT_EQ(scene.Game().GetTime() - 40, started + 2000);
    const CVector2D pulled = target->GetBody().force;
    scene.RunFrames(1);
    EXPECT_NEAR(target->GetBody().force.x - pulled.x, -400.0f, 1e-3f);
    EXPECT_EQ(target->GetBody().force.y, pulled.y);
    EXPECT_EQ(crusher->GetPort(0)->GetState(), PORT_OPEN);

    // The port was open 200 ms after the start (32 units at 160 a second): the pull
    // ends 10 s later, the port closes, and it arms again.
    ASSERT_TRUE(RunUntil(scene, 400, [&] { return current() != MOTHERSHIP_CRUSHER_GRAVITY; }));
    const uint32_t ended = scene.Game().GetTime() - 40;
    EXPECT_GE(ended, started + 10000);
    EXPECT_LE(ended, started + 10400);
    // Its stop ran on the frame before the decision that chose another behaviour.
    EXPECT_EQ(gravity->GetArmTime(), ended - 40 + 30000);
    ASSERT_TRUE(RunUntil(scene, 50, [&] { return crusher->GetPort(0)->GetState() == PORT_CLOSED; }));
}

// The turret group on a carrier: a hit on a turret's shape is the turret's alone; a
// turret that dies takes the part of its tag with it; a part that dies takes the
// turrets it owns; and a carrier with no turret left is defenceless.
TEST(Mothership, TurretsTakeTheirHitsAndGoWithTheirParts)
{
    CEnemyScene scene;
    const std::string turrets =
        TurretGroupKeys({"health 20; turretPos 40, 0; collisionTag P01", "turretPos 0, 40; owningCollisionTag P00",
                         "turretPos -40, 0; owningCollisionTag P00"});
    CEnemyMothership* carrier = scene.SpawnEnemy<CEnemyMothership>(
        OBJECT_ENEMY_MOTHERSHIP, 2000, 2000,
        CarrierSection("ENEMY_MOTHERSHIP", turrets + "config minelayer", 100, 60, {{{0, -40}, 30}, {{40, 0}, 30}}));
    ASSERT_NE(carrier, nullptr);
    ASSERT_EQ(carrier->GetTurretCount(), 3);

    AimHitAt(*carrier, PartTag(1));
    EXPECT_FALSE(carrier->TakeDamage(OBJECT_PLAYER_SHIP, nullptr, 0, 5));
    EXPECT_EQ(carrier->GetTurrets().GetTurret(0)->health, 15);
    EXPECT_EQ(carrier->GetPart(1)->m_health, 30);
    EXPECT_EQ(carrier->GetBody().health, 100);
    AimHitAt(*carrier, PartTag(1));
    EXPECT_FALSE(carrier->TakeDamage(OBJECT_PLAYER_SHIP, nullptr, 0, 25));
    EXPECT_FALSE(carrier->IsTurretAlive(0));
    EXPECT_FALSE(carrier->IsPartAlive(1));
    EXPECT_TRUE(carrier->IsTurretAlive(1));

    // Part 0 owns turrets 1 and 2: its blow takes both.
    AimHitAt(*carrier, PartTag(0));
    carrier->TakeDamage(OBJECT_PLAYER_SHIP, nullptr, 0, 20);
    EXPECT_TRUE(carrier->IsTurretAlive(1));
    AimHitAt(*carrier, PartTag(0));
    carrier->DamageTurretsOnHitPart(9999);
    EXPECT_FALSE(carrier->IsTurretAlive(1));
    EXPECT_FALSE(carrier->IsTurretAlive(2));
    EXPECT_FALSE(carrier->IsAnyTurretAlive());
    EXPECT_EQ(carrier->GetBody().health, 100);
    scene.RunFrames(15); // past the arbiter's next decision
    EXPECT_TRUE(carrier->GetContext().m_defenceless);
}

// Switching a turret off stops it and on again restarts it; one switched off for good
// (as the mining set-up and the tron boss's beams do) stays off; numbers beyond the
// group are absent.
TEST(Mothership, TurretsSwitchOffAndOn)
{
    CEnemyScene scene;
    CEnemyMothership* carrier = SpawnCarrier(scene, TurretGroupKeys({"", ""}) + "config minelayer");
    ASSERT_NE(carrier, nullptr);
    const CTurretGroup& group = carrier->GetTurrets();
    carrier->SwitchTurret(0, false);
    EXPECT_TRUE(group.GetTurret(0)->disabled);
    carrier->SwitchTurret(0, true);
    EXPECT_FALSE(group.GetTurret(0)->disabled);
    carrier->DisableTurret(1);
    carrier->SwitchTurret(1, true);
    EXPECT_TRUE(group.GetTurret(1)->disabled);
    EXPECT_TRUE(carrier->IsTurretAlive(1)) << "off is not dead";
    carrier->SwitchTurret(7, true);
    carrier->DamageTurret(7, 100);
    uint32_t last = 0;
    uint32_t interval = 0;
    uint32_t charge = 0;
    EXPECT_FALSE(carrier->GetTurretCycle(7, last, interval, charge));
    EXPECT_FALSE(carrier->IsTurretAlive(7));
    // A warp switches the whole group off; arriving switches it on.
    carrier->SetWarpState(WARP_IN);
    EXPECT_TRUE(group.IsDisabled());
    carrier->SetWarpState(WARP_NONE);
    EXPECT_FALSE(group.IsDisabled());
}

// A gun turret picks the player ship from the carrier's scan and fires on its own
// cadence: rate 2 gives a shot every 500 ms, the first frame after (520 ms on 40 ms
// frames); a ship beyond the turret's range is left alone.
TEST(Mothership, TurretGunsFireAtTheShipInRange)
{
    CEnemyScene scene;
    const int32_t ship = scene.SpawnPlayerShip(2300, 2000);
    CEnemyMothership* carrier =
        SpawnCarrier(scene, TurretGroupKeys({"range 400; fireRate 2", "range 200; fireRate 2"}) +
                                "config minelayer; defensiveRange 600");
    ASSERT_NE(carrier, nullptr);
    carrier->GetBody().mass = 1000000; // it holds still
    std::vector<uint32_t> shots;
    uint32_t last = 0;
    for (int frame = 0; frame < 60; ++frame)
    {
        scene.RunFrames(1);
        const STurret* gun = carrier->GetTurrets().GetTurret(0);
        if (gun->lastFire != last)
        {
            shots.push_back(gun->lastFire);
            last = gun->lastFire;
        }
    }
    EXPECT_EQ(carrier->GetTurrets().GetTurret(0)->target, ship);
    EXPECT_EQ(carrier->GetTurrets().GetTurret(1)->target, NO_OBJECT);
    EXPECT_EQ(carrier->GetTurrets().GetTurret(1)->lastFire, 0u);
    ASSERT_GE(shots.size(), 3u);
    for (size_t i = 1; i < shots.size(); ++i)
        EXPECT_EQ(shots[i] - shots[i - 1], 520u);
}

// The engines block: a minelayer patrolling near the player ship thrusts away from it
// (heading 180 here), which lights the flame of that angle and not the one opposite;
// a warp puts every flame out.
TEST(Mothership, EnginesLightByTheThrust)
{
    CEnemyScene scene;
    scene.SpawnPlayerShip(2300, 2000);
    CEnemyMothership* carrier = SpawnCarrier(
        scene, "config minelayer; defensiveRange 600; engines { numEngines 2; sprite { spriteFile dummy } engine0 { "
               "pos -50, 0; angle 180; fallOff 45 } engine1 { pos 50, 0; angle 0; fallOff 45 } }");
    ASSERT_NE(carrier, nullptr);
    ASSERT_EQ(carrier->GetFlames().GetCount(), 2);
    scene.RunFrames(15);
    EXPECT_TRUE(carrier->GetFlames().GetFlame(0)->lit);
    EXPECT_FALSE(carrier->GetFlames().GetFlame(1)->lit);
    carrier->SetWarpState(WARP_OUT);
    scene.RunFrames(1);
    EXPECT_FALSE(carrier->GetFlames().GetFlame(0)->lit);
}

// The zone's named carrier (minelayer in zone 0, drone in 1, crusher in 2, interdictor
// in 3, spiral in 4) leaves a wreck pod carrying config x 256 + its type, once while
// the director's wreck-pod flag stands; another carrier leaves none. A mining barge
// leaves one only as the zone's last, once.
TEST(Mothership, NamedCarrierAndLastBargeLeaveAWreckPod)
{
    struct SCase
    {
        const char* config;
        int zone;
        int32_t payload; // 0: no pod
    };
    const SCase cases[] = {
        {"minelayer", 0, 1 * 256 + 7}, {"drone", 1, 0 * 256 + 7},    {"crusher", 2, 7 * 256 + 7},
        {"interdictor", 3, 8 * 256 + 7}, {"spiral", 4, 9 * 256 + 7}, {"drone", 0, 0},
        {"crusher", 4, 0},
    };
    auto podsAfterDeath = [](CEnemyScene& scene, const std::string& config) {
        CEnemyMothership* carrier = scene.SpawnEnemy<CEnemyMothership>(
            OBJECT_ENEMY_MOTHERSHIP, 2000, 2000, CarrierSection("ENEMY_MOTHERSHIP", "config " + config));
        EXPECT_NE(carrier, nullptr);
        if (carrier)
            carrier->StartDying(0);
        scene.RunFrames(2);
        std::vector<CGameObject*> pods;
        CWorld& world = scene.Harness().GetWorld();
        for (int32_t slot = 0; slot < world.GetSlotCount(); ++slot)
            if (CGameObject* object = world.GetSlot(slot);
                object && object->GetType() == OBJECT_ASTEROID && object->GetAsteroidKind() == ASTEROID_WRECK_POD)
                pods.push_back(object);
        return pods;
    };
    for (const SCase& c : cases)
    {
        CEnemyScene scene(1, true);
        scene.Harness().GetZones().m_zone = c.zone;
        const auto pods = podsAfterDeath(scene, c.config);
        auto& director = scene.Harness().GetDirector();
        if (c.payload == 0)
        {
            EXPECT_TRUE(pods.empty()) << c.config << " in zone " << c.zone;
            EXPECT_FALSE(director.IsFlagRaised(DIRECTOR_VISIT_CHAT, DIRECTOR_WRECK_POD_FLAG));
            continue;
        }
        ASSERT_EQ(pods.size(), 1u) << c.config << " in zone " << c.zone;
        EXPECT_EQ(pods[0]->GetCargoValue(), c.payload);
        EXPECT_TRUE(pods[0]->GetInfo().notCountedAsEnemy);
        EXPECT_GT(pods[0]->GetBody().velocity.Length(), 0.0f) << "it drifts off";
        EXPECT_TRUE(director.IsFlagRaised(DIRECTOR_VISIT_CHAT, DIRECTOR_WRECK_POD_FLAG));
        // While the first pod's flag stands, a second named carrier leaves none.
        EXPECT_EQ(podsAfterDeath(scene, c.config).size(), 1u) << c.config;
    }

    // Barges: none while another is left in the zone (this one counts until it goes),
    // then one for the last, and no second.
    CEnemyScene scene(1, true);
    scene.Harness().GetZones().m_miningBargesLeft = 2;
    EXPECT_TRUE(podsAfterDeath(scene, "mining").empty());
    scene.Harness().GetZones().m_miningBargesLeft = 1;
    EXPECT_EQ(podsAfterDeath(scene, "mining").size(), 1u);
    EXPECT_TRUE(scene.Harness().GetDirector().IsFlagRaised(DIRECTOR_BOSS_CHAT, DIRECTOR_MINING_CLEAR_FLAG));
    EXPECT_EQ(podsAfterDeath(scene, "mining").size(), 1u);
}
