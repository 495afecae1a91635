#include "world/ZoneManager.h"

#include "core/Console.h"
#include "core/DefinitionProblems.h"
#include "core/Random.h"
#include "world/CampaignLink.h"
#include "world/DirectorLink.h"
#include "world/GalaxyMap.h"
#include "world/Game.h"
#include "world/GameFlowLink.h"
#include "world/World.h"
#include "world/ZoneFile.h"
#include "world/ZoneNodeState.h"

#include <cmath>
#include <cstring>

CZoneManager::CZoneManager(CGame& game) : m_game(game), m_galaxyMap(std::make_unique<CGalaxyMap>(*this, game)) {}

CZoneManager::~CZoneManager() = default;

bool CZoneManager::Load(const char* path)
{
    CDefinitionProblems problems;
    ZoneVector zones;
    const bool loaded = LoadZoneFile(path, zones, problems);
    if (g_console && !problems.IsEmpty())
        g_console->Printf("%s", problems.Describe(path).c_str());
    if (!loaded && g_console)
        g_console->Printf("The zones of %s are refused: the game has none", path);
    SetZones(std::move(zones));
    return loaded;
}

void CZoneManager::SetZones(ZoneVector zones)
{
    m_list.zones = std::move(zones);
    m_list.currentZone = 0;
    m_list.currentNode = 0;
    m_groupOrder.clear();
}

void CZoneManager::Reset()
{
    for (size_t i = 0; i < m_list.zones.size(); ++i)
    {
        CZoneDefinition& zone = *m_list.zones[i];
        zone.m_nodeState.reset();
        zone.ResetSpawnState();
        zone.m_clock = 1;
    }
    m_list.currentZone = 0;
    m_list.currentNode = 0;
    m_nextSliceTime = 0;
    m_sliceCursor = 0;
    m_nextEnemyEvent = 0;
    m_secondClock = 0;
    m_departureCount = 0;
    m_worms = SWormPressure();
    m_survivalZone = 0;
    m_game.GetCampaign().Reset();
}

CZoneDefinition* CZoneManager::GetZone(int32_t zone)
{
    return zone >= 0 && zone < GetZoneCount() ? m_list.zones[static_cast<size_t>(zone)].get() : nullptr;
}

const CZoneDefinition* CZoneManager::GetZone(int32_t zone) const
{
    return zone >= 0 && zone < GetZoneCount() ? m_list.zones[static_cast<size_t>(zone)].get() : nullptr;
}

CZoneNodeState* CZoneManager::GetNodeState()
{
    CZoneDefinition* zone = GetCurrentZone();
    return zone ? zone->m_nodeState.get() : nullptr;
}

void CZoneManager::SetCurrentZone(int zone)
{
    if (GetZone(zone))
        m_list.currentZone = zone;
}

void CZoneManager::SetPilotName(const char* name)
{
    std::memset(m_list.pilotName, 0, sizeof(m_list.pilotName));
    if (name)
        std::strncpy(m_list.pilotName, name, sizeof(m_list.pilotName) - 1);
}

void CZoneManager::SetZoneValue(int index, int32_t value)
{
    if (index == 6)
        SetCurrentZone(value);
    else if (index == 7)
        SetCurrentNode(value);
}

bool CZoneManager::IsSavingAllowed() const
{
    const CZoneDefinition* zone = GetCurrentZone();
    const int kind = GetNodeKind();
    return zone && zone->m_nodeState && (kind == ZONE_NODE_NORMAL || kind == ZONE_NODE_TRANSFER);
}

void CZoneManager::ResetSpawnState()
{
    if (CZoneDefinition* zone = GetCurrentZone())
        zone->ResetSpawnState();
}

void CZoneManager::ActivateSurvivalWave(int wave)
{
    if (!GetZone(wave))
        return;
    m_survivalZone = wave;
    GetZone(wave)->ResetSpawnState();
}

bool CZoneManager::SetCurrentNode(int32_t node)
{
    const CZoneDefinition* zone = GetCurrentZone();
    if (!zone || node < 0 || node >= zone->m_map.GetNodeCount())
        return false;
    m_list.currentNode = node;
    return true;
}

CZoneDefinition* CZoneManager::GetRecordZone()
{
    if (!m_game.GetRun().survival)
        return GetCurrentZone();
    return GetZone(m_survivalZone);
}

