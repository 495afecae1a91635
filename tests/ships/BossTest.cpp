// The five bosses' scripts as timed traces on the game clock (40 ms a frame, so a
// time comes on the first frame at or after it), their go flag, and what their
// deaths leave.

#include "core/Random.h"
#include "presentation/CollisionTag.h"
#include "ships/Bosses.h"
#include "ships/EnemyFighter.h"
#include "ships/MountedPart.h"
#include "ships/StationRules.h"
#include "tests/ships/CarrierFixtures.h"
#include "tests/ships/DockingFixtures.h"
#include "world/Asteroid.h"
#include "world/AsteroidKinds.h"
#include "world/DirectorLink.h"
#include "world/Game.h"
#include "world/World.h"
#include "world/ZoneNode.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <vector>

namespace
{
uint32_t Now(CEnemyScene& scene)
{
    return scene.Game().GetTime();
}

template <typename T>
T* SpawnBoss(CEnemyScene& scene, int32_t type, const std::string& section, const std::string& keys,
             const std::vector<SPartSpec>& parts = {}, int32_t health = 100)
{
    return scene.SpawnEnemy<T>(type, 2000, 2000, CarrierSection(section, keys, health, 60, parts, true));
}

std::vector<CGameObject*> ObjectsOfType(CEnemyScene& scene, int32_t type)
{
    std::vector<CGameObject*> found;
    CWorld& world = scene.Harness().GetWorld();
    for (int32_t slot = 0; slot < world.GetSlotCount(); ++slot)
        if (CGameObject* object = world.GetSlot(slot); object && object->GetType() == type)
            found.push_back(object);
    return found;
}

} // namespace

// Star: with 3 rocks a burst and 5 s between bursts, the warp opens first, three
// rocks follow 1.5 s apart, a fourth as the burst ends, then the wait; each rock an
// explosive, half size, 10 units a tick at the player ship give or take 2 degrees.
TEST(StarBoss, ThrowsBurstsOfRocks)
{
    CEnemyScene scene(1, true);
    scene.SpawnPlayerShip(3000, 2000);
    CStarBoss* boss = SpawnBoss<CStarBoss>(scene, OBJECT_STAR_BOSS, "STAR_BOSS",
                                           "config starboss; spawnAsteroidDelay 5000; numSpawnedAsteroids 3");
    ASSERT_NE(boss, nullptr);
    scene.RunFrames(1);
    ASSERT_TRUE(boss->IsWarpOn());
    const uint32_t t0 = Now(scene) - 40; // the frame that thought
    EXPECT_EQ(boss->GetThrown(), 0);

    std::vector<uint32_t> throws;
    std::vector<uint32_t> warps;
    std::vector<int32_t> seen;
    bool warp = true;
    int thrown = 0;
    while (Now(scene) < t0 + 14000)
    {
        scene.RunFrames(1);
        const uint32_t at = Now(scene) - 40;
        for (; thrown < boss->GetThrown(); ++thrown)
            throws.push_back(at - t0);
        if (boss->IsWarpOn() && !warp)
            warps.push_back(at - t0);
        warp = boss->IsWarpOn();
        // A new rock, one tick out: what it was thrown with.
        for (CGameObject* rock : ObjectsOfType(scene, OBJECT_ASTEROID))
        {
            if (std::find(seen.begin(), seen.end(), rock->GetHandle()) != seen.end())
                continue;
            seen.push_back(rock->GetHandle());
            auto* asteroid = static_cast<CAsteroid*>(rock);
            EXPECT_EQ(asteroid->GetAsteroidKind(), ASTEROID_EXPLOSIVE);
            EXPECT_TRUE(asteroid->IsTransient());
            EXPECT_EQ(asteroid->GetCargoValue(), 8);
            EXPECT_EQ(rock->GetBody().scale[0], 0.5f);
            const CVector2D v = rock->GetBody().velocity;
            EXPECT_NEAR(v.Length(), 10.0f, 0.01f);
            EXPECT_LE(std::fabs(std::atan2(v.y, v.x)) * 57.29578f, 2.01f);
        }
    }
    // Each step counts from the frame before: 1520, 3040, 4560, the burst's end at 6080,
    // the warp again 5000 later at 11080, rocks from 12600.
    EXPECT_EQ(throws, (std::vector<uint32_t>{1520, 3040, 4560, 6080, 12600}));
    EXPECT_EQ(warps, (std::vector<uint32_t>{11080}));
    EXPECT_EQ(seen.size(), 5u);
}

