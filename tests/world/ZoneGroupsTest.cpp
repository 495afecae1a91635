// Parked groups on the move: forming at the boss node, drifting toward the player,
// mining, arriving at the player's node one object a frame, and leaving the records
// right as their objects go.

#include "core/Random.h"
#include "tests/support/world/ZoneScene.h"
#include "world/AsteroidKinds.h"
#include "world/World.h"
#include "world/ZoneManager.h"
#include "world/ZoneNodeState.h"

#include <gtest/gtest.h>

#include <cmath>
#include <map>

namespace
{
// Zone 1 with the given map; zone 0 is the standard start zone.
void LoadZoneOne(CZoneScene& scene, const SZoneSpec& zone)
{
    ASSERT_TRUE(scene.Load(MakeZoneText({SZoneSpec::MakeStart(), zone})));
    scene.Zones().SetCurrentZone(1);
    ASSERT_EQ(scene.Zones().GetZoneIndex(), 1);
    scene.Zones().InitNodeState();
}

CZoneDefinition& ZoneOne(CZoneScene& scene)
{
    return *scene.Zones().GetZone(1);
}

CZoneNodeState& StateOne(CZoneScene& scene)
{
    return *scene.Zones().GetZone(1)->m_nodeState;
}

// A group of the first attack group parked in the node's first free slot.
SParkedGroup& Park(CZoneScene& scene, int32_t node, uint32_t moveTime = 0, int32_t previous = -1)
{
    CZoneNodeState& state = StateOne(scene);
    SZoneNode& record = state.m_nodes[static_cast<size_t>(node)];
    SParkedGroup& group = record.parked[record.FindFreeSlot()];
    scene.Zones().FillGroup(ZoneOne(scene), state, 0, group, false);
    group.moveTime = moveTime;
    group.previousNode = previous;
    return group;
}

// The node holding the group of the number, or -1.
int32_t FindGroup(CZoneNodeState& state, uint32_t number)
{
    for (int32_t n = 0; n < state.GetNodeCount(); ++n)
        for (const SParkedGroup& group : state.m_nodes[static_cast<size_t>(n)].parked)
            if (group.used && group.number == number)
                return n;
    return -1;
}

// Every group's node, by number.
std::map<uint32_t, int32_t> GroupPlaces(CZoneNodeState& state)
{
    std::map<uint32_t, int32_t> places;
    for (int32_t n = 0; n < state.GetNodeCount(); ++n)
        for (const SParkedGroup& group : state.m_nodes[static_cast<size_t>(n)].parked)
            if (group.used)
                places[group.number] = n;
    return places;
}

// Updates the node after its move time has surely come.
void UpdateLater(CZoneScene& scene, int32_t node)
{
    ZoneOne(scene).m_clock += 100000;
    StateOne(scene).UpdateNode(scene.Zones(), ZoneOne(scene), node, false, true);
}

// Empties every node's groups (the starting groups of a fresh zone).
void ClearGroups(CZoneScene& scene)
{
    for (SZoneNode& node : StateOne(scene).m_nodes)
        for (SParkedGroup& group : node.parked)
            group = SParkedGroup();
    for (SResourceRecord& record : ZoneOne(scene).m_infinite)
        record.inGame = 0;
}

// Zone 1 with the player at node 5, where a group of the fighters waits in the slot.
SParkedGroup& MakeGroupHere(CZoneScene& scene, int fighters, int slot)
{
    SZoneSpec zone = SZoneSpec::MakeLine(4);
    zone.groupText = "attckGroup0 { deployRadius 80; spawnDelayMaxS 1; numInfGroups 1; inf0 { idx 0; num " +
                     std::to_string(fighters) + " } }";
    LoadZoneOne(scene, zone);
    ClearGroups(scene);
    EXPECT_TRUE(scene.Zones().SetCurrentNode(5));
    SParkedGroup& group = StateOne(scene).m_nodes[5].parked[slot];
    scene.Zones().FillGroup(ZoneOne(scene), StateOne(scene), 0, group, false);
    return group;
}
} // namespace

