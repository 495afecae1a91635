// The node state's moving parts: the arrival step at the player's node, and the
// node update of a slice (mining timers, mining, group moves).

#include "core/Random.h"
#include "world/AsteroidKinds.h"
#include "world/Game.h"
#include "world/World.h"
#include "world/ZoneDefinition.h"
#include "world/ZoneManager.h"
#include "world/ZoneNodeState.h"

void CZoneNodeState::StepArrivals(CZoneManager& manager, CZoneDefinition& records, int32_t currentNode,
                                  int32_t bossNode, bool survival)
{
    SZoneNode* record = GetNode(currentNode);
    CWorld* world = manager.GetGame().GetWorld();
    if (!record || !world || currentNode == bossNode)
        return;
    for (SParkedGroup& group : record->parked)
    {
        if (!group.used || (!survival && group.IsBargeDamaged()))
            continue;
        for (SParkedEntry& entry : group.entries)
        {
            if (!entry.alive)
                continue;
            if (entry.object != NO_OBJECT && world->GetObject(entry.object))
                continue;
            entry.object = NO_OBJECT;
            SResourceRecord* resource = records.GetRecord(entry.infinite != 0, entry.resource);
            if (!resource)
                continue;
            const bool knownGroup =
                entry.attackGroup >= 0 && entry.attackGroup < static_cast<int32_t>(records.m_attackGroups.size());
            const float radius =
                knownGroup ? records.m_attackGroups[static_cast<size_t>(entry.attackGroup)].deployRadius : 0.0f;
            if (group.spawnX == 0.0f && group.spawnY == 0.0f)
            {
                manager.FindGroupSpawnPoint(radius, false);
                group.spawnX = manager.GetGroupSpawnPoint().x;
                group.spawnY = manager.GetGroupSpawnPoint().y;
            }
            manager.SetGroupSpawnPoint(CVector2D(group.spawnX, group.spawnY), radius);
            CGameObject* object = manager.SpawnResourceObject(*resource, true);
            if (!object)
                continue;
            entry.object = object->GetHandle();
            object->RestoreStateWord(entry.stateWord);
            m_flags[ZONE_FLAG_NODE_PROCESSING] = true;
            return;
        }
    }
}

// A working mining group takes the node's first medium or large rock; with none left
// the node has no rocks any more.
void CZoneNodeState::MineNode(SZoneNode& record)
{
    for (SAsteroidMapEntry& entry : record.asteroidMap)
    {
        const int32_t kind = GetAsteroidWordKind(entry.word);
        if (!entry.IsPresent() || (kind != ASTEROID_MEDIUM && kind != ASTEROID_LARGE))
            continue;
        entry.word &= ~ASTEROID_WORD_PRESENT;
        --record.asteroidCount;
        return;
    }
    record.rocks = false;
}

void CZoneNodeState::UpdateNode(CZoneManager& manager, CZoneDefinition& zone, int32_t node, bool jump,
                                bool playerZone)
{
    SZoneNode* record = GetNode(node);
    if (!record)
        return;
    const uint32_t clock = zone.m_clock;
    bool due = false;
    if (clock > record->miningTimer)
    {
        record->miningTimer = clock + ZONE_MINING_INTERVAL_MS;
        due = true;
    }
    record->miningMarker = false;
    const int32_t currentNode = playerZone ? manager.GetCurrentNodeIndex() : -1;
    const bool playerHere = node == currentNode;
    for (int32_t slot = 0; slot < ZONE_NODE_GROUP_SLOTS; ++slot)
    {
        SParkedGroup& group = record->parked[slot];
        if (!group.used)
            continue;
        const bool mining = group.FindBarge() != nullptr;
        const bool damaged = group.IsBargeDamaged();
        if (!jump && !(!group.HasMadeObject() && (!playerHere || mining)))
            continue;
        if (mining)
        {
            if (!m_flags[ZONE_FLAG_ROCKS_PRESENT])
                continue;
            if (record->rocks && !playerHere)
            {
                record->miningMarker = true;
                if (due)
                    MineNode(*record);
                // It stays while rocks are left, unless its barge is hurt.
                if (record->rocks && !damaged)
                    continue;
            }
        }
        if (clock < group.moveTime && !(mining && damaged))
            continue;
        MoveGroup(manager, zone, node, slot, mining, damaged, currentNode);
    }
}

void CZoneNodeState::MoveGroup(CZoneManager& manager, CZoneDefinition& zone, int32_t node, int32_t slot,
                               bool mining, bool /*damaged*/, int32_t currentNode)
{
    const SZoneMap& map = zone.m_map;
    SParkedGroup& group = m_nodes[static_cast<size_t>(node)].parked[slot];
    int32_t chosen = -1;
    int32_t fewest = ZONE_NODE_GROUP_SLOTS + 1;
    int32_t alternative = -1;
    for (int32_t m = 0; m < map.GetNodeCount(); ++m)
    {
        const int32_t kind = map.GetKind(m);
        if (m == node || m == map.bossNode || m == map.alienNode1 || IsDangerousNodeKind(kind) ||
            map.GetDistance(node, m) > ZONE_MOVE_REACH)
            continue;
        if (mining && (m == group.previousNode || m == map.crewNode))
            continue;
        if (m == currentNode)
        {
            chosen = m;
            break;
        }
        const int32_t groups = m_nodes[static_cast<size_t>(m)].CountGroups();
        if (groups < fewest)
        {
            fewest = groups;
            chosen = m;
        }
        if (groups < ZONE_NODE_GROUP_SLOTS && m != group.previousNode)
            alternative = m;
    }
    if (chosen < 0 || m_nodes[static_cast<size_t>(chosen)].CountGroups() >= ZONE_NODE_GROUP_SLOTS)
        return;
    if (chosen != currentNode)
    {
        if (GameRand() % 5 != 1)
            return;
        if (chosen == group.previousNode && alternative >= 0)
            chosen = alternative;
    }
    SZoneNode& target = m_nodes[static_cast<size_t>(chosen)];
    const int32_t free = target.FindFreeSlot();
    if (free < 0)
        return;
    group.moveTime = zone.m_clock + ZONE_MOVE_WAIT_MS + static_cast<uint32_t>(GameRand() % ZONE_MOVE_WAIT_SPREAD_MS);
    group.previousNode = node;
    const CGame& game = manager.GetGame();
    const bool quickOrSurvival = game.GetRun().quickShip || game.GetRun().survival;
    manager.NoteDeparture(node, quickOrSurvival ? 12 : chosen, group, zone);
    target.parked[free] = group;
    group = SParkedGroup();
}
