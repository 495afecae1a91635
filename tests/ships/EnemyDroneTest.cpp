// The enemy drone: homing and detonation, the mine's creep, the megabomb's timer,
// turning before thrust, the beacon, hits by kind, and its definition file.

#include "core/Random.h"
#include "presentation/SpriteTypes.h"
#include "ships/EnemyDrone.h"
#include "tests/ships/EnemyScene.h"
#include "tests/support/presentation/RecordedEffects.h"
#include "world/EffectCache.h"
#include "world/Game.h"
#include "world/ObjectFactory.h"
#include "world/World.h"

#include <gtest/gtest.h>

#include <cmath>

namespace
{
// A push of 7 within 60 units at the blast's start.
const std::string kBlast = DefinitionText(
    "EFFECT { name droneBlast; maxParticles 4; maxEmitters 4; particle { appearance { type DUMMY } }"
    " controller { type STATIC } emitter { type SIMPLE_PARTICLE; randomNumCreated 1, 1; randomLife 1, 1;"
    " event { type EMITTER_START; chanceOfTriggering 1; randomInflictDamage 7, 7; inflictDamageRadius 60;"
    " timeToMaxRadius 0 } } }");

std::string Drone(const std::string& keys, int32_t health = 20, const std::string& sprite = "dummy")
{
    return EnemySection("ENEMY_DRONE", keys, health, 10, 8.0f, sprite);
}

float Distance(const CVector2D& a, const CVector2D& b)
{
    return (a - b).Length();
}

// A launcher whose engagement the test sets.
class CLauncherObject : public CGameObject
{
public:
    CLauncherObject() : CGameObject(OBJECT_ENEMY_MOTHERSHIP) {}
    bool IsEngaged() const override { return m_engaged; }
    bool m_engaged = false;
};
} // namespace

// A suicide drone homes on the nearer of the player ship and the station and blows
// up inside its detonate range: the blast hurts the target, and no kill is counted.
TEST(EnemyDrone, HomesOnTheNearerTargetAndDetonatesOnIt)
{
    struct SCase
    {
        CVector2D ship;
        CVector2D station;
        bool shipIsNearer;
    };
    const SCase cases[] = {
        {{1000, 1000}, {2500, 2500}, true},
        {{2500, 2500}, {1000, 1000}, false},
    };
    for (const SCase& c : cases)
    {
        CEnemyScene scene;
        ASSERT_TRUE(scene.Effects().Load(kBlast));
        const int32_t ship = scene.SpawnPlayerShip(c.ship.x, c.ship.y);
        const int32_t station = scene.SpawnStation(c.station.x, c.station.y);
        CEnemyDrone* drone = scene.SpawnEnemy<CEnemyDrone>(
            OBJECT_ENEMY_DRONE, 1150, 1250, Drone("config suicide; detonateRange 20; armRange 150; detonateEffect droneBlast"));
        ASSERT_NE(drone, nullptr);
        const int32_t handle = drone->GetHandle();
        const CVector2D target = c.shipIsNearer ? c.ship : c.station;
        const float radius = c.shipIsNearer ? 16.0f : 60.0f;

        CVector2D last = drone->GetPosition();
        int frames = 0;
        for (; frames < 150 && scene.Find<CEnemyDrone>(handle); ++frames)
        {
            last = scene.Find<CEnemyDrone>(handle)->GetPosition();
            scene.RunFrames(1);
        }
        ASSERT_EQ(scene.Find<CEnemyDrone>(handle), nullptr) << "the drone never reached its target";
        // It went off within its range of the target's surface (one tick of travel late at most).
        EXPECT_LT(Distance(last, target) - radius, 20.0f + 4.0f);
        CTargetObject* hurt = scene.Target(c.shipIsNearer ? ship : station);
        CTargetObject* spared = scene.Target(c.shipIsNearer ? station : ship);
        ASSERT_FALSE(hurt->m_hits.empty());
        EXPECT_EQ(hurt->m_hits[0].sourceType, OBJECT_ENEMY_DRONE);
        EXPECT_EQ(hurt->m_hits[0].kind, 2) << "a blast hits as a push";
        EXPECT_EQ(hurt->m_hits[0].amount, 7);
        EXPECT_TRUE(spared->m_hits.empty());
        EXPECT_EQ(scene.Harness().GetCampaign().m_kills, 0) << "a drone that goes off is no kill";
    }
}

