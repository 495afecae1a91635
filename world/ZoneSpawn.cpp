// Setting the world up at a node: the objects of its parked groups, its boss, the
// alien nodes' visitors and rewards, and single objects of the zone's records.

#include "core/DataTree.h"
#include "core/Random.h"
#include "world/AsteroidField.h"
#include "world/AsteroidKinds.h"
#include "world/CampaignLink.h"
#include "world/DirectorLink.h"
#include "world/Game.h"
#include "world/Quadtree.h"
#include "world/World.h"
#include "world/ZoneManager.h"
#include "world/ZoneNodeState.h"

#include <algorithm>
#include <cmath>

namespace
{
const CVector2D NODE_CENTRE(2000.0f, 2000.0f);
constexpr float CREW_SITE_CLEARANCE = 80.0f;
constexpr int GEM_STOCKS = 3;
constexpr int ALIEN_REWARD_GEMS = 50;

// rand() % trunc(2r) - r, nothing for a radius too small to scatter in.
float Scatter(float radius)
{
    const int32_t span = static_cast<int32_t>(std::trunc(2.0f * radius));
    if (span <= 0)
        return 0.0f;
    return static_cast<float>(static_cast<int32_t>(GameRand() % static_cast<uint32_t>(span))) - radius;
}
} // namespace

void CZoneManager::SetGroupSpawnPoint(const CVector2D& point, float radius)
{
    m_spawnPoint = point;
    m_deployRadius = radius;
}

void CZoneManager::FindGroupSpawnPoint(float radius, bool manyCandidates)
{
    CVector2D point = m_spawnPoint;
    if (CQuadtree* tree = m_game.GetQuadtree())
        tree->FindSpawnPosition(radius, point, manyCandidates);
    SetGroupSpawnPoint(point, radius);
}

CGameObject* CZoneManager::SpawnResourceObject(SResourceRecord& record, bool scatter)
{
    CWorld* world = m_game.GetWorld();
    const int32_t cap = m_game.GetRun().survival ? record.maxInGame * 2 : record.maxInGame;
    if (!world || !record.definition || record.type == OBJECT_NONE || record.spawned >= cap)
        return nullptr;
    int32_t handle = NO_OBJECT;
    if (!world->CreateObject(record.type, handle))
        return nullptr;
    ++record.spawned;
    CGameObject* object = world->GetObject(handle);
    object->ParseDefinition(*record.definition);
    CVector2D place = m_spawnPoint;
    if (scatter)
    {
        // Two statements: the draws of one call's arguments come in no set order, and
        // the same seed must place the group alike whatever the compiler.
        const float dx = Scatter(m_deployRadius);
        const float dy = Scatter(m_deployRadius);
        place += CVector2D(dx, dy);
    }
    object->SetPosition(place);
    object->GetBody().previousPosition = place;
    object->SetVisible(false);
    object->SetWarpState(WARP_IN);
    world->AddWarp(handle);
    return object;
}

void CZoneManager::PlaceParkedGroups()
{
    CZoneDefinition* zone = GetCurrentZone();
    CZoneNodeState* state = GetNodeState();
    SZoneNode* record = state ? state->GetNode(m_list.currentNode) : nullptr;
    CWorld* world = m_game.GetWorld();
    if (!record || !world)
        return;
    for (SParkedGroup& group : record->parked)
    {
        if (!group.used)
            continue;
        int32_t searchedFor = -1;
        for (SParkedEntry& entry : group.entries)
        {
            if (!entry.alive)
                continue;
            if (entry.object != NO_OBJECT && world->GetObject(entry.object))
                continue;
            entry.object = NO_OBJECT;
            SResourceRecord* resource = zone->GetRecord(entry.infinite != 0, entry.resource);
            if (!resource || entry.attackGroup < 0 ||
                entry.attackGroup >= static_cast<int32_t>(zone->m_attackGroups.size()))
                continue;
            if (entry.attackGroup != searchedFor)
            {
                searchedFor = entry.attackGroup;
                FindGroupSpawnPoint(zone->m_attackGroups[static_cast<size_t>(entry.attackGroup)].deployRadius, true);
            }
            const bool placed = entry.x > 0.0f;
            CGameObject* object = SpawnResourceObject(*resource, !placed);
            if (!object)
                continue; // the arrival step makes it later
            if (placed)
            {
                object->SetPosition(CVector2D(entry.x, entry.y));
                object->GetBody().previousPosition = object->GetPosition();
            }
            entry.object = object->GetHandle();
            object->RestoreStateWord(entry.stateWord);
            world->Update();
        }
    }
}

