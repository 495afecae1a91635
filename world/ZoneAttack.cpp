// Forming groups: the starting groups of a zone's nodes and the attack groups that
// form at the boss node during play (and their survival variant).

#include "core/Random.h"
#include "world/CampaignLink.h"
#include "world/DirectorLink.h"
#include "world/Game.h"
#include "world/GameFlowLink.h"
#include "world/World.h"
#include "world/ZoneManager.h"
#include "world/ZoneNodeState.h"

#include <algorithm>
#include <cmath>

namespace
{
constexpr int32_t SURVIVAL_DELAY_LEAST_S = 5;
constexpr int32_t SURVIVAL_DELAY_SPREAD_S = 15;

// The state word of a loaded mining barge: valid, all 12 parts, a reserve of
// rand() % (zone + 1) + 1.
int32_t MakeLoadedBargeWord(int32_t zoneIndex)
{
    const uint32_t reserve = GameRand() % static_cast<uint32_t>(std::max(0, zoneIndex) + 1) + 1;
    return static_cast<int32_t>(static_cast<uint32_t>(BARGE_WORD_VALID | BARGE_WORD_PARTS) |
                                reserve << BARGE_WORD_RESERVE_SHIFT);
}

bool PassesChance(float probability)
{
    const double scaled = std::trunc(static_cast<double>(probability) * 1000000.0);
    return static_cast<double>(GameRand() % 1000000) < scaled;
}
} // namespace

const std::vector<int32_t>& CZoneManager::RefreshGroupOrder(int32_t count)
{
    if (static_cast<int32_t>(m_groupOrder.size()) != count)
    {
        m_groupOrder.resize(static_cast<size_t>(std::max(0, count)));
        for (int32_t i = 0; i < count; ++i)
            m_groupOrder[static_cast<size_t>(i)] = i;
    }
    else if (count > 0)
    {
        const size_t pick = GameRand() % static_cast<uint32_t>(count);
        std::swap(m_groupOrder[pick], m_groupOrder.back());
    }
    return m_groupOrder;
}

bool CZoneManager::HasRoom(const CZoneDefinition& zone, const SAttackGroup& group)
{
    for (const SGroupEntry& entry : group.infinite)
    {
        const SResourceRecord* record = zone.GetRecord(true, entry.idx);
        if (!record || record->maxInWorld - record->inGame < entry.num)
            return false;
    }
    for (const SGroupEntry& entry : group.fixed)
    {
        const SResourceRecord* record = zone.GetRecord(false, entry.idx);
        if (!record || record->maxInWorld - record->inGame < entry.num || record->numRemaining <= 0)
            return false;
    }
    return true;
}

void CZoneManager::FillGroup(CZoneDefinition& zone, CZoneNodeState& state, int32_t attackGroup, SParkedGroup& group,
                             bool keepRemaining)
{
    group = SParkedGroup();
    group.used = true;
    const SAttackGroup& source = zone.m_attackGroups[static_cast<size_t>(attackGroup)];
    int32_t next = 0;
    for (int pass = 0; pass < 2; ++pass)
    {
        const bool infinite = pass == 0;
        for (const SGroupEntry& part : infinite ? source.infinite : source.fixed)
        {
            SResourceRecord* record = zone.GetRecord(infinite, part.idx);
            for (int32_t i = 0; record && i < part.num && next < PARKED_GROUP_SIZE; ++i)
            {
                SParkedEntry& entry = group.entries[next++];
                entry.resource = part.idx;
                entry.attackGroup = attackGroup;
                entry.infinite = infinite ? 1 : 0;
                entry.alive = 1;
                if (record->type == OBJECT_ENEMY_MOTHERSHIP && record->mining)
                    entry.stateWord = MakeLoadedBargeWord(state.m_zoneIndex);
                ++record->inGame;
                if (!infinite && !keepRemaining)
                    record->numRemaining = std::max(0, record->numRemaining - 1);
            }
        }
    }
    group.number = state.m_groupCounter++;
}

bool CZoneManager::FormStartingGroup(CZoneDefinition& zone, CZoneNodeState& state, SParkedGroup& slot)
{
    if (state.m_zoneIndex == 0 || m_game.GetGameFlow().IsTutorialPosition() || slot.used)
        return false;
    const std::vector<int32_t>& order = RefreshGroupOrder(static_cast<int32_t>(zone.m_attackGroups.size()));
    for (int32_t index : order)
    {
        SAttackGroup& group = zone.m_attackGroups[static_cast<size_t>(index)];
        if (!HasRoom(zone, group) || !PassesChance(group.probAtStart))
            continue;
        group.lastAttackTime = zone.m_clock;
        group.DrawNextDelay();
        FillGroup(zone, state, index, slot, false);
        return true;
    }
    return false;
}