CZoneDefinition* CZoneManager::GetPlayZone()
{
    return m_game.GetRun().survival ? GetZone(0) : GetCurrentZone();
}

int CZoneManager::GetLevelFileIndex() const
{
    const CZoneDefinition* zone = GetCurrentZone();
    return zone ? zone->m_iniFileIdx : CZoneLink::GetLevelFileIndex();
}

int CZoneManager::GetNodeKind() const
{
    const CZoneDefinition* zone = GetCurrentZone();
    return zone ? zone->m_map.GetKind(m_list.currentNode) : 0;
}

bool CZoneManager::IsAtBossNode() const
{
    const CZoneDefinition* zone = GetCurrentZone();
    return zone && m_list.currentNode == zone->m_map.bossNode;
}

SZoneNode* CZoneManager::GetCurrentNode()
{
    CZoneNodeState* state = GetNodeState();
    return state ? state->GetNode(m_list.currentNode) : nullptr;
}

bool CZoneManager::GetZoneFlag(int flag) const
{
    const CZoneDefinition* zone = GetCurrentZone();
    const CZoneNodeState* state = zone ? zone->m_nodeState.get() : nullptr;
    return state && flag >= 0 && flag < ZONE_FLAG_COUNT && state->m_flags[flag];
}

void CZoneManager::SetZoneFlag(int flag, bool value)
{
    CZoneNodeState* state = GetNodeState();
    if (state && flag >= 0 && flag < ZONE_FLAG_COUNT)
        state->m_flags[flag] = value;
}

bool CZoneManager::IsBossBeaten() const
{
    return GetZoneFlag(ZONE_FLAG_BOSS_BEATEN);
}

bool CZoneManager::HasAlienReward() const
{
    if (m_list.currentZone == 0)
        return m_game.GetCampaign().GetFriendlyAlienCount() > 0;
    const CZoneDefinition* zone = GetCurrentZone();
    return zone && zone->m_nodeState && zone->m_nodeState->m_rewardFlag;
}

uint32_t CZoneManager::GetZoneTime() const
{
    const CZoneDefinition* zone = GetCurrentZone();
    return zone ? zone->m_clock : 0;
}

void CZoneManager::AdvanceZoneClock(uint32_t ms)
{
    if (CZoneDefinition* zone = GetCurrentZone())
        zone->m_clock += ms;
}

int32_t CZoneManager::CountResourceObjects() const
{
    const CZoneDefinition* zone = m_game.GetRun().survival ? GetZone(m_survivalZone) : GetCurrentZone();
    int32_t count = 0;
    if (!zone)
        return count;
    for (const std::vector<SResourceRecord>* list : {&zone->m_fixed, &zone->m_infinite})
        for (const SResourceRecord& record : *list)
            count += record.spawned + record.inGame;
    return count;
}

void CZoneManager::InitNodeState()
{
    CZoneDefinition* zone = GetCurrentZone();
    if (!zone)
        return;
    zone->ResetSpawnState();
    zone->m_nodeState = std::make_unique<CZoneNodeState>();
    zone->m_nodeState->Init(m_list.currentZone, *zone, *this);
    if (m_list.currentZone == 0)
        SetCurrentNode(zone->m_map.startNode);
}

void CZoneManager::ShowBoss()
{
    SetZoneFlag(ZONE_FLAG_BOSS_NODE_SHOWN, true);
}

void CZoneManager::SkipToZone(int zone)
{
    for (int32_t i = 0; i <= zone && GetZone(i); ++i)
    {
        SetCurrentZone(i);
        if (!GetZone(i)->m_nodeState)
            InitNodeState();
        if (i != zone)
            SetZoneFlag(ZONE_FLAG_BOSS_BEATEN, true);
    }
}