// A touching drone has its target (the surface distance 0 counts), so contact detonates.
TEST(EnemyDrone, TouchingItsTargetDetonates)
{
    CEnemyScene scene;
    scene.SpawnPlayerShip(1000, 1000);
    scene.SpawnStation(1400, 1000);
    CEnemyDrone* drone =
        scene.SpawnEnemy<CEnemyDrone>(OBJECT_ENEMY_DRONE, 1010, 1000, Drone("config suicide; detonateRange 5"));
    drone->Move();
    EXPECT_EQ(drone->GetTargetDistance(), 0.0f);
    drone->Think();
    EXPECT_EQ(drone->GetBody().health, 0);
}

// The mine lies still until a target comes within 800 units (or its launcher is
// engaged) and its rest is over, then creeps at a quarter of the thrust; when the
// target leaves it stops and rests for a new drawn time; at an edge it flees.
TEST(EnemyDrone, MineCreepsTowardsNearTargetsAfterItsRest)
{
    CEnemyScene scene;
    RegisterObjectType(OBJECT_ENEMY_MOTHERSHIP, &CreateObjectOf<CLauncherObject>);
    scene.SpawnPlayerShip(2000, 2000);
    GetGameRandom().ScriptDraws({0});
    CEnemyDrone* mine = scene.SpawnEnemy<CEnemyDrone>(OBJECT_ENEMY_DRONE, 2916, 2000,
                                                      Drone("config mine; detonateRange 10; armRange 100"));
    ASSERT_EQ(mine->GetKind(), DRONE_MINE);
    const uint32_t start = scene.Game().GetTime();
    EXPECT_EQ(mine->GetWakeTime(), start) << "a drawn rest of 0";
    const int32_t handle = mine->GetHandle();
    // Thrust 750 x 0.25 on mass 10 gives 0.75 a tick towards the ship (-x).
    auto step = [&](float x) {
        scene.Place(handle, x, 2000);
        mine->GetBody().velocity = CVector2D();
        mine->Move();
        return mine->GetBody().velocity.x;
    };
    EXPECT_EQ(step(2916), 0.0f) << "900 from the ship's surface: still";
    EXPECT_FALSE(mine->IsMoving());
    EXPECT_NEAR(step(2815), -0.75f, 1e-4f) << "799 away: creeps";
    EXPECT_TRUE(mine->IsMoving());

    GetGameRandom().ScriptDraws({12345});
    EXPECT_EQ(step(2916), 0.0f) << "the ship left: it stops";
    EXPECT_FALSE(mine->IsMoving());
    EXPECT_EQ(mine->GetWakeTime(), start + 12345u);
    EXPECT_EQ(step(2815), 0.0f) << "resting until its wake time";
    scene.AdvanceClock(12345 / 40 + 1);
    EXPECT_NEAR(step(2815), -0.75f, 1e-4f);

    // Far away, its launcher's engagement wakes it.
    const int32_t launcher = scene.Harness().Spawn(OBJECT_ENEMY_MOTHERSHIP, 3500, 3500);
    mine->SetLauncher(launcher);
    GetGameRandom().ScriptDraws({0}); // it stops, resting 0 ms
    EXPECT_EQ(step(3916), 0.0f);
    scene.Harness().FindAs<CLauncherObject>(launcher)->m_engaged = true;
    EXPECT_NEAR(step(3916), -0.75f, 1e-4f);
    // A launcher that is gone is forgotten.
    scene.Harness().GetWorld().RemoveObject(launcher);
    scene.Harness().GetWorld().FlushRemovals();
    EXPECT_EQ(step(3916), 0.0f);
    EXPECT_EQ(mine->GetLauncher(), NO_OBJECT);

    // Within 10 units of an edge it flees it at full thrust: 750 / 10 / 25 = 3 a tick.
    scene.Place(handle, 2000, 3991);
    mine->GetBody().velocity = CVector2D();
    mine->Move();
    EXPECT_NEAR(mine->GetBody().velocity.y, -3.0f, 1e-4f);
}

