// Entering and leaving nodes: a node's groups and asteroids are made when the player
// arrives and kept (state words, places) when the player leaves; no handle outlives
// the world it came from.

#include "tests/support/world/AsteroidLevel.h"
#include "tests/support/world/ZoneScene.h"
#include "world/AsteroidField.h"
#include "world/AsteroidKinds.h"
#include "world/CampaignLink.h"
#include "world/Game.h"
#include "world/World.h"
#include "world/ZoneManager.h"
#include "world/ZoneNodeState.h"

#include <gtest/gtest.h>

#include <vector>

namespace
{
int CountAsteroids(CWorld& world)
{
    int count = 0;
    for (int32_t slot = 0; slot < world.GetSlotCount(); ++slot)
        if (world.GetSlot(slot) && world.GetSlot(slot)->GetType() == OBJECT_ASTEROID)
            ++count;
    return count;
}

void EnterNode(CZoneScene& scene)
{
    scene.Zones().EnterNode();
    PlaceSectorAsteroids();
}

// The world of a new flight: what the station's departure or a new level leaves.
void NewFlight(CZoneScene& scene)
{
    scene.Game().EndLevel();
    ASSERT_TRUE(scene.Harness().StartLevel(MakeAsteroidLevel(MakeStandardDefs())));
}

// The campaign as the alien nodes see it: friendly aliens, even gem stocks, and what
// they take and give.
class CAlienCampaign : public CCampaignLink
{
public:
    int GetFriendlyAlienCount() const override { return m_aliens; }
    int GetGemStock(int /*stock*/) const override { return m_gems; }
    void SpendGemStock(int /*stock*/, int amount) override { m_spent += amount; }
    void EnableResearch(int kind) override { m_enabled.push_back(kind); }

    int m_aliens = 0;
    int m_gems = 0;
    int m_spent = 0;
    std::vector<int> m_enabled;
};
} // namespace

TEST(ZoneTravel, ANewGameStartsAtZeroStartNodeWithItsField)
{
    CZoneScene scene;
    ASSERT_TRUE(scene.Load(MakeZoneText({SZoneSpec::MakeStart(), SZoneSpec::MakeLine(4)})));
    CZoneManager& zones = scene.Zones();
    zones.InitNodeState();
    EXPECT_EQ(zones.GetZoneIndex(), 0);
    EXPECT_EQ(zones.GetCurrentNodeIndex(), 13);
    EXPECT_EQ(zones.GetNodeKind(), 0);
    CZoneNodeState& state = *zones.GetNodeState();
    EXPECT_EQ(state.GetNodeCount(), 16);
    EXPECT_EQ(state.m_levelValue, 1);
    // Zone 0 makes no starting groups; every normal and transfer node has a field.
    for (int32_t n = 0; n < state.GetNodeCount(); ++n)
    {
        const SZoneNode& node = state.m_nodes[static_cast<size_t>(n)];
        EXPECT_EQ(node.CountGroups(), 0);
        const int32_t kind = zones.GetZone(0)->m_map.GetKind(n);
        const bool field = kind == 0 || kind == 1;
        EXPECT_EQ(node.asteroidCount > 0, field || IsDangerousNodeKind(kind)) << "node " << n;
        // The rock value the galaxy map's gauges measure against: normal and transfer nodes.
        EXPECT_EQ(node.rockValue, field ? node.CountRockValue() : 0) << "node " << n;
    }
    EnterNode(scene);
    EXPECT_TRUE(state.m_nodes[13].visited);
    EXPECT_FALSE(scene.Game().GetRun().bossPresent);
    EXPECT_EQ(CountAsteroids(*scene.Game().GetWorld()), state.m_nodes[13].asteroidCount);
    // The zone's other zone waits for its first jump.
    EXPECT_FALSE(zones.GetZone(1)->m_nodeState);
}

