#include "tests/support/world/WorldHarness.h"
#include "tests/world/TestObjects.h"
#include "world/ObjectFactory.h"

#include <gtest/gtest.h>

#include <set>

std::vector<std::string>* CSpyObject::s_log = nullptr;

namespace
{
int32_t SlotOf(int32_t handle)
{
    return handle & 0xFFFFFF;
}
int32_t GenerationOf(int32_t handle)
{
    return static_cast<int32_t>(static_cast<uint32_t>(handle) >> 24);
}

// A world of its own (no game), with the world's types.
struct SLoneWorld
{
    SLoneWorld()
    {
        RegisterWorldObjectTypes();
        world.Init();
    }
    int32_t Make()
    {
        int32_t handle = NO_OBJECT;
        EXPECT_TRUE(world.CreateObject(OBJECT_DUMB, handle));
        return handle;
    }
    CWorld world;
};
} // namespace

TEST(WorldTable, SlotsComeFromTheTopAndFreedSlotsFirst)
{
    SLoneWorld lone;
    int32_t a = lone.Make();
    int32_t b = lone.Make();
    int32_t c = lone.Make();
    EXPECT_EQ(SlotOf(a), 255);
    EXPECT_EQ(SlotOf(b), 254);
    EXPECT_EQ(SlotOf(c), 253);
    EXPECT_EQ(GenerationOf(a), 1);

    lone.world.RemoveObject(b);
    ASSERT_NE(lone.world.GetObject(b), nullptr); // deferred
    lone.world.FlushRemovals();
    EXPECT_EQ(lone.world.GetObject(b), nullptr);
    int32_t again = lone.Make();
    EXPECT_EQ(SlotOf(again), 254);
    EXPECT_EQ(GenerationOf(again), 2);
    EXPECT_NE(again, b);
    EXPECT_EQ(lone.world.GetObject(b), nullptr) << "a stale handle stays stale after the slot is reused";
    EXPECT_EQ(lone.world.GetObject(again)->GetHandle(), again);
}

TEST(WorldTable, TheTableHolds256AndRefusesTheNext)
{
    SLoneWorld lone;
    std::set<int32_t> handles;
    for (int i = 0; i < 256; ++i)
        handles.insert(lone.Make());
    EXPECT_EQ(handles.size(), 256u);
    int32_t handle = 12345;
    EXPECT_FALSE(lone.world.CreateObject(OBJECT_DUMB, handle));
    EXPECT_EQ(handle, 12345);
    EXPECT_EQ(lone.world.CountObjects(), 256);
}

TEST(WorldTable, UnknownTypesAndBadHandles)
{
    SLoneWorld lone;
    int32_t handle = NO_OBJECT;
    EXPECT_FALSE(lone.world.CreateObject(OBJECT_NONE, handle));
    EXPECT_FALSE(lone.world.CreateObject(OBJECT_STAR_BOSS, handle)); // no creator yet in this test
    EXPECT_FALSE(lone.world.CreateObject(99, handle));
    EXPECT_EQ(SlotOf(lone.Make()), 255) << "a refused type gives its slot back";

    for (int32_t bad : {NO_OBJECT, 0, 0x01000100, 0x7F0000FF, static_cast<int32_t>(0xFF0000FF)})
        EXPECT_EQ(lone.world.GetObject(bad), nullptr) << std::hex << bad;
    lone.world.RemoveObject(0x01000100); // slot beyond the table: nothing happens
    lone.world.FlushRemovals();
    EXPECT_EQ(lone.world.CountObjects(), 1);
}

TEST(WorldTable, GenerationsSkipZeroWhenTheyWrap)
{
    SLoneWorld lone;
    // Always the same slot: make and destroy 300 times.
    std::set<int32_t> seen;
    for (int i = 0; i < 300; ++i)
    {
        int32_t handle = lone.Make();
        ASSERT_EQ(SlotOf(handle), 255);
        ASSERT_NE(handle, 0);
        ASSERT_NE(handle, NO_OBJECT);
        ASSERT_NE(GenerationOf(handle), 0) << "at creation " << i;
        if (i == 254)
        {
            EXPECT_EQ(GenerationOf(handle), 255);
        }
        if (i == 255)
        {
            EXPECT_EQ(GenerationOf(handle), 1) << "255 wraps to 1";
        }
        lone.world.RemoveObject(handle);
        lone.world.FlushRemovals();
        seen.insert(handle);
    }
    EXPECT_EQ(seen.size(), 255u);
}

