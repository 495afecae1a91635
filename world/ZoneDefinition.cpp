#include "world/ZoneDefinition.h"

#include "core/DataTree.h"
#include "core/Random.h"
#include "world/ZoneNodeState.h"

#include <cmath>

void SResourceRecord::ResetCounters()
{
    spawned = 0;
    inGame = 0;
    numRemaining = num;
}

void SAttackGroup::DrawNextDelay()
{
    const uint32_t spread = spawnDelayMaxS > 0 ? static_cast<uint32_t>(spawnDelayMaxS) : 1u;
    nextSpawnDelay = (GameRand() % spread + static_cast<uint32_t>(spawnDelayS)) * 1000u;
}

int32_t SZoneMap::GetKind(int32_t node) const
{
    return node >= 0 && node < GetNodeCount() ? nodes[static_cast<size_t>(node)].kind : -1;
}

float SZoneMap::GetDistance(int32_t from, int32_t to) const
{
    const SZoneMapNode& a = nodes[static_cast<size_t>(from)];
    const SZoneMapNode& b = nodes[static_cast<size_t>(to)];
    return std::sqrt((a.x - b.x) * (a.x - b.x) + (a.y - b.y) * (a.y - b.y));
}

CZoneDefinition::CZoneDefinition() = default;
CZoneDefinition::~CZoneDefinition() = default;

void CZoneDefinition::ResetSpawnState()
{
    for (SResourceRecord& record : m_fixed)
        record.ResetCounters();
    for (SResourceRecord& record : m_infinite)
        record.ResetCounters();
    m_boss.ResetCounters();
    for (SAttackGroup& group : m_attackGroups)
    {
        group.lastAttackTime = 0;
        group.DrawNextDelay();
    }
}

SResourceRecord* CZoneDefinition::GetRecord(bool infinite, int32_t index)
{
    std::vector<SResourceRecord>& list = infinite ? m_infinite : m_fixed;
    return index >= 0 && index < static_cast<int32_t>(list.size()) ? &list[static_cast<size_t>(index)] : nullptr;
}

const SResourceRecord* CZoneDefinition::GetRecord(bool infinite, int32_t index) const
{
    const std::vector<SResourceRecord>& list = infinite ? m_infinite : m_fixed;
    return index >= 0 && index < static_cast<int32_t>(list.size()) ? &list[static_cast<size_t>(index)] : nullptr;
}
