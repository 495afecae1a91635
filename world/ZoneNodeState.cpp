#include "world/ZoneNodeState.h"

#include "core/Random.h"
#include "world/AsteroidField.h"
#include "world/World.h"
#include "world/ZoneDefinition.h"
#include "world/ZoneManager.h"

#include <algorithm>

void CZoneNodeState::ResetHeader(int32_t zoneIndex)
{
    m_zoneIndex = zoneIndex;
    m_visitCounter = 0;
    m_rewardFlag = false;
    m_groupCounter = 0;
    m_levelValue = std::min(zoneIndex + 1, 3);
    m_nodes.clear();
    for (bool& flag : m_flags)
        flag = false;
}

void CZoneNodeState::Init(int32_t zoneIndex, CZoneDefinition& zone, CZoneManager& manager)
{
    ResetHeader(zoneIndex);
    const SZoneMap& map = zone.m_map;
    m_nodes.assign(static_cast<size_t>(map.GetNodeCount()), SZoneNode());
    for (int32_t n = 0; n < map.GetNodeCount(); ++n)
    {
        SZoneNode& node = m_nodes[static_cast<size_t>(n)];
        const int32_t kind = map.GetKind(n);
        if (IsDangerousNodeKind(kind))
        {
            node.asteroidCount = GenerateAsteroidMap(node.asteroidMap, zoneIndex, kind, n, false);
            continue;
        }
        if (kind == ZONE_NODE_NORMAL || kind == ZONE_NODE_TRANSFER)
        {
            const bool restrained = zoneIndex != 0 && n != map.crewNode && GameRand() % 4 == 1;
            node.asteroidCount = GenerateAsteroidMap(node.asteroidMap, zoneIndex, kind, n, restrained);
            node.rockValue = node.CountRockValue();
            node.RefreshRocksFlag();
        }
        // The zone holds rocks from the start, so that a group with a mining barge can
        // form before the player has first flown at one of its nodes.
        m_flags[ZONE_FLAG_ROCKS_PRESENT] = m_flags[ZONE_FLAG_ROCKS_PRESENT] || node.rocks;
        if (n == ZONE_TRANSFER_NODE)
            continue;
        for (SParkedGroup& slot : node.parked)
            manager.FormStartingGroup(zone, *this, slot);
    }
}

SZoneNode* CZoneNodeState::GetNode(int32_t node)
{
    return node >= 0 && node < GetNodeCount() ? &m_nodes[static_cast<size_t>(node)] : nullptr;
}

const SZoneNode* CZoneNodeState::GetNode(int32_t node) const
{
    return node >= 0 && node < GetNodeCount() ? &m_nodes[static_cast<size_t>(node)] : nullptr;
}

void CZoneNodeState::StoreNode(int32_t node, CWorld& world, float worldWidth)
{
    SZoneNode* record = GetNode(node);
    if (!record)
        return;
    for (SParkedGroup& group : record->parked)
    {
        if (!group.used)
            continue;
        group.spawnX = 0.0f;
        group.spawnY = 0.0f;
        for (SParkedEntry& entry : group.entries)
        {
            if (entry.object == NO_OBJECT)
                continue;
            if (CGameObject* object = world.GetObject(entry.object))
                object->SaveStateWord(entry.stateWord);
            entry.object = NO_OBJECT;
        }
    }
    record->StoreAsteroids(world, worldWidth);
}

void CZoneNodeState::DropLiveObjects()
{
    for (SZoneNode& node : m_nodes)
    {
        for (SParkedGroup& group : node.parked)
            for (SParkedEntry& entry : group.entries)
                entry.object = NO_OBJECT;
        for (SAsteroidMapEntry& entry : node.asteroidMap)
            entry.asteroid = NO_OBJECT;
    }
}

bool CZoneNodeState::FindGroupOf(int32_t node, int32_t handle, int32_t& slot, int32_t& entry) const
{
    const SZoneNode* record = GetNode(node);
    if (!record || handle == NO_OBJECT)
        return false;
    for (slot = 0; slot < ZONE_NODE_GROUP_SLOTS; ++slot)
    {
        if (!record->parked[slot].used)
            continue;
        entry = record->parked[slot].FindEntry(handle);
        if (entry >= 0)
            return true;
    }
    return false;
}