// Nothing runs before the director's go flag, nor while the boss's own chat shows.
TEST(StarBoss, WaitsForItsGoFlagAndChat)
{
    CEnemyScene scene(1, true);
    scene.SpawnPlayerShip(3000, 2000);
    auto& director = scene.Harness().GetDirector();
    director.m_bossGo = false;
    CStarBoss* boss = SpawnBoss<CStarBoss>(scene, OBJECT_STAR_BOSS, "STAR_BOSS",
                                           "config starboss; spawnAsteroidDelay 100; numSpawnedAsteroids 1");
    ASSERT_NE(boss, nullptr);
    boss->GetBody().velocity = CVector2D(3, 0);
    scene.RunFrames(100);
    EXPECT_EQ(boss->GetThrown(), 0);
    EXPECT_FALSE(boss->IsWarpOn());
    EXPECT_EQ(boss->GetPosition().x, 2000.0f);
    director.m_bossGo = true;
    director.m_chatPage = 44;
    scene.RunFrames(100);
    EXPECT_EQ(boss->GetThrown(), 0);
    director.m_chatPage = 45; // another boss's chat
    scene.RunFrames(40);
    EXPECT_GT(boss->GetThrown(), 0);
}

// Magma: 2 s at rest, the blobs swing out to 400 units at 0.05 a ms, the centre and
// then each blob fire for 2 s (blob 0 twice), the blobs come home, and the next cycle
// reaches 300. Its blows land hard while the blobs move.
TEST(MagmaBoss, RunsItsBlobPhases)
{
    CEnemyScene scene;
    std::vector<SPartSpec> parts = RingParts(20, 30, 10);
    parts[8] = {CVector2D(0, -40), 10};
    parts[9] = {CVector2D(40, 0), 10};
    parts[10] = {CVector2D(0, 40), 10};
    parts[11] = {CVector2D(-40, 0), 10};
    CMagmaBoss* boss = SpawnBoss<CMagmaBoss>(scene, OBJECT_MAGMA_BOSS, "MAGMA_BOSS", "config starboss", parts);
    ASSERT_NE(boss, nullptr);
    boss->GetBody().mass = 1000000; // stands still: the blobs' offsets are the trace
    scene.RunFrames(1);
    const uint32_t t0 = Now(scene) - 40;
    EXPECT_EQ(boss->GetPhase(), 0);
    EXPECT_FALSE(boss->IsStrikingHard());

    struct SStep
    {
        uint32_t time;
        int phase;
        int blob;
    };
    std::vector<SStep> steps;
    std::vector<float> reaches;
    int phase = 0;
    int blob = -1;
    float widest = 0.0f;
    while (Now(scene) < t0 + 50000)
    {
        scene.RunFrames(1);
        const uint32_t at = Now(scene) - 40 - t0;
        widest = std::max(widest, boss->GetBlobOffset(1).Length());
        if (boss->GetPhase() != phase || boss->GetCurrentBlob() != blob)
        {
            steps.push_back({at, boss->GetPhase(), boss->GetCurrentBlob()});
            if (boss->GetPhase() == 1)
                reaches.push_back(boss->GetBlob(0).reach);
            if (boss->GetPhase() == 1 || boss->GetPhase() == 4)
            {
                EXPECT_TRUE(boss->IsStrikingHard());
            }
            phase = boss->GetPhase();
            blob = boss->GetCurrentBlob();
        }
    }
    // Out from 40 to 400 at 2 units a frame: 180 frames (7200 ms) after phase 1 began
    // at 2000, and the frame that finds nothing left to move ends it at 9240.
    ASSERT_GE(steps.size(), 9u);
    EXPECT_EQ(steps[0].time, 2000u);
    EXPECT_EQ(steps[0].phase, 1);
    EXPECT_EQ(steps[1].time, 9240u);
    EXPECT_EQ(steps[1].phase, 3);
    EXPECT_EQ(steps[1].blob, -1);
    const int blobs[] = {0, 1, 2, 3, 4};
    for (int i = 0; i < 5; ++i)
    {
        EXPECT_EQ(steps[2 + i].phase, 3);
        EXPECT_EQ(steps[2 + i].blob, blobs[i]);
        EXPECT_EQ(steps[2 + i].time, 9240u + 2000u * static_cast<uint32_t>(i + 1)) << i;
    }
    // Phase 4 from 21240, 180 frames home, then phase 0 and 2 s later reach 300.
    EXPECT_EQ(steps[7].phase, 4);
    EXPECT_EQ(steps[7].time, 21240u);
    EXPECT_EQ(steps[8].phase, 0);
    EXPECT_EQ(steps[8].time, 21240u + 7200u);
    ASSERT_GE(reaches.size(), 2u);
    EXPECT_EQ(reaches[0], 400.0f);
    EXPECT_EQ(reaches[1], 300.0f);
    EXPECT_NEAR(widest, 400.0f, 0.01f);
}

