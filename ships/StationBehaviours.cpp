#include "ships/StationBehaviours.h"

#include "ships/EnemyTargets.h"
#include "ships/Station.h"
#include "ships/StationRules.h"
#include "world/AsteroidKinds.h"
#include "world/Camera.h"
#include "world/DirectorLink.h"
#include "world/Game.h"
#include "world/HudLink.h"
#include "world/World.h"

#include <cmath>

namespace
{
// The station's HUD icons: 0 open for docking, 1 guns engaged, 2 attention, 3 coming.
constexpr int ICON_OPEN = 0;
constexpr int ICON_COMING = 3;

CStationContext& StationContextOf(CBehaviourContext& context)
{
    return static_cast<CStationContext&>(context);
}

float DistanceToStation(const CGameObject& ship, const CStation& station)
{
    return (ship.GetPosition() - station.GetPosition()).Length();
}

// The objects near the station that crowd it (gems do not).
int32_t CountCrowd(const CStation& station)
{
    CWorld* world = GetRunningWorld();
    int32_t crowd = 0;
    for (int32_t handle : station.GetNearby())
    {
        const CGameObject* object = world ? world->GetObject(handle) : nullptr;
        if (object && !(object->GetType() == OBJECT_ASTEROID && IsGemKind(object->GetAsteroidKind())))
            ++crowd;
    }
    return crowd;
}

bool IsTutorialDockingStep()
{
    const CGame* game = GetGame();
    const int step = game ? game->GetDirector().GetTutorialStep() : -1;
    return step == 2 || step == 3;
}
} // namespace

CGameObject* FindPlayerShip()
{
    CGame* game = GetGame();
    CWorld* world = game ? game->GetWorld() : nullptr;
    return world ? world->GetObject(game->GetPlayerShipHandle()) : nullptr;
}

void CStationContext::Update()
{
    CGame* game = GetGame();
    const SWorldEdge edge = FindNearestWorldEdge(m_station.GetPosition(), game ? game->GetWorldWidth() : 0.0f);
    m_edgeVector = edge.vector;
    m_edgeLength = edge.length;
    if (!game)
        return;
    CHudLink& hud = game->GetHud();
    if (m_mode == STATION_OPEN || m_mode == STATION_DOCKING)
        hud.ShowStationIcon(ICON_OPEN);
    else
        hud.HideStationIcon(ICON_OPEN);
    if (m_mode == STATION_CALLED)
        hud.ShowStationIcon(ICON_COMING);
    else
        hud.HideStationIcon(ICON_COMING);
}

void CStationContext::RaiseAlert(const CVector2D& position)
{
    if (m_alertTime == 0)
        m_mode = STATION_OPEN;
    else
    {
        m_alertPosition = position;
        m_mode = STATION_CALLED;
    }
    m_alertTime = GetGameClock();
    if (m_alertTime == 0)
        m_alertTime = 1; // 0 means "no call"
}

void CStationDockBehaviour::Score(CBehaviourContext& base)
{
    CStationContext& context = StationContextOf(base);
    SetScore(0.0f);
    CStation& station = context.GetStation();
    if (context.GetMode() == STATION_DOCKING)
    {
        SetScore(1.0f);
        context.ClearAlertTime();
        if (CBehaviourArbiter* arbiter = context.GetArbiter())
            arbiter->DampOtherBehaviours(GetKey());
        return;
    }
    if (context.GetMode() != STATION_OPEN)
        return;
    CGameObject* ship = FindPlayerShip();
    if (!ship)
    {
        context.SetMode(STATION_NO_SHIP);
        return;
    }
    const float distance = DistanceToStation(*ship, station);
    const float score = IsTutorialDockingStep() ? 1.0f : GetDockScore(distance);
    SetScore(score);
    if (score > 0.0f)
        return;
    const uint32_t alert = context.GetAlertTime();
    if (alert != 0 && GetGameClock() - alert > CStationContext::ALERT_EXPIRY_MS)
    {
        // The call went unanswered: the station shuts again.
        context.ClearAlertTime();
        context.SetMode(STATION_IDLE);
        station.ClosePorts();
    }
}

