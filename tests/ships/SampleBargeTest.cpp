// The sample campaign's mining barge: in zone 1 the barge's group is the first to form
// at the enemy base, and the boss node, hidden while the barge is still to come or at
// work, shows once the barge is destroyed. A survival run's other groups wait until
// it has seen a barge, and send no more barges once one is destroyed. Zone 0, which has
// no barge, shows its boss node at the first check and sends its survival groups without
// waiting. The zones and enemy files are the sample sources themselves, their sprites
// left out (the test world draws none).

#include "core/Random.h"
#include "ships/Mothership.h"
#include "tests/ships/CarrierFixtures.h"
#include "tests/support/world/ZoneScene.h"
#include "world/Game.h"
#include "world/ObjectFactory.h"
#include "world/World.h"
#include "world/ZoneManager.h"
#include "world/ZoneNodeState.h"

#include <gtest/gtest.h>

#include <fstream>
#include <regex>
#include <sstream>

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

std::string ReadSource(const std::string& relative)
{
    std::ifstream in(std::string(TESS_SOURCE_DIR) + "/" + relative, std::ios::binary);
    std::ostringstream text;
    text << in.rdbuf();
    return text.str();
}

constexpr uint32_t FRAME_MS = 40;

class SampleBarge : public ::testing::Test
{
protected:
    void SetUp() override
    {
        const std::regex sprite("spriteFile\\t[^\\r\\n]*");
        for (const char* name : {"drone", "fighter", "barge", "bossstar", "bossdisc"})
        {
            const std::string text = ReadSource(std::string("data-src/enemies/") + name + ".txt");
            ASSERT_FALSE(text.empty()) << name;
            m_scene.Dir().WriteFile(std::string("data/enemies/") + name + ".txt",
                                    std::regex_replace(text, sprite, "spriteFile\tdummy"));
        }
        ASSERT_TRUE(m_scene.Load(ReadSource("data-src/zones/game1.txt")));
    }

    void RunFor(uint32_t ms)
    {
        for (uint32_t t = 0; t < ms; t += FRAME_MS)
            m_scene.Harness().RunFrame();
    }

    CZoneScene m_scene{1, &RegisterRealMothership};
};
} // namespace

TEST_F(SampleBarge, DestroyingZoneOnesBargeShowsItsBossNode)
{
    const int zoneIndex = 1;
    CZoneManager& zones = m_scene.Zones();
    zones.SetCurrentZone(zoneIndex);
    zones.InitNodeState();
    CZoneDefinition& zone = *zones.GetCurrentZone();
    CZoneNodeState& state = *zones.GetNodeState();
    ASSERT_EQ(zones.CountMiningBargesLeft(), 1) << "one barge to come";

    // The player at the first normal node; no group anywhere yet.
    int32_t here = -1;
    for (int32_t node = 0; node < zone.m_map.GetNodeCount() && here < 0; ++node)
        if (zone.m_map.GetKind(node) == 0)
            here = node;
    ASSERT_GE(here, 0);
    ASSERT_TRUE(zones.SetCurrentNode(here));
    for (SZoneNode& node : state.m_nodes)
        for (SParkedGroup& group : node.parked)
            group = SParkedGroup();
    zones.CheckFixedResources();
    EXPECT_FALSE(zones.GetZoneFlag(ZONE_FLAG_BOSS_NODE_SHOWN)) << "the barge is still to come";

    // Long past every group's delay, the first to form at the enemy base is the barge's
    // (the zone's rocks are known from the start, so it need not wait for a flight).
    zone.m_clock = 10u * 60u * 1000u;
    zones.AttackStep(false);
    SZoneNode& base = *state.GetNode(zone.m_map.bossNode);
    SParkedGroup* formed = nullptr;
    for (SParkedGroup& group : base.parked)
        if (group.used)
            formed = &group;
    ASSERT_NE(formed, nullptr);
    ASSERT_TRUE(zone.m_attackGroups[static_cast<size_t>(formed->entries[0].attackGroup)].containsMiningBarge);
    EXPECT_EQ(zones.CountMiningBargesLeft(), 1) << "formed, not yet made";

    // It comes to the player's node and warps in.
    SParkedGroup& arrived = state.GetNode(here)->parked[0];
    arrived = *formed;
    *formed = SParkedGroup();
    zones.PlaceParkedGroups();
    RunFor(8000);
    CEnemyMothership* barge = nullptr;
    for (const SParkedEntry& entry : arrived.entries)
        if (entry.IsBarge())
            barge = m_scene.Harness().FindAs<CEnemyMothership>(entry.object);
    ASSERT_NE(barge, nullptr);
    EXPECT_EQ(barge->GetConfig(), MOTHERSHIP_MINING);
    ASSERT_EQ(barge->GetPartCount(), 12);
    const int32_t handle = barge->GetHandle();

    // Its twelve gem tanks broken, it still stands, and so does the boss's cover.
    for (int part = 0; part < 12; ++part)
    {
        AimHitAt(*barge, PartTag(part));
        EXPECT_FALSE(barge->TakeDamage(OBJECT_PLAYER_SHIP, nullptr, 0, 1000)) << part;
        EXPECT_FALSE(barge->IsPartAlive(part)) << part;
    }
    RunFor(FRAME_MS);
    zones.CheckFixedResources();
    EXPECT_FALSE(zones.GetZoneFlag(ZONE_FLAG_BOSS_NODE_SHOWN)) << "the barge is still at work";

    // With no tank left, the next hit destroys it; once it has left the world the boss
    // node shows.
    EXPECT_TRUE(barge->TakeDamage(OBJECT_PLAYER_SHIP, nullptr, 0, 1));
    RunFor(2000);
    EXPECT_EQ(m_scene.Harness().GetWorld().GetObject(handle), nullptr);
    EXPECT_EQ(zones.CountMiningBargesLeft(), 0);
    zones.CheckFixedResources();
    EXPECT_TRUE(zones.GetZoneFlag(ZONE_FLAG_BOSS_NODE_SHOWN));
}