// A megabomb goes off at the drawn time: min + draw % (max - min) seconds after it
// was read; an empty range gives its minimum.
TEST(EnemyDrone, MegabombExplodesAtItsDrawnTime)
{
    struct SCase
    {
        const char* range;
        uint32_t draw;
        uint32_t seconds;
    };
    const SCase cases[] = {{"5, 10", 0, 5}, {"5, 10", 4, 9}, {"5, 10", 7, 7}, {"10, 10", 3, 10}, {"8, 6", 3, 8}};
    for (const SCase& c : cases)
    {
        CEnemyScene scene;
        scene.SpawnPlayerShip(500, 500);
        GetGameRandom().ScriptDraws({c.draw});
        CEnemyDrone* bomb = scene.SpawnEnemy<CEnemyDrone>(
            OBJECT_ENEMY_DRONE, 3000, 3000, Drone(std::string("config megabomb; randomImpactTime ") + c.range));
        ASSERT_EQ(bomb->GetKind(), DRONE_MEGABOMB);
        const uint32_t start = scene.Game().GetTime();
        EXPECT_EQ(bomb->GetImpactTime(), start + c.seconds * 1000) << c.range << " draw " << c.draw;
        scene.AdvanceClock(c.seconds * 25 - 1);
        bomb->Think();
        EXPECT_GT(bomb->GetBody().health, 0) << "a tick early";
        scene.AdvanceClock(1);
        bomb->Think();
        EXPECT_EQ(bomb->GetBody().health, 0);
    }
}

// A drone that turns before it thrusts turns 4 degrees a tick the shorter way and
// thrusts only once it faces within 10 degrees.
TEST(EnemyDrone, RotatingDroneTurnsBeforeItThrusts)
{
    CEnemyScene scene;
    scene.SpawnPlayerShip(3000, 1000);
    CEnemyDrone* drone = scene.SpawnEnemy<CEnemyDrone>(OBJECT_ENEMY_DRONE, 1000, 1000,
                                                       Drone("config suicide; rotateShip true; detonateRange 5"));
    drone->GetBody().angle = 150.0f; // the ship lies at heading 0: 150 degrees to turn back
    int turns = 0;
    while (drone->GetBody().velocity.x == 0.0f && turns < 100)
    {
        const float before = drone->GetBody().angle;
        drone->Move();
        ++turns;
        if (drone->GetBody().velocity.x == 0.0f)
        {
            EXPECT_NEAR(before - drone->GetBody().angle, 4.0f, 1e-3f) << "turn " << turns;
        }
    }
    // 150 - 35 x 4 = 10: the 36th update faces within 10 degrees and thrusts.
    EXPECT_EQ(turns, 36);
    EXPECT_GT(drone->GetBody().velocity.x, 0.0f);
}

// The beacon shows while the target is between the detonate and the arm range: a
// red sprite of its own at twice the size, or the second half of the body's frames.
TEST(EnemyDrone, BeaconShowsWithinTheArmRange)
{
    CEnemyScene scene;
    scene.SpawnPlayerShip(1000, 1000);
    CEnemyDrone* own = scene.SpawnEnemy<CEnemyDrone>(
        OBJECT_ENEMY_DRONE, 1400, 1000,
        Drone("config suicide; detonateRange 20; armRange 200; beacon { spriteFile fx.spr }"));
    CEnemyDrone* swapped = scene.SpawnEnemy<CEnemyDrone>(
        OBJECT_ENEMY_DRONE, 1400, 1100,
        Drone("config suicide; detonateRange 20; armRange 200; beacon { swapMainSprite true }", 20, "fx.spr"));
    ASSERT_TRUE(own->HasBeaconSprite());
    EXPECT_EQ(own->GetBeacon().GetInstance()->m_colour, 0xFFFF0000u);
    EXPECT_EQ(own->GetBeacon().GetInstance()->m_scaleX, 2.0f);
    ASSERT_TRUE(swapped->SwapsMainSprite());
    EXPECT_EQ(swapped->GetObjectBody().GetSpriteRef().GetFrameCount(), 4) << "8 frames, half of them the beacon";

    auto update = [&](CEnemyDrone* drone, float x, float y) {
        scene.Place(drone->GetHandle(), x, y);
        drone->Move();
        drone->Think();
    };
    update(own, 1400, 1000); // 384 from the surface
    EXPECT_FALSE(own->GetBeacon().IsVisible());
    update(own, 1150, 1000); // 134
    EXPECT_TRUE(own->IsBeaconShown());
    EXPECT_TRUE(own->GetBeacon().IsVisible());
    update(own, 1300, 1000); // 284
    EXPECT_FALSE(own->GetBeacon().IsVisible());

    CAnimatedSprite& body = swapped->GetObjectBody().GetSprite();
    body.SetFrame(1);
    update(swapped, 1150, 1000);
    EXPECT_EQ(body.GetFrame(), 5u);
    EXPECT_EQ(body.GetStartFrame(), 4u);
    update(swapped, 1400, 1000);
    EXPECT_EQ(body.GetFrame(), 1u);
    EXPECT_EQ(body.GetStartFrame(), 0u);

    // One frame cannot be halved: no beacon.
    CEnemyDrone* single = scene.SpawnEnemy<CEnemyDrone>(
        OBJECT_ENEMY_DRONE, 1400, 1200, Drone("config suicide; beacon { swapMainSprite true }"));
    EXPECT_FALSE(single->SwapsMainSprite());
}