TEST(ZoneGroups, AnHourOfZoneTimeFormsGroupsAtTheBossNodeThatDriftTowardThePlayer)
{
    CZoneScene scene(7);
    SZoneSpec zone = SZoneSpec::MakeLine(10); // nodes 3 to 12 at x = 120 ... 300
    zone.groupText = "attckGroup0 { probAtStart 0; deployRadius 100; spawnDelayS 60; spawnDelayMaxS 60; "
                     "numInfGroups 1; inf0 { idx 0; num 3 } }";
    LoadZoneOne(scene, zone);
    CZoneManager& zones = scene.Zones();
    CZoneNodeState& state = StateOne(scene);
    const SZoneMap& map = ZoneOne(scene).m_map;
    ASSERT_TRUE(zones.SetCurrentNode(12));
    const uint32_t clockAtStart = ZoneOne(scene).m_clock;

    std::map<uint32_t, int32_t> seen = GroupPlaces(state);
    EXPECT_TRUE(seen.empty()); // no starting group: its chance is 0
    int moves = 0;
    int formed = 0;
    int arrivedAtPlayer = 0;
    const uint32_t frames = 60u * 60u * 25u;
    for (uint32_t frame = 0; frame < frames; ++frame)
    {
        scene.Harness().RunFrame();
        std::map<uint32_t, int32_t> now = GroupPlaces(state);
        for (const auto& [number, node] : now)
        {
            auto before = seen.find(number);
            if (before == seen.end())
            {
                EXPECT_EQ(node, map.bossNode) << "group " << number << " formed away from the boss node";
                ++formed;
                continue;
            }
            if (before->second == node)
                continue;
            ++moves;
            EXPECT_LE(map.GetDistance(before->second, node), 50.0f);
            EXPECT_EQ(map.GetKind(node), 0) << "group " << number << " moved onto node " << node;
            arrivedAtPlayer += node == 12 ? 1 : 0;
        }
        for (const SZoneNode& record : state.m_nodes)
            EXPECT_LE(record.CountGroups(), ZONE_NODE_GROUP_SLOTS);
        seen = now;
    }
    EXPECT_EQ(ZoneOne(scene).m_clock - clockAtStart, frames * 40u);
    // A group every 60 to 119 s while there is room at the boss node: 30 to 60 an
    // hour, fewer once the world's 40 fighters are all parked.
    EXPECT_GE(formed, 10);
    EXPECT_GE(moves, formed);
    EXPECT_GT(arrivedAtPlayer, 0);
    // The player's node holds groups whose fighters were made (and warped in) there.
    EXPECT_GT(state.m_nodes[12].CountGroups(), 0);
    EXPECT_GT(scene.Game().GetWorld()->CountEnemies(), 0);
    for (CZoneTestEnemy* enemy : scene.Enemies())
        EXPECT_EQ(enemy->m_mass, 10.0f);
    // The record's counters hold: every alive entry is in game, every made one spawned.
    int32_t alive = 0;
    for (const SZoneNode& record : state.m_nodes)
        for (const SParkedGroup& group : record.parked)
            for (const SParkedEntry& entry : group.entries)
                alive += group.used && entry.alive ? 1 : 0;
    EXPECT_EQ(ZoneOne(scene).m_infinite[0].inGame, alive);
    EXPECT_EQ(ZoneOne(scene).m_infinite[0].spawned, static_cast<int32_t>(scene.Enemies().size()));
}

TEST(ZoneGroups, AGroupReachesNodesUpTo50UnitsAwayAndThePlayersNodeWithoutADraw)
{
    CZoneScene scene;
    SZoneSpec zone;
    zone.normal = {{300.0f, 0.0f, 0}, {350.0f, 0.0f, 0}, {300.0f, 50.5f, 0}};
    LoadZoneOne(scene, zone); // nodes 3, 4 (exactly 50 from 3) and 5 (50.5 from 3)
    CZoneNodeState& state = StateOne(scene);
    struct SCase
    {
        int32_t player;
        int32_t expected; // where the group must be after its first move time
        bool always;      // without the 1-in-5 draw
    };
    const SCase cases[] = {{4, 4, true}, {5, 4, false}};
    for (const SCase& test : cases)
    {
        int movedAtFirst = 0;
        for (int trial = 0; trial < 200; ++trial)
        {
            ClearGroups(scene);
            ASSERT_TRUE(scene.Zones().SetCurrentNode(test.player));
            const uint32_t number = Park(scene, 3).number;
            UpdateLater(scene, 3);
            const int32_t at = FindGroup(state, number);
            EXPECT_TRUE(at == 3 || at == test.expected) << "player at " << test.player << ": node " << at;
            movedAtFirst += at == test.expected ? 1 : 0;
        }
        if (test.always)
            EXPECT_EQ(movedAtFirst, 200);
        else
        {
            // One time in five, give or take.
            EXPECT_GT(movedAtFirst, 15);
            EXPECT_LT(movedAtFirst, 70);
        }
    }
}