namespace
{
// The attack groups (by index) of the groups parked at the survival run's node.
std::vector<int32_t> SurvivalGroupsFormed(CZoneManager& zones)
{
    std::vector<int32_t> formed;
    for (const SParkedGroup& group : zones.GetZone(0)->m_nodeState->GetNode(1)->parked)
        if (group.used)
            formed.push_back(group.entries[0].attackGroup);
    return formed;
}

// A survival run at zone 0's node 13, away from the base node, with every parked group
// cleared: groups then park at the base unmade, and none of their objects holds the
// next group back.
void StartSurvivalAwayFromTheBase(CZoneManager& zones, SRunState& run)
{
    run.survival = true;
    zones.SetCurrentZone(0);
    zones.InitNodeState();
    ASSERT_TRUE(zones.SetCurrentNode(13));
    for (SZoneNode& node : zones.GetZone(0)->m_nodeState->m_nodes)
        for (SParkedGroup& group : node.parked)
            group = SParkedGroup();
}
} // namespace

TEST_F(SampleBarge, SurvivalGroupsFollowTheBargeAsTheRunSeesIt)
{
    CZoneManager& zones = m_scene.Zones();
    SRunState& run = m_scene.Game().GetRun();
    StartSurvivalAwayFromTheBase(zones, run);
    ASSERT_FALSE(HasFatalFailure());

    // Zone 1 sends its barge (group 2) first: until the barge has been seen no other
    // group forms, however long the zone waits; the barge's group has no room for a
    // second. Each step comes after every group's spawn delay.
    zones.ActivateSurvivalWave(1);
    CZoneDefinition& zone = *zones.GetZone(1);
    ASSERT_TRUE(zone.m_attackGroups[2].containsMiningBarge);
    auto stepLater = [&] {
        zone.m_clock += 10u * 60u * 1000u;
        zones.SurvivalAttackStep();
    };
    for (int step = 0; step < 5; ++step)
        stepLater();
    EXPECT_EQ(SurvivalGroupsFormed(zones), std::vector<int32_t>{2});

    // Read into the world, the barge sets the run's mining flag, which lets the others
    // come; but none while a finished wave's enemies warp out.
    run.waveEnding = true;
    run.miningPresent = true;
    stepLater();
    EXPECT_EQ(SurvivalGroupsFormed(zones).size(), 1u) << "the wave is ending";
    run.waveEnding = false;
    stepLater();
    std::vector<int32_t> formed = SurvivalGroupsFormed(zones);
    ASSERT_EQ(formed.size(), 2u);
    EXPECT_NE(formed[1], 2);

    // Destroyed, it sends no more barges, though its record has room again.
    run.miningDone = true;
    for (SParkedGroup& group : zones.GetZone(0)->m_nodeState->GetNode(1)->parked)
        group = SParkedGroup();
    for (SResourceRecord& record : zone.m_fixed)
        record.inGame = 0;
    for (int step = 0; step < 4; ++step)
        stepLater();
    formed = SurvivalGroupsFormed(zones);
    EXPECT_FALSE(formed.empty());
    for (int32_t group : formed)
        EXPECT_NE(group, 2);
}

// Zone 0 sends no barge, so its groups have none to wait for: with the run having seen
// no barge, every step after the groups' delays forms one of them (the base has room for
// all three, and its records for the drones and fighters they ask).
TEST_F(SampleBarge, SurvivalGroupsOfAZoneWithoutABargeComeAtOnce)
{
    CZoneManager& zones = m_scene.Zones();
    SRunState& run = m_scene.Game().GetRun();
    StartSurvivalAwayFromTheBase(zones, run);
    ASSERT_FALSE(HasFatalFailure());

    zones.ActivateSurvivalWave(0);
    CZoneDefinition& zone = *zones.GetZone(0);
    ASSERT_EQ(zone.m_attackGroups.size(), 3u);
    for (int step = 0; step < 3; ++step)
    {
        zone.m_clock += 10u * 60u * 1000u;
        zones.SurvivalAttackStep();
    }
    EXPECT_FALSE(run.miningPresent);
    const std::vector<int32_t> formed = SurvivalGroupsFormed(zones);
    ASSERT_EQ(formed.size(), 3u);
    for (int32_t group : formed)
        EXPECT_TRUE(group >= 0 && group < 3) << group;
}

// Zone 0 has no mining barge to hide its boss behind: the first check (as the front end
// opens on the zone map after a flight) shows the boss node, which a new zone keeps
// hidden until then.
TEST_F(SampleBarge, ZoneZeroWithoutABargeShowsItsBossNodeAtTheFirstCheck)
{
    CZoneManager& zones = m_scene.Zones();
    zones.SetCurrentZone(0);
    zones.InitNodeState();
    ASSERT_EQ(zones.CountMiningBargesLeft(), 0);
    EXPECT_FALSE(zones.GetZoneFlag(ZONE_FLAG_BOSS_NODE_SHOWN));
    zones.CheckFixedResources();
    EXPECT_TRUE(zones.GetZoneFlag(ZONE_FLAG_BOSS_NODE_SHOWN));
}