TEST(WorldTable, RemovalIsDeferredAndQueuedOncePerFrame)
{
    CWorldHarness harness;
    ASSERT_TRUE(harness.StartLevel());
    RegisterObjectType(OBJECT_DUMB, &CreateObjectOf<CSpyObject>);
    std::vector<std::string> log;
    CSpyObject::s_log = &log;
    int32_t a = harness.Spawn(OBJECT_DUMB, 100, 100);
    int32_t b = harness.Spawn(OBJECT_DUMB, 200, 200);
    harness.RunFrame(); // both join the tree and run every pass
    log.clear();

    // Removed twice during a frame: the object lives through every later pass of that
    // frame and is destroyed once, at the start of the next.
    harness.GetWorld().RemoveObject(b);
    harness.GetWorld().RemoveObject(b);
    harness.RunFrame();
    std::string bText = std::to_string(b);
    std::string aText = std::to_string(a);
    std::vector<std::string> expected = {"gone:" + bText, "think:" + aText, "move:" + aText, "sprite:" + aText};
    EXPECT_EQ(log, expected);
    EXPECT_EQ(harness.Find(b), nullptr);
    EXPECT_EQ(harness.GetWorld().CountObjects(), 1);
    CSpyObject::s_log = nullptr;
}

TEST(WorldTable, ObjectsMadeDuringAPassStartNextFrame)
{
    CWorldHarness harness;
    ASSERT_TRUE(harness.StartLevel());
    RegisterObjectType(OBJECT_DUMB, &CreateObjectOf<CSpyObject>);
    std::vector<std::string> log;
    CSpyObject::s_log = &log;
    harness.RunFrame();
    int32_t late = harness.Spawn(OBJECT_DUMB, 100, 100); // as if made by another object's Think
    EXPECT_FALSE(harness.Find(late)->IsInTree());
    harness.RunFrame();
    EXPECT_TRUE(harness.Find(late)->IsInTree());
    EXPECT_NE(std::find(log.begin(), log.end(), "move:" + std::to_string(late)), log.end());
    CSpyObject::s_log = nullptr;
}

TEST(WorldTable, ATextPageHoldsTheWorldStill)
{
    CWorldHarness harness;
    ASSERT_TRUE(harness.StartLevel());
    int32_t a = harness.Spawn(OBJECT_DUMB, 100, 100);
    int32_t b = harness.Spawn(OBJECT_DUMB, 300, 100);
    harness.RunFrame();
    uint32_t time = harness.GetGame().GetTime();
    harness.SetTextPageShowing(true);
    harness.GetWorld().RemoveObject(a);
    int32_t c = harness.Spawn(OBJECT_DUMB, 500, 100);
    harness.RunFrames(3);
    EXPECT_NE(harness.Find(a), nullptr) << "queued objects stay alive";
    EXPECT_FALSE(harness.Find(c)->IsInTree()) << "new objects stay out of the tree";
    EXPECT_EQ(harness.GetGame().GetTime(), time) << "the clock stands still";
    harness.SetTextPageShowing(false);
    harness.RunFrame();
    EXPECT_EQ(harness.Find(a), nullptr);
    EXPECT_TRUE(harness.Find(c)->IsInTree());
    EXPECT_NE(harness.Find(b), nullptr);
}

TEST(WorldTable, ASlotFreedAndReusedInOneFrameCanBeRemovedAgain)
{
    // The frame counter stands still while paused, yet the world may still run.
    CWorldHarness harness;
    ASSERT_TRUE(harness.StartLevel());
    harness.GetGame().SetPaused(true);
    int32_t first = harness.Spawn(OBJECT_DUMB, 100, 100);
    harness.GetWorld().RemoveObject(first);
    harness.GetWorld().FlushRemovals();
    int32_t second = harness.Spawn(OBJECT_DUMB, 100, 100);
    ASSERT_EQ(SlotOf(second), SlotOf(first));
    harness.GetWorld().RemoveObject(second);
    harness.GetWorld().FlushRemovals();
    EXPECT_EQ(harness.Find(second), nullptr);
}