void CZoneNodeState::HandleRemoval(const CGameObject& object, int32_t node, CZoneDefinition& records, bool survival)
{
    SZoneNode* record = GetNode(node);
    if (!record || object.GetInfo().notCountedAsEnemy)
        return;
    if (object.GetType() == OBJECT_ASTEROID)
    {
        record->ForgetAsteroid(object.GetHandle());
        return;
    }
    // Every type a record can name is looked for (not only fighters and motherships),
    // so no entry keeps the handle of an object that has gone.
    int32_t slot = 0;
    int32_t index = 0;
    if (!FindGroupOf(node, object.GetHandle(), slot, index))
        return;
    SParkedGroup& group = record->parked[slot];
    SParkedEntry& entry = group.entries[index];
    if (SResourceRecord* resource = records.GetRecord(entry.infinite != 0, entry.resource))
    {
        resource->spawned = survival ? std::max(0, resource->spawned - 1) : resource->spawned - 1;
        resource->inGame = survival ? std::max(0, resource->inGame - 1) : resource->inGame - 1;
    }
    entry.alive = 0;
    entry.object = NO_OBJECT;
    if (!group.HasAliveEntries())
        group = SParkedGroup();
    else
        group.PackEntries();
}

bool CZoneNodeState::IsGroupSettled(const CWorld& world, int32_t node, int32_t handle) const
{
    int32_t slot = 0;
    int32_t index = 0;
    if (!FindGroupOf(node, handle, slot, index))
        return false;
    for (const SParkedEntry& entry : m_nodes[static_cast<size_t>(node)].parked[slot].entries)
    {
        const CGameObject* object = entry.object != NO_OBJECT ? world.GetObject(entry.object) : nullptr;
        if (object && object->GetInfo().warpState != WARP_NONE)
            return false;
    }
    return true;
}

void CZoneNodeState::WarpOutGroup(CWorld& world, int32_t node, int32_t handle)
{
    int32_t slot = 0;
    int32_t index = 0;
    if (!FindGroupOf(node, handle, slot, index))
        return;
    SParkedGroup& group = m_nodes[static_cast<size_t>(node)].parked[slot];
    if (CGameObject* leader = world.GetObject(handle))
        leader->SaveStateWord(group.entries[index].stateWord);
    for (const SParkedEntry& entry : group.entries)
    {
        CGameObject* object = entry.alive && entry.object != NO_OBJECT ? world.GetObject(entry.object) : nullptr;
        if (!object)
            continue;
        object->SetWarpState(WARP_OUT);
        world.AddWarp(object->GetHandle());
    }
}

bool CZoneNodeState::ReturnWarpedObject(CGameObject& object, int32_t node, CZoneDefinition& records)
{
    int32_t slot = 0;
    int32_t index = 0;
    if (!FindGroupOf(node, object.GetHandle(), slot, index))
        return false; // not one of the node's groups (the player ship, a boss): nothing
    SParkedEntry& entry = m_nodes[static_cast<size_t>(node)].parked[slot].entries[index];
    object.SaveStateWord(entry.stateWord);
    entry.object = NO_OBJECT;
    if (SResourceRecord* resource = records.GetRecord(entry.infinite != 0, entry.resource))
        resource->spawned = std::max(0, resource->spawned - 1);
    return true;
}

float CZoneNodeState::ParkedMass(int32_t node, const CZoneDefinition& zone) const
{
    const SZoneNode* record = GetNode(node);
    float mass = 0.0f;
    if (!record)
        return mass;
    for (const SParkedGroup& group : record->parked)
    {
        if (!group.used)
            continue;
        for (const SParkedEntry& entry : group.entries)
            if (entry.alive)
                if (const SResourceRecord* resource = zone.GetRecord(entry.infinite != 0, entry.resource))
                    mass += resource->mass;
    }
    return mass;
}
