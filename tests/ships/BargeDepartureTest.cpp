// A mining barge leaving with its group: through the real zone manager, the barge
// whose gem tanks are spent and whose reserve still holds gems takes its chance once
// a minute, then warps out with its whole group, which waits at the node again with
// the barge's state word.

#include "core/Random.h"
#include "ships/Mothership.h"
#include "tests/ships/CarrierFixtures.h"
#include "tests/support/world/EffectScene.h"
#include "tests/support/world/ZoneScene.h"
#include "world/Game.h"
#include "world/ObjectFactory.h"
#include "world/World.h"
#include "world/ZoneManager.h"
#include "world/ZoneNodeState.h"

#include <gtest/gtest.h>

namespace
{
CGameObject* MakeMothership()
{
    return new (std::nothrow) CEnemyMothership();
}

void RegisterRealMothership()
{
    RegisterObjectType(OBJECT_ENEMY_MOTHERSHIP, &MakeMothership);
}

constexpr uint32_t FRAME_MS = 40;

// Zone 0 entered at node 13 with one group there: a barge of twelve gem tanks and
// two stand-in fighters, all arrived.
class BargeDeparture : public ::testing::Test
{
protected:
    void SetUp() override
    {
        m_scene.Dir().WriteFile(
            "data/enemies/barge.txt",
            DefinitionText(CarrierSection("ENEMY_MOTHERSHIP", "config mining", 100, 60, RingParts(12, 40, 10))));
        SZoneSpec zone = SZoneSpec::MakeStart();
        zone.fixedResources = 1;
        zone.fixedText = "fixedResource0 { num 1; maxInWorld 1; maxInGame 1; iniFile data\\enemies\\barge.txt; "
                         "type ENEMY_MOTHERSHIP }";
        zone.groupText = "attckGroup0 { probAtStart 0; containsMiningBarge true; deployRadius 100; spawnDelayS 10; "
                         "spawnDelayMaxS 20; numInfGroups 1; inf0 { idx 0; num 2 }; numFixedGroups 1; "
                         "fixed0 { idx 0; num 1 } }";
        ASSERT_TRUE(m_scene.Load(MakeZoneText({zone})));
        CZoneManager& zones = m_scene.Zones();
        zones.InitNodeState();
        CZoneNodeState& state = *zones.GetNodeState();
        for (SZoneNode& node : state.m_nodes)
            for (SParkedGroup& group : node.parked)
                group = SParkedGroup();
        m_group = &state.m_nodes[13].parked[0];
        zones.FillGroup(*zones.GetCurrentZone(), state, 0, *m_group, false);
        zones.PlaceParkedGroups();
        RunFor(8000); // every one has warped in
        for (const SParkedEntry& entry : m_group->entries)
            if (entry.alive && entry.IsBarge())
                m_barge = m_scene.Harness().FindAs<CEnemyMothership>(entry.object);
        ASSERT_NE(m_barge, nullptr);
        ASSERT_EQ(m_barge->GetInfo().warpState, WARP_NONE);
        // Zone 0: a reserve of rand() % 1 + 1.
        ASSERT_EQ(m_barge->GetMiningReserve(), 1);
    }

    void RunFor(uint32_t ms)
    {
        for (uint32_t t = 0; t < ms; t += FRAME_MS)
            m_scene.Harness().RunFrame();
    }

    // A minute of frames through which the barge may not leave (a tutorial's).
    void WaitAMinute()
    {
        m_scene.Harness().GetDirector().m_tutorialState = 1;
        RunFor(CEnemyMothership::DEPARTURE_CHECK_MS);
        m_scene.Harness().GetDirector().m_tutorialState = 0;
    }

    // Breaks gem tanks until none is left to lose before the group may leave.
    void SpendGemTanks()
    {
        for (int part = 0; m_barge->GetDepartureCounter() > 0 && part < 12; ++part)
        {
            AimHitAt(*m_barge, PartTag(part));
            m_barge->TakeDamage(OBJECT_PLAYER_SHIP, nullptr, 0, 10);
        }
        ASSERT_EQ(m_barge->GetDepartureCounter(), 0);
    }

    // One think of the barge on one scripted draw; true when it set off. Whether it
    // made the draw is kept in m_drew (nothing else in its think draws at this time).
    bool ThinkOn(uint32_t draw)
    {
        GetGameRandom().ScriptDraws({draw});
        m_barge->Think();
        m_drew = GetGameRandom().CountScriptedDraws() == 0;
        GetGameRandom().ScriptDraws({});
        return m_barge->GetInfo().warpState == WARP_OUT;
    }