int32_t CStationDockBehaviour::Update(CBehaviourContext& base)
{
    CStationContext& context = StationContextOf(base);
    CStation& station = context.GetStation();
    CGameObject* ship = FindPlayerShip();
    if (!ship && context.GetMode() != STATION_DOCKING)
    {
        context.SetMode(STATION_NO_SHIP);
        return BEHAVIOUR_STOPPING;
    }
    if (context.GetMode() == STATION_OPEN)
    {
        station.OpenPorts();
        station.OfferShipToPorts(*ship);
        return BEHAVIOUR_RUNNING;
    }
    if (context.GetMode() != STATION_DOCKING)
        return BEHAVIOUR_STOPPING;
    if (CGame* game = GetGame())
    {
        CCamera& camera = game->GetCamera();
        if (ship && camera.GetFollowed() == ship->GetHandle())
            camera.Follow(station.GetHandle(), false);
    }
    if (!station.ClosePorts())
        return BEHAVIOUR_RUNNING;
    if (context.IsDocked() || !station.UnloadCargo())
        return context.IsDocked() ? BEHAVIOUR_STOPPING : BEHAVIOUR_RUNNING;
    context.SetDocked(true);
    return BEHAVIOUR_STOPPING;
}

void CStationKeepClearBehaviour::Score(CBehaviourContext& base)
{
    CStationContext& context = StationContextOf(base);
    SetScore(GetEdgeTerm(context.GetEdgeLength()) + GetCrowdTerm(CountCrowd(context.GetStation())));
}

int32_t CStationKeepClearBehaviour::Update(CBehaviourContext& base)
{
    CStationContext& context = StationContextOf(base);
    CStation& station = context.GetStation();
    CMotionBody& body = station.GetBody();
    const float length = context.GetEdgeLength();
    // A centre on the edge itself has no way out to push along.
    if (GetEdgeTerm(length) > 0.0f && length >= 1e-3f)
    {
        body.force = body.force - context.GetEdgeVector() * (EDGE_FORCE / length);
        return BEHAVIOUR_RUNNING;
    }
    if (GetCrowdTerm(CountCrowd(station)) > 0.0f)
    {
        body.force = body.force + GetCrowdPush(station.GetPosition()) * CROWD_FORCE;
        return BEHAVIOUR_RUNNING;
    }
    return BEHAVIOUR_STOPPING;
}

void CStationComeBehaviour::Score(CBehaviourContext& base)
{
    CStationContext& context = StationContextOf(base);
    SetScore(0.0f);
    if (context.GetMode() != STATION_CALLED)
        return;
    if (!FindPlayerShip())
    {
        context.SetMode(STATION_NO_SHIP);
        return;
    }
    if ((context.GetAlertPosition() - context.GetStation().GetPosition()).Length() > CStationContext::CALL_REACH)
        SetScore(1.0f);
    else
        context.SetMode(STATION_OPEN);
}

int32_t CStationComeBehaviour::Update(CBehaviourContext& base)
{
    CStationContext& context = StationContextOf(base);
    CStation& station = context.GetStation();
    CGameObject* ship = FindPlayerShip();
    if (!ship)
    {
        context.SetMode(STATION_NO_SHIP);
        return BEHAVIOUR_STOPPING;
    }
    CVector2D toShip = ship->GetPosition() - station.GetPosition();
    const float distance = toShip.Length();
    if (distance <= CStationContext::CALL_REACH)
    {
        context.SetMode(STATION_OPEN);
        return BEHAVIOUR_STOPPING;
    }
    toShip = toShip * (1.0f / distance);
    CMotionBody& body = station.GetBody();
    body.force = body.force + GetCrowdPush(station.GetPosition()) * CROWD_FORCE + toShip * PULL_FORCE;
    return BEHAVIOUR_RUNNING;
}