// Magma: a station struck by a blob while the blobs swing out or back takes the blow
// fifty times over; not while they rest, nor by another part.
TEST(MagmaBoss, BlobsStrikeHardOnlyWhileTheyMove)
{
    CEnemyScene scene;
    std::vector<SPartSpec> parts = RingParts(20, 30, 10);
    parts[8] = {CVector2D(0, -40), 10};
    CMagmaBoss* boss = SpawnBoss<CMagmaBoss>(scene, OBJECT_MAGMA_BOSS, "MAGMA_BOSS", "config starboss", parts);
    ASSERT_NE(boss, nullptr);
    boss->GetBody().mass = 1000000;
    scene.RunFrames(1);
    AimHitAt(*boss, PartTag(8));
    EXPECT_FALSE(boss->IsBlobStrikingHard()) << "at rest";
    while (boss->GetPhase() != 1 && Now(scene) < 10000)
        scene.RunFrames(1);
    ASSERT_EQ(boss->GetPhase(), 1);
    AimHitAt(*boss, PartTag(8));
    EXPECT_TRUE(boss->IsBlobStrikingHard());
    AimHitAt(*boss, PartTag(2));
    EXPECT_FALSE(boss->IsBlobStrikingHard()) << "not a blob";
    SStationHit hit;
    hit.amount = 3;
    hit.sourceType = OBJECT_MAGMA_BOSS;
    hit.magmaSpecialPart = true;
    EXPECT_EQ(GetStationDamage(hit), 150);
}

// Rain: the shared step moves on every 500 ms; a turret whose part lives is switched
// off for 1500 ms, a dead part's never; an inner part goes with both outer neighbours;
// with the inner ring gone the core opens.
TEST(RainBoss, StepsRoundItsRing)
{
    CEnemyScene scene;
    CRainBoss* boss = SpawnBoss<CRainBoss>(scene, OBJECT_RAIN_BOSS, "RAIN_BOSS",
                                           "config rainboss; coreInvulnerable true", RingParts(24, 45, 10));
    ASSERT_NE(boss, nullptr);
    EXPECT_EQ(CRainBoss::GetSharedStep(), -1);
    boss->DestroyPart(3);
    scene.RunFrames(1);
    const uint32_t t0 = Now(scene) - 40;
    EXPECT_EQ(CRainBoss::GetSharedStep(), 0);
    EXPECT_EQ(boss->GetReenableTime(0), t0 + 1500);
    std::vector<int> steps{0};
    std::vector<uint32_t> times{0};
    while (Now(scene) < t0 + 6200)
    {
        scene.RunFrames(1);
        if (CRainBoss::GetSharedStep() != steps.back())
        {
            steps.push_back(CRainBoss::GetSharedStep());
            times.push_back(Now(scene) - 40 - t0);
            if (steps.back() == 3)
            {
                EXPECT_EQ(boss->GetReenableTime(3), 0u);
            }
        }
    }
    // 500 ms steps from frame times: 520, 1040, ... (each counted from the frame before).
    std::vector<int> wantSteps;
    std::vector<uint32_t> wantTimes;
    for (int i = 0; i < 12; ++i)
    {
        wantSteps.push_back(i % 12);
        wantTimes.push_back(520u * static_cast<uint32_t>(i));
    }
    EXPECT_EQ(steps, wantSteps);
    EXPECT_EQ(times, wantTimes);

    // Part 5 outlives one outer neighbour (17) and goes with the second (16).
    boss->DestroyPart(17);
    scene.RunFrames(1);
    EXPECT_TRUE(boss->IsPartAlive(5));
    boss->DestroyPart(16);
    scene.RunFrames(1);
    EXPECT_FALSE(boss->IsPartAlive(5));
    // Part 0's neighbours are 12 and 23.
    boss->DestroyPart(12);
    boss->DestroyPart(23);
    scene.RunFrames(1);
    EXPECT_FALSE(boss->IsPartAlive(0));
    EXPECT_FALSE(boss->IsRingDone());
    EXPECT_TRUE(boss->IsCoreInvulnerable());
    for (int i = 12; i < 24; ++i)
        boss->DestroyPart(i);
    scene.RunFrames(1);
    EXPECT_TRUE(boss->IsRingDone());
    EXPECT_FALSE(boss->IsCoreInvulnerable());
}

