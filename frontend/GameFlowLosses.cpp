// What the game flow makes and watches in flight: the station and the player's ship,
// the loss of either, and the worms that press on the player.

#include "core/Random.h"
#include "frontend/GameFlow.h"
#include "frontend/PlayerShipAccess.h"
#include "frontend/SaveGames.h"
#include "ships/StationFlowLink.h"
#include "world/Game.h"
#include "world/GameObject.h"
#include "world/ObjectTypes.h"
#include "world/Quadtree.h"
#include "world/World.h"
#include "world/ZoneLink.h"

namespace
{
constexpr uint32_t WORM_STEP_MS = 60000;
constexpr uint32_t SURVIVAL_WORM_STEP_MS = 30000;
constexpr uint32_t SURVIVAL_WORM_SPREAD_MS = 60000;
constexpr int32_t MAX_WORMS = 6;
constexpr float WORM_CLEARANCE = 64.0f;

// A timer's due time, never 0 (which means "not running").
uint32_t DueAt(uint32_t now, uint32_t ms)
{
    const uint32_t due = now + ms;
    return due ? due : 1;
}
} // namespace

bool CGameFlow::MakeStation()
{
    CWorld* world = m_game.GetWorld();
    int32_t handle = NO_OBJECT;
    if (!world || !world->CreateObject(OBJECT_STATION, handle))
        return false;
    // The station keeps the plane of its kind, above the backdrop's star layers (a
    // lower plane would scroll with the stars, away from its ports and turrets).
    CGameObject* station = world->GetObject(handle);
    station->LoadFromFile(STATION_FILE);
    CVector2D place(TUTORIAL_STATION_X, TUTORIAL_STATION_Y);
    if (!m_tutorialPosition && m_game.GetQuadtree())
        m_game.GetQuadtree()->FindSpawnPosition(STATION_SPAWN_CLEARANCE, place, false);
    station->SetPosition(place);
    station->GetBody().previousPosition = place;
    station->PlaceShape();
    station->SetVisible(true);
    if (!m_tutorialPosition)
        WarpIn(handle);
    m_game.SetStationHandle(handle);
    m_game.GetCamera().Follow(handle, false);
    m_stationPosition = place;
    m_stationSpawned = true;
    return true;
}

// The object comes in through a warp sequence where warps run; where none run it is
// simply there (a warp that never ends would keep it out of play).
void CGameFlow::WarpIn(int32_t handle)
{
    CWorld* world = m_game.GetWorld();
    CGameObject* object = FindObject(handle);
    if (!object || !world->HasWarpStep())
        return;
    object->SetWarpState(WARP_IN);
    world->AddWarp(handle);
}

int32_t CGameFlow::SpawnPlayerShip(int slot, const CVector2D& position)
{
    const int32_t handle = CreatePlayerShip(slot, position);
    if (handle == NO_OBJECT)
        return NO_OBJECT;
    m_game.SetPlayerShipHandle(handle);
    m_game.GetCamera().Follow(handle, false);
    m_respawnPoint = position;
    m_shipLossTime = 0;
    m_shipLossRecorded = false;
    return handle;
}

void CGameFlow::WatchLosses()
{
    const uint32_t now = m_game.GetTime();
    WatchStation(now);
    if (m_mode == GAME_MODE_FLIGHT)
        WatchShip(now);
}

// The station's loss ends the run 6000 ms of game time later (paused frames do not
// count: the game clock stands). Only a station made in this flight can be lost;
// quick-ship and survival runs have none, and the zones say where it does not count.
void CGameFlow::WatchStation(uint32_t now)
{
    if (!m_stationSpawned || IsQuickOrSurvival() || m_game.GetZones().SuspendsStationLossWatch())
    {
        m_stationLossTime = 0;
        return;
    }
    if (CGameObject* station = FindObject(m_game.GetStationHandle()))
    {
        m_stationPosition = station->GetPosition();
        m_stationLossTime = 0;
        return;
    }
    if (!m_stationLossTime)
        m_stationLossTime = DueAt(now, STATION_LOSS_MS);
    else if (HasTimeCome(now, m_stationLossTime))
        ShowDeadScreen(DEATH_STATION_LOST);
}