void CZoneManager::Update(bool jump)
{
    CZoneDefinition* zone = GetCurrentZone();
    CZoneNodeState* state = zone ? zone->m_nodeState.get() : nullptr;
    if (!state)
        return;
    state->m_flags[ZONE_FLAG_NODE_PROCESSING] = false;
    if (m_game.GetGameFlow().IsTutorialPosition())
        return;
    const int32_t nodes = state->GetNodeCount();
    const bool survival = m_game.GetRun().survival;
    if (jump)
    {
        m_sliceBegin = 0;
        m_sliceEnd = nodes;
        zone->m_clock += ZONE_JUMP_MS;
        m_secondClock += ZONE_JUMP_MS;
    }
    else
    {
        if (m_paused || m_game.GetRun().shipOutOfPlay)
            return;
        CZoneDefinition* records = GetRecordZone();
        CZoneDefinition* play = GetPlayZone();
        if (records && play && play->m_nodeState)
            play->m_nodeState->StepArrivals(*this, *records, m_list.currentNode, play->m_map.bossNode, survival);
        if (CZoneDefinition* clocked = survival ? records : zone)
            clocked->m_clock += 1000u / CGame::TICKS_PER_SECOND;
        const uint32_t now = m_game.GetTime();
        if (static_cast<int32_t>(now - m_nextSliceTime) < 0)
            return;
        m_nextSliceTime = now + ZONE_SLICE_MS;
        if (m_sliceCursor >= nodes)
            m_sliceCursor = 0;
        const int32_t size = static_cast<int32_t>(std::floor(static_cast<float>(nodes) * 0.05f)) + 1;
        m_sliceBegin = m_sliceCursor;
        m_sliceEnd = m_sliceCursor + size;
        m_sliceCursor = m_sliceEnd;
        if (m_sliceEnd >= nodes)
        {
            m_sliceEnd = nodes;
            m_sliceCursor = 0;
        }
    }
    m_game.GetCampaign().AdvanceResearch(zone->m_clock);
    if (!m_game.GetDirector().IsGateOpen(GATE_ZONE_POPULATION))
        return;
    m_departureCount = 0;
    for (int32_t node = m_sliceBegin; node < m_sliceEnd; ++node)
        state->UpdateNode(*this, *zone, node, jump, true);
    if (m_nextEnemyEvent == 0 || static_cast<int32_t>(m_game.GetTime() - m_nextEnemyEvent) > 0 || survival)
    {
        AttackStep(jump);
        m_nextEnemyEvent = 0;
    }
}

void CZoneManager::OnObjectRemoved(CGameObject& object)
{
    if (object.GetTeam() == BAD_TEAM)
        m_nextEnemyEvent = m_game.GetTime() + GameRand() % ZONE_ENEMY_EVENT_SPREAD_MS;
    CZoneDefinition* records = GetRecordZone();
    CZoneDefinition* play = GetPlayZone();
    if (records && play && play->m_nodeState)
        play->m_nodeState->HandleRemoval(object, m_list.currentNode, *records, m_game.GetRun().survival);
}

void CZoneManager::ReturnWarpedObject(CGameObject& object)
{
    CZoneDefinition* records = GetRecordZone();
    CZoneDefinition* play = GetPlayZone();
    if (records && play && play->m_nodeState)
        play->m_nodeState->ReturnWarpedObject(object, m_list.currentNode, *records);
}

bool CZoneManager::IsGroupSettled(const CGameObject& object)
{
    CZoneDefinition* play = GetPlayZone();
    const CWorld* world = m_game.GetWorld();
    return play && play->m_nodeState && world &&
           play->m_nodeState->IsGroupSettled(*world, m_list.currentNode, object.GetHandle());
}

void CZoneManager::WarpOutGroup(CGameObject& object)
{
    CZoneDefinition* play = GetPlayZone();
    CWorld* world = m_game.GetWorld();
    if (play && play->m_nodeState && world)
        play->m_nodeState->WarpOutGroup(*world, m_list.currentNode, object.GetHandle());
}

void CZoneManager::StoreNode()
{
    CZoneNodeState* state = GetNodeState();
    CWorld* world = m_game.GetWorld();
    if (state && world)
        state->StoreNode(m_list.currentNode, *world, m_game.GetWorldWidth());
}

void CZoneManager::OnWorldCleared()
{
    for (const std::unique_ptr<CZoneDefinition>& zone : m_list.zones)
        if (zone->m_nodeState)
            zone->m_nodeState->DropLiveObjects();
    for (const std::unique_ptr<CZoneDefinition>& zone : m_list.zones)
    {
        for (SResourceRecord& record : zone->m_fixed)
            record.spawned = 0;
        for (SResourceRecord& record : zone->m_infinite)
            record.spawned = 0;
    }
}