// A new rain boss starts the shared step again; two alive together share it.
TEST(RainBoss, SharedStepIsResetAndShared)
{
    CEnemyScene scene;
    CRainBoss* first = SpawnBoss<CRainBoss>(scene, OBJECT_RAIN_BOSS, "RAIN_BOSS", "config rainboss", RingParts(24, 45, 10));
    ASSERT_NE(first, nullptr);
    scene.RunFrames(30);
    EXPECT_GT(CRainBoss::GetSharedStep(), 0);
    CRainBoss* second = scene.SpawnEnemy<CRainBoss>(OBJECT_RAIN_BOSS, 500, 500,
                                                    CarrierSection("RAIN_BOSS", "config rainboss", 100, 60,
                                                                   RingParts(24, 45, 10)));
    ASSERT_NE(second, nullptr);
    EXPECT_EQ(CRainBoss::GetSharedStep(), -1);
    scene.RunFrames(1);
    const uint32_t at = Now(scene) - 40;
    EXPECT_EQ(CRainBoss::GetSharedStep(), 0);
    // Both switched turret 0 off on the same step.
    EXPECT_EQ(first->GetReenableTime(0), at + 1500);
    EXPECT_EQ(second->GetReenableTime(0), at + 1500);
}

// Rain: the step switches the turret of its part off for 1500 ms and then on again;
// a turret whose part has gone is not switched on.
TEST(RainBoss, StepSwitchesItsTurretsOffAndOn)
{
    CEnemyScene scene;
    std::vector<std::string> turrets;
    for (int i = 0; i < CRainBoss::RING; ++i)
        turrets.push_back("owningCollisionTag " + PartTag(i));
    CRainBoss* boss = SpawnBoss<CRainBoss>(scene, OBJECT_RAIN_BOSS, "RAIN_BOSS",
                                           TurretGroupKeys(turrets) + "config rainboss; coreInvulnerable true",
                                           RingParts(24, 45, 10));
    ASSERT_NE(boss, nullptr);
    const CTurretGroup& group = boss->GetTurrets();
    scene.RunFrames(1);
    EXPECT_TRUE(group.GetTurret(0)->disabled);
    EXPECT_FALSE(group.GetTurret(1)->disabled);
    // Step 1 comes at 520 ms; turret 0 is back on the first frame at or after 1500 ms.
    scene.RunFrames(13);
    EXPECT_TRUE(group.GetTurret(0)->disabled);
    EXPECT_TRUE(group.GetTurret(1)->disabled);
    scene.RunFrames(24);
    EXPECT_TRUE(group.GetTurret(0)->disabled);
    scene.RunFrames(1);
    EXPECT_FALSE(group.GetTurret(0)->disabled);
    // Part 2 goes with both outer neighbours, and its turret with it; it stays off.
    boss->DestroyPart(14);
    boss->DestroyPart(13);
    scene.RunFrames(80);
    EXPECT_FALSE(boss->IsPartAlive(2));
    EXPECT_TRUE(group.GetTurret(2)->disabled);
}

