// The worm: springs and the held gap, the head's hunt and pulse, segments dying
// when cut off, the live-worm count, and hits by kind.

#include "core/Random.h"
#include "ships/Worm.h"
#include "tests/ships/EnemyScene.h"
#include "tests/support/presentation/RecordedEffects.h"
#include "world/Game.h"
#include "world/World.h"

#include <gtest/gtest.h>

#include <cmath>
#include <vector>

namespace
{
std::string WormSection(int32_t mass = 10, int32_t health = 50, const std::string& sprite = "dummy")
{
    return EnemySection("WORM", "", health, mass, 10.0f, sprite);
}

// Segments from the head at (x, y) backwards along -x, `gap` apart, linked as the
// spawner links them.
std::vector<CWorm*> SpawnWorm(CEnemyScene& scene, int count, float x, float y, float gap, int32_t mass = 10)
{
    std::vector<CWorm*> segments;
    for (int i = 0; i < count; ++i)
    {
        CWorm* segment = scene.SpawnEnemy<CWorm>(OBJECT_WORM, x - gap * static_cast<float>(i), y, WormSection(mass));
        const int32_t front = segments.empty() ? NO_OBJECT : segments.back()->GetHandle();
        segment->SetWormLinks(front, NO_OBJECT);
        if (!segments.empty())
            segments.back()->SetWormLinks(segments.size() > 1 ? segments[segments.size() - 2]->GetHandle() : NO_OBJECT,
                                          segment->GetHandle());
        segments.push_back(segment);
    }
    return segments;
}

int CountSegments(CEnemyScene& scene)
{
    int count = 0;
    CWorld& world = scene.Harness().GetWorld();
    for (int32_t slot = 0; slot < world.GetSlotCount(); ++slot)
        count += world.GetSlot(slot) && world.GetSlot(slot)->GetType() == OBJECT_WORM ? 1 : 0;
    return count;
}
} // namespace

// A segment is pulled towards its neighbour by the unnormalised difference times
// |d - 64| x 0.2 (pushed away below 64), then held between 32 and 96 units of the
// segment in front; two on one point pull nowhere.
TEST(Worm, SpringsPullAndTheGapToTheFrontIsHeld)
{
    struct SCase
    {
        float rearX;
        float velocityX;
        float heldX;
    };
    // Mass 1000: the spring's pull shows in the velocity without moving the segment.
    const SCase cases[] = {
        {1200, -200.0f * 136.0f * 0.2f / 1000.0f / 25.0f, 1096}, // 200 apart: pulled, snapped to 96
        {1050, 50.0f * 14.0f * 0.2f / 1000.0f / 25.0f, 1050},    // 50: pushed away, within the gap
        {1020, 20.0f * 44.0f * 0.2f / 1000.0f / 25.0f, 1032},    // 20: pushed, snapped to 32
        {1000, 0.0f, 1000},                                      // on top of it: nothing
    };
    for (const SCase& c : cases)
    {
        CEnemyScene scene;
        scene.SpawnPlayerShip(3000, 3000);
        std::vector<CWorm*> worm = SpawnWorm(scene, 2, 1000, 1000, 64, 1000);
        scene.Place(worm[1]->GetHandle(), c.rearX, 1000);
        worm[1]->Move();
        EXPECT_NEAR(worm[1]->GetBody().velocity.x, c.velocityX, 1e-5f) << "rear at " << c.rearX;
        EXPECT_NEAR(worm[1]->GetPosition().x, c.heldX, 1e-3f) << "rear at " << c.rearX;
        EXPECT_FALSE(std::isnan(worm[1]->GetPosition().y));
    }
}

// A worm chasing the ship at full speed drags its body along within the held gaps.
TEST(Worm, ChainKeepsItsSpacingWhileItHunts)
{
    CEnemyScene scene(3);
    scene.SpawnPlayerShip(3500, 600);
    std::vector<CWorm*> worm = SpawnWorm(scene, 6, 1500, 2000, 64);
    std::vector<int32_t> handles;
    for (CWorm* segment : worm)
        handles.push_back(segment->GetHandle());
    const CVector2D start = worm[0]->GetPosition();
    const CVector2D tailStart = worm[5]->GetPosition();
    for (int frame = 0; frame < 200; ++frame)
    {
        scene.RunFrames(1);
        for (size_t i = 1; i < handles.size(); ++i)
        {
            // Held to 32..96 by its own move; the one in front may move 10 after it.
            const float gap = (scene.Find<CWorm>(handles[i])->GetPosition() -
                               scene.Find<CWorm>(handles[i - 1])->GetPosition()).Length();
            ASSERT_GE(gap, 32.0f - 10.5f) << "frame " << frame << " segment " << i;
            ASSERT_LE(gap, 96.0f + 10.5f) << "frame " << frame << " segment " << i;
        }
    }
    EXPECT_GT((scene.Find<CWorm>(handles[0])->GetPosition() - start).Length(), 300.0f) << "the head hunted";
    EXPECT_GT((scene.Find<CWorm>(handles[5])->GetPosition() - tailStart).Length(), 300.0f) << "the tail followed";
}