TEST(ZoneTravel, LeavingANodeKeepsWhatItsObjectsBecameAndEnteringAgainMakesThem)
{
    CZoneScene scene;
    ASSERT_TRUE(scene.Load(MakeZoneText({SZoneSpec::MakeStart()})));
    CZoneManager& zones = scene.Zones();
    zones.InitNodeState();
    CZoneNodeState& state = *zones.GetNodeState();
    CZoneDefinition& zone = *zones.GetCurrentZone();
    SZoneNode& node = state.m_nodes[13];
    zones.FillGroup(zone, state, 0, node.parked[1], false);
    EnterNode(scene);
    CWorld& world = *scene.Game().GetWorld();
    SParkedGroup& group = node.parked[1];
    for (const SParkedEntry& entry : group.entries)
        EXPECT_TRUE(!entry.alive || scene.Enemy(entry.object));
    scene.Enemy(group.entries[2].object)->m_word = 0x1234;

    // One asteroid breaks, one drifts away from where it was, one leaves the playfield.
    std::vector<int32_t> rocks;
    for (const SAsteroidMapEntry& entry : node.asteroidMap)
        if (entry.IsPresent())
            rocks.push_back(entry.asteroid);
    ASSERT_GE(rocks.size(), 3u);
    const int32_t count = node.asteroidCount;
    world.RemoveObject(rocks[0]);
    EXPECT_EQ(node.asteroidCount, count - 1);
    world.GetObject(rocks[1])->SetPosition(CVector2D(1234.0f, 2345.0f));
    world.GetObject(rocks[2])->SetPosition(CVector2D(-5.0f, 100.0f));

    zones.StoreNode();
    EXPECT_EQ(group.entries[2].stateWord, 0x1234);
    for (const SParkedEntry& entry : group.entries)
        EXPECT_EQ(entry.object, NO_OBJECT);
    EXPECT_EQ(node.asteroidCount, count - 2);
    bool moved = false;
    for (const SAsteroidMapEntry& entry : node.asteroidMap)
    {
        EXPECT_EQ(entry.asteroid, NO_OBJECT);
        moved = moved || (entry.IsPresent() && GetAsteroidWordX(entry.word) == 1234 &&
                          GetAsteroidWordY(entry.word) == 2345);
    }
    EXPECT_TRUE(moved);

    NewFlight(scene);
    EnterNode(scene);
    CWorld& next = *scene.Game().GetWorld();
    EXPECT_EQ(CountAsteroids(next), count - 2);
    int made = 0;
    for (const SParkedEntry& entry : group.entries)
        made += entry.alive && scene.Enemy(entry.object) ? 1 : 0;
    EXPECT_EQ(made, 3);
    EXPECT_EQ(scene.Enemy(group.entries[2].object)->m_word, 0x1234);
    EXPECT_EQ(zone.m_infinite[0].spawned, 3);
}

TEST(ZoneTravel, AnEndedLevelLeavesNoHandleThatANewWorldCouldMistakeForItsOwn)
{
    CZoneScene scene;
    ASSERT_TRUE(scene.Load(MakeZoneText({SZoneSpec::MakeStart()})));
    CZoneManager& zones = scene.Zones();
    zones.InitNodeState();
    CZoneNodeState& state = *zones.GetNodeState();
    zones.FillGroup(*zones.GetCurrentZone(), state, 0, state.m_nodes[13].parked[0], false);
    EnterNode(scene);
    const SParkedGroup& group = state.m_nodes[13].parked[0];
    const int32_t before = group.entries[0].object;
    ASSERT_NE(before, NO_OBJECT);

    // Death or a quit ends the level without the station's departure.
    NewFlight(scene);
    for (const SParkedEntry& entry : group.entries)
        EXPECT_EQ(entry.object, NO_OBJECT);
    for (const SAsteroidMapEntry& entry : state.m_nodes[13].asteroidMap)
        EXPECT_EQ(entry.asteroid, NO_OBJECT);
    EXPECT_EQ(zones.GetCurrentZone()->m_infinite[0].spawned, 0);
    EnterNode(scene);
    for (const SParkedEntry& entry : group.entries)
        EXPECT_TRUE(!entry.alive || scene.Enemy(entry.object));

    // The same after the world is cleared in flight.
    scene.Game().GetWorld()->Clear();
    for (const SParkedEntry& entry : group.entries)
        EXPECT_EQ(entry.object, NO_OBJECT);
}