// Star: each of four parts is shielded while either turret of its pair lives (part 3
// by turrets 0 and 1, part 0 by 2 and 3, part 1 by 4 and 5, part 2 by 6 and 7); a hit
// on a turret is the turret's.
TEST(StarBoss, TurretPairsShieldItsParts)
{
    CEnemyScene scene;
    scene.SpawnPlayerShip(3000, 2000);
    // Parts 0 to 3 the shielded pods, parts 4 to 11 the turrets' own shapes.
    std::vector<std::string> turrets;
    for (int i = 0; i < 8; ++i)
        turrets.push_back("collisionTag " + PartTag(4 + i) + "; damageOnly true");
    CStarBoss* boss = SpawnBoss<CStarBoss>(scene, OBJECT_STAR_BOSS, "STAR_BOSS",
                                           TurretGroupKeys(turrets) + "config starboss", RingParts(12, 45, 30));
    ASSERT_NE(boss, nullptr);
    const int pairs[4][3] = {{3, 0, 1}, {0, 2, 3}, {1, 4, 5}, {2, 6, 7}};
    for (const auto& pair : pairs)
    {
        const int part = pair[0];
        AimHitAt(*boss, PartTag(part));
        EXPECT_FALSE(boss->TakeDamage(OBJECT_PLAYER_SHIP, nullptr, 0, 5));
        EXPECT_EQ(boss->GetPart(part)->m_health, 30) << part;
        for (int k = 1; k <= 2; ++k)
        {
            AimHitAt(*boss, PartTag(4 + pair[k]));
            EXPECT_FALSE(boss->TakeDamage(OBJECT_PLAYER_SHIP, nullptr, 0, 10));
            EXPECT_FALSE(boss->IsTurretAlive(pair[k]));
            EXPECT_TRUE(boss->IsPartAlive(4 + pair[k])) << "damage only";
            AimHitAt(*boss, PartTag(part));
            boss->TakeDamage(OBJECT_PLAYER_SHIP, nullptr, 0, 5);
            EXPECT_EQ(boss->GetPart(part)->m_health, k == 1 ? 30 : 25) << part;
        }
    }
    EXPECT_EQ(boss->GetBody().health, 100);
}

// Tron: beams with an 8 s interval (a rate of 0.125, exact in a float) and 4 s of
// charge. From the cycle's start the six guns fire and the beams charge until 4 s; to
// 4 + 0.4 x 4 = 5.6 s the guns rest, the charge stops and the warning sounds once; the
// beams fire to 8 s; then the cycle starts again from that frame. Times are the first
// 40 ms frame past each mark.
TEST(TronBoss, ChargesWarnsAndFiresItsBeams)
{
    CEnemyScene scene;
    ASSERT_TRUE(scene.Effects().Load(GlowEffectText()));
    std::vector<std::string> turrets(6, "range 300; fireRate 1");
    turrets.insert(turrets.end(), 2, "fireRate 0.125; chargeTime 4; weaponEffect glow; notFiringEffect glow");
    CTronBoss* boss =
        SpawnBoss<CTronBoss>(scene, OBJECT_TRON_BOSS, "TRON_BOSS",
                             TurretGroupKeys(turrets) + "config tronboss; warningSfxName warning.wav");
    ASSERT_NE(boss, nullptr);
    const CTurretGroup& group = boss->GetTurrets();
    EXPECT_TRUE(group.GetTurret(CTronBoss::BEAM_A)->disabled);
    EXPECT_TRUE(group.GetTurret(CTronBoss::BEAM_B)->disabled);
    const uint32_t t0 = Now(scene);
    boss->RestartTurretCycle(CTronBoss::BEAM_A, t0);

    struct SSeen
    {
        uint32_t at;
        int stage;
        bool gunsOff;
        bool charging;
        bool firing;
        uint32_t warnings;
        bool operator==(const SSeen& o) const
        {
            return at == o.at && stage == o.stage && gunsOff == o.gunsOff && charging == o.charging &&
                   firing == o.firing && warnings == o.warnings;
        }
    };
    auto emitting = [](const CShipEffect& effect) { return effect.IsRunning() && !effect.IsEmittingStopped(); };
    std::vector<SSeen> changes;
    while (Now(scene) < t0 + 16200)
    {
        scene.RunFrames(1);
        SSeen seen{Now(scene) - 40 - t0, boss->GetCycleStage(), true, true, true, boss->GetWarning().GetPlayCount()};
        for (int i = 0; i < CTronBoss::SMALL_GUNS; ++i)
            seen.gunsOff = seen.gunsOff && group.GetTurret(i)->disabled;
        for (int i = 0; i < CTronBoss::SMALL_GUNS && !seen.gunsOff; ++i)
        {
            EXPECT_FALSE(group.GetTurret(i)->disabled) << seen.at;
        }
        for (int beam : {CTronBoss::BEAM_A, CTronBoss::BEAM_B})
        {
            seen.charging = seen.charging && emitting(group.GetTurret(beam)->notFiringEffect);
            seen.firing = seen.firing && emitting(group.GetTurret(beam)->weaponEffect);
        }
        if (changes.empty() || changes.back().stage != seen.stage || changes.back().at > seen.at)
            changes.push_back(seen);
    }
    const std::vector<SSeen> want = {
        {0, 0, false, true, false, 0},     {4040, 1, true, false, false, 1},  {5640, 2, true, false, true, 1},
        {8040, 0, false, true, false, 1},  {12080, 1, true, false, false, 2}, {13680, 2, true, false, true, 2},
        {16080, 0, false, true, false, 2},
    };
    ASSERT_EQ(changes.size(), want.size());
    for (size_t i = 0; i < want.size(); ++i)
        EXPECT_TRUE(changes[i] == want[i]) << i << ": at " << changes[i].at << " stage " << changes[i].stage
                                           << " guns off " << changes[i].gunsOff << " charging "
                                           << changes[i].charging << " firing " << changes[i].firing
                                           << " warnings " << changes[i].warnings;
}