// While the ship flies its place is the respawn point and its energy goes to the
// campaign; once it is gone the zone state's current ship decides: the escape pod
// (0) lost ends the run 3000 ms of game time later, any other ship is replaced at
// once by the escape pod.
void CGameFlow::WatchShip(uint32_t now)
{
    const int32_t handle = m_game.GetPlayerShipHandle();
    CZoneLink& zones = m_game.GetZones();
    if (CGameObject* ship = FindObject(handle))
    {
        m_respawnPoint = ship->GetPosition();
        float energy = 0.0f, capacity = 0.0f;
        if (GetShipEnergy(*ship, energy, capacity))
            GetCampaign().SetStoredEnergy(zones.GetCurrentShip(), energy);
        m_shipLossTime = 0;
        m_shipLossRecorded = false;
        return;
    }
    // No ship has flown in this flight: nothing to lose.
    if (handle == NO_OBJECT || zones.GetNodeKind() == 5)
        return;
    int index = zones.GetCurrentShip();
    if (IsQuickOrSurvival())
    {
        const SRunState& run = m_game.GetRun();
        if (!m_shipLossRecorded)
        {
            m_runTime = now - run.clockCopy;
            if (run.survival)
                GetCampaign().RecordSurvivalScore(run.timedRun ? 1 : 0, GetCampaign().GetScore());
            else
                GetCampaign().RecordQuickActionTime(m_runTime);
            m_shipLossRecorded = true;
        }
        index = 0;
    }
    if (index <= 0)
    {
        if (!m_shipLossTime)
            m_shipLossTime = DueAt(now, SHIP_LOSS_MS);
        else if (HasTimeCome(now, m_shipLossTime))
            ShowDeadScreen(DEATH_SHIP_LOST);
        return;
    }
    ReplaceLostShip(index);
}

// A design lost above the starter ship leaves the database (and a hard campaign is
// saved to the autosave slot); the pilot goes on in the escape pod, design 0, never in
// a design just removed. From the tutorial's position design 1 comes back instead.
void CGameFlow::ReplaceLostShip(int index)
{
    CZoneLink& zones = m_game.GetZones();
    int slot = 0;
    if (m_tutorialPosition)
        slot = 1;
    else
    {
        zones.SetCurrentShip(0);
        if (index > 1)
        {
            RemoveDesign(index);
            if (m_runActive && GetCampaign().GetDifficulty() == 2)
                m_saves->SaveToPilotSlots();
        }
    }
    const int32_t handle = SpawnPlayerShip(slot, m_respawnPoint);
    CGameObject* ship = FindObject(handle);
    const float stored = GetCampaign().GetStoredEnergy(slot);
    // A ship state that never flew keeps the new ship's own energy.
    if (ship && stored > 0.0f)
        SetShipEnergy(*ship, stored);
    if (!ship)
        m_game.SetPlayerShipHandle(NO_OBJECT);
}

// Every 60 s (in survival 30 s and a random part of a minute more) one more worm is
// allowed, up to 6; then one worm a frame comes while fewer live than allowed and
// some are still to come. Only on normal and transfer nodes.
void CGameFlow::PressWorms(uint32_t now)
{
    SWormPressure* worms = m_game.GetZones().GetWormPressure();
    if (!worms || !worms->permitted)
        return;
    const int kind = m_game.GetZones().GetNodeKind();
    if (kind != 0 && kind != 1)
        return;
    if (!m_wormInterval)
        m_wormInterval = m_game.GetRun().survival
                             ? SURVIVAL_WORM_STEP_MS + static_cast<uint32_t>(GetGameRandom().Below(SURVIVAL_WORM_SPREAD_MS))
                             : WORM_STEP_MS;
    if (now - worms->lastStep >= m_wormInterval)
    {
        worms->lastStep = now;
        if (worms->allowed < MAX_WORMS)
            ++worms->allowed;
        m_wormInterval = 0;
    }
    if (worms->live >= worms->allowed || worms->pending <= 0)
        return;
    CWorld* world = m_game.GetWorld();
    CQuadtree* tree = m_game.GetQuadtree();
    int32_t handle = NO_OBJECT;
    if (!world || !tree || !world->CreateObject(OBJECT_WORM, handle))
        return;
    CVector2D place;
    tree->FindSpawnPosition(WORM_CLEARANCE, place, false);
    CGameObject* worm = world->GetObject(handle);
    worm->SetPosition(place);
    worm->GetBody().previousPosition = place;
    worm->PlaceShape();
    ++worms->live;
    --worms->pending;
}