TEST(ZoneGroups, GroupsNeverMoveOntoTheBossAlienDangerOrAFullNode)
{
    CZoneScene scene;
    SZoneSpec zone;
    zone.boss = CVector2D(230.0f, 0.0f);
    zone.alien1 = CVector2D(200.0f, 30.0f);
    zone.danger = {{170.0f, 0.0f, 1}};
    zone.normal = {{200.0f, 0.0f, 0}, {200.0f, -40.0f, 0}, {900.0f, 900.0f, 0}};
    LoadZoneOne(scene, zone); // danger 3, normal 4 (the group), 5 (the only way on), 6 (the player)
    CZoneNodeState& state = StateOne(scene);
    ClearGroups(scene);
    ASSERT_TRUE(scene.Zones().SetCurrentNode(6));
    const uint32_t number = Park(scene, 4).number;
    int32_t at = 4;
    for (int i = 0; i < 100 && at == 4; ++i)
    {
        UpdateLater(scene, 4);
        at = FindGroup(state, number);
    }
    EXPECT_EQ(at, 5);
    EXPECT_EQ(state.m_nodes[5].parked[0].previousNode, 4);

    // Node 5 full: the group at node 4 stays whatever the draws.
    ClearGroups(scene);
    for (int i = 0; i < ZONE_NODE_GROUP_SLOTS; ++i)
        Park(scene, 5, 0xFFFFFFFFu);
    const uint32_t waiting = Park(scene, 4).number;
    for (int i = 0; i < 100; ++i)
        UpdateLater(scene, 4);
    EXPECT_EQ(FindGroup(state, waiting), 4);
}

TEST(ZoneGroups, AttackGroupsFormAtTheBossNodeOnlyWhileItHasRoom)
{
    CZoneScene scene;
    SZoneSpec zone = SZoneSpec::MakeLine(4);
    zone.groupText = "attckGroup0 { deployRadius 100; spawnDelayS 0; spawnDelayMaxS 1; numInfGroups 1; "
                     "inf0 { idx 0; num 2 } }";
    LoadZoneOne(scene, zone);
    CZoneManager& zones = scene.Zones();
    CZoneNodeState& state = StateOne(scene);
    ClearGroups(scene);
    ASSERT_TRUE(zones.SetCurrentNode(6));
    ZoneOne(scene).m_clock = 5000;

    zones.AttackStep(false);
    EXPECT_EQ(state.m_nodes[1].CountGroups(), 1);
    EXPECT_EQ(ZoneOne(scene).m_infinite[0].inGame, 2);
    EXPECT_EQ(ZoneOne(scene).m_attackGroups[0].lastAttackTime, 5000u);
    // The delay is (rand() % 1 + 0) x 1000 = 0: one group each step until the base is full.
    for (int i = 0; i < 10; ++i)
        zones.AttackStep(false);
    EXPECT_EQ(state.m_nodes[1].CountGroups(), ZONE_NODE_GROUP_SLOTS);
    EXPECT_EQ(ZoneOne(scene).m_infinite[0].inGame, 10);

    // Not at the boss node itself, nor once the boss is beaten.
    ClearGroups(scene);
    ASSERT_TRUE(zones.SetCurrentNode(1));
    zones.AttackStep(false);
    EXPECT_EQ(state.m_nodes[1].CountGroups(), 0);
    ASSERT_TRUE(zones.SetCurrentNode(6));
    state.m_flags[ZONE_FLAG_BOSS_BEATEN] = true;
    zones.AttackStep(false);
    EXPECT_EQ(state.m_nodes[1].CountGroups(), 0);
}