// Disc: nothing for 4 s; then each disc flies off at its heading, 6 units a frame,
// turning 1.2 degrees a frame, for 15 s; a hit pauses it for that frame; it comes
// back at 7.2 a frame, docks for 3 s and goes again. The gun moves on every gunDelay.
TEST(DiscBoss, ThrowsAndCatchesItsDiscs)
{
    CEnemyScene scene;
    CDiscBoss* boss = SpawnBoss<CDiscBoss>(
        scene, OBJECT_DISC_BOSS, "DISC_BOSS",
        "config discboss; gunDelay 2; disc { offset 50, 30; " + BodyKeys(40, 10, 12.0f) + " }");
    ASSERT_NE(boss, nullptr);
    boss->GetBody().mass = 1000000;
    const auto parts = ObjectsOfType(scene, OBJECT_MOUNTED_PART);
    ASSERT_EQ(parts.size(), 4u);
    EXPECT_EQ(boss->GetDisc(0).home.x, 50.0f);
    EXPECT_EQ(boss->GetDisc(0).home.y, -30.0f);
    EXPECT_EQ(boss->GetDisc(3).home.x, -50.0f);
    EXPECT_EQ(boss->GetDisc(3).home.y, 30.0f);
    EXPECT_TRUE(boss->IsCoreInvulnerable());

    scene.RunFrames(1);
    const uint32_t start = boss->GetStartTime();
    ASSERT_NE(start, 0u);
    while (Now(scene) < start)
    {
        scene.RunFrames(1);
        EXPECT_EQ(boss->GetDisc(0).state, CDiscBoss::DISC_DOCKED);
    }
    scene.RunFrames(1);
    const CDiscBoss::SDisc& disc = boss->GetDisc(0);
    ASSERT_EQ(disc.state, CDiscBoss::DISC_THROWN);
    const uint32_t thrown = Now(scene) - 40;
    EXPECT_NEAR(disc.spin, 1.2f, 1e-5f);
    // Thrown from home; the first step: 315 + 1.2 degrees, 6 units out. The part rides
    // the mount point (it moves before its boss, so a frame behind).
    const CVector2D home(2050, 1970);
    EXPECT_EQ(disc.point.x, home.x);
    EXPECT_EQ(disc.point.y, home.y);
    auto* part = scene.Find<CMountedPart>(disc.part);
    ASSERT_NE(part, nullptr);
    scene.RunFrames(1);
    EXPECT_NEAR((disc.point - home).Length(), 6.0f, 1e-3f);
    EXPECT_NEAR(std::atan2(disc.point.y - home.y, disc.point.x - home.x) * 57.29578f, -43.8f, 1e-2f);
    EXPECT_EQ(part->GetPosition().x, home.x);
    EXPECT_EQ(part->GetPosition().y, home.y);

    // A hit: that frame the disc stays put.
    const CVector2D before = disc.point;
    part->NotifyContact(*part, CVector2D(), CVector2D());
    scene.RunFrames(1);
    EXPECT_EQ(disc.point.x, before.x);
    EXPECT_EQ(disc.point.y, before.y);
    scene.RunFrames(1);
    EXPECT_NEAR((disc.point - before).Length(), 6.0f, 1e-3f);

    while (disc.state == CDiscBoss::DISC_THROWN)
        scene.RunFrames(1);
    EXPECT_EQ(Now(scene) - 40 - thrown, 15000u);
    EXPECT_EQ(disc.state, CDiscBoss::DISC_RETURNING);
    int frames = 0;
    while (disc.state == CDiscBoss::DISC_RETURNING && frames < 2000)
    {
        const float distance = (disc.point - home).Length();
        scene.RunFrames(1);
        ++frames;
        if (disc.state == CDiscBoss::DISC_RETURNING)
        {
            EXPECT_NEAR((disc.point - home).Length(), distance - 7.2f, 1e-2f);
        }
    }
    EXPECT_EQ(disc.state, CDiscBoss::DISC_DOCKED);
    EXPECT_EQ(disc.point.x, home.x);
    const uint32_t docked = Now(scene) - 40;
    while (disc.state == CDiscBoss::DISC_DOCKED)
        scene.RunFrames(1);
    EXPECT_EQ(Now(scene) - 40 - docked, 3000u);
    EXPECT_EQ(disc.state, CDiscBoss::DISC_THROWN);

    // The gun has moved on once every 2 s since the start.
    const uint32_t since = Now(scene) - 40 - start;
    EXPECT_EQ(boss->GetActiveGun(), static_cast<int>((since / 2000 + 1) % 4));

    // With every disc gone the core opens.
    for (CGameObject* object : parts)
        scene.Harness().GetWorld().RemoveObject(object->GetHandle());
    scene.RunFrames(2);
    EXPECT_FALSE(boss->IsCoreInvulnerable());
}