void CZoneManager::EnterNode()
{
    CZoneDefinition* zone = GetCurrentZone();
    CZoneNodeState* state = GetNodeState();
    CWorld* world = m_game.GetWorld();
    if (!zone || !state || !state->GetNode(m_list.currentNode))
        return;
    const int32_t node = m_list.currentNode;
    const SZoneMap& map = zone->m_map;
    const bool atBoss = node == map.bossNode;
    const bool bossBeaten = state->m_flags[ZONE_FLAG_BOSS_BEATEN];
    SRunState& run = m_game.GetRun();

    m_game.SetPlayerShipHandle(NO_OBJECT);
    m_game.SetStationHandle(NO_OBJECT);
    for (std::vector<SResourceRecord>* list : {&zone->m_fixed, &zone->m_infinite})
        for (SResourceRecord& record : *list)
            record.spawned = 0;
    m_nextSliceTime = m_game.GetTime() + ZONE_SLICE_MS;

    if (atBoss)
    {
        if (bossBeaten)
            run.bossState = 1;
    }
    else if (m_game.GetDirector().IsGateOpen(GATE_ZONE_POPULATION))
        PlaceParkedGroups();

    state->GetNode(node)->visited = true;

    run.bossPresent = false;
    if (atBoss && !bossBeaten && world && zone->m_boss.definition)
    {
        int32_t handle = NO_OBJECT;
        if (world->CreateObject(zone->m_boss.type, handle))
        {
            CGameObject* boss = world->GetObject(handle);
            boss->ParseDefinition(*zone->m_boss.definition);
            boss->SetPosition(NODE_CENTRE);
            boss->GetBody().previousPosition = NODE_CENTRE;
            world->Update();
            run.bossPresent = true;
        }
    }

    if (node == map.alienNode1 || node == map.alienNode2)
        EnterAlienNode(*zone, node);

    bool rocks = false;
    for (SZoneNode& record : state->m_nodes)
    {
        record.RefreshRocksFlag();
        rocks = rocks || record.rocks;
    }
    state->m_flags[ZONE_FLAG_ROCKS_PRESENT] = rocks;

    m_worms.allowed = 0;
    m_worms.live = 0;
    m_worms.pending = 0;
    run.liveWorms = 0;
    run.wormsToSpawn = 0;
    bool fixedDone = true;
    for (const SResourceRecord& record : zone->m_fixed)
        if (record.inGame > 0 || (!bossBeaten && record.numRemaining > 0))
            fixedDone = false;
    m_worms.permitted = state->m_flags[ZONE_FLAG_BOSS_NODE_SHOWN] && fixedDone;
    m_worms.lastStep = m_worms.permitted ? m_game.GetTime() : 0;
}

void CZoneManager::EnterAlienNode(CZoneDefinition& zone, int32_t node)
{
    CZoneNodeState& state = *zone.m_nodeState;
    CCampaignLink& campaign = m_game.GetCampaign();
    const int32_t index = m_list.currentZone;
    if (index == 0)
    {
        const bool first = node == zone.m_map.alienNode1;
        SpawnAsteroid(false, first ? ASTEROID_FRIENDLY_ALIEN_STATION : ASTEROID_BROKEN_ALIEN_STATION, nullptr,
                      &NODE_CENTRE);
        if (!first)
            return;
        if (state.m_visitCounter == 0)
        {
            state.m_flags[ZONE_FLAG_ALIEN_NODE_2_SHOWN] = true;
            state.m_visitCounter = 1;
        }
        else if (campaign.GetFriendlyAlienCount() > 0)
        {
            campaign.EnableResearch(9);
            state.m_visitCounter = 2;
        }
        return;
    }
    SpawnAsteroid(false, index == 4 ? ASTEROID_BROKEN_ALIEN_STATION : ASTEROID_FRIENDLY_ALIEN_STATION, nullptr,
                  &NODE_CENTRE);
    ++state.m_visitCounter;
    if (index == 4)
    {
        campaign.EnableResearch(13);
        return;
    }
    if (state.m_visitCounter < 2 || state.m_rewardFlag)
        return;
    for (int stock = 1; stock <= GEM_STOCKS; ++stock)
        if (campaign.GetGemStock(stock) < ALIEN_REWARD_GEMS)
            return;
    for (int stock = 1; stock <= GEM_STOCKS; ++stock)
        campaign.SpendGemStock(stock, ALIEN_REWARD_GEMS);
    state.m_rewardFlag = true;
    if (index == 1)
        campaign.EnableResearch(14);
    else if (index == 2)
        campaign.EnableResearch(12);
    else
    {
        campaign.EnableResearch(10);
        campaign.EnableResearch(16);
    }
}

void CZoneManager::PlaceCrewNodeAsteroid()
{
    CZoneDefinition* zone = GetCurrentZone();
    CZoneNodeState* state = GetNodeState();
    CQuadtree* tree = m_game.GetQuadtree();
    if (!zone || !state || !tree || m_list.currentNode != zone->m_map.crewNode ||
        state->m_flags[ZONE_FLAG_CREW_SITE_DESTROYED])
        return;
    CVector2D place = NODE_CENTRE;
    tree->FindSpawnPosition(CREW_SITE_CLEARANCE, place, true);
    SpawnAsteroid(false, ASTEROID_CREW_SITE, nullptr, &place);
}

int32_t CZoneManager::CountMiningBargesLeft() const
{
    const CZoneDefinition* zone = GetCurrentZone();
    int32_t left = 0;
    if (zone)
        for (const SResourceRecord& record : zone->m_fixed)
            if (record.mining)
                left += std::max(0, record.numRemaining) + std::max(0, record.inGame);
    return left;
}

// The boss node shows once a mining barge has none left to come and none in the game;
// a zone that has no mining barge at all keeps nothing hidden behind one, so its boss
// node shows at the first check.
void CZoneManager::CheckFixedResources()
{
    CZoneDefinition* zone = GetCurrentZone();
    CZoneNodeState* state = GetNodeState();
    if (!zone || !state || state->m_flags[ZONE_FLAG_BOSS_NODE_SHOWN])
        return;
    bool anyMining = false;
    for (const SResourceRecord& record : zone->m_fixed)
    {
        if (!record.mining)
            continue;
        anyMining = true;
        if (record.numRemaining <= 0 && record.inGame <= 0)
        {
            state->m_flags[ZONE_FLAG_BOSS_NODE_SHOWN] = true;
            return;
        }
    }
    if (!anyMining)
        state->m_flags[ZONE_FLAG_BOSS_NODE_SHOWN] = true;
}