TEST(ZoneGroups, MiningBargesComeFirstAndGroupsWithFixedEntriesStopWhenNoneAreLeft)
{
    CZoneScene scene;
    SZoneSpec zone = SZoneSpec::MakeLine(4);
    zone.fixedResources = 1;
    zone.fixedText = "fixedResource0 { num 1; maxInWorld 1; maxInGame 1; iniFile data\\enemies\\barge.txt; "
                     "type ENEMY_MOTHERSHIP }";
    zone.attackGroups = 3;
    zone.groupText =
        "attckGroup0 { spawnDelayMaxS 1; numInfGroups 1; inf0 { idx 0; num 2 } } "
        "attckGroup1 { spawnDelayMaxS 1; containsMiningBarge true; numFixedGroups 1; fixed0 { idx 0; num 1 } } "
        "attckGroup2 { spawnDelayMaxS 1; numInfGroups 1; inf0 { idx 0; num 1 }; numFixedGroups 1; "
        "fixed0 { idx 0; num 1 } }";
    LoadZoneOne(scene, zone);
    CZoneManager& zones = scene.Zones();
    CZoneNodeState& state = StateOne(scene);
    ClearGroups(scene);
    ZoneOne(scene).m_fixed[0].ResetCounters();
    state.m_flags[ZONE_FLAG_ROCKS_PRESENT] = true;
    ASSERT_TRUE(zones.SetCurrentNode(6));
    ZoneOne(scene).m_clock = 5000;

    // No barge in the game and one to come: only the barge's group forms.
    zones.AttackStep(false);
    const SParkedGroup& first = state.m_nodes[1].parked[0];
    ASSERT_TRUE(first.used);
    EXPECT_EQ(first.entries[0].attackGroup, 1);
    ASSERT_NE(first.FindBarge(), nullptr);
    EXPECT_FALSE(first.IsBargeDamaged());
    const int32_t reserve = static_cast<int32_t>(static_cast<uint32_t>(first.entries[0].stateWord) >> 20);
    EXPECT_GE(reserve, 1);
    EXPECT_LE(reserve, 2); // rand() % (zone + 1) + 1
    EXPECT_EQ(ZoneOne(scene).m_fixed[0].numRemaining, 0);

    // The barge is gone and none is to come: only groups without fixed entries.
    state.m_nodes[1].parked[0] = SParkedGroup();
    ZoneOne(scene).m_fixed[0].inGame = 0;
    for (int i = 0; i < 20; ++i)
        zones.AttackStep(false);
    for (const SParkedGroup& group : state.m_nodes[1].parked)
        EXPECT_TRUE(!group.used || group.entries[0].attackGroup == 0);
}

TEST(ZoneGroups, NoGroupFormsUntilARandomTimeUnderAMinuteAfterAnEnemyGoes)
{
    CZoneScene scene;
    SZoneSpec zone = SZoneSpec::MakeLine(4);
    zone.groupText = "attckGroup0 { spawnDelayMaxS 1; numInfGroups 1; inf0 { idx 0; num 1 } }";
    LoadZoneOne(scene, zone);
    CZoneManager& zones = scene.Zones();
    ClearGroups(scene);
    ASSERT_TRUE(zones.SetCurrentNode(6));
    const int32_t enemy = scene.Harness().Spawn(OBJECT_ENEMY_FIGHTER, 500.0f, 500.0f);
    scene.Harness().RunFrame();
    ClearGroups(scene);
    const uint32_t removedAt = scene.Game().GetTime();
    scene.Game().GetWorld()->RemoveObject(enemy);
    const uint32_t eventAt = zones.GetNextEnemyEvent();
    EXPECT_GE(eventAt, removedAt);
    EXPECT_LT(eventAt, removedAt + 60000u);

    CZoneNodeState& state = StateOne(scene);
    uint32_t formedAt = 0;
    for (int frame = 0; frame < 1600 && !formedAt; ++frame)
    {
        scene.Harness().RunFrame();
        if (state.m_nodes[1].CountGroups() > 0)
            formedAt = scene.Game().GetTime();
    }
    ASSERT_NE(formedAt, 0u);
    EXPECT_GT(formedAt, eventAt);
    EXPECT_LE(formedAt, eventAt + 2 * ZONE_SLICE_MS);
}