// What each boss leaves: the star and magma bosses a queen fighter (the magma boss
// tells the director her handle), the others the prize drive pod with their payload;
// the score, and the zone's boss beaten by the prize bosses at the blow.
TEST(Bosses, DeathsLeaveQueenOrPrize)
{
    struct SCase
    {
        int32_t type;
        const char* section;
        const char* config;
        int32_t points;
        int32_t payload; // -1: a queen
    };
    const SCase cases[] = {
        {OBJECT_STAR_BOSS, "STAR_BOSS", "starboss", 1000, -1},  {OBJECT_MAGMA_BOSS, "MAGMA_BOSS", "starboss", 16000, -1},
        {OBJECT_RAIN_BOSS, "RAIN_BOSS", "rainboss", 8000, 10},  {OBJECT_TRON_BOSS, "TRON_BOSS", "tronboss", 4000, 11},
        {OBJECT_DISC_BOSS, "DISC_BOSS", "discboss", 2000, 12},
    };
    for (const SCase& c : cases)
    {
        CEnemyScene scene(1, true);
        const std::string queen = WriteFighterFile(scene, "queen.txt");
        const int32_t drone =
            scene.SpawnEnemy<CEnemyFighter>(OBJECT_ENEMY_FIGHTER, 300, 300, EnemySection("ENEMY_FIGHTER", ""))
                ->GetHandle();
        const std::string keys = std::string("config ") + c.config + "; deathEffect bossBang; queenFighterFile " +
                                 queen + "; magmaFighterFile " + queen;
        CBoss* boss = scene.SpawnEnemy<CBoss>(c.type, 2000, 2000, CarrierSection(c.section, keys, 50, 60, {}, true));
        ASSERT_NE(boss, nullptr) << c.section;
        const int32_t handle = boss->GetHandle();
        if (c.type == OBJECT_DISC_BOSS)
            scene.RunFrames(110); // past its start
        AimHitAt(*boss, "CORE");
        boss->SetCoreInvulnerable(false);
        EXPECT_TRUE(boss->TakeDamage(OBJECT_PLAYER_SHIP, nullptr, 0, 60)) << c.section;
        EXPECT_EQ(scene.Harness().GetCampaign().m_score, c.points) << c.section;
        EXPECT_EQ(scene.Harness().GetZones().m_flags[ZONE_FLAG_BOSS_BEATEN], c.payload >= 0) << c.section;
        scene.RunFrames(99);
        EXPECT_EQ(scene.Harness().Find(handle), boss) << c.section << ": dies 4 s after the blow";
        scene.RunFrames(3);
        EXPECT_EQ(scene.Harness().Find(handle), nullptr) << c.section;
        const auto fighters = ObjectsOfType(scene, OBJECT_ENEMY_FIGHTER);
        const auto pods = ObjectsOfType(scene, OBJECT_ASTEROID);
        if (c.payload < 0)
        {
            ASSERT_EQ(fighters.size(), 2u) << c.section;
            auto* made = static_cast<CEnemyFighter*>(fighters[0]->GetHandle() == drone ? fighters[1] : fighters[0]);
            EXPECT_TRUE(made->IsQueen());
            EXPECT_TRUE(made->GetInfo().notCountedAsEnemy);
            EXPECT_EQ(made->GetPosition().x, 2000.0f);
            EXPECT_EQ(scene.Harness().GetDirector().m_queenHandle,
                      c.type == OBJECT_MAGMA_BOSS ? made->GetHandle() : -1);
            EXPECT_TRUE(pods.empty());
        }
        else
        {
            // The other enemies go with it.
            EXPECT_TRUE(fighters.empty()) << c.section;
            ASSERT_EQ(pods.size(), 1u) << c.section;
            EXPECT_EQ(pods[0]->GetAsteroidKind(), ASTEROID_DRIVE_POD);
            EXPECT_EQ(pods[0]->GetCargoValue(), c.payload);
            // Thrown at 70 a tick, it drifts at its limit of 99 a second.
            EXPECT_GT(pods[0]->GetBody().velocity.Length(), 0.0f);
            EXPECT_LE(pods[0]->GetBody().velocity.Length(), 99.0f / 25.0f + 1e-3f);
        }
    }
}