    CZoneScene m_scene{1, &RegisterRealMothership};
    SParkedGroup* m_group = nullptr;
    CEnemyMothership* m_barge = nullptr;
    bool m_drew = false;
};
} // namespace

TEST_F(BargeDeparture, LeavesWithItsGroupOnAOneInFiftyChanceAMinuteApart)
{
    SpendGemTanks();
    // Before a minute has passed since it came, no draw is even made.
    EXPECT_FALSE(ThinkOn(0));
    EXPECT_FALSE(m_drew);
    WaitAMinute();

    // A draw that comes up while one of its group is still warping uses the chance.
    CGameObject* fighter = nullptr;
    for (const SParkedEntry& entry : m_group->entries)
        if (entry.alive && !entry.IsBarge() && !fighter)
            fighter = m_scene.Harness().GetWorld().GetObject(entry.object);
    ASSERT_NE(fighter, nullptr);
    fighter->SetWarpState(WARP_IN);
    EXPECT_FALSE(ThinkOn(0));
    EXPECT_TRUE(m_drew);
    fighter->SetWarpState(WARP_NONE);
    EXPECT_EQ(m_barge->GetMiningReserve(), 1);
    EXPECT_FALSE(ThinkOn(0)) << "the next chance is a minute later";
    EXPECT_FALSE(m_drew);
    WaitAMinute();

    // Draws of 49 and 1 (mod 50) fail, 50 comes up: the barge and its group warp out.
    for (uint32_t draw : {49u, 1u})
    {
        EXPECT_FALSE(ThinkOn(draw)) << draw;
        EXPECT_TRUE(m_drew) << draw;
    }
    EXPECT_TRUE(ThinkOn(50));
    EXPECT_EQ(m_barge->GetMiningReserve(), 0);
    const int32_t bargeHandle = m_barge->GetHandle();
    for (const SParkedEntry& entry : m_group->entries)
    {
        const CGameObject* object = m_scene.Harness().GetWorld().GetObject(entry.object);
        if (entry.alive && object)
        {
            EXPECT_EQ(object->GetInfo().warpState, WARP_OUT);
        }
    }
    m_barge = nullptr;
    RunFor(6000);

    // Gone, none counted as a kill; the group waits alive at the node, the barge's
    // word holding its broken tanks and its spent reserve.
    EXPECT_EQ(m_scene.Harness().GetWorld().GetObject(bargeHandle), nullptr);
    EXPECT_EQ(m_scene.Harness().GetWorld().CountEnemies(), 0);
    ASSERT_TRUE(m_group->used);
    int alive = 0;
    for (const SParkedEntry& entry : m_group->entries)
    {
        if (!entry.alive)
            continue;
        ++alive;
        EXPECT_EQ(entry.object, NO_OBJECT);
        if (entry.IsBarge())
        {
            const uint32_t word = static_cast<uint32_t>(entry.stateWord);
            EXPECT_EQ(word & 1u, 1u);
            EXPECT_EQ(word >> 20, 0u) << "the reserve fell from 1 to 0";
            EXPECT_NE((word >> 8) & 0xFFFu, 0xFFFu) << "the broken tanks stay broken";
        }
    }
    EXPECT_EQ(alive, 3);
    // Its broken tanks keep the group from being made here again: it moves on.
    EXPECT_TRUE(m_group->IsBargeDamaged());
}

TEST_F(BargeDeparture, StaysWhereItsGameOrItsLoadKeepsIt)
{
    struct SCase
    {
        const char* what;
        bool spendTanks;
        bool quickShip;
        bool survival;
        int tutorialState;
    };
    const SCase cases[] = {
        {"gem tanks left to lose", false, false, false, 0},
        {"quick-ship game", true, true, false, 0},
        {"survival game", true, false, true, 0},
        {"tutorial", true, false, false, 1},
    };
    RunFor(CEnemyMothership::DEPARTURE_CHECK_MS);
    for (const SCase& c : cases)
    {
        if (c.spendTanks)
            SpendGemTanks();
        SRunState& run = m_scene.Game().GetRun();
        run.quickShip = c.quickShip;
        run.survival = c.survival;
        m_scene.Harness().GetDirector().m_tutorialState = c.tutorialState;
        EXPECT_FALSE(ThinkOn(0)) << c.what;
        EXPECT_FALSE(m_drew) << c.what;
        run.quickShip = false;
        run.survival = false;
        m_scene.Harness().GetDirector().m_tutorialState = 0;
    }
    // An empty reserve keeps it too.
    m_barge->RestoreStateWord(static_cast<int32_t>(0x000FFF01u));
    ASSERT_EQ(m_barge->GetMiningReserve(), 0);
    EXPECT_FALSE(ThinkOn(0));
    EXPECT_FALSE(m_drew);
}