TEST(WorldTable, FindAndCountByTeam)
{
    CWorldHarness harness;
    ASSERT_TRUE(harness.StartLevel());
    // Stand-ins for the enemy classes of the layer above.
    RegisterObjectType(OBJECT_MOUNTED_PART, &CreateObjectOf<CBallObject>);
    RegisterObjectType(OBJECT_ENEMY_DRONE, &CreateObjectOf<CBallObject>);
    RegisterObjectType(OBJECT_ENEMY_MOTHERSHIP, &CreateObjectOf<CBallObject>);
    int32_t ship = harness.Spawn(OBJECT_ENEMY_MOTHERSHIP, 200, 100); // slot 255
    int32_t part = harness.Spawn(OBJECT_MOUNTED_PART, 100, 100);    // slot 254: earlier in slot order
    int32_t near = harness.Spawn(OBJECT_ENEMY_DRONE, 300, 100);
    int32_t far = harness.Spawn(OBJECT_ENEMY_DRONE, 3000, 3000);
    int32_t spared = harness.Spawn(OBJECT_ENEMY_DRONE, 310, 100);
    int32_t dead = harness.Spawn(OBJECT_ENEMY_DRONE, 320, 100);
    int32_t neutral = harness.Spawn(OBJECT_DUMB, 330, 100);
    for (int32_t handle : {ship, part, near, far, spared, dead})
        static_cast<CBallObject*>(harness.Find(handle))->SetBall(5, 1);
    harness.Find(dead)->GetBody().health = 0;
    harness.Find(ship)->GetInfo().notCountedAsEnemy = true;

    EXPECT_EQ(harness.Find(part)->GetTeam(), BAD_TEAM);
    EXPECT_EQ(harness.Find(neutral)->GetTeam(), NO_TEAM);
    EXPECT_EQ(harness.Find(near)->GetInfo().drawPlane, 8);
    EXPECT_EQ(harness.GetWorld().FindBoss(-1), harness.Find(part)) << "a mounted part counts as a boss";
    EXPECT_EQ(harness.GetWorld().FindBoss(3), nullptr);
    EXPECT_EQ(harness.GetWorld().CountEnemies(), 5);

    harness.GetGame().GetCamera().SetPosition(0, 0); // views (0, 0) to (640, 480)
    harness.GetWorld().DestroyEnemies(spared);
    EXPECT_EQ(static_cast<CBallObject*>(harness.Find(near))->m_damageTaken, 9999);
    EXPECT_EQ(static_cast<CBallObject*>(harness.Find(spared))->m_damageTaken, 0);
    EXPECT_EQ(static_cast<CBallObject*>(harness.Find(dead))->m_damageTaken, 0);
    EXPECT_EQ(static_cast<CBallObject*>(harness.Find(far))->m_damageTaken, 0) << "out of view: removed, not hit";
    EXPECT_EQ(harness.GetWorld().CountRemovedEnemies(), 1);
    harness.RunFrame();
    EXPECT_EQ(harness.Find(far), nullptr);
}

TEST(WorldTable, WalkWrapsOnce)
{
    SLoneWorld lone;
    int32_t a = lone.Make(); // 255
    int32_t b = lone.Make(); // 254
    int32_t c = lone.Make(); // 253
    CGameObject* object = lone.world.First(lone.world.GetObject(b));
    EXPECT_EQ(object->GetHandle(), b);
    bool wrapped = false;
    object = lone.world.Next(wrapped);
    EXPECT_EQ(object->GetHandle(), a);
    EXPECT_FALSE(wrapped);
    EXPECT_EQ(lone.world.Next(wrapped), nullptr);
    EXPECT_TRUE(wrapped);
    wrapped = false;
    object = lone.world.Next(wrapped);
    EXPECT_EQ(object->GetHandle(), c) << "after the wrap the walk starts at slot 0";
    EXPECT_EQ(lone.world.First(nullptr)->GetHandle(), c);
}

TEST(WorldTable, ChecksumFollowsTheState)
{
    SLoneWorld lone;
    int32_t a = lone.Make();
    uint64_t before = lone.world.ComputeChecksum();
    EXPECT_EQ(before, lone.world.ComputeChecksum());
    lone.world.GetObject(a)->GetBody().velocity.x = 0.5f;
    uint64_t moved = lone.world.ComputeChecksum();
    EXPECT_NE(moved, before);
    lone.world.GetObject(a)->GetBody().health = 3;
    EXPECT_NE(lone.world.ComputeChecksum(), moved);
}