// A queen that finds the world full is not lost: the boss stays dying and makes her
// the frame a slot frees.
TEST(Bosses, FullWorldDelaysTheQueen)
{
    CEnemyScene scene;
    const std::string queen = WriteFighterFile(scene, "queen.txt");
    CStarBoss* boss = SpawnBoss<CStarBoss>(scene, OBJECT_STAR_BOSS, "STAR_BOSS",
                                           "config starboss; queenFighterFile " + queen);
    ASSERT_NE(boss, nullptr);
    const int32_t handle = boss->GetHandle();
    std::vector<int32_t> filler;
    for (int32_t h = scene.Harness().Spawn(OBJECT_DUMB, 10, 10); h != NO_OBJECT;
         h = scene.Harness().Spawn(OBJECT_DUMB, 10, 10))
        filler.push_back(h);
    ASSERT_FALSE(filler.empty());
    AimHitAt(*boss, "CORE");
    EXPECT_TRUE(boss->TakeDamage(OBJECT_PLAYER_SHIP, nullptr, 0, 500));
    scene.RunFrames(150);
    EXPECT_EQ(scene.Harness().Find(handle), boss);
    EXPECT_TRUE(ObjectsOfType(scene, OBJECT_ENEMY_FIGHTER).empty());
    scene.Harness().GetWorld().RemoveObject(filler.back());
    scene.RunFrames(2);
    EXPECT_EQ(scene.Harness().Find(handle), nullptr);
    const auto fighters = ObjectsOfType(scene, OBJECT_ENEMY_FIGHTER);
    ASSERT_EQ(fighters.size(), 1u);
    EXPECT_TRUE(static_cast<CEnemyFighter*>(fighters[0])->IsQueen());
}