// Hits: kind 0 counts double; shots of its own type or side, and hits while frozen,
// do nothing; a hit without a source object has no side. A kill counts one, starts
// the death effect for no owner and takes the drone out.
TEST(EnemyDrone, HitsCountByKindAndSide)
{
    CEnemyScene scene;
    const int32_t ship = scene.SpawnPlayerShip(500, 500);
    CEnemyDrone* other = scene.SpawnEnemy<CEnemyDrone>(OBJECT_ENEMY_DRONE, 3000, 3000, Drone("config mine"));
    CGameObject* shipObject = scene.Harness().Find(ship);
    struct SCase
    {
        int32_t sourceType;
        CGameObject* source;
        int32_t kind;
        int32_t amount;
        bool frozen;
        int32_t health;
    };
    const SCase cases[] = {
        {OBJECT_PLAYER_SHIP, shipObject, 0, 3, false, 14},
        {OBJECT_PLAYER_SHIP, shipObject, 1, 3, false, 17},
        {OBJECT_ENEMY_FIGHTER, nullptr, 2, 3, false, 17},
        {OBJECT_ENEMY_DRONE, nullptr, 2, 3, false, 20},
        {OBJECT_ENEMY_FIGHTER, other, 1, 3, false, 20},
        {OBJECT_PLAYER_SHIP, shipObject, 1, 3, true, 20},
    };
    for (const SCase& c : cases)
    {
        CEnemyDrone* drone = scene.SpawnEnemy<CEnemyDrone>(OBJECT_ENEMY_DRONE, 2000, 2000, Drone("config mine"));
        drone->SetFrozen(c.frozen);
        EXPECT_FALSE(drone->TakeDamage(c.sourceType, c.source, c.kind, c.amount));
        EXPECT_EQ(drone->GetBody().health, c.health) << "source type " << c.sourceType << " kind " << c.kind;
    }

    CRecordedEffects effects;
    CEnemyDrone* drone = scene.SpawnEnemy<CEnemyDrone>(OBJECT_ENEMY_DRONE, 2000, 2000,
                                                       Drone("config mine; deathEffect droneDeath"));
    EXPECT_TRUE(drone->TakeDamage(OBJECT_PLAYER_SHIP, shipObject, 0, 10));
    EXPECT_EQ(scene.Harness().GetCampaign().m_kills, 1);
    EXPECT_EQ(scene.Harness().GetCampaign().m_score, 1);
    ASSERT_EQ(effects.Count("droneDeath"), 1u);
    EXPECT_EQ(effects.m_requests[0].owner, NO_OBJECT);
    EXPECT_FALSE(drone->TakeDamage(OBJECT_PLAYER_SHIP, shipObject, 0, 10)) << "dead already";
    const int32_t handle = drone->GetHandle();
    scene.Harness().GetWorld().FlushRemovals();
    EXPECT_EQ(scene.Harness().Find(handle), nullptr);
}

// Two drones touching neither bounce nor hurt each other; a drone touching the ship
// bounces off it with sparks.
TEST(EnemyDrone, DronesPassThroughEachOtherButBounceOffTheShip)
{
    CEnemyScene scene;
    CRecordedEffects effects;
    const int32_t ship = scene.SpawnPlayerShip(1000, 1000);
    CEnemyDrone* a = scene.SpawnEnemy<CEnemyDrone>(OBJECT_ENEMY_DRONE, 2000, 2000, Drone("config mine"));
    CEnemyDrone* b = scene.SpawnEnemy<CEnemyDrone>(OBJECT_ENEMY_DRONE, 2005, 2000, Drone("config mine"));
    a->GetBody().velocity = CVector2D(-2, 0);
    a->Collide(*b);
    EXPECT_EQ(a->GetBody().velocity.x, -2.0f);
    EXPECT_EQ(b->GetBody().velocity.x, 0.0f);
    EXPECT_EQ(a->GetBody().health, 20);
    EXPECT_EQ(b->GetBody().health, 20);
    EXPECT_TRUE(effects.m_requests.empty());

    scene.Place(a->GetHandle(), 1020, 1000);
    a->Collide(*scene.Harness().Find(ship));
    EXPECT_GT(a->GetBody().velocity.x, 0.0f) << "bounced back";
    EXPECT_EQ(effects.Count("smallSparks"), 1u);
}