// Cut in the middle, a worm goes on as two; segments cut off alone die with
// "wormDie"; the game's worm count falls once, when the last segment goes.
TEST(Worm, MiddleKillLeavesTwoWormsAndTheCountFallsOnce)
{
    CEnemyScene scene;
    CRecordedEffects effects;
    scene.SpawnPlayerShip(3800, 3800);
    SRunState& run = scene.Game().GetRun();
    run.liveWorms = 2; // this one and another
    std::vector<CWorm*> worm = SpawnWorm(scene, 5, 1500, 1500, 64);
    std::vector<int32_t> handles;
    for (CWorm* segment : worm)
    {
        handles.push_back(segment->GetHandle());
        EXPECT_EQ(segment->GetWormId(), handles[0]);
    }

    EXPECT_TRUE(worm[2]->TakeDamage(OBJECT_PLAYER_SHIP, nullptr, 1, 50));
    scene.RunFrames(2);
    EXPECT_EQ(CountSegments(scene), 4);
    EXPECT_EQ(scene.Find<CWorm>(handles[1])->GetBehind(), NO_OBJECT);
    EXPECT_EQ(scene.Find<CWorm>(handles[3])->GetFront(), NO_OBJECT) << "the rear half has a head of its own";
    EXPECT_EQ(run.liveWorms, 2);
    EXPECT_EQ(effects.Count("wormDie"), 1u);

    // The front half loses its head: its last segment dies alone.
    EXPECT_TRUE(scene.Find<CWorm>(handles[0])->TakeDamage(OBJECT_PLAYER_SHIP, nullptr, 1, 50));
    scene.RunFrames(2);
    EXPECT_EQ(CountSegments(scene), 2);
    EXPECT_EQ(scene.Find<CWorm>(handles[1]), nullptr);
    EXPECT_EQ(run.liveWorms, 2) << "the rear half lives on";
    // And the rear half.
    EXPECT_TRUE(scene.Find<CWorm>(handles[4])->TakeDamage(OBJECT_PLAYER_SHIP, nullptr, 1, 50));
    scene.RunFrames(2);
    EXPECT_EQ(CountSegments(scene), 0);
    EXPECT_EQ(run.liveWorms, 1) << "one worm went, counted once";
    EXPECT_EQ(effects.Count("wormDie"), 5u);
    EXPECT_EQ(scene.Harness().GetCampaign().m_kills, 3) << "only the segments shot count";
}

// A head alone dies on its next think, its effect its own.
TEST(Worm, HeadWithoutItsBodyDiesAtOnce)
{
    CEnemyScene scene;
    CRecordedEffects effects;
    std::vector<CWorm*> worm = SpawnWorm(scene, 2, 1500, 1500, 64);
    const int32_t head = worm[0]->GetHandle();
    scene.Harness().GetWorld().RemoveObject(worm[1]->GetHandle());
    scene.Harness().GetWorld().FlushRemovals();
    CWorm* alone = scene.Find<CWorm>(head);
    alone->Think();
    EXPECT_EQ(alone->GetBody().health, 0);
    ASSERT_EQ(effects.Count("wormDie"), 1u);
    EXPECT_EQ(effects.m_requests[0].owner, head);
    scene.Harness().GetWorld().FlushRemovals();
    EXPECT_EQ(scene.Find<CWorm>(head), nullptr);
}

// Only hits with a kind wear a segment down; any other (a ramming) kills it. Worms
// and asteroids do not hurt it.
TEST(Worm, HitsByKind)
{
    CEnemyScene scene;
    struct SCase
    {
        int32_t sourceType;
        int32_t kind;
        int32_t amount;
        bool applied;
        int32_t health;
    };
    const SCase cases[] = {
        {OBJECT_PLAYER_SHIP, 1, 7, true, 43},
        {0, 2, 7, true, 43},
        {OBJECT_PLAYER_SHIP, 0, 1, true, 50 - 9999},
        {OBJECT_PLAYER_SHIP, 0, 1000000, true, 50 - 2147483647},
        {OBJECT_WORM, 1, 7, false, 50},
        {OBJECT_ASTEROID, 0, 7, false, 50},
    };
    for (const SCase& c : cases)
    {
        std::vector<CWorm*> worm = SpawnWorm(scene, 2, 2000, 2000, 64);
        EXPECT_EQ(worm[0]->TakeDamage(c.sourceType, nullptr, c.kind, c.amount), c.applied);
        EXPECT_EQ(worm[0]->GetBody().health, c.health) << "source " << c.sourceType << " kind " << c.kind;
    }
    EXPECT_EQ(scene.Harness().GetCampaign().m_kills, 2);
}