TEST(ZoneGroups, AMiningGroupTakesARockEvery180SecondsThenMovesOn)
{
    CZoneScene scene;
    SZoneSpec zone;
    zone.normal = {{200.0f, 0.0f, 0}, {240.0f, 0.0f, 0}};
    zone.fixedResources = 1;
    zone.fixedText = "fixedResource0 { num 3; maxInWorld 3; maxInGame 3; iniFile data\\enemies\\barge.txt; "
                     "type ENEMY_MOTHERSHIP }";
    zone.groupText = "attckGroup0 { containsMiningBarge true; spawnDelayMaxS 1; numFixedGroups 1; "
                     "fixed0 { idx 0; num 1 } }";
    LoadZoneOne(scene, zone); // nodes 3 (two rocks) and 4
    CZoneManager& zones = scene.Zones();
    CZoneNodeState& state = StateOne(scene);
    CZoneDefinition& def = ZoneOne(scene);
    ClearGroups(scene);
    ASSERT_TRUE(zones.SetCurrentNode(0));
    SZoneNode& node = state.m_nodes[3];
    for (SAsteroidMapEntry& entry : node.asteroidMap)
        entry = SAsteroidMapEntry();
    node.asteroidMap[0].word = MakeAsteroidWord(ASTEROID_LARGE, 0);
    node.asteroidMap[1].word = MakeAsteroidWord(ASTEROID_SMALL, 0);
    node.asteroidMap[2].word = MakeAsteroidWord(ASTEROID_MEDIUM, 0);
    node.asteroidCount = 3;
    node.rocks = true;
    node.miningTimer = 0;
    state.m_flags[ZONE_FLAG_ROCKS_PRESENT] = true;
    SZoneNode& record = state.m_nodes[3];
    SParkedGroup& group = record.parked[0];
    zones.FillGroup(def, state, 0, group, false);
    const uint32_t number = group.number;

    // One update every 10 s of zone time: a rock at the first update past each timer.
    std::vector<uint32_t> taken;
    def.m_clock = 10;
    for (int step = 0; step < 60 && FindGroup(state, number) == 3; ++step)
    {
        const int32_t before = node.asteroidCount;
        state.UpdateNode(zones, def, 3, false, true);
        if (node.asteroidCount < before)
            taken.push_back(def.m_clock);
        if (step == 0)
        {
            EXPECT_TRUE(node.miningMarker);
        }
        def.m_clock += 10000;
    }
    ASSERT_EQ(taken.size(), 2u);
    EXPECT_EQ(taken[0], 10u);
    EXPECT_EQ(taken[1], 190010u);
    EXPECT_FALSE(node.asteroidMap[0].IsPresent());
    EXPECT_TRUE(node.asteroidMap[1].IsPresent()); // small rocks stay
    EXPECT_FALSE(node.asteroidMap[2].IsPresent());
    EXPECT_EQ(node.asteroidCount, 1);
    // With no rock left it flags the node bare at the next due time and then moves on.
    EXPECT_FALSE(node.rocks);
    EXPECT_EQ(FindGroup(state, number), 4);
}