void CZoneManager::AttackStep(bool /*jump*/)
{
    if (m_game.GetRun().survival)
    {
        SurvivalAttackStep();
        return;
    }
    CZoneDefinition* zone = GetCurrentZone();
    CZoneNodeState* state = zone ? zone->m_nodeState.get() : nullptr;
    if (!state || state->m_flags[ZONE_FLAG_BOSS_BEATEN] || m_list.currentNode == zone->m_map.bossNode ||
        m_game.GetDirector().GetTutorialState() == 2)
        return;

    int32_t barges = 0;
    bool bargesToCome = false;
    for (const SResourceRecord& record : zone->m_fixed)
    {
        if (!record.mining)
            continue;
        barges = record.inGame;
        bargesToCome = bargesToCome || record.numRemaining > 0;
    }
    const bool rocks = state->m_flags[ZONE_FLAG_ROCKS_PRESENT];
    const std::vector<int32_t> order = RefreshGroupOrder(static_cast<int32_t>(zone->m_attackGroups.size()));
    for (int32_t index : order)
    {
        SAttackGroup& group = zone->m_attackGroups[static_cast<size_t>(index)];
        const bool hasFixed = !group.fixed.empty();
        if (barges == 0 && ((bargesToCome && !group.containsMiningBarge) || (!bargesToCome && hasFixed)))
            continue;
        if (!rocks && hasFixed)
            continue;
        if (zone->m_clock - group.lastAttackTime < group.nextSpawnDelay)
            continue;
        if (barges != 0 && !HasRoom(*zone, group))
        {
            group.lastAttackTime = zone->m_clock;
            continue;
        }
        SZoneNode* base = state->GetNode(zone->m_map.bossNode);
        const int32_t slot = base ? base->FindFreeSlot() : -1;
        if (slot < 0)
            return;
        group.lastAttackTime = zone->m_clock;
        group.DrawNextDelay();
        FillGroup(*zone, *state, index, base->parked[slot], false);
        return;
    }
}

void CZoneManager::SurvivalAttackStep()
{
    CZoneDefinition* zone = GetRecordZone();
    CZoneDefinition* play = GetZone(0);
    CZoneNodeState* state = play ? play->m_nodeState.get() : nullptr;
    if (!zone || !state)
        return;
    SRunState& run = m_game.GetRun();
    if (run.waveEnding)
    {
        // The enemies of a finished wave that are not in the world do not come.
        SZoneNode* here = state->GetNode(m_list.currentNode);
        if (!here)
            return;
        for (SParkedGroup& group : here->parked)
        {
            if (!group.used)
                continue;
            for (SParkedEntry& entry : group.entries)
            {
                if (!entry.alive || (entry.object != NO_OBJECT && m_game.GetWorld() &&
                                     m_game.GetWorld()->GetObject(entry.object)))
                    continue;
                entry.alive = 0;
                entry.object = NO_OBJECT;
                if (SResourceRecord* record = zone->GetRecord(entry.infinite != 0, entry.resource))
                    record->inGame = std::max(0, record->inGame - 1);
            }
            if (!group.HasAliveEntries())
                group = SParkedGroup();
        }
        return;
    }
    // The other groups wait for a barge only in a zone that sends one.
    bool sendsBarge = false;
    for (const SAttackGroup& group : zone->m_attackGroups)
        sendsBarge = sendsBarge || group.containsMiningBarge;
    const bool waitForBarge = sendsBarge && !run.miningPresent;
    const std::vector<int32_t> order = RefreshGroupOrder(static_cast<int32_t>(zone->m_attackGroups.size()));
    for (int32_t index : order)
    {
        SAttackGroup& group = zone->m_attackGroups[static_cast<size_t>(index)];
        if (run.miningDone ? group.containsMiningBarge : (!group.containsMiningBarge && waitForBarge))
            continue;
        if (CountResourceObjects() > 0 && zone->m_clock - group.lastAttackTime < group.nextSpawnDelay)
            continue;
        if (!HasRoom(*zone, group))
        {
            group.lastAttackTime = zone->m_clock;
            continue;
        }
        SZoneNode* base = state->GetNode(ZONE_BOSS_NODE);
        const int32_t slot = base ? base->FindFreeSlot() : -1;
        if (slot < 0)
            return;
        group.lastAttackTime = zone->m_clock;
        group.nextSpawnDelay =
            static_cast<uint32_t>(GameRand() % SURVIVAL_DELAY_SPREAD_S + SURVIVAL_DELAY_LEAST_S) * 1000u;
        FindGroupSpawnPoint(group.deployRadius, false);
        SParkedGroup& formed = base->parked[slot];
        FillGroup(*zone, *state, index, formed, true);
        if (m_list.currentNode != ZONE_BOSS_NODE)
            return;
        for (SParkedEntry& entry : formed.entries)
        {
            SResourceRecord* record = entry.alive ? zone->GetRecord(entry.infinite != 0, entry.resource) : nullptr;
            CGameObject* object = record ? SpawnResourceObject(*record, true) : nullptr;
            if (!object)
                continue;
            entry.object = object->GetHandle();
            object->RestoreStateWord(entry.stateWord);
        }
        return;
    }
}

void CZoneManager::NoteDeparture(int32_t from, int32_t to, const SParkedGroup& group, const CZoneDefinition& zone)
{
    if (m_departureCount >= ZONE_DEPARTURE_TABLE)
        return; // only the galaxy map's drawing misses it
    SGroupDeparture& departure = m_departures[m_departureCount++];
    departure.from = from;
    departure.to = to;
    departure.group = group.number;
    departure.mass = 0.0f;
    departure.mining = group.FindBarge() != nullptr;
    for (const SParkedEntry& entry : group.entries)
        if (entry.alive)
            if (const SResourceRecord* record = zone.GetRecord(entry.infinite != 0, entry.resource))
                departure.mass += record->mass;
}
