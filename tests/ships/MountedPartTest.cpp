// Mounted parts: riding the boss's mount point, the swing, hits from the other side
// only, and the delayed end.

#include "core/Random.h"
#include "ships/MountedPart.h"
#include "tests/ships/EnemyScene.h"
#include "presentation/SpriteTypes.h"
#include "tests/support/presentation/RecordedEffects.h"
#include "world/Game.h"
#include "world/ObjectFactory.h"
#include "world/World.h"

#include <gtest/gtest.h>

#include <cmath>

namespace
{
// A boss whose mount point 0 lies 40 units to its right.
class CMountingBoss : public CGameObject
{
public:
    CMountingBoss() : CGameObject(OBJECT_DISC_BOSS) {}
    bool GetMountPoint(int32_t index, CVector2D& point) const override
    {
        if (index != 0)
            return false;
        point = GetPosition() + CVector2D(40, 0);
        return true;
    }
};

struct SMountScene
{
    SMountScene()
    {
        RegisterObjectType(OBJECT_DISC_BOSS, &CreateObjectOf<CMountingBoss>);
        boss = scene.Harness().Spawn(OBJECT_DISC_BOSS, 1000, 1000);
    }
    CMountedPart* Mount(const std::string& keys = "deathEffect partDeath")
    {
        CMountedPart* part = scene.SpawnEnemy<CMountedPart>(OBJECT_MOUNTED_PART, 0, 0,
                                                            EnemySection("MOUNT", keys, 12, 5, 6.0f, "fx.spr"));
        part->SetParent(boss, 0);
        return part;
    }

    CEnemyScene scene;
    int32_t boss = NO_OBJECT;
};
} // namespace

// The part stands on its mount point; its velocity is how far the mount moved. It
// goes when its boss is gone.
TEST(MountedPart, RidesItsBossesMountPoint)
{
    SMountScene mount;
    CMountedPart* part = mount.Mount();
    EXPECT_EQ(part->GetTeam(), BAD_TEAM);
    EXPECT_EQ(part->GetBody().velocityLimit, 100);
    part->Move();
    part->Move();
    EXPECT_EQ(part->GetPosition().x, 1040.0f);
    EXPECT_EQ(part->GetPosition().y, 1000.0f);
    EXPECT_EQ(part->GetBody().velocity.x, 0.0f);
    mount.scene.Place(mount.boss, 1005, 998);
    part->Move();
    EXPECT_EQ(part->GetPosition().x, 1045.0f);
    EXPECT_NEAR(part->GetBody().velocity.x, 5.0f, 1e-4f);
    EXPECT_NEAR(part->GetBody().velocity.y, -2.0f, 1e-4f);

    const int32_t handle = part->GetHandle();
    mount.scene.Harness().GetWorld().RemoveObject(mount.boss);
    mount.scene.Harness().GetWorld().FlushRemovals();
    part->Move();
    part->Think();
    mount.scene.Harness().GetWorld().FlushRemovals();
    EXPECT_EQ(mount.scene.Harness().Find(handle), nullptr);
}

// Its sprite swings by an offset that grows by the drawn rate and turns back past
// the drawn half-range.
TEST(MountedPart, SwingsBackAndForthWithinItsRange)
{
    SMountScene mount;
    GetGameRandom().ScriptDraws({4, 40}); // half-range 4 % 24 + 6 = 10, rate (40 - 100) / 300 = -0.2
    CMountedPart* part = mount.Mount();
    EXPECT_EQ(part->GetSweepRange(), 10.0f);
    EXPECT_NEAR(part->GetSweepRate(), -0.2f, 1e-6f);
    int turns = 0;
    float lastRate = part->GetSweepRate();
    for (int tick = 0; tick < 400; ++tick)
    {
        const float before = part->GetBody().angle;
        const float offset = part->GetSweepOffset();
        part->Think();
        EXPECT_NEAR(std::fmod(part->GetBody().angle - before + 720.0f, 360.0f), std::fmod(offset + 720.0f, 360.0f),
                    1e-2f);
        ASSERT_LE(std::fabs(part->GetSweepOffset()), 10.0f + 0.2f + 1e-4f);
        ASSERT_GE(part->GetBody().angle, 0.0f);
        ASSERT_LT(part->GetBody().angle, 360.0f);
        turns += part->GetSweepRate() != lastRate ? 1 : 0;
        lastRate = part->GetSweepRate();
    }
    // Across a range of 20 at 0.2 a tick: a turn every 100 ticks or so.
    EXPECT_GE(turns, 3);
    EXPECT_LE(turns, 5);
}

// Shots of its own side pass it by; others take the amount as it is, flash it, and a
// fatal one starts its death effect and ends it 500 ms later.
TEST(MountedPart, TakesHitsFromTheOtherSideAndGoesHalfASecondAfterDeath)
{
    SMountScene mount;
    CRecordedEffects effects;
    CMountedPart* part = mount.Mount();
    for (int32_t ownSide : {OBJECT_ENEMY_DRONE, OBJECT_ENEMY_FIGHTER, OBJECT_WORM, OBJECT_DISC_BOSS})
        EXPECT_FALSE(part->TakeDamage(ownSide, nullptr, 1, 5));
    EXPECT_EQ(part->GetBody().health, 12);
    EXPECT_FALSE(part->TakeDamage(OBJECT_PLAYER_SHIP, nullptr, 0, 5));
    EXPECT_EQ(part->GetBody().health, 7) << "no doubling";
    ASSERT_NE(part->GetObjectBody().GetSprite().GetInstance(), nullptr);
    EXPECT_NE(part->GetObjectBody().GetSprite().GetInstance()->m_flags & SPRITE_FLASH, 0u) << "flashes when hit";
    EXPECT_TRUE(part->TakeDamage(0, nullptr, 2, 7));
    const uint32_t now = mount.scene.Game().GetTime();
    EXPECT_EQ(part->GetDeathTime(), now + 500);
    ASSERT_EQ(effects.Count("partDeath"), 1u);
    EXPECT_EQ(effects.m_requests[0].owner, NO_OBJECT);
    EXPECT_FALSE(part->TakeDamage(OBJECT_PLAYER_SHIP, nullptr, 1, 5)) << "dead already";

    const int32_t handle = part->GetHandle();
    mount.scene.AdvanceClock(12);
    part->Think();
    mount.scene.Harness().GetWorld().FlushRemovals();
    EXPECT_NE(mount.scene.Harness().Find(handle), nullptr) << "480 ms later";
    mount.scene.AdvanceClock(1);
    part->Think();
    mount.scene.Harness().GetWorld().FlushRemovals();
    EXPECT_EQ(mount.scene.Harness().Find(handle), nullptr);
}