TEST(ZoneTravel, TheBossNodeMakesItsBossAndTheAlienNodesTheirVisitors)
{
    CZoneScene scene;
    ASSERT_TRUE(scene.Load(MakeZoneText({SZoneSpec::MakeStart()})));
    CZoneManager& zones = scene.Zones();
    zones.InitNodeState();
    CZoneNodeState& state = *zones.GetNodeState();

    ASSERT_TRUE(zones.SetCurrentNode(1));
    zones.EnterNode();
    EXPECT_TRUE(scene.Game().GetRun().bossPresent);
    CGameObject* boss = scene.Game().GetWorld()->FindBoss(-1);
    ASSERT_NE(boss, nullptr);
    EXPECT_EQ(boss->GetType(), OBJECT_STAR_BOSS);
    EXPECT_EQ(static_cast<CZoneTestEnemy*>(boss)->m_mass, 200.0f);
    EXPECT_EQ(boss->GetPosition().x, 2000.0f);

    // Beaten: no boss, and the station will come to take the player away.
    NewFlight(scene);
    state.m_flags[ZONE_FLAG_BOSS_BEATEN] = true;
    zones.EnterNode();
    EXPECT_FALSE(scene.Game().GetRun().bossPresent);
    EXPECT_EQ(scene.Game().GetWorld()->FindBoss(-1), nullptr);
    EXPECT_EQ(scene.Game().GetRun().bossState, 1);

    // Zone 0's alien node 1: the friendly station, and on the first visit node 2 shows.
    NewFlight(scene);
    ASSERT_TRUE(zones.SetCurrentNode(2));
    zones.EnterNode();
    EXPECT_NE(scene.Game().GetWorld()->FindAsteroidByKind(ASTEROID_FRIENDLY_ALIEN_STATION), nullptr);
    EXPECT_TRUE(state.m_flags[ZONE_FLAG_ALIEN_NODE_2_SHOWN]);
    EXPECT_EQ(state.m_visitCounter, 1);
    NewFlight(scene);
    ASSERT_TRUE(zones.SetCurrentNode(3));
    zones.EnterNode();
    EXPECT_NE(scene.Game().GetWorld()->FindAsteroidByKind(ASTEROID_BROKEN_ALIEN_STATION), nullptr);
}

TEST(ZoneTravel, AnAlienNodesBusinessIsRewardedByAliensInZoneZeroAndByGemsLater)
{
    CZoneScene scene;
    ASSERT_TRUE(scene.Load(MakeZoneText({SZoneSpec::MakeStart(), SZoneSpec::MakeLine(6)})));
    CAlienCampaign campaign;
    scene.Game().SetCampaign(&campaign);
    CZoneManager& zones = scene.Zones();
    zones.InitNodeState();

    // Zone 0's alien node 1: the first visit asks; a later one with aliens aboard the
    // station's record gives the shield research (kind 9).
    ASSERT_TRUE(zones.SetCurrentNode(2));
    zones.EnterNode();
    EXPECT_FALSE(zones.HasAlienReward());
    NewFlight(scene);
    zones.EnterNode();
    EXPECT_FALSE(zones.HasAlienReward());
    EXPECT_TRUE(campaign.m_enabled.empty());
    campaign.m_aliens = 2;
    NewFlight(scene);
    zones.EnterNode();
    EXPECT_TRUE(zones.HasAlienReward());
    EXPECT_EQ(campaign.m_enabled, std::vector<int>{9});

    // Zone 1's: gems, 50 of each of the three stocks on a later visit, for kind 14;
    // its aliens count for nothing.
    zones.SetCurrentZone(1);
    zones.InitNodeState();
    ASSERT_TRUE(zones.SetCurrentNode(2));
    NewFlight(scene);
    zones.EnterNode();
    EXPECT_FALSE(zones.HasAlienReward());
    campaign.m_gems = 49;
    NewFlight(scene);
    zones.EnterNode();
    EXPECT_FALSE(zones.HasAlienReward());
    campaign.m_gems = 50;
    NewFlight(scene);
    zones.EnterNode();
    EXPECT_TRUE(zones.HasAlienReward());
    EXPECT_EQ(campaign.m_spent, 150);
    EXPECT_EQ(campaign.m_enabled, (std::vector<int>{9, 14}));
    scene.Game().SetCampaign(&scene.Harness().GetCampaign());
}