// The head turns 2 degrees a tick towards the nearer target while more than 10
// degrees off, and thrusts along its heading with its own drawn thrust.
TEST(Worm, HeadTurnsTowardsItsTargetAndThrusts)
{
    CEnemyScene scene;
    scene.SpawnPlayerShip(1500, 3000);
    scene.SpawnStation(3500, 1500); // farther
    GetGameRandom().ScriptDraws({20, 0});
    std::vector<CWorm*> worm = SpawnWorm(scene, 2, 1500, 1500, 64);
    CWorm* head = worm[0];
    ASSERT_EQ(head->GetThrust(), 120.0f);
    for (int tick = 1; tick <= 40; ++tick)
    {
        head->GetBody().force = CVector2D();
        head->Think();
        EXPECT_NEAR(head->GetBody().angle, 2.0f * tick, 1e-3f);
        CVector2D facing;
        facing.SetFromAngle(head->GetBody().angle);
        EXPECT_NEAR(head->GetBody().force.x, facing.x * 120.0f, 1e-3f);
        EXPECT_NEAR(head->GetBody().force.y, facing.y * 120.0f, 1e-3f);
    }
    head->Think();
    EXPECT_NEAR(head->GetBody().angle, 80.0f, 1e-3f) << "within 10 degrees: no more turning";
    // The segment behind faces the one in front.
    worm[1]->Think();
    EXPECT_NEAR(worm[1]->GetBody().angle, 0.0f, 1e-3f);
}

// While the head's sprite shows frame 1 it shrinks 5 % a tick to 0.15 and goes back
// to frame 0; then it grows 0.1 a tick back to full size.
TEST(Worm, HeadPulsesOnItsSecondFrame)
{
    CEnemyScene scene;
    scene.SpawnPlayerShip(3000, 3000);
    CWorm* head = scene.SpawnEnemy<CWorm>(OBJECT_WORM, 1000, 1000, WormSection(10, 50, "fx.spr"));
    CWorm* body = scene.SpawnEnemy<CWorm>(OBJECT_WORM, 936, 1000, WormSection(10, 50, "fx.spr"));
    head->SetWormLinks(NO_OBJECT, body->GetHandle());
    body->SetWormLinks(head->GetHandle(), NO_OBJECT);
    CAnimatedSprite& sprite = head->GetObjectBody().GetSprite();
    sprite.SetFrame(1);
    int shrinks = 0;
    while (sprite.GetFrame() == 1 && shrinks < 100)
    {
        head->Think();
        ++shrinks;
    }
    EXPECT_EQ(shrinks, 37) << "0.95^37 is the first power at or below 0.15";
    EXPECT_NEAR(head->GetBody().scale[0], std::pow(0.95f, 37.0f), 1e-4f);
    for (int grow = 0; grow < 9; ++grow)
        head->Think();
    EXPECT_EQ(head->GetBody().scale[0], 1.0f);
    EXPECT_EQ(head->GetBody().scale[1], 1.0f);
}

// Survival worms have half their health before the sixth stage.
TEST(Worm, SurvivalWormsStartWithHalfHealthEarly)
{
    for (int32_t stage : {0, 5, 6})
    {
        CEnemyScene scene;
        scene.Game().GetRun().survival = true;
        scene.Game().GetRun().survivalStage = stage;
        CWorm* segment = scene.SpawnEnemy<CWorm>(OBJECT_WORM, 1000, 1000, WormSection(10, 50));
        EXPECT_EQ(segment->GetBody().health, stage < 6 ? 25 : 50) << "stage " << stage;
        EXPECT_EQ(segment->GetBody().velocityLimit, 250);
        EXPECT_EQ(segment->GetBody().damping, 0.9f);
    }
}

// Half the segments that go leave a gem near where they were: a large normal gem
// for a draw e of 0 to 3, a large rare one for 4 to 7, a large very rare one above;
// in survival above difficulty 3 the smallest normal gem.
TEST(Worm, DyingSegmentDropsAGemEveryOtherTime)
{
    struct SCase
    {
        std::vector<uint32_t> draws; // parity, e, x and y offsets
        int difficulty;              // survival above 0
        int32_t kind;                // -1: none
    };
    const SCase cases[] = {
        {{1, 0, 20, 20}, 0, 4}, {{3, 3, 0, 39}, 0, 4},  {{5, 4, 39, 0}, 0, 6}, {{7, 7, 20, 20}, 0, 6},
        {{9, 8, 20, 20}, 0, 8}, {{1, 9, 20, 20}, 0, 8}, {{2}, 0, -1},          {{1, 20, 20}, 4, 3},
    };
    for (const SCase& c : cases)
    {
        CEnemyScene scene(1, true);
        scene.Game().GetRun().survival = c.difficulty > 0;
        scene.Harness().GetCampaign().m_difficulty = c.difficulty;
        CWorm* segment = scene.SpawnEnemy<CWorm>(OBJECT_WORM, 2000, 2000, WormSection());
        GetGameRandom().ScriptDraws(c.draws);
        segment->Die();
        const auto gems = scene.ListAsteroids();
        if (c.kind < 0)
        {
            EXPECT_TRUE(gems.empty());
            continue;
        }
        ASSERT_EQ(gems.size(), 1u) << "draw " << c.draws[0];
        EXPECT_EQ(gems[0].kind, c.kind) << "e " << c.draws[1];
        // Within 20 units on each axis, and the quarter frame the spawn adds.
        EXPECT_LE(std::fabs(gems[0].position.x - 2000.0f), 20.0f + 8.0f);
        EXPECT_LE(std::fabs(gems[0].position.y - 2000.0f), 20.0f + 8.0f);
    }
}
