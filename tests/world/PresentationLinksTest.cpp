#include "core/DataFile.h"
#include "core/DefinitionProblems.h"
#include "presentation/AnimationClock.h"
#include "presentation/RiderObjects.h"
#include "presentation/SpriteOwner.h"
#include "presentation/SpritePath.h"
#include "tests/support/world/WorldHarness.h"

#include <gtest/gtest.h>

#include <memory>

namespace
{
std::unique_ptr<CDataTree> ParsePath(const std::string& text)
{
    CDataNodeList nodes;
    ParseDataBytes(reinterpret_cast<const uint8_t*>(text.data()), text.size(), nodes);
    return nodes.empty() ? nullptr : std::unique_ptr<CDataTree>(static_cast<CDataTree*>(nodes.front().release()));
}
} // namespace

// Sprites animate on the game clock, which stands still on paused frames.
TEST(PresentationLinks, AnimationsRunOnTheGameClock)
{
    {
        CWorldHarness harness;
        ASSERT_TRUE(harness.StartLevel());
        harness.RunFrames(3);
        EXPECT_EQ(GetAnimationTime(), harness.GetGame().GetTime());
        const uint32_t before = GetAnimationTime();
        harness.GetGame().SetPaused(true);
        harness.RunFrames(2);
        EXPECT_EQ(GetAnimationTime(), before);
        harness.GetGame().SetPaused(false);
        harness.RunFrame();
        EXPECT_EQ(GetAnimationTime(), before + GAME_TICK_MS);
    }
    EXPECT_EQ(GetAnimationTime(), 0u) << "the game's clock went with the game";
}

// A path carries a world object by its handle; once the world has removed the object
// the handle names nothing and the path drops its rider.
TEST(PresentationLinks, PathsCarryWorldObjectsByHandle)
{
    CWorldHarness harness;
    ASSERT_TRUE(harness.StartLevel());
    const int32_t rider = harness.Spawn(OBJECT_DUMB, 100.0f, 100.0f);
    ASSERT_NE(rider, NO_OBJECT);
    CDefinitionProblems problems;
    CPathSlot path;
    path.Load(*ParsePath("p\n{\n startForwards true\n lockToPath true\n numWP 2\n wp0 10, 0, 0, 0\n"
                         " wp1 50, 0, 250, 0\n wp1DrawPlane 2\n}\n"),
              problems);
    SSpriteOwner owner;
    owner.position = CVector2D(1000.0f, 1000.0f);
    owner.drawPlane = 7;
    ASSERT_TRUE(path.AddObjectRider(rider, owner));
    path.Update(owner);
    EXPECT_EQ(harness.Find(rider)->GetPosition().x, 1010.0f);
    for (int frame = 0; frame < 4; ++frame)
        path.Update(owner);
    EXPECT_EQ(harness.Find(rider)->GetPosition().x, 1050.0f);
    EXPECT_EQ(harness.Find(rider)->GetInfo().drawPlane, 9) << "the waypoint's plane plus the owner's";

    harness.GetWorld().RemoveObject(rider);
    harness.RunFrame();
    ASSERT_EQ(harness.Find(rider), nullptr);
    path.Update(owner);
    EXPECT_EQ(path.FindObjectRider(rider), nullptr);
    const int32_t next = harness.Spawn(OBJECT_DUMB, 5.0f, 5.0f);
    EXPECT_FALSE(path.AddObjectRider(rider, owner)) << "a stale handle names no object";
    EXPECT_TRUE(path.AddObjectRider(next, owner));
}