TEST(ZoneGroups, ArrivalsMakeOneObjectAFrameAndPassOverADamagedBargesGroup)
{
    CZoneScene scene;
    SZoneSpec zone = SZoneSpec::MakeLine(4);
    zone.infiniteText = "infResource0 { num 100; maxInWorld 40; maxInGame 40; iniFile data\\enemies\\fighter.txt; "
                        "type ENEMY_FIGHTER }";
    zone.fixedResources = 1;
    zone.fixedText = "fixedResource0 { num 3; maxInWorld 3; maxInGame 3; iniFile data\\enemies\\barge.txt; "
                     "type ENEMY_MOTHERSHIP }";
    zone.attackGroups = 2;
    zone.groupText = "attckGroup0 { deployRadius 80; spawnDelayMaxS 1; numInfGroups 2; inf0 { idx 0; num 10 }; "
                     "inf1 { idx 0; num 10 } } "
                     "attckGroup1 { deployRadius 80; spawnDelayMaxS 1; numFixedGroups 1; fixed0 { idx 0; num 1 }; "
                     "numInfGroups 1; inf0 { idx 0; num 2 } }";
    LoadZoneOne(scene, zone);
    CZoneManager& zones = scene.Zones();
    CZoneNodeState& state = StateOne(scene);
    ClearGroups(scene);
    ASSERT_TRUE(zones.SetCurrentNode(5));
    SZoneNode& here = state.m_nodes[5];
    zones.FillGroup(ZoneOne(scene), state, 1, here.parked[0], false);
    for (SParkedEntry& entry : here.parked[0].entries)
        if (entry.IsBarge())
            entry.stateWord &= ~0x100; // the barge lost a part
    ASSERT_TRUE(here.parked[0].IsBargeDamaged());
    zones.FillGroup(ZoneOne(scene), state, 0, here.parked[1], false);

    for (int frame = 1; frame <= 20; ++frame)
    {
        zones.Update(false);
        int32_t made = 0;
        for (const SParkedEntry& entry : here.parked[1].entries)
            made += entry.object != NO_OBJECT ? 1 : 0;
        EXPECT_EQ(made, frame);
        EXPECT_TRUE(state.m_flags[ZONE_FLAG_NODE_PROCESSING]);
    }
    // All 20 made within the deploy radius of one spawn point, hidden and warping in;
    // the damaged barge's group waits.
    const SParkedGroup& group = here.parked[1];
    EXPECT_FALSE(group.spawnX == 0.0f && group.spawnY == 0.0f);
    for (const SParkedEntry& entry : group.entries)
    {
        CZoneTestEnemy* enemy = scene.Enemy(entry.object);
        ASSERT_NE(enemy, nullptr);
        EXPECT_FALSE(enemy->GetInfo().shown);
        EXPECT_EQ(enemy->GetInfo().warpState, WARP_IN);
        EXPECT_LE(std::fabs(enemy->GetPosition().x - group.spawnX), 80.0f);
        EXPECT_LE(std::fabs(enemy->GetPosition().y - group.spawnY), 80.0f);
    }
    for (const SParkedEntry& entry : here.parked[0].entries)
        EXPECT_EQ(entry.object, NO_OBJECT);
    zones.Update(false);
    EXPECT_FALSE(state.m_flags[ZONE_FLAG_NODE_PROCESSING]);
    EXPECT_EQ(ZoneOne(scene).m_infinite[0].spawned, 20);
}

TEST(ZoneGroups, AnArrivalIsScatteredRoundTheSpawnPointByAnXDrawThenAYDraw)
{
    // Each axis is offset by draw % trunc(2 x radius) - radius; the first draw gives x,
    // the second y, whatever order the compiler evaluates a call's arguments in.
    struct SCase
    {
        float radius;
        uint32_t drawX, drawY;
        float dx, dy;
    };
    const SCase cases[] = {
        {80.0f, 10, 150, -70.0f, 70.0f},   // span 160
        {80.0f, 165, 159, -75.0f, 79.0f},  // 165 wraps to 5
        {2.7f, 4, 1, 4.0f - 2.7f, 1.0f - 2.7f}, // span trunc(5.4) = 5
        {0.4f, 7, 9, 0.0f, 0.0f},          // span 0: no scatter and no draw
    };
    for (const SCase& c : cases)
    {
        CZoneScene scene;
        ASSERT_TRUE(scene.Load(MakeZoneText({SZoneSpec::MakeStart()})));
        CZoneManager& zones = scene.Zones();
        SResourceRecord& fighters = zones.GetZone(0)->m_infinite[0];
        zones.SetGroupSpawnPoint(CVector2D(1000.0f, 2000.0f), c.radius);
        GetGameRandom().ScriptDraws({c.drawX, c.drawY});
        CGameObject* made = zones.SpawnResourceObject(fighters, true);
        ASSERT_NE(made, nullptr) << "radius " << c.radius;
        EXPECT_FLOAT_EQ(made->GetPosition().x, 1000.0f + c.dx) << "radius " << c.radius;
        EXPECT_FLOAT_EQ(made->GetPosition().y, 2000.0f + c.dy) << "radius " << c.radius;
        EXPECT_EQ(GetGameRandom().CountScriptedDraws(), c.radius < 0.5f ? 2u : 0u) << "radius " << c.radius;
    }
}

TEST(ZoneGroups, ObjectsThatGoLeaveTheirEntriesPackedAndTheRecordsCounted)
{
    CZoneScene scene;
    SParkedGroup& group = MakeGroupHere(scene, 3, 2);
    CZoneManager& zones = scene.Zones();
    group.entries[0].stateWord = 11;
    group.entries[1].stateWord = 22;
    group.entries[2].stateWord = 33;
    zones.PlaceParkedGroups();
    const int32_t first = group.entries[0].object;
    const int32_t second = group.entries[1].object;
    const int32_t third = group.entries[2].object;
    ASSERT_NE(scene.Enemy(second), nullptr);
    EXPECT_EQ(scene.Enemy(second)->m_word, 22);
    SResourceRecord& record = ZoneOne(scene).m_infinite[0];
    EXPECT_EQ(record.spawned, 3);
    EXPECT_EQ(record.inGame, 3);

    // The middle one is destroyed: the third takes its place.
    scene.Game().GetWorld()->RemoveObject(second);
    EXPECT_EQ(record.spawned, 2);
    EXPECT_EQ(record.inGame, 2);
    EXPECT_EQ(group.entries[0].object, first);
    EXPECT_EQ(group.entries[1].object, third);
    EXPECT_EQ(group.entries[1].stateWord, 33);
    EXPECT_FALSE(group.entries[2].alive);
    EXPECT_EQ(group.entries[2].object, NO_OBJECT);

    // One that warped out is not counted as a loss.
    scene.Enemy(first)->GetInfo().notCountedAsEnemy = true;
    scene.Game().GetWorld()->RemoveObject(first);
    EXPECT_EQ(record.inGame, 2);
    EXPECT_TRUE(group.entries[0].alive);
}

TEST(ZoneGroups, TheLastObjectOfAGroupEmptiesItsSlot)
{
    CZoneScene scene;
    SParkedGroup& group = MakeGroupHere(scene, 2, 0);
    CZoneManager& zones = scene.Zones();
    CZoneNodeState& state = StateOne(scene);
    zones.PlaceParkedGroups();
    const int32_t a = group.entries[0].object;
    const int32_t b = group.entries[1].object;
    scene.Game().GetWorld()->RemoveObject(a);
    EXPECT_TRUE(group.used);
    scene.Harness().RunFrame();
    scene.Game().GetWorld()->RemoveObject(b);
    EXPECT_FALSE(group.used);
    EXPECT_EQ(state.m_nodes[5].CountGroups(), 0);
    EXPECT_EQ(ZoneOne(scene).m_infinite[0].inGame, 0);
}

TEST(ZoneGroups, SlicesCoverAFifthOfATwentiethOfTheNodesAndAJumpCoversAll)
{
    struct SCase
    {
        int normals;
        int perSlice; // floor(nodes x 0.05) + 1
    };
    // 3 fixed nodes plus the normal ones: 18 and 40 nodes.
    const SCase cases[] = {{15, 1}, {37, 3}};
    for (const SCase& test : cases)
    {
        CZoneScene scene;
        LoadZoneOne(scene, SZoneSpec::MakeLine(test.normals, 3.0f));
        CZoneManager& zones = scene.Zones();
        CZoneNodeState& state = StateOne(scene);
        ASSERT_TRUE(zones.SetCurrentNode(0));
        for (SZoneNode& node : state.m_nodes)
            node.miningTimer = 0xFFFFFFF0u; // the update clears the marker only
        const int32_t nodes = state.GetNodeCount();
        int32_t updated = 0;
        for (int slice = 0; slice < 3; ++slice)
        {
            for (SZoneNode& node : state.m_nodes)
                node.miningMarker = true;
            scene.Harness().RunFrames(250 / 40 + 1);
            int32_t cleared = 0;
            for (SZoneNode& node : state.m_nodes)
                cleared += node.miningMarker ? 0 : 1;
            EXPECT_EQ(cleared, test.perSlice) << nodes << " nodes";
            updated += cleared;
        }
        EXPECT_EQ(updated, 3 * test.perSlice);

        for (SZoneNode& node : state.m_nodes)
            node.miningMarker = true;
        const uint32_t clock = ZoneOne(scene).m_clock;
        zones.Update(true);
        EXPECT_EQ(ZoneOne(scene).m_clock, clock + 60000u);
        for (SZoneNode& node : state.m_nodes)
            EXPECT_FALSE(node.miningMarker);
    }
}
